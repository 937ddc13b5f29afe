// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The records viewer: rows filled from the record files under their headings,
// the layout of the top ten, the row count, and what closing leaves behind.

#include "screens/mainform.h"
#include "platform/controls.h"
#include "rules/textcodec.h"
#include "testsupport.h"
#include "screens/kiroku.h"
#include "rules/users.h"
#include "widgets/ShadoLbl.h"

#include <QElapsedTimer>
#include <QFontInfo>
#include <QHeaderView>
#include <QStyle>
#include <QTableView>
#include <QTest>

using namespace qx;

namespace {

void writeLines(const QString& path, const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += cp932::encode(line) + "\r\n";
    qxtest::writeBytes(path, bytes);
}

QStringList row(TForm13& form, int r)
{
    QStringList cells;
    for (int c = 0; c < kGridColumns; ++c)
        cells.append(probe(form).cell(c, r));
    return cells;
}

bool rowsBlankFrom(TForm13& form, int first)
{
    for (int r = first; r < probe(form).rowCount(); ++r) {
        if (row(form, r) != QStringList(kGridColumns, QString()))
            return false;
    }
    return true;
}

// A game with user "u" and the viewer open.
struct Viewer {
    Viewer()
    {
        f.selectUser(QStringLiteral("u"));
        probe(f.window<TForm1>()).recordsButton().click();
    }
    qxtest::GameFixture f;
    TForm13& form = f.window<TForm13>();
};

} // namespace

class ViewerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rowFilling_data();
    void rowFilling();
    void buttonsSetLayoutAndHeading_data();
    void buttonsSetLayoutAndHeading();
    void rowCountFollowsTheLinesRead();
    void topTenStandsBesideItsRanks();
    void deletedUsersFileLeavesOnlyTheHeading();
    void closingEmptiesEveryCell();
    void aHundredThousandLinesOpenAtOnce();
    void everyFieldTheGameWritesShowsWhole_data();
    void everyFieldTheGameWritesShowsWhole();
    void moreLinesThanTheGridTakes();
    void aHugeFieldShowsAScreenful_data();
    void aHugeFieldShowsAScreenful();
    void chartButtonLooksDisabledWhenItIs();
};

void ViewerTest::rowFilling_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("cells");
    QTest::newRow("three fields") << "2026/12/08,レベル3,○"
                                  << QStringList{"2026/12/08", "レベル3", "○", "", ""};
    QTest::newRow("two adjacent commas shift the rest left")
        << "2026/12/08,レベル3,,7,4" << QStringList{"2026/12/08", "レベル3", "7", "4", ""};
    QTest::newRow("typed answer 1 2 is two fields, the sixth dropped")
        << "2026/12/08,レベル3,×,12,1 2" << QStringList{"2026/12/08", "レベル3", "×", "12", "1"};
    QTest::newRow("more than five fields")
        << "a,b,c,d,e,f,g" << QStringList{"a", "b", "c", "d", "e"};
    QTest::newRow("empty fields then more than five")
        << ",a,,b,c,d,e,f" << QStringList{"a", "b", "c", "d", "e"};
    QTest::newRow("quoted name in the top ten")
        << "2026/12/01,900,\"taro yamada\""
        << QStringList{"2026/12/01", "900", "taro yamada", "", ""};
    QTest::newRow("doubled quote") << "\"a\"\"b\",c" << QStringList{"a\"b", "c", "", "", ""};
    QTest::newRow("trailing comma") << "a,b," << QStringList{"a", "b", "", "", ""};
    QTest::newRow("empty line") << "" << QStringList(kGridColumns, QString());
}

void ViewerTest::rowFilling()
{
    QFETCH(QString, line);
    QFETCH(QStringList, cells);
    GridRow filled;
    fillRow(filled, cp932::encode(line));
    QStringList decoded;
    for (const QByteArray& cell : filled)
        decoded.append(cp932::decode(cell));
    QCOMPARE(decoded, cells);
}

void ViewerTest::buttonsSetLayoutAndHeading_data()
{
    QTest::addColumn<int>("tag");
    QTest::addColumn<QString>("heading");
    QTest::newRow("総合") << 0 << "日付,点数,名前";
    QTest::newRow("パネル") << 1 << "日付,レベル,合否";
    QTest::newRow("L→R") << 2 << "日付,レベル,合否,答え,入力した答え";
    QTest::newRow("N_メモリ") << 3 << "日付,レベル,合否,答え,入力した答え";
    QTest::newRow("ストップ") << 4 << "日付,レベル,秒,ストップ,差";
    QTest::newRow("シャープ") << 5 << "日付,合否,時間";
    QTest::newRow("BOX") << 6 << "日付,合否,時間,正解個数,入力数";
    QTest::newRow("Reflexes") << 7 << "日付,時間";
}

void ViewerTest::buttonsSetLayoutAndHeading()
{
    QFETCH(int, tag);
    QFETCH(QString, heading);
    Viewer v;
    const bool ranking = tag == 0;
    // Start from the other layout, so that each button has to switch it.
    probe(v.form).recordButton(ranking ? 1 : 0).click();
    probe(v.form).recordButton(tag).click();
    QVERIFY(v.f.dialogs.errors.isEmpty());
    QCOMPARE(probe(v.form).rankColumn().isVisible(), ranking);
    QCOMPARE(probe(v.form).tableView()->geometry(),
             ranking ? QRect(163, 72, 287, 361) : QRect(116, 72, 484, 361));
    QStringList expected = heading.split(QLatin1Char(','));
    while (expected.size() < kGridColumns)
        expected.append(QString());
    QCOMPARE(row(v.form, 0), expected);
    QCOMPARE(probe(v.form).tableView()->model()->headerData(0, Qt::Horizontal).toString(),
             expected.first());
}

void ViewerTest::rowCountFollowsTheLinesRead()
{
    Viewer v;
    QCOMPARE(probe(v.form).rowCount(), 3);
    QStringList lines;
    for (int i = 12; i >= 1; --i)
        lines.append(QStringLiteral("2026/12/%1,レベル%2,○")
                         .arg(i, 2, 10, QLatin1Char('0'))
                         .arg(i % 10 + 1));
    writeLines(QStringLiteral("Rec/u/panel.dat"), lines);
    probe(v.form).testButton(TestKind::Panel).click();
    QCOMPARE(probe(v.form).rowCount(), 13);
    QCOMPARE(probe(v.form).tableView()->model()->rowCount(), 12);
    QCOMPARE(row(v.form, 1), (QStringList{"2026/12/12", "レベル3", "○", "", ""}));
    QCOMPARE(row(v.form, 12), (QStringList{"2026/12/01", "レベル2", "○", "", ""}));

    // An empty file keeps the row count, blank under the new heading.
    probe(v.form).testButton(TestKind::LR).click();
    QCOMPARE(probe(v.form).rowCount(), 13);
    QCOMPARE(probe(v.form).cell(4, 0), QStringLiteral("入力した答え"));
    QVERIFY(rowsBlankFrom(v.form, 1));

    // A shorter file shrinks the grid to its lines.
    writeLines(QStringLiteral("Rec/u/Reflex.dat"),
               {"2026/12/08,00:00:07", "2026/12/07,フライング"});
    probe(v.form).testButton(TestKind::Reflex).click();
    QCOMPARE(probe(v.form).rowCount(), 3);
    QCOMPARE(row(v.form, 2), (QStringList{"2026/12/07", "フライング", "", "", ""}));
}

void ViewerTest::topTenStandsBesideItsRanks()
{
    Viewer v;
    QStringList lines;
    for (int rank = 1; rank <= 12; ++rank)
        lines.append(QStringLiteral("2026/12/01,%1,name%2").arg(2000 - rank * 100).arg(rank));
    lines[2] = QStringLiteral("2026/12/01,1700,\"taro yamada\"");
    writeLines(QStringLiteral("Rec/record.dat"), lines);
    probe(v.form).overallButton().click();
    // Ten ranks, ten rows: lines past the tenth are not read.
    QCOMPARE(probe(v.form).rowCount(), 11);
    QCOMPARE(row(v.form, 3), (QStringList{"2026/12/01", "1700", "taro yamada", "", ""}));
    QCOMPARE(probe(v.form).cell(2, 10), QStringLiteral("name10"));

    QCOMPARE(probe(v.form).rankHeading().text(), QStringLiteral("順位"));
    for (int rank = 1; rank <= 10; ++rank) {
        const qxtest::Control label =
            probe(v.form).rankLabels()[static_cast<std::size_t>(rank - 1)];
        QCOMPARE(label.text(), QString::number(rank));
        const int rowMiddle = probe(v.form).rowRect(rank - 1).center().y();
        const int labelMiddle = label.windowGeometry().center().y();
        QVERIFY2(std::abs(rowMiddle - labelMiddle) <= 5,
                 qPrintable(QStringLiteral("rank %1: label at %2, row at %3")
                                .arg(rank)
                                .arg(labelMiddle)
                                .arg(rowMiddle)));
    }
}

void ViewerTest::deletedUsersFileLeavesOnlyTheHeading()
{
    Viewer v;
    writeLines(QStringLiteral("Rec/u/box.dat"), {"2026/12/08,×,00:06:52,14,13"});
    probe(v.form).testButton(TestKind::Box).click();
    QCOMPARE(probe(v.form).cell(4, 1), QStringLiteral("13"));
    const int rows = probe(v.form).rowCount();

    QVERIFY(users::deleteUser(qxtest::records(), QStringLiteral("u")));
    probe(v.form).testButton(TestKind::Stop).click();
    QCOMPARE(v.f.dialogs.errors, QStringList{qxtest::cannotOpen(QStringLiteral("u/stop.dat"))});
    QCOMPARE(row(v.form, 0), (QStringList{"日付", "レベル", "秒", "ストップ", "差"}));
    QCOMPARE(probe(v.form).rowCount(), rows);
    QVERIFY(rowsBlankFrom(v.form, 1));
    QCOMPARE(v.f.game->modal.top(), &v.form);
}

void ViewerTest::closingEmptiesEveryCell()
{
    Viewer v;
    probe(v.form).overallButton().click();
    QCOMPARE(probe(v.form).rowCount(), 11);
    probe(v.form).backButton().click();
    QCOMPARE(v.f.game->modal.depth(), 0);
    QVERIFY(rowsBlankFrom(v.form, 0));
    // The row count and the layout stay as the last button left them, also
    // over the next opening, which shows nothing until a button is pressed.
    probe(v.f.window<TForm1>()).recordsButton().click();
    QCOMPARE(v.f.game->modal.top(), &v.form);
    QVERIFY(rowsBlankFrom(v.form, 0));
    QCOMPARE(probe(v.form).rowCount(), 11);
    QVERIFY(probe(v.form).rankColumn().isVisible());
    QCOMPARE(probe(v.form).tableView()->geometry().left(), 163);
}

void ViewerTest::aHundredThousandLinesOpenAtOnce()
{
    Viewer v;
    constexpr int kLines = 100000;
    QByteArray bytes;
    for (int i = kLines; i >= 1; --i)
        bytes += cp932::encode(QStringLiteral("2026/12/08,レベル3,×,%1,1 2\r\n").arg(i));
    qxtest::writeBytes(QStringLiteral("Rec/u/L_R.dat"), bytes);

    QElapsedTimer timer;
    timer.start();
    probe(v.form).testButton(TestKind::LR).click();
    v.form.grab();
    const qint64 elapsed = timer.elapsed();
    qInfo("100000 lines opened and painted in %lld ms", elapsed);
    QCOMPARE(probe(v.form).rowCount(), kLines + 1);
    QCOMPARE(row(v.form, kLines), (QStringList{"2026/12/08", "レベル3", "×", "1", "1"}));
    // One widget item per cell takes many seconds here; the model takes a
    // fraction of one, so this only fails on a real stall.
    QVERIFY2(elapsed < 3000, qPrintable(QStringLiteral("%1 ms").arg(elapsed)));
}

void ViewerTest::everyFieldTheGameWritesShowsWhole_data()
{
    QTest::addColumn<int>("button"); // the button's Tag
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("lines"); // the widest forms of each field
    QTest::newRow("top ten") << 0 << "Rec/record.dat"
                             << QStringList{"2026/12/28,-1234567,山田太郎", "2026/10/08,15000,p"};
    QTest::newRow("panel") << 1 << "Rec/u/panel.dat" << QStringList{"2026/12/28,レベル10,×"};
    QTest::newRow("L-R") << 2 << "Rec/u/L_R.dat"
                         << QStringList{"2026/12/28,レベル10,○,987654321,987654321"};
    QTest::newRow("N-memory") << 3 << "Rec/u/N_memory.dat"
                              << QStringList{"2026/12/28,レベル10,×,999999999,888888888"};
    QTest::newRow("stop") << 4 << "Rec/u/stop.dat"
                          << QStringList{"2026/12/28,レベル10,6:00,100:00,-100:00",
                                         "2026/12/28,レベル1,3:00,12:34,+06:34"};
    QTest::newRow("shape") << 5 << "Rec/u/shape.dat" << QStringList{"2026/12/28,×,99:59:9"};
    QTest::newRow("box") << 6 << "Rec/u/box.dat" << QStringList{"2026/12/28,×,00:100:00,14,0014"};
    QTest::newRow("Reflex") << 7 << "Rec/u/Reflex.dat"
                            << QStringList{"2026/12/28,フライング", "2026/12/28,00:99:99"};
}

// Every cell and heading, in the bold game font the game ships with, fits
// its column: a cut date read "2026/12/1" and ran into the next cell.
void ViewerTest::everyFieldTheGameWritesShowsWhole()
{
    QFETCH(int, button);
    QFETCH(QString, file);
    QFETCH(QStringList, lines);
    Viewer v;
    writeLines(file, lines);
    probe(v.form).recordButton(button).click();
    const QTableView& grid = *probe(v.form).tableView();
    const QFontInfo shown(grid.font());
    QCOMPARE(shown.family(), QStringLiteral("IPAPGothic"));
    QVERIFY(shown.bold());
    QCOMPARE(shown.pixelSize(), 16);
    // The text of a cell keeps this margin from each of its edges.
    const int margin = grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1;
    const QFontMetrics metrics(grid.font());
    for (int r = 0; r < grid.model()->rowCount(); ++r) {
        for (int c = 0; c < kGridColumns; ++c) {
            const QModelIndex index = grid.model()->index(r, c);
            const QString text = index.data().toString();
            const int room = grid.columnWidth(c) - 1 - 2 * margin;
            QVERIFY2(metrics.horizontalAdvance(text) <= room,
                     qPrintable(QStringLiteral("%1 needs %2 pixels, has %3")
                                    .arg(text)
                                    .arg(metrics.horizontalAdvance(text))
                                    .arg(room)));
        }
    }
}

// The grid's height in pixels is a 32-bit integer, which about 69 million
// rows overflow, and the grid went blank; it shows the rows it can and says
// how many lines there are. A lower limit stands in for that one here.
void ViewerTest::moreLinesThanTheGridTakes()
{
    Viewer v;
    probe(v.form).limitRows(5);
    QStringList lines;
    for (int i = 12; i >= 1; --i)
        lines.append(QStringLiteral("2026/12/%1,レベル3,○").arg(i, 2, 10, QLatin1Char('0')));
    writeLines(QStringLiteral("Rec/u/panel.dat"), lines);
    probe(v.form).testButton(TestKind::Panel).click();
    QCOMPARE(probe(v.form).rowCount(), 6);
    QCOMPARE(probe(v.form).tableView()->model()->rowCount(), 5);
    QCOMPARE(row(v.form, 5), (QStringList{"2026/12/08", "レベル3", "○", "", ""}));
    QCOMPARE(v.f.dialogs.messages,
             QStringList{"この記録は 12 行あります。表示できるのは、はじめの 5 行です。"});
    v.form.grab();
    QVERIFY(probe(v.form).tableView()->verticalHeader()->length() > 0);

    // A file that fits says nothing.
    v.f.dialogs.messages.clear();
    writeLines(QStringLiteral("Rec/u/panel.dat"), lines.mid(0, 5));
    probe(v.form).testButton(TestKind::Panel).click();
    QCOMPARE(probe(v.form).rowCount(), 6);
    QVERIFY(v.f.dialogs.messages.isEmpty());
}

void ViewerTest::aHugeFieldShowsAScreenful_data()
{
    QTest::addColumn<int>("button"); // the button's Tag
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("cells");
    const qsizetype huge = 8 << 20;
    QTest::newRow("digits in a test file")
        << 2 << "Rec/u/L_R.dat"
        << "2026/12/08,\x83\x8C\x83\x78\x83\x8B"
           "3,\x81\x9B," +
               QByteArray(huge, '7') + ",5"
        << QStringList{"2026/12/08", "レベル3", "○", QString(cp932::kShownBytes, u'7'), "5"};
    // The cut falls inside a two-byte character, which goes whole.
    QByteArray kana = "x";
    for (qsizetype i = 0; i < huge / 2; ++i)
        kana += "\x82\xA0";
    QTest::newRow("two-byte characters")
        << 3 << "Rec/u/N_memory.dat"
        << "2026/12/08," + kana
        << QStringList{"2026/12/08", "x" + QString((cp932::kShownBytes - 1) / 2, u'あ'), "", "",
                       ""};
    QTest::newRow("a name in the top ten")
        << 0 << "Rec/record.dat"
        << "2026/12/01,900," + QByteArray(huge, 'n')
        << QStringList{"2026/12/01", "900", QString(cp932::kShownBytes, u'n'), "", ""};
}

// A field of megabytes was decoded and laid out whole at every paint: the
// viewer froze and took gigabytes. What reaches the painter is bounded.
void ViewerTest::aHugeFieldShowsAScreenful()
{
    QFETCH(int, button);
    QFETCH(QString, file);
    QFETCH(QByteArray, line);
    QFETCH(QStringList, cells);
    Viewer v;
    qxtest::writeBytes(file, line + "\r\n");
    probe(v.form).recordButton(button).click();
    QVERIFY(v.f.dialogs.errors.isEmpty());
    QCOMPARE(row(v.form, 1), cells);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 3; ++i)
        v.form.grab();
    QVERIFY2(timer.elapsed() < 3000, qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));
    QCOMPARE(qxtest::readBytes(file), line + "\r\n");
}

// グラフ is not one of the designed buttons, which look the same locked or
// not: it shows when it cannot be pressed (before a file is shown, and for the
// top ten).
void ViewerTest::chartButtonLooksDisabledWhenItIs()
{
    Viewer v;
    const qxtest::Control chart = probe(v.form).chartButton();
    const auto colourless = [chart] {
        const QImage look = chart.grab();
        for (int y = 0; y < look.height(); ++y) {
            for (int x = 0; x < look.width(); ++x) {
                const QColor pixel = look.pixelColor(x, y);
                if (pixel.alpha() > 0 &&
                    (pixel.red() != pixel.green() || pixel.green() != pixel.blue()))
                    return false;
            }
        }
        return true;
    };
    QVERIFY(!chart.isEnabled());
    QVERIFY(colourless());
    probe(v.form).testButton(TestKind::Panel).click();
    QVERIFY(chart.isEnabled());
    QVERIFY(!colourless());
    probe(v.form).overallButton().click();
    QVERIFY(colourless());
}

QTEST_MAIN(ViewerTest)
#include "tst_viewer.moc"
