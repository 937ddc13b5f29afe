// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/tensuushow.h"

#include "platform/clock.h"
#include "rules/textcodec.h"
#include "widgets/ShadoLbl.h"

#include <QHeaderView>
#include <QTableWidget>

using namespace qx;

namespace {
const QColor kLightCyan(128, 255, 255);
constexpr int kRowHeight = 25;
} // namespace

TForm15::TForm15(Game& game) : Screen(game, tr("総合点数"))
{
    addBackground(art::Scene::Score);
    addLogo(QRect(0, 0, 265, 49));

    const auto label = [this](QPoint position, int pixelHeight, QColor color) {
        auto* shadowLabel = new TShadowLabel(this);
        styleScreenLabel(shadowLabel, pixelHeight, color);
        shadowLabel->move(position);
        return shadowLabel;
    };
    ShadowLabel1 = label({56, 48}, 35, Qt::blue);
    ShadowLabel2 = label({160, 80}, 35, Qt::blue);
    ShadowLabel4 = label({72, 117}, 35, Qt::red);
    ShadowLabel3 = label({24, 151}, 24, Qt::blue);
    ShadowLabel3->setCaption(tr("順位"));

    Panel1 = new Panel(this, QRect(32, 177, 41, 253), kLightCyan);
    for (int rank = 1; rank <= kRankingSize; ++rank) {
        auto* number = new TShadowLabel(Panel1);
        styleScreenLabel(number, 29, Qt::blue);
        number->setCaption(QString::number(rank));
        number->move((Panel1->width() - number->width()) / 2, (rank - 1) * kRowHeight - 2);
        rankNumbers[static_cast<std::size_t>(rank - 1)] = number;
    }

    StringGrid1 = new QTableWidget(1, kRankingFields, this);
    StringGrid1->setGeometry(72, 152, 464, 278);
    StringGrid1->setFont(gameFont(16, true));
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setDefaultSectionSize(kRowHeight);
    StringGrid1->setColumnWidth(0, 136);
    StringGrid1->setColumnWidth(1, 204);
    StringGrid1->setColumnWidth(2, 117);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setSelectionMode(QAbstractItemView::NoSelection);
    StringGrid1->setFocusPolicy(Qt::NoFocus);

    Image3 = addButton(tr("もどる"), QRect(232, 433, 137, 41), [this] { Image3Click(); });
}

void TForm15::setRow(int row, const QStringList& cells)
{
    for (int column = 0; column < kRankingFields; ++column) {
        auto* item = new QTableWidgetItem(cells.value(column));
        if (row == 0)
            item->setBackground(kLightCyan);
        StringGrid1->setItem(row, column, item);
    }
}

void TForm15::showEntries(const RankingEntries& entries)
{
    StringGrid1->setRowCount(static_cast<int>(entries.size()) + 1);
    for (int k = 0; k < entries.size(); ++k) {
        QStringList cells;
        for (const QByteArray& field : entries.at(k))
            cells.append(cp932::decodeShown(field));
        setRow(k + 1, cells);
    }
}

void TForm15::FormActivate()
{
    playSound(QStringLiteral("wav/up.wav"));
    StringGrid1->clearContents();
    StringGrid1->setRowCount(1);
    ShadowLabel2->setCaption(tr("点数：%1").arg(session().run().score()));
    ShadowLabel1->setCaption(session().user());
    setRow(0, rankingColumns());

    const RankingEntries entries =
        rankingEntries(store::loadLines(services().records.rankingFile()));
    showEntries(entries);
    const QString newLine = store::formatDate(services().clock.today()) + QLatin1Char(',') +
                            QString::number(session().run().score()) + QLatin1Char(',') +
                            session().user();
    const Ranking ranking = rankScore(entries, session().run().score(), cp932::encode(newLine));
    if (!ranking.write) {
        ShadowLabel4->setCaption(tr("今回の順位　なし"));
        return;
    }
    showEntries(ranking.entries);
    ShadowLabel4->setCaption(tr("今回の順位　%1位").arg(ranking.rank));
    store::Lines lines;
    for (const store::Lines& entry : ranking.entries)
        lines.append(store::joinCommaText(entry));
    services().records.save(services().records.rankingFile(), lines);
}

void TForm15::Image3Click()
{
    Close();
}

void TForm15::FormCloseQuery()
{
    session().endRun();
    ShadowLabel1->setCaption(QString());
    ShadowLabel2->setCaption(QString());
    ShadowLabel4->setCaption(QString());
}
