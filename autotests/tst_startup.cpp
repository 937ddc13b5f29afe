// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Where the game finds its files and keeps its records, decided from the
// program's own folder, its command line and its choice of window system.

#include "app/commandline.h"
#include "app/folders.h"
#include "platform/display.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace qx;

Q_DECLARE_METATYPE(qx::CommandLine::Action)

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
    void commandLineIsRead_data();
    void commandLineIsRead();
    void commandLine_data();
    void commandLine();
    void windowSystemChoice();
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
    QTest::newRow("installed in bin") << "prefix/bin prefix/share/quiravex/bmp"
                                      << ""
                                      << "prefix/share/quiravex"
                                      << "home/Rec";
    QTest::newRow("installed in games") << "prefix/games prefix/share/quiravex/bmp"
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
    // The program's folder is the first one of the layout, or the one its bmp/ is in.
    const QString first = layout.section(u' ', 0, 0);
    const QString program =
        root.filePath(first.endsWith(QLatin1String("/bmp")) ? first.section(u'/', 0, 0) : first);
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
// Qt's own options pass; a fault names the argument as it was typed; help
// and version answer whatever follows them.
void StartupTest::commandLineIsRead_data()
{
    using Action = CommandLine::Action;
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("detail"); // the fault, or records|user|folder
    QTest::newRow("nothing") << QStringList{} << Action::Play << "||";
    QTest::newRow("--records") << QStringList{"--records", "r"} << Action::Play << "r||";
    QTest::newRow("--records=") << QStringList{"--records=r"} << Action::Play << "r||";
    QTest::newRow("--export") << QStringList{"--export", "u", "out", "--records", "r"}
                              << Action::Export << "r|u|out";
    QTest::newRow("Qt's options") << QStringList{"-platform", "offscreen",      "-style=fusion",
                                                 "-reverse",  "--qwindowtitle", "t"}
                                  << Action::Play << "||";
    QTest::newRow("-h") << QStringList{"-h"} << Action::Help << "";
    QTest::newRow("--version") << QStringList{"--version"} << Action::Version << "";
    QTest::newRow("whatever follows --help")
        << QStringList{"--records", "r", "--help", "--bogus"} << Action::Help << "";
    QTest::newRow("whatever follows -v") << QStringList{"-v", "stray"} << Action::Version << "";
    QTest::newRow("a fault before --help")
        << QStringList{"--bogus", "--help"} << Action::Fault << "unknown option '--bogus'";
    QTest::newRow("unknown option") << QStringList{"--records", "r", "--bogus=1"} << Action::Fault
                                    << "unknown option '--bogus'";
    QTest::newRow("unknown short option")
        << QStringList{"-x"} << Action::Fault << "unknown option '-x'";
    QTest::newRow("--records without its folder")
        << QStringList{"--records"} << Action::Fault << "option '--records' needs a value";
    QTest::newRow("--records= empty")
        << QStringList{"--records="} << Action::Fault << "option '--records' needs a value";
    QTest::newRow("-platform without its name")
        << QStringList{"-platform"} << Action::Fault << "option '-platform' needs a value";
    QTest::newRow("a flag given a value")
        << QStringList{"-reverse=1"} << Action::Fault << "option '-reverse' takes no value";
    QTest::newRow("--export without its folder") << QStringList{"--export", "u"} << Action::Fault
                                                 << "option '--export' needs a user and a folder";
    QTest::newRow("a stray argument")
        << QStringList{"stray"} << Action::Fault << "unexpected argument 'stray'";
    QTest::newRow("an argument beyond --export's") << QStringList{"--export", "u", "out", "more"}
                                                   << Action::Fault << "unexpected argument 'more'";
}

void StartupTest::commandLineIsRead()
{
    QFETCH(QStringList, arguments);
    QFETCH(CommandLine::Action, action);
    QFETCH(QString, detail);
    const CommandLine line = parseCommandLine(QStringList{"quiravex"} + arguments);
    QCOMPARE(line.action, action);
    if (action == CommandLine::Action::Fault)
        QCOMPARE(line.fault, detail);
    else if (!detail.isEmpty())
        QCOMPARE(QStringList({line.records, line.exportUser, line.exportFolder}).join(u'|'),
                 detail);
}

// What the program prints, where, and its exit code: help and version on
// standard output with 0; a fault on standard error with 2, named before the
// usage; so is a desktop whose display cannot be opened, unless Qt's own
// -platform chose the window system.
void StartupTest::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("display");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    const QString usage = commandLineUsage();
    QTest::newRow("--help") << QStringList{"--help"} << "" << 0 << usage << "";
    QTest::newRow("-h and more") << QStringList{"-h", "--bogus"} << "" << 0 << usage << "";
    QTest::newRow("--version") << QStringList{"--version"} << "" << 0 << "quiravex " QX_VERSION "\n"
                               << "";
    QTest::newRow("-v") << QStringList{"-v"} << "" << 0 << "quiravex " QX_VERSION "\n"
                        << "";
    QTest::newRow("unknown option") << QStringList{"--bogus"} << "" << 2 << ""
                                    << "quiravex: unknown option '--bogus'\n\n" + usage;
    QTest::newRow("--records without a folder")
        << QStringList{"--records"} << "" << 2 << ""
        << "quiravex: option '--records' needs a value\n\n" + usage;
    QTest::newRow("no display") << QStringList{} << "" << 2 << ""
                                << "quiravex: a graphical desktop is needed";
    QTest::newRow("a display that does not answer") << QStringList{} << ":4711" << 2 << ""
                                                    << "quiravex: a graphical desktop is needed";
}

void StartupTest::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, display);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
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
    QCOMPARE(QString::fromLocal8Bit(program.readAllStandardOutput()), out);
    const QString printed = QString::fromLocal8Bit(program.readAllStandardError());
    QVERIFY2(err.isEmpty() ? printed.isEmpty() : printed.startsWith(err), qPrintable(printed));
}

namespace {

// Sets an environment variable for one scope, or removes it, and puts back
// what was there.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const QByteArray& value) : m_name(name)
    {
        m_had = qEnvironmentVariableIsSet(name);
        m_before = qgetenv(name);
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedVariable()
    {
        if (m_had)
            qputenv(m_name, m_before);
        else
            qunsetenv(m_name);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    bool m_had;
    QByteArray m_before;
};

} // namespace

// Qt's own -platform starts the game where no display is there; a desktop
// with only a Wayland compositor gets Wayland only where Qt has its plugin,
// else Qt would abort where the game gives its message.
void StartupTest::windowSystemChoice()
{
    QTemporaryDir records;
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.insert(QStringLiteral("QUIRAVEX_BENCH_STARTUP"), QStringLiteral("1"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(QX_GAME_DIR "/quiravex"),
                  {"-platform", "offscreen", "--records", records.path()});
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(program.readAllStandardOutput().startsWith("first-frame-ns="));

    QTemporaryDir runtime;
    qxtest::writeBytes(runtime.filePath("wayland-0"), {});
    const ScopedVariable display("DISPLAY", {});
    const ScopedVariable platform("QT_QPA_PLATFORM", {});
    const ScopedVariable wayland("WAYLAND_DISPLAY", runtime.filePath("wayland-0").toLocal8Bit());
    const QTemporaryDir noPlugins;
    QVERIFY(!chooseWindowSystem({noPlugins.path()}));
    QVERIFY(qgetenv("QT_QPA_PLATFORM").isEmpty());
    if (!chooseWindowSystem())
        QSKIP("Qt's Wayland plugin is not installed here");
    QCOMPARE(qgetenv("QT_QPA_PLATFORM"), QByteArray("wayland"));
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
