// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The top ten: ranking a total into "Rec/record.dat", and the score screen at
// the end of the shape stage.

#include "screens/dialog.h"
#include "screens/mainform.h"
#include "screens/tensuushow.h"
#include "platform/dispatch.h"
#include "rules/textcodec.h"
#include "screens/shape.h"
#include "testsupport.h"
#include "widgets/ShadoLbl.h"

#include <QTableWidget>
#include <QTest>

using namespace qx;

namespace {

// A table of lines "2026/12/01,<score>,p<i>" for the given scores.
store::Lines table(const QList<int>& scores)
{
    store::Lines lines;
    for (int i = 0; i < scores.size(); ++i)
        lines.append(QStringLiteral("2026/12/01,%1,p%2").arg(scores.at(i)).arg(i + 1).toLatin1());
    return lines;
}

QList<int> scoresOf(const RankingEntries& entries)
{
    QList<int> scores;
    for (const store::Lines& entry : entries)
        scores.append(entry.value(1).toInt());
    return scores;
}

const QList<int> kTopTen{1500, 1300, 1100, 900, 700, 500, 300, 200, 100, 0};

} // namespace

class RankingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ranksAndReplacesTheTable_data();
    void ranksAndReplacesTheTable();
    void newNameIsCutAtASpaceOrComma_data();
    void newNameIsCutAtASpaceOrComma();
    void scoreThatIsNoIntegerIsRefused_data();
    void scoreThatIsNoIntegerIsRefused();
    void damagedEntryBelowTheRankIsMovedDownAsItIs_data();
    void damagedEntryBelowTheRankIsMovedDownAsItIs();
    void oldEntriesAreWrittenBackAsTheyWere();
    void scoreScreenEndsTheShapeStageAndRanks();
    void scoreBelowAllLeavesTheFileUntouched();
    void brokenTableShowsTheErrorAndWritesNothing();
    void hugeFieldsShowAScreenfulAndStayWholeInTheFile();
};

void RankingTest::ranksAndReplacesTheTable_data()
{
    QTest::addColumn<QList<int>>("before");
    QTest::addColumn<int>("score");
    QTest::addColumn<int>("rank");
    QTest::addColumn<QList<int>>("after");
    QTest::newRow("tie with first place")
        << kTopTen << 1500 << 1 << QList<int>{1500, 1500, 1300, 1100, 900, 700, 500, 300, 200, 100};
    QTest::newRow("between") << kTopTen << 950 << 4
                             << QList<int>{1500, 1300, 1100, 950, 900, 700, 500, 300, 200, 100};
    QTest::newRow("tie with tenth")
        << kTopTen << 0 << 10 << QList<int>{1500, 1300, 1100, 900, 700, 500, 300, 200, 100, 0};
    QTest::newRow("below all ten") << kTopTen << -1 << 0 << kTopTen;
    QTest::newRow("negative totals")
        << QList<int>{50, 0, -5, -20, -20, -30, -40, -50, -60, -70} << -20 << 4
        << QList<int>{50, 0, -5, -20, -20, -20, -30, -40, -50, -60};
    QTest::newRow("extremes of the range")
        << QList<int>{2147483647, 0, 0, 0, 0, 0, 0, 0, 0, -2147483647 - 1} << -2147483647 - 1 << 10
        << QList<int>{2147483647, 0, 0, 0, 0, 0, 0, 0, 0, -2147483647 - 1};
    QTest::newRow("short table, in between")
        << QList<int>{300, 100} << 200 << 2 << QList<int>{300, 200, 100};
    QTest::newRow("short table, below all takes the free place")
        << QList<int>{300, 100} << 50 << 3 << QList<int>{300, 100, 50};
    QTest::newRow("empty table") << QList<int>{} << -7 << 1 << QList<int>{-7};
    QTest::newRow("long table, only ten take part")
        << (kTopTen + QList<int>{-10, -20}) << -10 << 0 << kTopTen;
    QTest::newRow("long table, cut to ten")
        << (kTopTen + QList<int>{-10}) << 1000 << 4
        << QList<int>{1500, 1300, 1100, 1000, 900, 700, 500, 300, 200, 100};
}

void RankingTest::ranksAndReplacesTheTable()
{
    QFETCH(QList<int>, before);
    QFETCH(int, score);
    QFETCH(int, rank);
    QFETCH(QList<int>, after);
    const QByteArray line = QStringLiteral("2026/12/08,%1,new").arg(score).toLatin1();
    const Ranking ranking = rankScore(rankingEntries(table(before)), score, line);
    QCOMPARE(ranking.rank, rank);
    QCOMPARE(ranking.write, rank != 0);
    QCOMPARE(scoresOf(ranking.entries), after);
    if (rank != 0) {
        const store::Lines entry = ranking.entries.at(rank - 1);
        QCOMPARE(entry, (store::Lines{"2026/12/08", QByteArray::number(score), "new"}));
    }
}

void RankingTest::newNameIsCutAtASpaceOrComma_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kept");
    QTest::newRow("space") << QStringLiteral("山田 太郎") << QStringLiteral("山田");
    QTest::newRow("comma") << QStringLiteral("a,b") << QStringLiteral("a");
    QTest::newRow("plain") << QStringLiteral("ソ表") << QStringLiteral("ソ表");
}

void RankingTest::newNameIsCutAtASpaceOrComma()
{
    QFETCH(QString, name);
    QFETCH(QString, kept);
    const Ranking ranking = rankScore(rankingEntries(table(kTopTen)), 2000,
                                      cp932::encode(QStringLiteral("2026/12/08,2000,") + name));
    QCOMPARE(ranking.rank, 1);
    QCOMPARE(ranking.entries.at(0).size(), 3);
    QCOMPARE(cp932::decode(ranking.entries.at(0).at(2)), kept);
}

void RankingTest::scoreThatIsNoIntegerIsRefused_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::newRow("word") << QByteArray("abc");
    QTest::newRow("decimal point") << QByteArray("1.5");
    QTest::newRow("empty") << QByteArray("\"\"");
    QTest::newRow("sign only") << QByteArray("-");
    QTest::newRow("beyond the range") << QByteArray("2147483648");
    QTest::newRow("far beyond the range") << QByteArray("-99999999999999999999999");
}

void RankingTest::scoreThatIsNoIntegerIsRefused()
{
    QFETCH(QByteArray, field);
    store::Lines lines = table(kTopTen);
    // The score is below the seven entries above the damaged one, so the
    // comparison reaches it.
    lines[7] = "2026/12/01," + field + ",x";
    const QString shown = field == "\"\"" ? QString() : QString::fromLatin1(field);
    try {
        rankScore(rankingEntries(lines), 250, "2026/12/08,250,new");
        QFAIL("no error");
    } catch (const Error& error) {
        QCOMPARE(error.message(), QStringLiteral("'%1' は整数ではありません").arg(shown));
    }
}

void RankingTest::damagedEntryBelowTheRankIsMovedDownAsItIs_data()
{
    QTest::addColumn<int>("damaged"); // index of the damaged entry
    QTest::addColumn<int>("score");
    QTest::addColumn<int>("rank");
    QTest::newRow("just below the place") << 4 << 1000 << 4;
    QTest::newRow("far below") << 7 << 5000 << 1;
    QTest::newRow("tenth drops out") << 9 << 5000 << 1;
}

// A damaged score must not keep every later run out of the top ten.
void RankingTest::damagedEntryBelowTheRankIsMovedDownAsItIs()
{
    QFETCH(int, damaged);
    QFETCH(int, score);
    QFETCH(int, rank);
    store::Lines lines = table(kTopTen);
    lines[damaged] = "2026/12/01,7x0,x";
    const QByteArray line = QStringLiteral("2026/12/08,%1,new").arg(score).toLatin1();
    const Ranking ranking = rankScore(rankingEntries(lines), score, line);
    QCOMPARE(ranking.rank, rank);
    QVERIFY(ranking.write);
    QCOMPARE(ranking.entries.size(), 10);
    if (damaged + 1 < 10)
        QCOMPARE(ranking.entries.at(damaged + 1), (store::Lines{"2026/12/01", "7x0", "x"}));
    else
        QVERIFY(!ranking.entries.contains(store::Lines{"2026/12/01", "7x0", "x"}));
}

void RankingTest::oldEntriesAreWrittenBackAsTheyWere()
{
    // A quoted name with a space and one with bytes the code page cannot
    // decode survive a rewrite unchanged.
    store::Lines lines = table(kTopTen);
    lines[2] = "2026/12/01,1100,\"a b\"";
    lines[3] = "2026/12/01,900,\x81\x7f\xfd";
    const Ranking ranking = rankScore(rankingEntries(lines), 2000, "2026/12/08,2000,new");
    QCOMPARE(store::joinCommaText(ranking.entries.at(3)), lines.at(2));
    QCOMPARE(store::joinCommaText(ranking.entries.at(4)), lines.at(3));
}

namespace {

// Plays the five shape questions of an overall stage, each answered right
// after `ticks` tenths, and dismisses the dialog after each.
void playShapeStage(qxtest::GameFixture& f, int tenths)
{
    TForm6& screen = f.window<TForm6>();
    frame(screen).startButton().click();
    for (int q = 0; q < 5; ++q) {
        f.clock.advance(100 * tenths);
        probe(screen).answerButton(probe(screen).shapeOrder()[8]).click();
        QVERIFY(f.window<TForm10>().isVisible());
        QTest::keyClick(&f.window<TForm10>(), Qt::Key_Return);
    }
}

} // namespace

void RankingTest::scoreScreenEndsTheShapeStageAndRanks()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("山田 太郎"));
    TForm1& menu = f.window<TForm1>();
    f.enterStage("shape", 500);
    f.window<TForm6>().ShowModal();
    // 5 right answers at 00:01:2: 97 points each.
    playShapeStage(f, 12);
    TForm15& score = f.window<TForm15>();
    QCOMPARE(f.game->modal.top(), &score);
    QCOMPARE(menu.TotalScore(), 985);
    QCOMPARE(probe(score).userLabel().text(), QStringLiteral("山田 太郎"));
    QCOMPARE(probe(score).scoreLabel().text(), QStringLiteral("点数：985"));
    QCOMPARE(probe(score).rankLabel().text(), QStringLiteral("今回の順位　4位"));
    // Ranked once, although the dialog's hiding activates the screen again.
    QCOMPARE(f.sound.played.count(QStringLiteral("wav/up.wav")), 1);
    QCOMPARE(probe(score).rowCount(), 11);
    QCOMPARE(probe(score).cell(0, 0), QStringLiteral("日付"));
    QCOMPARE(probe(score).cell(4, 1), QStringLiteral("985"));
    QCOMPARE(probe(score).cell(4, 2), QStringLiteral("山田"));
    QCOMPARE(probe(score).cell(10, 2), QStringLiteral("つき"));
    const QString expected = QStringLiteral("2026/12/01,1500,クイラ\r\n"
                                            "2026/12/01,1300,ベックス\r\n"
                                            "2026/12/01,1100,はなこ\r\n"
                                            "2026/12/08,985,山田\r\n"
                                            "2026/12/01,900,たろう\r\n"
                                            "2026/12/01,700,みどり\r\n"
                                            "2026/12/01,500,そら\r\n"
                                            "2026/12/01,300,うみ\r\n"
                                            "2026/12/01,200,ほし\r\n"
                                            "2026/12/01,100,つき\r\n");
    QCOMPARE(qxtest::readBytes(qxtest::records().rankingFile()), cp932::encode(expected));
    QCOMPARE(qxtest::readBytes(QStringLiteral("Rec/山田 太郎/shape.dat")), QByteArray());

    probe(score).backButton().click();
    QCOMPARE(f.game->modal.depth(), 0);
    QCOMPARE(menu.OverallMode(), 0);
    QCOMPARE(menu.TotalScore(), 0);
    QCOMPARE(f.game->session.run().question(), 0);
    QVERIFY(probe(score).rankLabel().text().isEmpty());
    QVERIFY(f.dialogs.errors.isEmpty());
}

void RankingTest::scoreBelowAllLeavesTheFileUntouched()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    const QByteArray before = qxtest::readBytes(qxtest::records().rankingFile());
    f.enterStage("shape", -2000);
    f.window<TForm15>().ShowModal();
    QCOMPARE(probe(f.window<TForm15>()).rankLabel().text(), QStringLiteral("今回の順位　なし"));
    QCOMPARE(probe(f.window<TForm15>()).rowCount(), 11);
    QCOMPARE(qxtest::readBytes(qxtest::records().rankingFile()), before);
}

void RankingTest::brokenTableShowsTheErrorAndWritesNothing()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    QByteArray bytes = qxtest::readBytes(qxtest::records().rankingFile());
    bytes.replace(",700,", ",7x0,");
    qxtest::writeBytes(qxtest::records().rankingFile(), bytes);
    // Below the four entries above the damaged one: the comparison reaches it.
    f.enterStage("shape", 600);
    f.window<TForm15>().ShowModal();
    QCOMPARE(f.dialogs.errors, QStringList{QStringLiteral("'7x0' は整数ではありません")});
    QCOMPARE(probe(f.window<TForm15>()).scoreLabel().text(), QStringLiteral("点数：600"));
    QVERIFY(probe(f.window<TForm15>()).rankLabel().text().isEmpty());
    QCOMPARE(qxtest::readBytes(qxtest::records().rankingFile()), bytes);
}

// A name of megabytes in the top ten froze the score screen, which laid it
// out whole; it shows a screenful and goes back into the file whole. So does
// a damaged score, in its error message.
void RankingTest::hugeFieldsShowAScreenfulAndStayWholeInTheFile()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    const QByteArray name(5 << 20, 'n');
    store::Lines lines = table(kTopTen);
    lines[0] = "2026/12/01,1500," + name;
    lines[8] = "2026/12/01," + QByteArray(5 << 20, '9') + "x,p9";
    store::saveLines(qxtest::records().rankingFile(), lines);
    f.enterStage("shape", 1600);
    f.window<TForm15>().ShowModal();
    QCOMPARE(probe(f.window<TForm15>()).rankLabel().text(), QStringLiteral("今回の順位　1位"));
    QCOMPARE(probe(f.window<TForm15>()).cell(2, 2), QString(cp932::kShownBytes, u'n'));
    const store::Lines written = store::loadLines(qxtest::records().rankingFile());
    QCOMPARE(written.size(), 10);
    QCOMPARE(written.at(1), "2026/12/01,1500," + name);
    QVERIFY(f.dialogs.errors.isEmpty());

    // Below every entry above the damaged one: the comparison reaches it.
    f.enterStage("shape", -5);
    probe(f.window<TForm15>()).backButton().click();
    f.window<TForm15>().ShowModal();
    QCOMPARE(f.dialogs.errors.size(), 1);
    QVERIFY(f.dialogs.errors.first().size() < 2 * cp932::kShownBytes);
}

QTEST_MAIN(RankingTest)
#include "tst_ranking.moc"
