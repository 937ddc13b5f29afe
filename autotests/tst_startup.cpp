// Where the game finds its files and keeps its records, decided from the
// program's own folder, and its command line.

#include "app/folders.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace qx;

namespace {

mode_t modeOf(const QString& path)
{
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 0777;
}

void makeFolder(const QString& path)
{
    QVERIFY(QDir().mkpath(path));
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void foldersFollowTheProgramsFolder_data();
    void foldersFollowTheProgramsFolder();
    void firstStartSeedsTheTopTenOnce();
    void dataFoldersAreMadePrivate();
    void aRecordsFolderThatCannotBeMadeIsNamedWithWhy();
    void commandLine_data();
    void commandLine();
};

void StartupTest::foldersFollowTheProgramsFolder_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("records");
    QTest::newRow("portable, records beside the program") << "game/bmp game/Rec"
                                                          << ""
                                                          << "game"
                                                          << "game/Rec";
    QTest::newRow("portable without Rec: the player's folder") << "game/bmp"
                                                               << ""
                                                               << "game"
                                                               << "home/Rec";
    QTest::newRow("installed") << "prefix/bin prefix/share/quiravex/bmp"
                               << ""
                               << "prefix/share/quiravex"
                               << "home/Rec";
    QTest::newRow("records chosen on the command line") << "game/bmp game/Rec"
                                                        << "stick/Rec"
                                                        << "game"
                                                        << "stick/Rec";
}

void StartupTest::foldersFollowTheProgramsFolder()
{
    QFETCH(QString, layout);
    QFETCH(QString, option);
    QFETCH(QString, data);
    QFETCH(QString, records);
    QTemporaryDir root;
    for (const QString& folder : layout.split(QLatin1Char(' ')))
        makeFolder(root.filePath(folder));
    const QString program =
        root.filePath(layout.startsWith(QLatin1String("prefix")) ? QStringLiteral("prefix/bin")
                                                                 : QStringLiteral("game"));
    const Folders folders = findFolders(
        program, option.isEmpty() ? QString() : root.filePath(option), root.filePath("home"));
    QCOMPARE(folders.data, root.filePath(data));
    QCOMPARE(folders.records, root.filePath(records));
}

// The top ten is copied in when the records folder has none, and a player's
// own is never replaced.
void StartupTest::firstStartSeedsTheTopTenOnce()
{
    QTemporaryDir root;
    makeFolder(root.filePath("share"));
    qxtest::writeBytes(root.filePath("share/record.dat"), "2026/12/01,1,\"a\"\r\n");
    QFile::setPermissions(root.filePath("share/record.dat"), QFile::ReadOwner);
    const Folders folders{root.filePath("share"), root.filePath("home/quiravex/Rec")};
    QCOMPARE(prepareRecords(folders), QString());
    const QString ranking = folders.records + QStringLiteral("/record.dat");
    QCOMPARE(qxtest::readBytes(ranking), QByteArray("2026/12/01,1,\"a\"\r\n"));
    QVERIFY(QFile::permissions(ranking) & QFile::WriteOwner);
    qxtest::writeBytes(ranking, "mine\r\n");
    QCOMPARE(prepareRecords(folders), QString());
    QCOMPARE(qxtest::readBytes(ranking), QByteArray("mine\r\n"));
}

// Other accounts on the machine can neither read a player's records nor lock
// the folder; folders that were there already keep their mode.
void StartupTest::dataFoldersAreMadePrivate()
{
    QTemporaryDir root;
    makeFolder(root.filePath("home"));
    QVERIFY(QFile::setPermissions(root.filePath("home"), QFile::ReadOwner | QFile::WriteOwner |
                                                             QFile::ExeOwner | QFile::ReadOther |
                                                             QFile::ExeOther));
    const Folders folders{root.filePath("share"), root.filePath("home/.local/share/quiravex/Rec")};
    QCOMPARE(prepareRecords(folders), QString());
    for (const char* made : {"home/.local", "home/.local/share", "home/.local/share/quiravex",
                             "home/.local/share/quiravex/Rec"}) {
        QCOMPARE(modeOf(root.filePath(made)), mode_t(0700));
    }
    QCOMPARE(modeOf(root.filePath("home")), mode_t(0705));
}

// An unwritable home once gave a warning on the terminal only, and every name
// was then refused at registration without a reason.
void StartupTest::aRecordsFolderThatCannotBeMadeIsNamedWithWhy()
{
    QTemporaryDir root;
    qxtest::writeBytes(root.filePath("home"), "a file where the home should be");
    const Folders folders{root.filePath("share"), root.filePath("home/.local/share/quiravex/Rec")};
    QCOMPARE(
        prepareRecords(folders),
        QStringLiteral("フォルダ %1 を作れません（同じ名前のファイルがあります）。"
                       "記録のフォルダ %2 がないので、ユーザーの登録も成績の記録もできません。")
            .arg(root.filePath("home/.local"), folders.records));
}

// Help and version work without a display; anything unknown prints the usage
// and fails with 2, and so does a desktop whose display cannot be opened.
void StartupTest::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("display");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("printed");
    QTest::newRow("--help") << QStringList{"--help"} << "" << 0 << "Usage: quiravex";
    QTest::newRow("-h") << QStringList{"-h"} << "" << 0 << "--records FOLDER";
    QTest::newRow("--version") << QStringList{"--version"} << "" << 0 << "quiravex " QX_VERSION;
    QTest::newRow("unknown option") << QStringList{"--fast"} << "" << 2 << "Usage: quiravex";
    QTest::newRow("--records without a folder") << QStringList{"--records"} << "" << 2 << "Usage";
    QTest::newRow("no display") << QStringList{} << "" << 2 << "no display could be opened";
    QTest::newRow("a display that does not answer")
        << QStringList{} << ":4711" << 2 << "no display could be opened";
}

void StartupTest::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, display);
    QFETCH(int, exitCode);
    QFETCH(QString, printed);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    if (!display.isEmpty())
        environment.insert(QStringLiteral("DISPLAY"), display);
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(QX_GAME_DIR "/quiravex"), arguments);
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitCode(), exitCode);
    const QString output =
        QString::fromLocal8Bit(program.readAllStandardOutput() + program.readAllStandardError());
    QVERIFY2(output.contains(printed), qPrintable(output));
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
