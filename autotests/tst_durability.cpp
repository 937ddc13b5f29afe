// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Saves that fail at any system call, or run out of room, keep the old file
// and leave nothing beside it.

#include "platform/desktop.h"
#include "platform/dispatch.h"
#include "testsupport.h"
#include "rules/store.h"
#include "rules/users.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace qx;

namespace {

enum Call { Write, Fsync, Rename, Close, Mkstemp };

// Which call fails: the failAt-th of its kind only, or every one from it on.
struct Fault {
    Call call = Write;
    int failAt = 0;
    bool continuous = false;
    int seen = 0;
};
Fault g_fault;

bool failing(Call call)
{
    if (call != g_fault.call)
        return false;
    ++g_fault.seen;
    return g_fault.continuous ? g_fault.seen >= g_fault.failAt : g_fault.seen == g_fault.failAt;
}

// The real calls, except the faulty one. Writes take at most 16 bytes each,
// so that a save makes several of them.
store::FileOps faultyOps()
{
    store::FileOps ops = store::systemFileOps();
    ops.write = [](int fd, const void* data, unsigned long size) -> long {
        if (failing(Write))
            return errno = ENOSPC, -1;
        return ::write(fd, data, std::min(size, 16UL));
    };
    ops.fsync = [](int fd) { return failing(Fsync) ? (errno = EIO, -1) : ::fsync(fd); };
    ops.rename = [](const char* from, const char* to) {
        return failing(Rename) ? (errno = EIO, -1) : ::rename(from, to);
    };
    ops.close = [](int fd) {
        const int rc = ::close(fd); // the descriptor is gone even when close fails
        return failing(Close) ? (errno = EIO, -1) : rc;
    };
    ops.mkstemp = [](char* pattern) {
        return failing(Mkstemp) ? (errno = EIO, -1) : store::systemFileOps().mkstemp(pattern);
    };
    return ops;
}

const QString kFolder = QStringLiteral("Rec/u");
const QString kPath = QStringLiteral("Rec/u/shape.dat");
const QString kCannotCreate = QStringLiteral("ファイル Rec/u/shape.dat を作成できません");

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

mode_t modeOf(const QString& path)
{
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 0777;
}

nlink_t linksOf(const QString& path)
{
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_nlink;
}

// Runs a save; returns whether it failed, checking the message when it did.
bool saveFails(const QString& path, const store::Lines& lines, QString* message,
               const store::FileOps& ops = store::systemFileOps())
{
    try {
        store::saveLines(path, lines, ops);
        return false;
    } catch (const Error& e) {
        *message = e.message();
        return true;
    }
}

store::Lines newLines()
{
    return {"2026/12/08,\x81\x9B,00:12:3", "2026/12/07,\x81\x7E,01:02:3", "2026/12/06,x,00:00:1"};
}

} // namespace

class DurabilityTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void faultSweep_data();
    void faultSweep();
    void interruptedWriteGoesOn();
    void fileSystemsWithoutLinksOrFolderSync_data();
    void fileSystemsWithoutLinksOrFolderSync();
    void diskFull_data();
    void diskFull();
    void readOnlyFolderKeepsTheFile();
    void leftoversOfACrashAreHiddenAndClearedByTheNextSave();
    void cleanUpSparesTheFilesOfALiveSave_data();
    void cleanUpSparesTheFilesOfALiveSave();
    void secondCopyFindsTheRecordsFolderInUse();
    void noOtherAccountCanHoldTheRecordsLock();
    void saveThroughALink_data();
    void saveThroughALink();
};

void DurabilityTest::faultSweep_data()
{
    QTest::addColumn<int>("call");
    QTest::addColumn<bool>("continuous");
    QTest::addColumn<bool>("replacing");
    // How many calls of the kind a save makes: the 68 bytes of new lines take
    // five writes; the file and then the folder are synced.
    QTest::addColumn<int>("calls");
    const struct {
        const char* name;
        Call call;
        int calls;
    } kinds[] = {{"write", Write, 5},
                 {"fsync", Fsync, 2},
                 {"rename", Rename, 1},
                 {"close", Close, 1},
                 {"mkstemp", Mkstemp, 1}};
    for (const auto& kind : kinds) {
        for (const bool continuous : {false, true}) {
            for (const bool replacing : {true, false}) {
                QTest::addRow("%s %s, %s", kind.name, continuous ? "from the N-th on" : "N-th only",
                              replacing ? "replacing" : "new file")
                    << int(kind.call) << continuous << replacing << kind.calls;
            }
        }
    }
}

// Raises N until the save succeeds: every failed save reports, keeps the old
// bytes, mode and name, leaves nothing beside the file, and makes no call of
// the failed kind after the failure (a failed fsync is never retried).
void DurabilityTest::faultSweep()
{
    QFETCH(int, call);
    QFETCH(bool, continuous);
    QFETCH(bool, replacing);
    QFETCH(int, calls);
    qxtest::ScratchFolder folder;
    QVERIFY(QDir().mkpath(kFolder));
    const QByteArray old("old line\r\n");
    const QByteArray wanted = store::joinLines(newLines());
    QCOMPARE(wanted.size(), 68);

    int failures = 0;
    for (int failAt = 1;; ++failAt) {
        QVERIFY2(failAt <= calls + 1, "the save still fails with the fault past its last call");
        QFile::remove(kPath);
        if (replacing) {
            qxtest::writeBytes(kPath, old);
            QVERIFY(QFile::setPermissions(kPath,
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        }
        g_fault = {Call(call), failAt, continuous, 0};
        QString message;
        const bool failed = saveFails(kPath, newLines(), &message, faultyOps());
        if (!failed) {
            QCOMPARE(qxtest::readBytes(kPath), wanted);
            QCOMPARE(entries(kFolder), QStringList{"shape.dat"});
            QCOMPARE(modeOf(kPath), replacing ? mode_t(0640) : mode_t(0644));
            QCOMPARE(linksOf(kPath), nlink_t(1));
            break;
        }
        ++failures;
        QCOMPARE(message, kCannotCreate);
        QCOMPARE(g_fault.seen, failAt);
        if (replacing) {
            QCOMPARE(qxtest::readBytes(kPath), old);
            QCOMPARE(entries(kFolder), QStringList{"shape.dat"});
            QCOMPARE(modeOf(kPath), mode_t(0640));
            QCOMPARE(linksOf(kPath), nlink_t(1));
        } else {
            QCOMPARE(entries(kFolder), QStringList{});
        }
    }
    QCOMPARE(failures, calls);
}

void DurabilityTest::interruptedWriteGoesOn()
{
    qxtest::ScratchFolder folder;
    QVERIFY(QDir().mkpath(kFolder));
    qxtest::writeBytes(kPath, "old\r\n");
    store::FileOps ops = store::systemFileOps();
    ops.write = [](int fd, const void* data, unsigned long size) -> long {
        static int calls = 0;
        if (++calls % 2 == 1)
            return errno = EINTR, -1;
        return ::write(fd, data, std::min(size, 16UL));
    };
    store::saveLines(kPath, newLines(), ops);
    QCOMPARE(qxtest::readBytes(kPath), store::joinLines(newLines()));
}

namespace {
int g_linkError = 0;
int g_folderSyncError = 0;
} // namespace

void DurabilityTest::fileSystemsWithoutLinksOrFolderSync_data()
{
    QTest::addColumn<int>("linkError");       // 0: links work
    QTest::addColumn<int>("folderSyncError"); // 0: folders sync
    QTest::addColumn<bool>("replacing");
    // FAT and exFAT refuse links; network folders and user-space drivers may
    // refuse to sync a folder.
    const struct {
        const char* name;
        int linkError;
        int folderSyncError;
    } systems[] = {
        {"FAT: no links", EPERM, 0},
        {"no links, not supported", EOPNOTSUPP, 0},
        {"network folder: no folder sync", 0, EINVAL},
        {"folder sync not supported", 0, EOPNOTSUPP},
        {"exFAT through a user-space driver: neither", EPERM, ENOSYS},
    };
    for (const auto& system : systems) {
        for (const bool replacing : {true, false}) {
            QTest::addRow("%s, %s", system.name, replacing ? "replacing" : "new file")
                << system.linkError << system.folderSyncError << replacing;
        }
    }
}

// The save stands with the strongest guarantee the file system offers: the
// new bytes synced under their final name.
void DurabilityTest::fileSystemsWithoutLinksOrFolderSync()
{
    QFETCH(int, linkError);
    QFETCH(int, folderSyncError);
    QFETCH(bool, replacing);
    qxtest::ScratchFolder folder;
    QVERIFY(QDir().mkpath(kFolder));
    if (replacing)
        qxtest::writeBytes(kPath, "old\r\n");
    g_linkError = linkError;
    g_folderSyncError = folderSyncError;
    store::FileOps ops = store::systemFileOps();
    ops.link = [](const char* from, const char* to) {
        return g_linkError ? (errno = g_linkError, -1) : ::link(from, to);
    };
    ops.fsync = [](int fd) {
        struct stat info {};
        if (g_folderSyncError && ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode))
            return errno = g_folderSyncError, -1;
        return ::fsync(fd);
    };
    store::saveLines(kPath, newLines(), ops);
    QCOMPARE(qxtest::readBytes(kPath), store::joinLines(newLines()));
    QCOMPARE(entries(kFolder), QStringList{"shape.dat"});
    QCOMPARE(linksOf(kPath), nlink_t(1));
}

void DurabilityTest::diskFull_data()
{
    QTest::addColumn<qint64>("room"); // the file size limit less the new size
    QTest::addColumn<bool>("fails");
    QTest::addColumn<bool>("shortWrite");
    QTest::newRow("one byte short: a short write, then EFBIG") << qint64(-1) << true << true;
    QTest::newRow("no room at all: EFBIG at once") << -(qint64(1) << 40) << true << false;
    QTest::newRow("just enough") << qint64(0) << false << false;
}

namespace {
bool g_sawShortWrite = false;
bool g_sawTooBig = false;
} // namespace

// The limit is set in a child process, so that it does not reach the rest of
// the tests; the child reports through its exit status.
void DurabilityTest::diskFull()
{
    QFETCH(qint64, room);
    QFETCH(bool, fails);
    QFETCH(bool, shortWrite);
    qxtest::ScratchFolder folder;
    QVERIFY(QDir().mkpath(kFolder));
    const QByteArray old("old line\r\n");
    qxtest::writeBytes(kPath, old);
    store::Lines lines;
    for (int i = 0; i < 4000; ++i)
        lines.append("2026/12/08,\x81\x9B," + QByteArray::number(i));
    const QByteArray wanted = store::joinLines(lines);

    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        // The program's own set-up, without which the limit kills it.
        prepareProcess();
        const rlim_t limit = static_cast<rlim_t>(std::max<qint64>(0, wanted.size() + room));
        const rlimit fileSize{limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &fileSize) != 0)
            ::_exit(64);
        store::FileOps ops = store::systemFileOps();
        ops.write = [](int fd, const void* data, unsigned long size) -> long {
            const long n = ::write(fd, data, size);
            g_sawShortWrite = g_sawShortWrite || (n >= 0 && static_cast<unsigned long>(n) < size);
            g_sawTooBig = g_sawTooBig || (n < 0 && errno == EFBIG);
            return n;
        };
        int status = 0;
        try {
            store::saveLines(kPath, lines, ops);
        } catch (const Error& e) {
            status = e.message() == kCannotCreate ? 1 : 8;
        }
        ::_exit(status | (g_sawShortWrite ? 2 : 0) | (g_sawTooBig ? 4 : 0));
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    const int expected = (fails ? 1 : 0) | (shortWrite ? 2 : 0) | (fails ? 4 : 0);
    QCOMPARE(WEXITSTATUS(status), expected);
    QCOMPARE(qxtest::readBytes(kPath), fails ? old : wanted);
    QCOMPARE(entries(kFolder), QStringList{"shape.dat"});
}

void DurabilityTest::readOnlyFolderKeepsTheFile()
{
    if (::geteuid() == 0)
        QSKIP("root may write in any folder");
    qxtest::ScratchFolder folder;
    QVERIFY(QDir().mkpath(kFolder));
    qxtest::writeBytes(kPath, "keep\r\n");
    QVERIFY(QFile::setPermissions(kFolder, QFile::ReadOwner | QFile::ExeOwner));
    QString message;
    const bool failed = saveFails(kPath, newLines(), &message);
    QVERIFY(QFile::setPermissions(kFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QVERIFY(failed);
    QCOMPARE(message, kCannotCreate);
    QCOMPARE(qxtest::readBytes(kPath), QByteArray("keep\r\n"));
    QCOMPARE(entries(kFolder), QStringList{"shape.dat"});
}

// What a crash between the steps of a save leaves: a hidden temporary file,
// and the old file's second name. Neither is a user; the next save of the
// same file removes both, and nothing that belongs to another file.
void DurabilityTest::leftoversOfACrashAreHiddenAndClearedByTheNextSave()
{
    qxtest::ScratchFolder folder;
    QVERIFY(users::registerUser(qxtest::records(), QStringLiteral("u")) ==
            users::Registration::Registered);
    qxtest::writeBytes(QStringLiteral("Rec/.record.dat.Ab3dE9"), "half");
    qxtest::writeBytes(QStringLiteral("Rec/u/.shape.dat.Zz09aB"), "half");
    qxtest::writeBytes(QStringLiteral("Rec/u/.shape.dat.old"), "old");
    qxtest::writeBytes(QStringLiteral("Rec/u/.box.dat.Qq1234"), "other file");
    QCOMPARE(users::list(qxtest::records()), QStringList{"u"});

    store::saveLines(kPath, newLines());
    QCOMPARE(qxtest::readBytes(kPath), store::joinLines(newLines()));
    QStringList left = entries(kFolder);
    QVERIFY(!left.contains(QStringLiteral(".shape.dat.Zz09aB")));
    QVERIFY(!left.contains(QStringLiteral(".shape.dat.old")));
    QVERIFY(left.contains(QStringLiteral(".box.dat.Qq1234")));

    store::saveLines(qxtest::records().rankingFile(), {"2026/12/08,1,a"});
    QVERIFY(!entries(QStringLiteral("Rec")).contains(QStringLiteral(".record.dat.Ab3dE9")));
    QCOMPARE(users::list(qxtest::records()), QStringList{"u"});
}

namespace {

// A save in a child process that stops at one call until the parent lets it
// go: the child says "s" on toParent when it stops, and goes on when a byte
// arrives on fromParent.
int g_toParent = -1;
int g_fromParent = -1;
Call g_pauseAt = Write;

void pauseHere(Call call)
{
    static bool paused = false;
    if (paused || call != g_pauseAt)
        return;
    paused = true;
    char byte = 's';
    if (::write(g_toParent, &byte, 1) != 1 || ::read(g_fromParent, &byte, 1) != 1)
        ::_exit(70);
}

store::FileOps pausingOps()
{
    store::FileOps ops = store::systemFileOps();
    ops.write = [](int fd, const void* data, unsigned long size) -> long {
        pauseHere(Write);
        return ::write(fd, data, size);
    };
    ops.rename = [](const char* from, const char* to) {
        pauseHere(Rename);
        return ::rename(from, to);
    };
    return ops;
}

// Forks a child that runs body with the two pipes' other ends; the parent
// gets the child's pid and its own ends.
pid_t forkWithPipes(int* fromChild, int* toChild, const std::function<int()>& body)
{
    int up[2];
    int down[2];
    if (::pipe(up) != 0 || ::pipe(down) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(up[0]);
        ::close(down[1]);
        g_toParent = up[1];
        g_fromParent = down[0];
        ::_exit(body());
    }
    ::close(up[1]);
    ::close(down[0]);
    *fromChild = up[0];
    *toChild = down[1];
    return child;
}

} // namespace

void DurabilityTest::cleanUpSparesTheFilesOfALiveSave_data()
{
    QTest::addColumn<int>("pauseAt");
    QTest::addColumn<QStringList>("whilePaused"); // besides shape.dat
    QTest::newRow("temporary file being written") << int(Write) << QStringList{"temp"};
    QTest::newRow("written, old file's second name made")
        << int(Rename) << QStringList{"temp", ".shape.dat.old"};
}

// Another copy's save sweeps the leftovers of the same file while this one is
// half way; what it sweeps must be only what no live save holds.
void DurabilityTest::cleanUpSparesTheFilesOfALiveSave()
{
    QFETCH(int, pauseAt);
    QFETCH(QStringList, whilePaused);
    qxtest::ScratchFolder folder;
    QVERIFY(QDir().mkpath(kFolder));
    qxtest::writeBytes(kPath, "old\r\n");
    g_pauseAt = Call(pauseAt);
    int fromChild = -1;
    int toChild = -1;
    const pid_t child = forkWithPipes(&fromChild, &toChild, [] {
        try {
            store::saveLines(kPath, newLines(), pausingOps());
        } catch (const Error&) {
            return 1;
        }
        return 0;
    });
    QVERIFY(child > 0);
    char byte = 0;
    QCOMPARE(::read(fromChild, &byte, 1), ssize_t(1));

    store::removeSaveLeftovers(kFolder, QStringLiteral("shape.dat"));
    QStringList left = entries(kFolder);
    QCOMPARE(left.size(), whilePaused.size() + 1);
    QVERIFY(std::all_of(whilePaused.begin(), whilePaused.end(), [&](const QString& name) {
        return name == QLatin1String("temp")
                   ? left.filter(QRegularExpression(QStringLiteral("^\\.shape\\.dat\\.\\w{6}$")))
                             .size() == 1
                   : left.contains(name);
    }));

    QCOMPARE(::write(toChild, "g", 1), ssize_t(1));
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    ::close(fromChild);
    ::close(toChild);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(qxtest::readBytes(kPath), store::joinLines(newLines()));
    QCOMPARE(entries(kFolder), QStringList{"shape.dat"});
}

// The second copy learns that the folder is taken while the first one runs,
// and may start once it has ended, however it ended.
void DurabilityTest::secondCopyFindsTheRecordsFolderInUse()
{
    qxtest::ScratchFolder folder;
    int fromChild = -1;
    int toChild = -1;
    const pid_t child = forkWithPipes(&fromChild, &toChild, [] {
        const store::FolderLock first(qxtest::records().folder());
        char byte = first.state() == store::FolderLock::State::Held ? 'h' : 'n';
        if (::write(g_toParent, &byte, 1) != 1)
            return 1;
        // Until the test ends it, or ends itself.
        return int(::read(g_fromParent, &byte, 1));
    });
    QVERIFY(child > 0);
    char byte = 0;
    QCOMPARE(::read(fromChild, &byte, 1), ssize_t(1));
    QCOMPARE(byte, 'h');
    {
        const store::FolderLock second(qxtest::records().folder());
        QVERIFY(second.state() == store::FolderLock::State::InUse);
    }
    ::kill(child, SIGKILL);
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    ::close(fromChild);
    ::close(toChild);
    const store::FolderLock afterwards(qxtest::records().folder());
    QVERIFY(afterwards.state() == store::FolderLock::State::Held);
    const store::FolderLock noFolder(QStringLiteral("Rec/none"));
    QVERIFY(noFolder.state() == store::FolderLock::State::Unavailable);
}

// Any account could open the records folder and lock it, which kept the game
// from starting; the lock is now on a file that only the player may open for
// writing.
void DurabilityTest::noOtherAccountCanHoldTheRecordsLock()
{
    qxtest::ScratchFolder folder;
    const int byAnyone =
        ::open(QFile::encodeName(qxtest::records().folder()).constData(), O_RDONLY | O_DIRECTORY);
    QVERIFY(byAnyone >= 0);
    QCOMPARE(::flock(byAnyone, LOCK_EX | LOCK_NB), 0);
    {
        const store::FolderLock game(qxtest::records().folder());
        QVERIFY(game.state() == store::FolderLock::State::Held);
        QCOMPARE(modeOf(qxtest::records().folder() + QStringLiteral("/.lock")), mode_t(0600));
    }
    ::close(byAnyone);
    // A lock file made open to others is made private again.
    ::chmod(QFile::encodeName(qxtest::records().folder() + QStringLiteral("/.lock")).constData(),
            0666);
    const store::FolderLock again(qxtest::records().folder());
    QVERIFY(again.state() == store::FolderLock::State::Held);
    QCOMPARE(modeOf(qxtest::records().folder() + QStringLiteral("/.lock")), mode_t(0600));
}

void DurabilityTest::saveThroughALink_data()
{
    // Each path but the last is a link to the next one, written relative to
    // its own folder; the last is the record file, when it exists.
    QTest::addColumn<QStringList>("chain");
    QTest::addColumn<bool>("targetExists");
    QTest::newRow("link beside its target") << QStringList{kPath, "Rec/u/real.dat"} << true;
    QTest::newRow("link into another folder") << QStringList{kPath, "synced/shape.dat"} << true;
    QTest::newRow("link to a link")
        << QStringList{kPath, "Rec/u/mid.dat", "synced/shape.dat"} << true;
    QTest::newRow("link to nothing") << QStringList{kPath, "synced/gone.dat"} << false;
}

// A player's link (into a synchronised folder, say) must stay a link: the save
// replaces its target, atomically in the target's own folder.
void DurabilityTest::saveThroughALink()
{
    QFETCH(QStringList, chain);
    QFETCH(bool, targetExists);
    qxtest::ScratchFolder folder;
    QVERIFY(QDir().mkpath(kFolder));
    QVERIFY(QDir().mkpath(QStringLiteral("synced")));
    const QString target = chain.last();
    if (targetExists) {
        qxtest::writeBytes(target, "old\r\n");
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner));
    }
    QStringList linkTexts;
    for (qsizetype i = 0; i + 1 < chain.size(); ++i) {
        const QDir linkFolder = QFileInfo(chain.at(i)).absoluteDir();
        linkTexts.append(
            linkFolder.relativeFilePath(QFileInfo(chain.at(i + 1)).absoluteFilePath()));
        QVERIFY(::symlink(QFile::encodeName(linkTexts.last()).constData(),
                          QFile::encodeName(chain.at(i)).constData()) == 0);
    }
    const QStringList before = entries(kFolder) + entries(QStringLiteral("synced"));

    QString message;
    const bool failed = saveFails(kPath, newLines(), &message);
    QCOMPARE(failed, !targetExists);
    if (failed)
        QCOMPARE(message, kCannotCreate);
    else
        QCOMPARE(qxtest::readBytes(target), store::joinLines(newLines()));
    if (targetExists)
        QCOMPARE(modeOf(target), mode_t(0600));
    for (qsizetype i = 0; i + 1 < chain.size(); ++i) {
        char text[4096] = {};
        QVERIFY(::readlink(QFile::encodeName(chain.at(i)).constData(), text, sizeof text - 1) > 0);
        QCOMPARE(QFile::decodeName(text), linkTexts.at(i));
    }
    QCOMPARE(entries(kFolder) + entries(QStringLiteral("synced")), before);
}

QTEST_GUILESS_MAIN(DurabilityTest)
#include "tst_durability.moc"
