// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A process that saves a record file over and over is killed with SIGKILL at
// random moments; after every kill the file must be one of the states a save
// completely wrote, byte for byte, and the next save must go on from it.
//
// QX_CRASH_KILLS sets the number of kills (1,000 by default), QX_CRASH_SEED
// repeats the random moments of an earlier run (printed at the start).

#include "platform/dispatch.h"
#include "rules/textcodec.h"
#include "testsupport.h"
#include "rules/store.h"
#include "rules/users.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <random>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

using namespace qx;

namespace {

const QString kPath = QStringLiteral("Rec/u/L_R.dat");

// The k-th line the saver puts first: a typed answer with a comma, a space and
// a kanji whose second byte is a backslash.
QString line(qint64 k)
{
    return QStringLiteral("2026/12/08,レベル%1,×,%2,表 %2,%2").arg(k % 10 + 1).arg(k);
}

// The file after the saves from+1 .. to, each putting its line first.
QByteArray state(const QByteArray& before, qint64 from, qint64 to)
{
    QByteArray bytes;
    for (qint64 k = to; k > from; --k)
        bytes += cp932::encode(line(k)) + "\r\n";
    return bytes + before;
}

// The saver: reports that it runs, then writes a result line the way every
// test does, for ever, reporting each completed save on the pipe. Never
// returns.
[[noreturn]] void saveForever(qint64 last, int report)
{
    if (::write(report, &last, sizeof last) != sizeof last)
        ::_exit(4);
    for (qint64 k = last + 1;; ++k) {
        try {
            qxtest::records().writeResultLine(kPath, true, line(k));
        } catch (const Error&) {
            ::_exit(3);
        }
        if (::write(report, &k, sizeof k) != sizeof k)
            ::_exit(4);
    }
}

// The saves the killed saver reported as done.
qint64 lastReported(int report, qint64 none)
{
    qint64 last = none;
    qint64 k = 0;
    while (::read(report, &k, sizeof k) == sizeof k)
        last = k;
    return last;
}

int killsWanted()
{
    bool ok = false;
    const int kills = qEnvironmentVariableIntValue("QX_CRASH_KILLS", &ok);
    return ok && kills > 0 ? kills : 1000;
}

} // namespace

class CrashTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void killedSaverLeavesACompleteState();
};

void CrashTest::killedSaverLeavesACompleteState()
{
    qxtest::ScratchFolder folder;
    QVERIFY(users::registerUser(qxtest::records(), QStringLiteral("u")) ==
            users::Registration::Registered);
    const QByteArray base = cp932::encode(QStringLiteral("2026/12/01,レベル1,○,0,0\r\n"));
    qxtest::writeBytes(kPath, base);

    // Kill moments spread over a few saves' time from the saver's start, so
    // that kills land before the first save, inside a save at every step, and
    // between saves.
    QElapsedTimer timer;
    timer.start();
    for (int k = 0; k < 20; ++k)
        qxtest::records().writeResultLine(kPath, true, line(-1));
    const qint64 saveMicros = std::max<qint64>(50, timer.nsecsElapsed() / 20 / 1000);
    store::saveLines(kPath, {base.chopped(2)});

    bool seeded = false;
    const auto seed =
        static_cast<std::uint32_t>(qEnvironmentVariableIntValue("QX_CRASH_SEED", &seeded));
    const std::uint32_t used = seeded ? seed : std::random_device{}();
    std::mt19937 random(used);
    // The saver's own saves are slower than these (a fresh process, a busy
    // machine): the window follows them, widening when a kill came before
    // any save was done and narrowing when several were, so that about one
    // save completes per kill.
    double window = 3.0 * double(saveMicros);
    const int kills = killsWanted();
    qInfo("%d kills, seed %u, one save takes about %lld us here", kills, used, saveMicros);

    QByteArray before = base; // the file as the last kill left it
    qint64 last = 0;          // the number of the line first in it
    qint64 first = 0;         // the number of the line just above base
    int midSave = 0;          // kills that left something beside the file
    QSet<QString> seen;       // what the kills left so far
    int unreported = 0;       // kills after the rename but before the report
    qint64 saves = 0;
    for (int kill = 0; kill < kills; ++kill) {
        int pipeEnds[2];
        QVERIFY(::pipe(pipeEnds) == 0);
        const pid_t saver = ::fork();
        QVERIFY(saver >= 0);
        if (saver == 0) {
            ::close(pipeEnds[0]);
            saveForever(last, pipeEnds[1]);
        }
        ::close(pipeEnds[1]);
        qint64 started = -1;
        QCOMPARE(::read(pipeEnds[0], &started, sizeof started), qint64(sizeof started));
        std::this_thread::sleep_for(std::chrono::microseconds(
            std::uniform_int_distribution<qint64>(0, qint64(window))(random)));
        QVERIFY(::kill(saver, SIGKILL) == 0);
        int status = 0;
        QCOMPARE(::waitpid(saver, &status, 0), saver);
        QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL, "the saver stopped by itself");
        const qint64 reported = lastReported(pipeEnds[0], last);
        ::close(pipeEnds[0]);

        // Either every reported save, or one more whose rename was done.
        const QByteArray bytes = qxtest::readBytes(kPath);
        const QByteArray done = state(before, last, reported);
        qint64 now = reported;
        if (bytes != done) {
            now = reported + 1;
            QVERIFY2(
                bytes == state(before, last, now),
                qPrintable(QStringLiteral("kill %1: the file is no complete state").arg(kill)));
            ++unreported;
        }
        QCOMPARE(store::loadLines(kPath).size(), now - first + 1);
        saves += now - last;
        if (now == last)
            window *= 1.05;
        else if (now - last > 1)
            window /= 1.05;
        before = bytes;
        last = now;

        // A kill inside a save leaves a new temporary file or a second name
        // of the old file; the next save removes them.
        const QStringList entries =
            QDir(QStringLiteral("Rec/u")).entryList(QDir::Hidden | QDir::Files | QDir::System);
        const QStringList leftovers = entries.filter(QStringLiteral(".L_R.dat."));
        if (std::any_of(leftovers.begin(), leftovers.end(),
                        [&](const QString& name) { return !seen.contains(name); }))
            ++midSave;
        seen = QSet<QString>(leftovers.begin(), leftovers.end());
        QCOMPARE(users::list(qxtest::records()), QStringList{"u"});

        // A long file makes every save slower: start again from the base now
        // and then, as a completed save.
        if (last - first > 200) {
            store::saveLines(kPath, {base.chopped(2)});
            before = base;
            first = last;
        }
    }
    qInfo("%d kills survived: %lld saves completed (kill window %.0f us), %d kills inside a save "
          "left a temporary "
          "file or the old file's second name, %d kills came after a rename the saver had "
          "not reported",
          kills, saves, window, midSave, unreported);
    QVERIFY2(midSave > 0, "no kill landed inside a save");

    // The next save clears what the kills left.
    qxtest::records().writeResultLine(kPath, true, line(last + 1));
    QCOMPARE(qxtest::readBytes(kPath), state(before, last, last + 1));
    QStringList files = QDir(QStringLiteral("Rec/u")).entryList(QDir::Hidden | QDir::Files);
    files.sort();
    QStringList expected = recordFiles();
    expected.sort();
    QCOMPARE(files, expected);
}

QTEST_GUILESS_MAIN(CrashTest)
#include "tst_crash.moc"
