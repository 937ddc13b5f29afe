// A player's progress: record lines read into results, grouped by day and
// summed up; the export for spreadsheets, from the chart screen and from the
// command line; and the timing the chart screen discloses.

#include "app/mainform.h"
#include "platform/lateness.h"
#include "platform/textcodec.h"
#include "testsupport.h"
#include "users/csvexport.h"
#include "users/kiroku.h"
#include "users/progress.h"
#include "users/progressview.h"

#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace qx;
using namespace qx::progress;

namespace {

// Lines as the game writes them, newest first, from UTF-8 text.
store::Lines lines(const QStringList& text)
{
    store::Lines out;
    for (const QString& line : text)
        out.append(cp932::encode(line));
    return out;
}

} // namespace

class ProgressTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void recordLinesBecomeResults_data();
    void recordLinesBecomeResults();
    void daysGroupWithGapsLeftOut();
    void summaryComparesTheLastWeekWithTheMonthBefore_data();
    void summaryComparesTheLastWeekWithTheMonthBefore();
    void csvFieldsStayFieldsAndNeverFormulas_data();
    void csvFieldsStayFieldsAndNeverFormulas();
    void exportWritesEveryTestAsUtf8();
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
}

void ProgressTest::recordLinesBecomeResults()
{
    QFETCH(QString, testId);
    QFETCH(QString, line);
    QFETCH(bool, read);
    QFETCH(bool, right);
    QFETCH(int, level);
    QFETCH(int, hundredths);
    const Results results = readResults(testId, lines({line, QString()}));
    QCOMPARE(results.damaged, read ? 0 : 1);
    QCOMPARE(results.results.size(), std::size_t{read ? 1u : 0u});
    if (!read)
        return;
    const Result& result = results.results.front();
    QCOMPARE(result.day, QDate(2026, 12, 8));
    QCOMPARE(result.right, right);
    QCOMPARE(result.level, level);
    QCOMPARE(result.hundredths.value_or(-1), hundredths);
}

// Three days played out of five; the file keeps the newest first, the days
// come oldest first, and each day's median and best are its own.
void ProgressTest::daysGroupWithGapsLeftOut()
{
    const Results read = readResults(QStringLiteral("Reflex"), lines({
                                                                   "2026/12/05,00:00:30",
                                                                   "2026/12/05,フライング",
                                                                   "2026/12/04,00:00:20",
                                                                   "2026/12/04,00:00:40",
                                                                   "2026/12/04,00:00:31",
                                                                   "2026/12/01,00:00:25",
                                                                   "2026/12/01,00:00:26",
                                                               }));
    QCOMPARE(read.results.front().day, QDate(2026, 12, 1));
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
    const Results read = readResults(testId, lines(file));
    QCOMPARE(read.damaged, 0);
    const Summary summary = summarize(measureOf(testId), read.results, QDate(2026, 12, 10));
    QCOMPARE(summary.results, static_cast<int>(file.size()));
    QCOMPARE(summary.best.value_or(-1), best);
    QCOMPARE(summary.median.value_or(-1), median);
    QCOMPARE(summary.last7.value_or(-1), last7);
    QCOMPARE(summary.previous30.value_or(-1), previous30);
    QCOMPARE(summary.longestRightRun, longestRun);
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
    qxtest::writeBytes(store::resultPath(QStringLiteral("u"), QStringLiteral("L_R.dat")),
                       cp932::encode(QStringLiteral("2026/12/08,レベル3,×,7,\"=1, 2\"\r\n")));
    const QByteArray before =
        qxtest::readBytes(store::resultPath(QStringLiteral("u"), QStringLiteral("L_R.dat")));
    const QTemporaryDir out;
    const csv::Export done = csv::exportUser(QStringLiteral("u"), out.path());
    QVERIFY2(done.error.isEmpty(), qPrintable(done.error));
    QCOMPARE(done.written.size(), 7);
    QCOMPARE(QString::fromUtf8(qxtest::readBytes(out.filePath(QStringLiteral("u-L_R.csv")))),
             QStringLiteral("日付,レベル,合否,答え,入力した答え\r\n"
                            "2026/12/08,レベル3,×,7,\"'=1, 2\"\r\n"));
    QCOMPARE(qxtest::readBytes(out.filePath(QStringLiteral("u-panel.csv"))),
             QByteArray("日付,レベル,合否\r\n"));
    // The record files stay as they were, and nothing is added beside them.
    QCOMPARE(qxtest::readBytes(store::resultPath(QStringLiteral("u"), QStringLiteral("L_R.dat"))),
             before);
    QCOMPARE(QDir(store::recordsFolder() + QStringLiteral("/u")).entryList(QDir::Files).size(), 7);

    // A folder that is not there is said, and nothing is written.
    const csv::Export nowhere = csv::exportUser(QStringLiteral("u"), out.filePath("missing"));
    QVERIFY(nowhere.written.isEmpty());
    QVERIFY(!nowhere.error.isEmpty());
}

void ProgressTest::exportFromTheCommandLine()
{
    const QTemporaryDir records;
    QVERIFY(QDir(records.path()).mkpath(QStringLiteral("Rec/hanako")));
    for (const QString& name : store::testFileNames())
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
    QCOMPARE(QString::fromUtf8(qxtest::readBytes(out.filePath(QStringLiteral("hanako-panel.csv")))),
             QStringLiteral("日付,レベル,合否\r\n2026/12/08,レベル3,○\r\n"));

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
    qxtest::writeBytes(store::resultPath(QStringLiteral("u"), QStringLiteral("stop.dat")),
                       cp932::encode(QStringLiteral("2026/12/08,レベル1,3:00,2:87,-00:13\r\n"
                                                    "damaged\r\n")));
    TForm13& viewer = *f.game->Form13;
    viewer.ShowModal();
    // The top ten has no chart.
    QVERIFY(!probe(viewer).chartButton()->isEnabled());
    probe(viewer).Image8()->click();
    QVERIFY(probe(viewer).chartButton()->isEnabled());
    probe(viewer).chartButton()->click();
    ProgressScreen& chart = *f.game->Progress;
    QCOMPARE(f.game->modal.top(), &chart);
    QVERIFY(probe(chart).m_figures()->text().contains(QStringLiteral("回数：1")));
    QVERIFY(probe(chart).m_figures()->text().contains(QStringLiteral("0.13 秒")));
    QCOMPARE(probe(chart).m_damaged()->text(), QStringLiteral("読めない行：1"));
    QVERIFY(probe(chart).m_timing()->text().contains(QStringLiteral("未計測")));

    // Export from the screen into a folder the player picks.
    const QTemporaryDir out;
    f.dialogs.folders.push_back(out.path());
    probe(chart).m_export()->click();
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
