// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The real program under a real X server (Xvfb): the window appears with its
// caption and size, a user is selected with real clicks, and one panel
// question is played with the mouse and ENTER. The offscreen platform used by
// the other tests hides focus and modality faults that players would meet.

#include "rules/textcodec.h"
#include "rules/catalogue.h"
#include "rules/store.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>
#include <atomic>
#include <thread>
#include <vector>

namespace {

QString g_display;
constexpr rlim_t kFileSizeLimit = 1 << 20;

QString run(const QStringList& args, const QString& program = QStringLiteral("xdotool"))
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), g_display);
    process.setProcessEnvironment(env);
    process.start(program, args);
    process.waitForFinished(10000);
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

// One property of a window as xprop prints it, for example
// "WM_TRANSIENT_FOR(WINDOW): window id # 0x400019".
QString windowProperty(const QString& window, const char* name)
{
    return run({QStringLiteral("-id"), window, QString::fromLatin1(name)}, QStringLiteral("xprop"));
}

} // namespace

class SmokeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void mainWindowOpensWithCaptionAndSize();
    void livesUnderAFileSizeLimit();
    void selectUserAndPlayOnePanelQuestion();
    void stopTimeIsTheRealTimeOnABusyMachine();
    void englishDesktopGetsEnglishWindows();
    void cleanupTestCase();

private:
    QString findWindow(const QString& name, int timeoutMs = 10000);
    QPoint clientOrigin(const QString& window);
    void click(QPoint screenPoint);
    QImage grab(QRect screenRect);

    QTemporaryDir m_folder;
    QTemporaryDir m_elsewhere;
    QProcess m_game;
    QString m_mainWindow;
    QPoint m_origin;
};

QString SmokeTest::findWindow(const QString& name, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        const QString ids = run({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                 QStringLiteral("--name"), name});
        if (!ids.isEmpty())
            return ids.split(QLatin1Char('\n')).last();
        QThread::msleep(50);
    }
    return {};
}

QPoint SmokeTest::clientOrigin(const QString& window)
{
    const QString shell =
        run({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
    int x = 0;
    int y = 0;
    for (const QString& line : shell.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("X=")))
            x = line.mid(2).toInt();
        if (line.startsWith(QLatin1String("Y=")))
            y = line.mid(2).toInt();
    }
    return {x, y};
}

void SmokeTest::click(QPoint p)
{
    run({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y()),
         QStringLiteral("click"), QStringLiteral("1")});
    QThread::msleep(150);
}

QImage SmokeTest::grab(QRect r)
{
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, r.x(), r.y(), r.width(), r.height())
        .toImage();
}

void SmokeTest::initTestCase()
{
    QVERIFY(!g_display.isEmpty());
    // A game folder of our own, with the program, its pictures, sounds and a
    // registered user, started from another folder: it must find all of them
    // from where the program is, not from where it was started.
    const QString game = QStringLiteral(QX_GAME_DIR);
    QDir root(m_folder.path());
    QVERIFY(
        QFile::copy(game + QStringLiteral("/quiravex"), root.filePath(QStringLiteral("quiravex"))));
    for (const QString& sub : {QStringLiteral("bmp"), QStringLiteral("wav")}) {
        root.mkdir(sub);
        const QDir from(game + QLatin1Char('/') + sub);
        for (const QString& file : from.entryList(QDir::Files))
            QFile::copy(from.filePath(file), root.filePath(sub + QLatin1Char('/') + file));
    }
    root.mkpath(QStringLiteral("Rec/smoke"));
    QFile::copy(QStringLiteral(QX_SOURCE_DIR "/assets/record.dat"),
                root.filePath(QStringLiteral("Rec/record.dat")));
    for (const QString& file : qx::recordFiles()) {
        QFile f(root.filePath(QStringLiteral("Rec/smoke/") + file));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), g_display);
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    // The Japanese game, whatever the language of the desktop running the test.
    env.insert(QStringLiteral("LANGUAGE"), QStringLiteral("ja"));
    m_game.setProcessEnvironment(env);
    m_game.setWorkingDirectory(m_elsewhere.path());
    // The whole session runs under a file size limit far below what the sound
    // system maps for its shared memory, as some desktops and sandboxes set.
    m_game.setChildProcessModifier([] {
        const rlimit fileSize{kFileSizeLimit, kFileSizeLimit};
        ::setrlimit(RLIMIT_FSIZE, &fileSize);
        // Whatever this test inherited, the program must ignore it on its own.
        ::signal(SIGXFSZ, SIG_DFL);
    });
    m_game.start(root.filePath(QStringLiteral("quiravex")), {});
    QVERIFY(m_game.waitForStarted());
    m_mainWindow = findWindow(QStringLiteral("Quiravex"));
    QVERIFY2(!m_mainWindow.isEmpty(), "the main window did not appear");
    QThread::msleep(500);
    m_origin = clientOrigin(m_mainWindow);
}

void SmokeTest::mainWindowOpensWithCaptionAndSize()
{
    QCOMPARE(run({QStringLiteral("getwindowname"), m_mainWindow}),
             QStringLiteral("Quiravex　Ver1.0.0"));
    const QString shell =
        run({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), m_mainWindow});
    QVERIFY2(shell.contains(QLatin1String("WIDTH=600")) &&
                 shell.contains(QLatin1String("HEIGHT=480")),
             qPrintable(shell));
}

// A write past the limit must fail with EFBIG, not end the game with SIGXFSZ.
void SmokeTest::livesUnderAFileSizeLimit()
{
    QFile status(QStringLiteral("/proc/%1/status").arg(m_game.processId()));
    QVERIFY(status.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = status.readAll().split('\n');
    const auto ignored = std::find_if(lines.begin(), lines.end(), [](const QByteArray& line) {
        return line.startsWith("SigIgn:");
    });
    QVERIFY(ignored != lines.end());
    bool ok = false;
    const qulonglong mask = ignored->mid(7).trimmed().toULongLong(&ok, 16);
    QVERIFY(ok);
    QVERIFY2(mask & (1ULL << (SIGXFSZ - 1)), "SIGXFSZ would end the game");
    QFile limits(QStringLiteral("/proc/%1/limits").arg(m_game.processId()));
    QVERIFY(limits.open(QIODevice::ReadOnly));
    QVERIFY(limits.readAll().contains(QByteArray::number(quint64(kFileSizeLimit))));
}

void SmokeTest::selectUserAndPlayOnePanelQuestion()
{
    // 選択, the first user in the list, OK.
    click(m_origin + QPoint(176 + 56, 20));
    const QString selection = findWindow(QStringLiteral("ユーザー選択"));
    QVERIFY(!selection.isEmpty());
    // A screen is tied to the form it covers, so that a window manager keeps
    // it in front when that form is activated from the taskbar.
    QCOMPARE(windowProperty(selection, "WM_TRANSIENT_FOR"),
             QStringLiteral("WM_TRANSIENT_FOR(WINDOW): window id # 0x%1")
                 .arg(m_mainWindow.toULongLong(), 0, 16));
    const QPoint sel = clientOrigin(selection);
    click(sel + QPoint(64 + 100, 168 + 18));
    click(sel + QPoint(64 + 68, 416 + 24));
    QVERIFY(findWindow(QStringLiteral("ユーザー選択"), 300).isEmpty());

    // パネル, level 1, スタート.
    click(m_origin + QPoint(80 + 57, 264 + 20));
    const QString levels = findWindow(QStringLiteral("レベル選択"));
    QVERIFY2(!levels.isEmpty(), "the panel button did not unlock or open the level selection");
    click(clientOrigin(levels) + QPoint(64 + 100, 112 + 24));
    const QString panelWindow = findWindow(QStringLiteral("パネル"));
    QVERIFY(!panelWindow.isEmpty());
    const QPoint panel = clientOrigin(panelWindow);
    click(panel + QPoint(200 + 96, 424 + 24));

    // Watch the grid for the two lights of level 1 and click them back.
    QList<int> lit;
    bool wasLit = false;
    QElapsedTimer timer;
    timer.start();
    while (lit.size() < 2 && timer.elapsed() < 5000) {
        const QImage grid = grab(QRect(panel + QPoint(148, 88), QSize(5 * 56, 5 * 56)));
        int red = 0;
        for (int n = 1; n <= 25 && grid.width() > 0; ++n) {
            const QColor c = grid.pixelColor(24 + 56 * ((n - 1) % 5), 24 + 56 * ((n - 1) / 5));
            if (c.red() > 200 && c.green() < 60 && c.blue() < 60)
                red = n;
        }
        if (red != 0 && !wasLit)
            lit.append(red);
        wasLit = red != 0;
        QThread::msleep(20);
    }
    QCOMPARE(lit.size(), 2);
    QThread::msleep(400);
    for (int n : lit)
        click(panel + QPoint(148 + 56 * ((n - 1) % 5) + 24, 88 + 56 * ((n - 1) / 5) + 24));

    // The stage dialog: no title at all, not even the program's name, and
    // tied to the panel screen, so that a window manager keeps it on top.
    QThread::msleep(300);
    QString dialog;
    const QString ids = run({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                             QStringLiteral("--pid"), QString::number(m_game.processId())});
    for (const QString& id : ids.split(QLatin1Char('\n'))) {
        if (windowProperty(id, "_NET_WM_WINDOW_TYPE").contains(QLatin1String("_DIALOG")))
            dialog = id;
    }
    QVERIFY2(!dialog.isEmpty(), qPrintable(ids));
    QCOMPARE(windowProperty(dialog, "_NET_WM_NAME"), QStringLiteral("_NET_WM_NAME:  not found."));
    QCOMPARE(windowProperty(dialog, "WM_NAME"), QStringLiteral("WM_NAME:  not found."));
    QCOMPARE(windowProperty(dialog, "WM_TRANSIENT_FOR"),
             QStringLiteral("WM_TRANSIENT_FOR(WINDOW): window id # 0x%1")
                 .arg(panelWindow.toULongLong(), 0, 16));

    run({QStringLiteral("key"), QStringLiteral("Return")});
    QThread::msleep(300);

    QFile file(m_folder.path() + QStringLiteral("/Rec/smoke/panel.dat"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QString line = qx::cp932::decode(bytes);
    QVERIFY2(line.endsWith(QStringLiteral(",レベル1,○\r\n")), qPrintable(line));
    QCOMPARE(bytes.count("\r\n"), 1);
}

// Other programs keep every core busy and grab the screen over and over, as a
// browser, a compiler and a screen recorder would. The stop time written is
// still the real time from the start click to ENTER: a clock that counted its
// ticks lost most of a second here.
void SmokeTest::stopTimeIsTheRealTimeOnABusyMachine()
{
    // Leave the panel screen: its stage dialog, then its back button.
    run({QStringLiteral("key"), QStringLiteral("Return")});
    QThread::msleep(300);
    const QString panelWindow = findWindow(QStringLiteral("パネル"));
    QVERIFY(!panelWindow.isEmpty());
    QThread::msleep(300);
    click(clientOrigin(panelWindow) + QPoint(464 + 64, 424 + 24));
    QVERIFY(findWindow(QStringLiteral("パネル"), 300).isEmpty());
    // The level selection it was opened from comes back; leave it too.
    const QString panelLevels = findWindow(QStringLiteral("レベル選択"));
    QVERIFY(!panelLevels.isEmpty());
    click(clientOrigin(panelLevels) + QPoint(232 + 68, 432 + 20));
    QVERIFY(findWindow(QStringLiteral("レベル選択"), 300).isEmpty());

    // ストップ, level 1 (target 3:00).
    click(m_origin + QPoint(76 + 56, 328 + 20));
    const QString levels = findWindow(QStringLiteral("レベル選択"));
    QVERIFY(!levels.isEmpty());
    QThread::msleep(300);
    click(clientOrigin(levels) + QPoint(64 + 100, 112 + 24));
    const QString stopWindow = findWindow(QStringLiteral("ストップ"));
    QVERIFY(!stopWindow.isEmpty());
    QThread::msleep(300);
    const QPoint stop = clientOrigin(stopWindow);

    std::atomic<bool> quit{false};
    std::vector<std::thread> load;
    const unsigned busy = 2 * std::max(2U, std::thread::hardware_concurrency());
    for (unsigned i = 0; i < busy; ++i)
        load.emplace_back([&quit] {
            volatile std::uint64_t spin = 0;
            while (!quit.load(std::memory_order_relaxed))
                spin = spin + 1;
        });
    load.emplace_back([&quit] {
        while (!quit.load()) {
            QProcess grabber;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("DISPLAY"), g_display);
            grabber.setProcessEnvironment(env);
            grabber.setStandardOutputFile(QProcess::nullDevice());
            grabber.start(QStringLiteral("xwd"),
                          {QStringLiteral("-root"), QStringLiteral("-silent")});
            grabber.waitForFinished(5000);
        }
    });

    QElapsedTimer clock;
    clock.start();
    click(stop + QPoint(4 + 100, 422 + 26));
    const qint64 clickedBy = clock.elapsed();
    // click() waits 150 ms after the click went in.
    const qint64 clickedFrom = clickedBy - 150 - 100;
    QThread::msleep(static_cast<unsigned long>(std::max<qint64>(0, 3000 - clock.elapsed())));
    const qint64 enterFrom = clock.elapsed();
    run({QStringLiteral("key"), QStringLiteral("Return")});
    const qint64 enterBy = clock.elapsed();
    quit = true;
    for (std::thread& thread : load)
        thread.join();

    QByteArray bytes;
    QElapsedTimer waited;
    waited.start();
    QFile file(m_folder.path() + QStringLiteral("/Rec/smoke/stop.dat"));
    while (bytes.isEmpty() && waited.elapsed() < 10000) {
        QThread::msleep(100);
        if (file.open(QIODevice::ReadOnly)) {
            bytes = file.readAll();
            file.close();
        }
    }
    const QStringList fields = qx::cp932::decode(bytes).trimmed().split(QLatin1Char(','));
    QCOMPARE(fields.size(), 5);
    const QStringList stopTime = fields.at(3).split(QLatin1Char(':'));
    const int writtenMs = (stopTime.value(0).toInt() * 100 + stopTime.value(1).toInt()) * 10;
    // ENTER went down between enterFrom and enterBy, the click between
    // clickedFrom and clickedBy; a tenth of a second is allowed on each side.
    const qint64 shortest = enterFrom - clickedBy - 100;
    const qint64 longest = enterBy - std::max<qint64>(0, clickedFrom) + 100;
    qInfo("stop time written %d ms; real time from the click to ENTER %lld to %lld ms", writtenMs,
          shortest + 100, longest - 100);
    QVERIFY2(writtenMs >= shortest && writtenMs <= longest,
             qPrintable(QStringLiteral("written %1 ms, real time %2 to %3 ms")
                            .arg(writtenMs)
                            .arg(shortest)
                            .arg(longest)));
}

// LANGUAGE=en, as a player picks English for one run: the main menu's
// caption, drawn by the window manager from the program's translation.
void SmokeTest::englishDesktopGetsEnglishWindows()
{
    const QTemporaryDir records;
    QProcess english;
    QProcessEnvironment env = m_game.processEnvironment();
    env.insert(QStringLiteral("LANGUAGE"), QStringLiteral("en"));
    english.setProcessEnvironment(env);
    english.start(m_game.program(), {QStringLiteral("--records"), records.path()});
    QVERIFY(english.waitForStarted());
    const QString window = findWindow(QStringLiteral("Quiravex  Ver 1.0.0"));
    english.terminate();
    if (!english.waitForFinished(3000))
        english.kill();
    QVERIFY2(!window.isEmpty(), "no English main window appeared");
}

void SmokeTest::cleanupTestCase()
{
    if (m_game.state() != QProcess::NotRunning) {
        m_game.terminate();
        if (!m_game.waitForFinished(3000))
            m_game.kill();
        m_game.waitForFinished(3000);
    }
}

int main(int argc, char* argv[])
{
    // Our own X server on a free display, and this test's screen on it so that
    // it can see what the game paints.
    QProcess xvfb;
    for (int n = 90; n < 110 && g_display.isEmpty(); ++n) {
        if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
            continue;
        xvfb.start(QStringLiteral("Xvfb"), {QStringLiteral(":%1").arg(n), QStringLiteral("-screen"),
                                            QStringLiteral("0"), QStringLiteral("1024x768x24"),
                                            QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!xvfb.waitForStarted())
            break;
        for (int i = 0; i < 100 && !QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)); ++i)
            QThread::msleep(50);
        if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
            g_display = QStringLiteral(":%1").arg(n);
    }
    if (g_display.isEmpty()) {
        std::fprintf(stderr, "Xvfb could not be started\n");
        return 1;
    }
    qputenv("DISPLAY", g_display.toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    int rc = 0;
    {
        QGuiApplication app(argc, argv);
        SmokeTest test;
        rc = QTest::qExec(&test, argc, argv);
    }
    xvfb.terminate();
    xvfb.waitForFinished(3000);
    return rc;
}

#include "tst_smoke.moc"
