// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A player's progress: record lines read into results, grouped by day and
// summed up; the export for spreadsheets, from the chart screen and from the
// command line; and the timing the chart screen discloses.

#include "screens/mainform.h"
#include "platform/lateness.h"
#include "rules/textcodec.h"
#include "testsupport.h"
#include "rules/csvexport.h"
#include "screens/kiroku.h"
#include "rules/progress.h"
#include "screens/progressview.h"
#include "rules/store.h"
#include "rules/users.h"

#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <unistd.h>

using namespace qx;
using namespace qx::progress;

namespace {

// A file as the game writes it, newest line first, from UTF-8 text.
QByteArray lines(const QStringList& text)
{
    QByteArray out;
    for (const QString& line : text)
        out += cp932::encode(line) + "\r\n";
    return out;
}

} // namespace

class ProgressTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void recordLinesBecomeResults_data();
    void recordLinesBecomeResults();
    void daysGroupWithGapsLeftOut();
    void aFileReadInPartsReadsAsItsLinesOneByOne_data();
    void aFileReadInPartsReadsAsItsLinesOneByOne();
    void daysOutOfOrderGroupAsIfSorted();
    void summaryComparesTheLastWeekWithTheMonthBefore_data();
    void summaryComparesTheLastWeekWithTheMonthBefore();
    void mediansOfFewAndOfManyDifferentValues_data();
    void mediansOfFewAndOfManyDifferentValues();
    void csvFieldsStayFieldsAndNeverFormulas_data();
    void csvFieldsStayFieldsAndNeverFormulas();
    void exportWritesEveryTestAsUtf8();
    void exportKeepsWhatThePlayerTyped_data();
    void exportKeepsWhatThePlayerTyped();
    void exportReplacesALinkNeverItsTarget();
    void exportRefusesTheRecordsFolder_data();
    void exportRefusesTheRecordsFolder();
    void exportThatCannotWriteLeavesOnlyWholeFiles_data();
    void exportThatCannotWriteLeavesOnlyWholeFiles();
    void exportFromTheCommandLine();
    void chartScreenShowsTheFiguresAndTheTiming();
    void latenessIsTheNinetyNinthPercentile();
};

void ProgressTest::recordLinesBecomeResults_data()
{
    QTest::addColumn<QString>("testId");
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("read");
    QTest::addColumn<bool>("right");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("hundredths"); // -1 for none
    QTest::newRow("panel right") << "panel"
                                 << "2026/12/08,レベル3,○" << true << true << 3 << -1;
    QTest::newRow("L-R wrong") << "L-R"
                               << "2026/12/08,レベル10,×,7,4" << true << false << 10 << -1;
    QTest::newRow("stop early") << "stop"
                                << "2026/12/08,レベル1,3:00,2:87,-00:13" << true << false << 1
                                << 13;
    QTest::newRow("stop exact") << "stop"
                                << "2026/12/08,レベル2,4:00,4:00,00:00" << true << true << 2 << 0;
    QTest::newRow("shape right, tenths") << "shape"
                                         << "2026/12/08,○,00:12:3" << true << true << 0 << 1230;
    QTest::newRow("shape wrong has no time") << "shape"
                                             << "2026/12/08,×,00:12:3" << true << false << 0 << -1;
    QTest::newRow("box right") << "box"
                               << "2026/12/08,○,00:06:52,14,14" << true << true << 0 << 652;
    QTest::newRow("Reflex past 100 s") << "Reflex"
                                       << "2026/12/08,00:123:45" << true << true << 0 << 12345;
    QTest::newRow("Reflex false start") << "Reflex"
                                        << "2026/12/08,フライング" << true << false << 0 << -1;
    QTest::newRow("no date") << "panel"
                             << "レベル3,○" << false << false << 0 << -1;
    QTest::newRow("impossible date") << "panel"
                                     << "2026/02/30,レベル3,○" << false << false << 0 << -1;
    QTest::newRow("level 11") << "panel"
                              << "2026/12/08,レベル11,○" << false << false << 0 << -1;
    QTest::newRow("no mark") << "N_memory"
                             << "2026/12/08,レベル3,?,1,1" << false << false << 0 << -1;
    QTest::newRow("time of another test")
        << "box"
        << "2026/12/08,○,00:12:3,1,1" << false << false << 0 << -1;
    // Out of range times once overflowed into negative bests.
    QTest::newRow("shape time out of range")
        << "shape"
        << "2026/12/08,○,400000:00:0" << false << false << 0 << -1;
    QTest::newRow("longest shape time in range")
        << "shape"
        << "2026/12/08,○,178956:00:0" << true << true << 0 << 1073736000;
}

void ProgressTest::recordLinesBecomeResults()
{
    QFETCH(QString, testId);
    QFETCH(QString, line);
    QFETCH(bool, read);
    QFETCH(bool, right);
    QFETCH(int, level);
    QFETCH(int, hundredths);
    const Results results = readResults(*findTest(testId), lines({line, QString()}));
    QCOMPARE(results.damaged, read ? 0 : 1);
    QCOMPARE(results.results.size(), std::size_t{read ? 1u : 0u});
    if (!read)
        return;
    const Result& result = results.results.front();
    QCOMPARE(result.day(), QDate(2026, 12, 8));
    QCOMPARE(result.right, right);
    QCOMPARE(int{result.level}, level);
    QCOMPARE(result.hundredths().value_or(-1), hundredths);
}

// Three days played out of five; the file keeps the newest first, the days
// come oldest first, and each day's median and best are its own.
void ProgressTest::daysGroupWithGapsLeftOut()
{
    const Results read = readResults(testDef(TestKind::Reflex), lines({
                                                                    "2026/12/05,00:00:30",
                                                                    "2026/12/05,フライング",
                                                                    "2026/12/04,00:00:20",
                                                                    "2026/12/04,00:00:40",
                                                                    "2026/12/04,00:00:31",
                                                                    "2026/12/01,00:00:25",
                                                                    "2026/12/01,00:00:26",
                                                                }));
    QCOMPARE(read.results.front().day(), QDate(2026, 12, 1));
    const std::vector<Day> days = byDay(read.results);
    QCOMPARE(days.size(), std::size_t{3});
    QCOMPARE(days[0].day, QDate(2026, 12, 1));
    QCOMPARE(days[0].median.value_or(-1), 26); // 25.5 rounds up
    QCOMPARE(days[1].day, QDate(2026, 12, 4));
    QCOMPARE(days[1].median.value_or(-1), 31);
    QCOMPARE(days[1].best.value_or(-1), 20);
    QCOMPARE(days[2].results, 2);
    QCOMPARE(days[2].falseStarts, 1);
    QCOMPARE(days[2].median.value_or(-1), 30);
}

void ProgressTest::aFileReadInPartsReadsAsItsLinesOneByOne_data()
{
    QTest::addColumn<int>("count");     // lines
    QTest::addColumn<bool>("fromDisk"); // read from a file as the chart reads it
    QTest::addColumn<int>("parts");     // 0: as many as cores; -1: one a byte
    QTest::newRow("600,001 lines of a file on as many threads as cores") << 600'001 << true << 0;
    QTest::newRow("a part starting at every byte") << 40 << false << -1;
    QTest::newRow("three parts") << 40 << false << 3;
}

// A file is read in parts, each on a thread of its own, which may split it at
// any byte, also between the CR and LF of a break: the results are those of
// its lines read one at a time, oldest first, quoted fields, damaged lines
// and every kind of line break among them.
void ProgressTest::aFileReadInPartsReadsAsItsLinesOneByOne()
{
    QFETCH(int, count);
    QFETCH(bool, fromDisk);
    QFETCH(int, parts);
    const QList<QByteArray> kinds{
        cp932::encode(QStringLiteral("2026/12/08,レベル3,5:00,5:03,+00:03")),
        cp932::encode(QStringLiteral("2026/12/07,レベル10,6:00,6:00,00:00")),
        cp932::encode(QStringLiteral("\"2026/12/07\",\"レベル2\",4:00,3:99,\"-00:01\"")),
        cp932::encode(QStringLiteral("2026/12/06,レベル1,3:00,damaged")),
        QByteArray(),
        cp932::encode(QStringLiteral("  2026/12/06 , レベル4 ,5:00,5:10,+00:10 ,more,fields")),
        cp932::encode(QStringLiteral("2026/02/30,レベル4,5:00,5:10,+00:10")),
    };
    const QList<QByteArray> breaks{"\r\n", "\n", "\r", "\r\n\r\n"};
    const TestDef& stop = testDef(TestKind::Stop);
    QByteArray bytes;
    std::vector<Result> expected;
    int damaged = 0;
    for (int i = 0; i < count; ++i) {
        const QByteArray& line = kinds.at((i * 5 + i / 7) % kinds.size());
        bytes += line + breaks.at(i % breaks.size());
        const Results one = readResults(stop, line);
        expected.insert(expected.end(), one.results.begin(), one.results.end());
        damaged += one.damaged;
    }
    std::reverse(expected.begin(), expected.end());
    // The last line may end without a break.
    bytes.chop(breaks.at((count - 1) % breaks.size()).size());
    qxtest::ScratchFolder scratch;
    const QString path = QStringLiteral("stop.dat");
    if (fromDisk)
        qxtest::writeBytes(path, bytes);
    const Results read = fromDisk ? readResultFile(stop, path)
                                  : readResults(stop, bytes, parts < 0 ? bytes.size() : parts);
    QCOMPARE(read.damaged, damaged);
    QCOMPARE(read.results.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (read.results[i] != expected[i])
            QFAIL(qPrintable(QStringLiteral("result %1 differs").arg(i)));
    }
    QVERIFY(damaged > 0);
    QVERIFY(std::any_of(expected.begin(), expected.end(),
                        [](const Result& r) { return r.level == 2; }));
}

// Results whose days are out of order (a clock put back) make the same days
// as the same results in order: one a day, oldest first, with the medians of
// their values.
void ProgressTest::daysOutOfOrderGroupAsIfSorted()
{
    const auto result = [](int day, int hundredths, bool right = false) {
        Result r;
        r.julianDay = static_cast<qint32>(QDate(2026, 12, day).toJulianDay());
        r.measured = hundredths;
        r.right = right;
        r.level = static_cast<qint8>(day % 10 + 1);
        return r;
    };
    const std::vector<Result> shuffled{result(5, 40), result(3, 10), result(5, 20, true),
                                       result(3, 31), result(4, 7),  result(5, 30),
                                       result(3, 20), result(5, 10)};
    std::vector<Result> sorted = shuffled;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Result& a, const Result& b) { return a.julianDay < b.julianDay; });
    const std::vector<Day> days = byDay(shuffled);
    QCOMPARE(days.size(), std::size_t(3));
    const std::vector<Day> same = byDay(sorted);
    for (std::size_t i = 0; i < days.size(); ++i) {
        QCOMPARE(days[i].day, same[i].day);
        QCOMPARE(days[i].results, same[i].results);
        QCOMPARE(days[i].median, same[i].median);
        QCOMPARE(days[i].best, same[i].best);
        QCOMPARE(days[i].rightShare, same[i].rightShare);
        QCOMPARE(days[i].level, same[i].level);
    }
    QCOMPARE(days[0].day, QDate(2026, 12, 3));
    QCOMPARE(days[0].median, 20); // 10 20 31
    QCOMPARE(days[2].median, 25); // 10 20 30 40: (20 + 30 + 1) / 2
    QCOMPARE(days[2].best, 10);
    QCOMPARE(days[2].rightShare, 0.25);
    QCOMPARE(summarize(Measure::Distance, shuffled, QDate(2026, 12, 5)).median,
             20); // 7 10 10 20 20 30 31 40
}

void ProgressTest::summaryComparesTheLastWeekWithTheMonthBefore_data()
{
    QTest::addColumn<QString>("testId");
    QTest::addColumn<QStringList>("file");
    QTest::addColumn<int>("best");
    QTest::addColumn<int>("median");
    QTest::addColumn<int>("last7");
    QTest::addColumn<int>("previous30");
    QTest::addColumn<int>("longestRun");
    // Today is 2026/12/10: the last seven days are 12/04..12/10, the thirty
    // before them 11/04..12/03; 11/03 is in neither.
    QTest::newRow("panel: levels and shares")
        << "panel"
        << QStringList{"2026/12/10,レベル4,○", "2026/12/09,レベル4,×", "2026/12/04,レベル3,○",
                       "2026/12/03,レベル2,○", "2026/11/04,レベル2,○", "2026/11/03,レベル1,×"}
        << 4 << 3 << 67 << 100 << 3;
    QTest::newRow("box: right answers' times")
        << "box"
        << QStringList{"2026/12/10,○,00:05:00,9,9", "2026/12/08,×,00:02:00,9,8",
                       "2026/12/01,○,00:07:00,9,9", "2026/11/20,○,00:09:00,9,9"}
        << 500 << 700 << 500 << 800 << 2;
    QTest::newRow("stop: distances")
        << "stop"
        << QStringList{"2026/12/10,レベル1,3:00,3:00,00:00", "2026/12/09,レベル1,3:00,2:90,-00:10",
                       "2026/11/30,レベル1,3:00,3:20,+00:20"}
        << 0 << 10 << 5 << 20 << 1;
}

void ProgressTest::summaryComparesTheLastWeekWithTheMonthBefore()
{
    QFETCH(QString, testId);
    QFETCH(QStringList, file);
    QFETCH(int, best);
    QFETCH(int, median);
    QFETCH(int, last7);
    QFETCH(int, previous30);
    QFETCH(int, longestRun);
    const Results read = readResults(*findTest(testId), lines(file));
    QCOMPARE(read.damaged, 0);
    const Summary summary = summarize(findTest(testId)->measure, read.results, QDate(2026, 12, 10));
    QCOMPARE(summary.results, static_cast<int>(file.size()));
    QCOMPARE(summary.best.value_or(-1), best);
    QCOMPARE(summary.median.value_or(-1), median);
    QCOMPARE(summary.last7.value_or(-1), last7);
    QCOMPARE(summary.previous30.value_or(-1), previous30);
    QCOMPARE(summary.longestRightRun, longestRun);
}

// A day's values and a summary's take the same median whether they are few
// different values, which are counted, or spread wide, which are sorted.
void ProgressTest::mediansOfFewAndOfManyDifferentValues_data()
{
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<int>("median");
    QTest::newRow("one") << QList<int>{5} << 5;
    QTest::newRow("counted, odd") << QList<int>{0, 1, 0, 0, 0} << 0;
    QTest::newRow("counted, halves in one value") << QList<int>{9, 2, 2, 2} << 2;
    QTest::newRow("counted, a gap between the halves") << QList<int>{3, 1, 3, 1} << 2;
    QTest::newRow("counted, rounds up") << QList<int>{4, 3, 2, 1} << 3;
    QTest::newRow("sorted, odd") << QList<int>{700000, 3, 90} << 90;
    QTest::newRow("sorted, rounds up") << QList<int>{1, 1000000, 5, 8} << 7;
}

void ProgressTest::mediansOfFewAndOfManyDifferentValues()
{
    QFETCH(QList<int>, values);
    QFETCH(int, median);
    std::vector<Result> results;
    for (const int value : values) {
        Result result;
        result.julianDay = static_cast<qint32>(QDate(2026, 12, 8).toJulianDay());
        result.measured = value;
        result.right = true;
        results.push_back(result);
    }
    const std::vector<Day> days = byDay(results);
    QCOMPARE(days.size(), std::size_t{1});
    QCOMPARE(days.front().median.value_or(-1), median);
    QCOMPARE(summarize(Measure::Time, results, QDate(2026, 12, 8)).median.value_or(-1), median);
}

void ProgressTest::csvFieldsStayFieldsAndNeverFormulas_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("csv");
    QTest::newRow("plain") << "レベル3"
                           << "レベル3";
    QTest::newRow("stop difference keeps its sign") << "-00:13"
                                                    << "-00:13";
    QTest::newRow("comma") << "1,2"
                           << "\"1,2\"";
    QTest::newRow("quote") << "a\"b"
                           << "\"a\"\"b\"";
    QTest::newRow("formula") << "=1+2"
                             << "'=1+2";
    QTest::newRow("formula with comma") << "=SUM(A1,A2)"
                                        << "\"'=SUM(A1,A2)\"";
    QTest::newRow("signed word") << "-cmd"
                                 << "'-cmd";
    QTest::newRow("at sign") << "@x"
                             << "'@x";
    QTest::newRow("signed sum") << "-1+1"
                                << "'-1+1";
    QTest::newRow("signed number before a formula") << "-1+HYPERLINK(\"http://x\")"
                                                    << "\"'-1+HYPERLINK(\"\"http://x\"\")\"";
    QTest::newRow("plus before a formula") << "+A1*2"
                                           << "'+A1*2";
    QTest::newRow("tab before a formula") << "\t=1+2"
                                          << "'\t=1+2";
    QTest::newRow("carriage return before a formula") << "\r=1+2"
                                                      << "\"'\r=1+2\"";
    QTest::newRow("a sign alone") << "-"
                                  << "'-";
    QTest::newRow("signed number stays") << "-12.5"
                                         << "-12.5";
    QTest::newRow("positive difference stays") << "+00:07"
                                               << "+00:07";
    QTest::newRow("shape time stays") << "00:12:3"
                                      << "00:12:3";
    QTest::newRow("formula after a blank is text") << " =1"
                                                   << " =1";
}

void ProgressTest::csvFieldsStayFieldsAndNeverFormulas()
{
    QFETCH(QString, text);
    QFETCH(QString, csv);
    QCOMPARE(csv::field(text), csv);
}

void ProgressTest::exportWritesEveryTestAsUtf8()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    qxtest::writeBytes(qxtest::records().resultPath(QStringLiteral("u"), QStringLiteral("L_R.dat")),
                       cp932::encode(QStringLiteral("2026/12/08,レベル3,×,7,\"=1, 2\"\r\n")));
    const QByteArray before = qxtest::readBytes(
        qxtest::records().resultPath(QStringLiteral("u"), QStringLiteral("L_R.dat")));
    const QTemporaryDir out;
    const csv::Export done = csv::exportUser(qxtest::records(), QStringLiteral("u"), out.path());
    QVERIFY2(done.error.isEmpty(), qPrintable(done.error));
    QCOMPARE(done.written.size(), 7);
    // With a byte order mark, which a spreadsheet needs to take it for UTF-8.
    QCOMPARE(qxtest::readBytes(out.filePath(QStringLiteral("u-L_R.csv"))),
             QByteArray("\xEF\xBB\xBF日付,レベル,合否,答え,入力した答え\r\n"
                        "2026/12/08,レベル3,×,7,\"\"\"=1, 2\"\"\"\r\n"));
    QCOMPARE(qxtest::readBytes(out.filePath(QStringLiteral("u-panel.csv"))),
             QByteArray("\xEF\xBB\xBF日付,レベル,合否\r\n"));
    // The record files stay as they were, and nothing is added beside them.
    QCOMPARE(qxtest::readBytes(
                 qxtest::records().resultPath(QStringLiteral("u"), QStringLiteral("L_R.dat"))),
             before);
    QCOMPARE(QDir(qxtest::records().folder() + QStringLiteral("/u")).entryList(QDir::Files).size(),
             7);

    // A folder that is not there is said, and nothing is written.
    const csv::Export nowhere =
        csv::exportUser(qxtest::records(), QStringLiteral("u"), out.filePath("missing"));
    QVERIFY(nowhere.written.isEmpty());
    QVERIFY(!nowhere.error.isEmpty());
}

void ProgressTest::exportKeepsWhatThePlayerTyped_data()
{
    QTest::addColumn<QString>("testId");
    QTest::addColumn<QByteArray>("line"); // the record line, in code page 932
    QTest::addColumn<QByteArray>("row");  // the CSV row, in UTF-8
    QTest::newRow("answer with a blank") << "L-R"
                                         << QByteArray("2026/12/08,\x83\x8C\x83\x78\x83\x8B"
                                                       "3,\x81\x7E,7,1 2")
                                         << QByteArray("2026/12/08,レベル3,×,7,1 2");
    QTest::newRow("answer with a comma")
        << "L-R" << QByteArray("2026/12/08,x,y,74,7,4") << QByteArray("2026/12/08,x,y,74,\"7,4\"");
    QTest::newRow("answer with leading blanks")
        << "N_memory" << QByteArray("2026/12/08,x,y,74,  74")
        << QByteArray("2026/12/08,x,y,74,  74");
    QTest::newRow("answer in quotes") << "L-R" << QByteArray("2026/12/08,x,y,1,\"x\"")
                                      << QByteArray("2026/12/08,x,y,1,\"\"\"x\"\"\"");
    QTest::newRow("empty answer") << "box" << QByteArray("2026/12/08,x,00:06:52,14,")
                                  << QByteArray("2026/12/08,x,00:06:52,14,");
    QTest::newRow("short line is filled up")
        << "box" << QByteArray("2026/12/08") << QByteArray("2026/12/08,,,,");
    QTest::newRow("empty line") << "panel" << QByteArray() << QByteArray(",,");
    QTest::newRow("surplus fields stay in the last cell")
        << "Reflex" << QByteArray("2026/12/08,00:00:07,x y")
        << QByteArray("2026/12/08,\"00:00:07,x y\"");
    QTest::newRow("formula answer")
        << "L-R" << QByteArray("2026/12/08,x,y,1,-1+1") << QByteArray("2026/12/08,x,y,1,'-1+1");
    QTest::newRow("stop difference") << "stop" << QByteArray("2026/12/08,x,3:00,2:87,-00:13")
                                     << QByteArray("2026/12/08,x,3:00,2:87,-00:13");
    QTest::newRow("bytes outside the code page") << "L-R" << QByteArray("2026/12/08,x,y,1,\x85\x40")
                                                 << QByteArray("2026/12/08,x,y,1,\xEF\xBF\xBD@");
}

// Record lines are never quoted and only the last field can hold commas or
// blanks: a re-split by the viewer's rule moved, dropped and unquoted what the
// player typed.
void ProgressTest::exportKeepsWhatThePlayerTyped()
{
    QFETCH(QString, testId);
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, row);
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    qxtest::writeBytes(qxtest::records().resultPath(QStringLiteral("u"), findTest(testId)->file()),
                       line + "\r\n");
    const QTemporaryDir out;
    QVERIFY(csv::exportUser(qxtest::records(), QStringLiteral("u"), out.path()).error.isEmpty());
    const QList<QByteArray> rows =
        qxtest::readBytes(
            out.filePath(QStringLiteral("u-%1.csv").arg(QString(testId).replace(u'-', u'_'))))
            .split('\n');
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(1), row + '\r');
}

// In a folder others may write, a link named like an output file must not
// make the export replace the file it leads to.
void ProgressTest::exportReplacesALinkNeverItsTarget()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    const QTemporaryDir out;
    const QTemporaryDir elsewhere;
    const QString victim = elsewhere.filePath(QStringLiteral("victim"));
    qxtest::writeBytes(victim, "keep");
    const QString planted = out.filePath(QStringLiteral("u-panel.csv"));
    QVERIFY(QFile::link(victim, planted));
    const csv::Export done = csv::exportUser(qxtest::records(), QStringLiteral("u"), out.path());
    QVERIFY2(done.error.isEmpty(), qPrintable(done.error));
    QCOMPARE(qxtest::readBytes(victim), QByteArray("keep"));
    QVERIFY(!QFileInfo(planted).isSymLink());
    QCOMPARE(qxtest::readBytes(planted), QByteArray("\xEF\xBB\xBF日付,レベル,合否\r\n"));
}

void ProgressTest::exportRefusesTheRecordsFolder_data()
{
    QTest::addColumn<QString>("folder"); // in the records folder's parent
    QTest::addColumn<bool>("viaLink");
    QTest::newRow("the records folder") << "Rec" << false;
    QTest::newRow("a user's folder") << "Rec/u" << false;
    QTest::newRow("a folder below a user's") << "Rec/u/sub" << false;
    QTest::newRow("a link to a user's folder") << "Rec/u" << true;
}

// Files put there were taken for users, or kept a user from being deleted.
void ProgressTest::exportRefusesTheRecordsFolder()
{
    QFETCH(QString, folder);
    QFETCH(bool, viaLink);
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    QVERIFY(QDir().mkpath(f.folder.path() + QStringLiteral("/Rec/u/sub")));
    QString destination = QDir(f.folder.path()).filePath(folder);
    if (viaLink) {
        const QString link = QDir(f.folder.path()).filePath(QStringLiteral("link"));
        QVERIFY(QFile::link(destination, link));
        destination = link;
    }
    const QStringList users = users::list(qxtest::records());
    const csv::Export done = csv::exportUser(qxtest::records(), QStringLiteral("u"), destination);
    QVERIFY(done.written.isEmpty());
    QVERIFY2(done.error.contains(destination), qPrintable(done.error));
    QCOMPARE(QDir(destination).entryList(QDir::Files | QDir::Hidden).filter(".csv"), QStringList());
    QCOMPARE(users::list(qxtest::records()), users);
}

void ProgressTest::exportThatCannotWriteLeavesOnlyWholeFiles_data()
{
    QTest::addColumn<int>("call"); // the system call that fails
    QTest::newRow("disk full while writing") << 0;
    QTest::newRow("sync fails") << 1;
    QTest::newRow("rename fails") << 2;
}

namespace {
int g_failingCall = 0;
int g_callsLeft = 0;
// True once the calls of the kind that fails run out.
bool failNow(int call)
{
    return call == g_failingCall && g_callsLeft-- <= 0;
}
} // namespace

// A full disk once passed for success, leaving cut and empty files.
void ProgressTest::exportThatCannotWriteLeavesOnlyWholeFiles()
{
    QFETCH(int, call);
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    QByteArray many;
    for (int i = 0; i < 100000; ++i)
        many += "2026/12/08,\x83\x8C\x83\x78\x83\x8B"
                "3,\x81\x9B,12345,12345\r\n";
    qxtest::writeBytes(
        qxtest::records().resultPath(QStringLiteral("u"), QStringLiteral("N_memory.dat")), many);
    const QTemporaryDir out;
    const QString old = out.filePath(QStringLiteral("u-N_memory.csv"));
    qxtest::writeBytes(old, "earlier export");
    g_failingCall = call;
    // The first two files, panel and L-R, go through; then the third, of
    // megabytes, fails: a write past its first buffer, the sync of the file
    // (each file before it synced itself and its folder), or its rename.
    g_callsLeft = call == 0 ? 3 : call == 1 ? 4 : 2;
    store::FileOps ops = store::systemFileOps();
    ops.write = [](int fd, const void* data, unsigned long size) -> long {
        return failNow(0) ? (errno = ENOSPC, -1) : ::write(fd, data, size);
    };
    ops.fsync = [](int fd) { return failNow(1) ? (errno = EIO, -1) : ::fsync(fd); };
    ops.rename = [](const char* from, const char* to) {
        return failNow(2) ? (errno = EIO, -1) : ::rename(from, to);
    };
    const store::Records records(qxtest::records().folder(), ops);
    const csv::Export done = csv::exportUser(records, QStringLiteral("u"), out.path());
    QCOMPARE(done.error, QStringLiteral("ファイル %1 を作成できません").arg(old));
    QCOMPARE(done.written.size(), 2);
    QCOMPARE(qxtest::readBytes(old), QByteArray("earlier export"));
    QCOMPARE(qxtest::readBytes(out.filePath(QStringLiteral("u-L_R.csv"))),
             QByteArray("\xEF\xBB\xBF日付,レベル,合否,答え,入力した答え\r\n"));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{"u-L_R.csv", "u-N_memory.csv", "u-panel.csv"}));
}

void ProgressTest::exportFromTheCommandLine()
{
    const QTemporaryDir records;
    QVERIFY(QDir(records.path()).mkpath(QStringLiteral("Rec/hanako")));
    for (const QString& name : recordFiles())
        qxtest::writeBytes(records.filePath(QStringLiteral("Rec/hanako/") + name), {});
    qxtest::writeBytes(records.filePath(QStringLiteral("Rec/hanako/panel.dat")),
                       cp932::encode(QStringLiteral("2026/12/08,レベル3,○\r\n")));
    const QTemporaryDir out;
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    program.setProcessEnvironment(environment);
    const QString recordsFolder = records.filePath(QStringLiteral("Rec"));
    program.start(QStringLiteral(QX_GAME_DIR "/quiravex"),
                  {"--records", recordsFolder, "--export", "hanako", out.path()});
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(qxtest::readBytes(out.filePath(QStringLiteral("hanako-panel.csv"))),
             QByteArray("\xEF\xBB\xBF日付,レベル,合否\r\n2026/12/08,レベル3,○\r\n"));

    // A refused folder fails the program, with the reason.
    program.start(QStringLiteral(QX_GAME_DIR "/quiravex"),
                  {"--records", recordsFolder, "--export", "hanako", recordsFolder});
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitCode(), 1);
    QVERIFY(QString::fromUtf8(program.readAllStandardError()).contains(recordsFolder));
    QCOMPARE(QDir(recordsFolder).entryList(QDir::Files).filter(".csv"), QStringList());

    program.start(QStringLiteral(QX_GAME_DIR "/quiravex"),
                  {"--records", recordsFolder, "--export", "nobody", out.path()});
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitCode(), 1);
    QVERIFY(program.readAllStandardError().contains("no user 'nobody'"));

    // The command line speaks one language, also where the game's own
    // message (Japanese) is behind the fault.
    const QString missing = out.filePath(QStringLiteral("missing"));
    program.start(QStringLiteral(QX_GAME_DIR "/quiravex"),
                  {"--records", recordsFolder, "--export", "hanako", missing});
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitCode(), 1);
    QCOMPARE(QString::fromLocal8Bit(program.readAllStandardError()),
             QStringLiteral("quiravex: folder '%1' does not exist\n").arg(missing));
}

void ProgressTest::chartScreenShowsTheFiguresAndTheTiming()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    qxtest::writeBytes(
        qxtest::records().resultPath(QStringLiteral("u"), QStringLiteral("stop.dat")),
        cp932::encode(QStringLiteral("2026/12/08,レベル1,3:00,2:87,-00:13\r\n"
                                     "damaged\r\n")));
    TForm13& viewer = f.window<TForm13>();
    viewer.ShowModal();
    // The top ten has no chart.
    QVERIFY(!probe(viewer).chartButton().isEnabled());
    probe(viewer).testButton(TestKind::Stop).click();
    QVERIFY(probe(viewer).chartButton().isEnabled());
    probe(viewer).chartButton().click();
    ProgressScreen& chart = f.window<ProgressScreen>();
    QCOMPARE(f.game->modal.top(), &chart);
    QVERIFY(probe(chart).figures().text().contains(QStringLiteral("回数：1")));
    QVERIFY(probe(chart).figures().text().contains(QStringLiteral("0.13 秒")));
    QCOMPARE(probe(chart).damaged().text(), QStringLiteral("読めない行：1"));
    QVERIFY(probe(chart).timing().text().contains(QStringLiteral("未計測")));

    // Export from the screen into a folder the player picks.
    const QTemporaryDir out;
    f.dialogs.folders.push_back(out.path());
    probe(chart).exportButton().click();
    QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), 7);
    QVERIFY(f.dialogs.messages.last().contains(out.path()));
}

void ProgressTest::latenessIsTheNinetyNinthPercentile()
{
    Lateness lateness;
    QCOMPARE(lateness.p99Ms(), std::nullopt);
    for (int i = 0; i < 990; ++i)
        lateness.addTick(200'000); // 0.2 ms
    for (int i = 0; i < 10; ++i)
        lateness.addTick(50'000'000); // 50 ms: the worst 1 %
    QCOMPARE(lateness.p99Ms(), std::optional<int>(1));
    // Keys a little later than the ticks decide.
    for (int i = 0; i < 100; ++i)
        lateness.addKey(2'500'000);
    QCOMPARE(lateness.p99Ms(), std::optional<int>(3));
    QCOMPARE(timingText(lateness), QStringLiteral("計測精度：±3 ms"));
}

QTEST_MAIN(ProgressTest)
#include "tst_progress.moc"
