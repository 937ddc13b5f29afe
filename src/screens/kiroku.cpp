// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/kiroku.h"

#include "rules/ranking.h"
#include "rules/textcodec.h"
#include "widgets/ShadoLbl.h"

#include <QHeaderView>
#include <QTableView>

#include <algorithm>
#include <limits>

using namespace qx;

namespace {

struct RecordButton {
    QRect geometry;
    const TestDef* test; // null for the top ten
};

const TestDef* test(TestKind kind)
{
    return &testDef(kind);
}

// Indexed by the buttons' Tag.
const std::array<RecordButton, 8> kButtons{{
    {{1, 80, 105, 33}, nullptr},
    {{1, 128, 105, 33}, test(TestKind::Panel)},
    {{1, 176, 97, 33}, test(TestKind::LR)},
    {{3, 224, 115, 29}, test(TestKind::NMemory)},
    {{1, 267, 112, 29}, test(TestKind::Stop)},
    {{2, 312, 118, 29}, test(TestKind::Shape)},
    {{0, 352, 83, 29}, test(TestKind::Box)},
    {{1, 392, 119, 31}, test(TestKind::Reflex)},
}};

// Cells are 30 pixels high and the given widths wide, each followed by a grid
// line of one pixel that Qt counts inside the section.
constexpr int kGridLine = 1;
constexpr int kRowPitch = 30 + kGridLine;
constexpr std::array<int, kGridColumns> kColumnWidths{96, 84, 100, 89, 104};

// The game's font sets digits about a pixel wider than the designed widths
// allow for, so a date lost its last digit and a nine-digit answer its last;
// a pixel less between characters lets every field the game writes fit its
// column whole, in bold, without changing the designed widths.
constexpr qreal kGridLetterSpacing = -1;

constexpr int kWideLeft = 116;
constexpr int kWideWidth = 484;
constexpr int kNarrowLeft = 163;
constexpr int kNarrowWidth = 287;

// The rank column holds ten numbers; a longer top-ten file is not read past
// them.
constexpr qsizetype kRankingLines = 10;
constexpr std::array<int, 10> kRankTops{30, 62, 94, 125, 156, 187, 218, 247, 277, 309};

} // namespace

TForm13::TForm13(Game& game) : Screen(game, tr("記録"))
{
    addBackground(art::Scene::Screen);
    addLogo(QRect(0, 0, 265, 49));
    addBanner(tr("記録"), QRect(352, 0, 153, 57));

    std::array<Image*, kButtons.size()> buttons{};
    for (std::size_t tag = 0; tag < kButtons.size(); ++tag) {
        Image* button =
            addButton(kButtons[tag].test ? kButtons[tag].test->shownTitle() : tr("総合"),
                      kButtons[tag].geometry, {});
        button->Tag = static_cast<int>(tag);
        button->OnClick = [this, button] { RecordButtonClick(button); };
        buttons[tag] = button;
    }
    Image12 = buttons[0];
    Image5 = buttons[1];
    Image6 = buttons[2];
    Image7 = buttons[3];
    Image8 = buttons[4];
    Image9 = buttons[5];
    Image10 = buttons[6];
    Image11 = buttons[7];
    Image3 = addButton(tr("もどる"), QRect(208, 435, 137, 43), [this] { Close(); });
    // In the free space right of もどる; a test's file must be shown first.
    chartButton = addButton(tr("グラフ"), QRect(400, 435, 137, 43), [this] {
        if (m_shownTest == nullptr)
            return;
        this->game().openProgress(*m_shownTest);
    });
    chartButton->setEnabled(false);
    chartButton->setShowsDisabled(true);

    // The grid's height in pixels is a 32-bit integer: past it the view
    // draws nothing at all.
    Grid.setRowLimit(std::numeric_limits<int>::max() / kRowPitch - 1);
    StringGrid1 = new QTableView(this);
    StringGrid1->setModel(&Grid);
    StringGrid1->setGeometry(kWideLeft, 72, kWideWidth, 361);
    QFont gridFont = gameFont(16, true);
    gridFont.setLetterSpacing(QFont::AbsoluteSpacing, kGridLetterSpacing);
    StringGrid1->setFont(gridFont);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setWordWrap(false);
    // Text that does not fit is cut at the cell's edge, as the grid draws it.
    StringGrid1->setTextElideMode(Qt::ElideNone);
    // Tab leaves the grid, for もどる (the arrow keys move inside it): with
    // hundreds of rows Tab from cell to cell would never get out.
    StringGrid1->setTabKeyNavigation(false);
    QWidget::setTabOrder(Image11, StringGrid1);
    QWidget::setTabOrder(StringGrid1, Image3);
    QWidget::setTabOrder(Image3, chartButton);
    QHeaderView* rows = StringGrid1->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(kRowPitch);
    rows->setDefaultSectionSize(kRowPitch);
    QHeaderView* heading = StringGrid1->horizontalHeader();
    heading->setSectionResizeMode(QHeaderView::Fixed);
    heading->setFixedHeight(kRowPitch);
    heading->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    heading->setHighlightSections(false);
    heading->setSectionsClickable(false);
    heading->setStretchLastSection(false);
    // A styled section takes the style's own header font unless it names one.
    heading->setStyleSheet(
        QStringLiteral("QHeaderView::section { background: rgb(0, 255, 255); border: none;"
                       " font: bold 16px \"%1\";"
                       " border-right: 1px solid gray; border-bottom: 1px solid gray;"
                       " padding-left: 2px; }")
            .arg(gameFont(16).family()));
    for (int column = 0; column < kGridColumns; ++column)
        StringGrid1->setColumnWidth(column,
                                    kColumnWidths[static_cast<std::size_t>(column)] + kGridLine);

    Panel1 = new Panel(this, QRect(124, 73, 41, 344), QColor(128, 255, 255));
    Panel1->hide();
    ShadowLabel1 = new TShadowLabel(Panel1);
    styleScreenLabel(ShadowLabel1, 21, Qt::blue);
    ShadowLabel1->setCaption(tr("順位"));
    ShadowLabel1->move(0, 4);
    for (std::size_t i = 0; i < rankLabels.size(); ++i) {
        auto* label = new TShadowLabel(Panel1);
        styleScreenLabel(label, 29, Qt::blue);
        label->setCaption(QString::number(i + 1));
        label->move(i + 1 == rankLabels.size() ? 2 : 16, kRankTops[i]);
        rankLabels[i] = label;
    }
}

void TForm13::RecordButtonClick(const Image* sender)
{
    const RecordButton& button = kButtons.at(static_cast<std::size_t>(sender->Tag));
    const bool ranking = button.test == nullptr;
    m_shownTest = button.test;
    chartButton->setEnabled(!ranking);
    Panel1->setVisible(ranking);
    const QRect grid = StringGrid1->geometry();
    StringGrid1->setGeometry(ranking ? kNarrowLeft : kWideLeft, grid.top(),
                             ranking ? kNarrowWidth : kWideWidth, grid.height());

    Grid.clearCells();
    Grid.setHeading(ranking ? rankingColumns() : button.test->shownFieldNames());
    const store::Records& records = services().records;
    const QString path =
        ranking ? records.rankingFile() : records.resultPath(session().user(), button.test->file());
    Grid.setLines(store::LineIndex(store::loadBytes(path), ranking ? kRankingLines : -1));
    if (Grid.lineCount() >= Grid.RowCount())
        services().dialogs.message(
            tr("この記録は %1 行あります。表示できるのは、はじめの %2 行です。")
                .arg(Grid.lineCount())
                .arg(Grid.RowCount() - 1));
}

void TForm13::FormCloseQuery()
{
    Grid.clearCells();
    chartButton->setEnabled(false);
}
