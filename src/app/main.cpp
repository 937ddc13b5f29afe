// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Quiravex: start-up wires the real seams and shows the main menu.

#include "app/commandline.h"
#include "app/folders.h"
#include "screens/game.h"
#include "screens/mainform.h"
#include "art/art.h"
#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/desktop.h"
#include "platform/display.h"
#include "platform/dispatch.h"
#include "platform/firstframe.h"
#include "platform/language.h"
#include "rules/csvexport.h"
#include "rules/store.h"
#include "rules/users.h"

#include <QApplication>
#include <QMessageBox>
#include <QStandardPaths>
#include <QStringList>

#include <cstdio>

namespace {

constexpr int kUsageError = 2;

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// A command-line fault: what was wrong first, then how to call the program.
int reportFault(const QString& fault)
{
    print(stderr, qx::commandLineMessage(fault) + u'\n' + qx::commandLineUsage());
    return kUsageError;
}

QString exportFailure(const qx::csv::Export& done)
{
    using Failure = qx::csv::Export::Failure;
    switch (done.failure) {
    case Failure::MissingFolder:
        return QCoreApplication::translate("CommandLine", "folder '%1' does not exist")
            .arg(done.failedPath);
    case Failure::InsideRecords:
        return QCoreApplication::translate("CommandLine",
                                           "folder '%1' is inside the records folder; choose "
                                           "another")
            .arg(done.failedPath);
    case Failure::Unreadable:
        return QCoreApplication::translate("CommandLine", "cannot read '%1'").arg(done.failedPath);
    case Failure::Unwritable:
    case Failure::None:
        break;
    }
    return QCoreApplication::translate("CommandLine", "cannot write '%1'").arg(done.failedPath);
}

// --export: the records folder is found as the game finds it; no display.
int exportResults(int argc, char* argv[], const qx::CommandLine& line)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quiravex"));
    const qx::Folders folders =
        qx::findFolders(QCoreApplication::applicationDirPath(), line.records,
                        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    const qx::store::Records records(folders.records);
    if (!qx::users::list(records).contains(line.exportUser)) {
        print(stderr, qx::commandLineMessage(
                          QCoreApplication::translate("CommandLine", "no user '%1' in '%2'")
                              .arg(line.exportUser, folders.records)));
        return 1;
    }
    const qx::csv::Export done = qx::csv::exportUser(records, line.exportUser, line.exportFolder);
    for (const QString& file : done.written)
        print(stdout, file + u'\n');
    if (done.failure != qx::csv::Export::Failure::None) {
        print(stderr, qx::commandLineMessage(exportFailure(done)));
        return 1;
    }
    return 0;
}

// Without a Japanese font every text but the pictures drawn ahead would be
// boxes: says so once, in a box that belongs to the main menu, and ends the
// game.
void requireJapaneseFont(QWidget* menu)
{
    if (qx::art::japaneseFontInstalled())
        return;
    // In the command line's language: without a Japanese font a Japanese
    // message would be boxes.
    const QString message = QCoreApplication::translate(
        "CommandLine", "a Japanese font is needed, and none is installed.\n"
                       "Install one, for example: sudo apt install fonts-ipafont-gothic");
    print(stderr, qx::commandLineMessage(message));
    QMessageBox::critical(menu, QStringLiteral("Quiravex"), message);
    QApplication::exit(1);
}

} // namespace

int main(int argc, char* argv[])
{
    qx::prepareProcess();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const qx::CommandLine line = qx::parseCommandLine(arguments);
    switch (line.action) {
    case qx::CommandLine::Action::Fault:
        return reportFault(line.fault);
    case qx::CommandLine::Action::Help:
        print(stdout, qx::commandLineUsage());
        return 0;
    case qx::CommandLine::Action::Version:
        print(stdout, qx::commandLineVersion());
        return 0;
    case qx::CommandLine::Action::Export:
        return exportResults(argc, argv, line);
    case qx::CommandLine::Action::Play:
        break;
    }
    if (!line.platformGiven && !qx::chooseWindowSystem()) {
        print(stderr, qx::commandLineMessage(QCoreApplication::translate(
                          "CommandLine",
                          "a graphical desktop is needed: no display could be opened (neither "
                          "an X server at DISPLAY answered nor a Wayland compositor at "
                          "WAYLAND_DISPLAY through Qt's Wayland plugin, Debian's qt6-wayland). "
                          "Start it from a desktop session.")));
        return kUsageError;
    }
    QApplication app(argc, argv);
    // The lower-case name is the one of the program, its data folders
    // (~/.local/share/quiravex) and its window class.
    QApplication::setApplicationName(QStringLiteral("quiravex"));
    QApplication::setApplicationVersion(QStringLiteral(QX_VERSION));
    // Ties the windows to the menu entry and its icon on Wayland.
    QGuiApplication::setDesktopFileName(QStringLiteral(QX_APP_ID));
    if (!qx::installDesktopLanguage())
        print(stderr, qx::commandLineMessage(QCoreApplication::translate(
                          "CommandLine", "Qt's translation (qtbase_*.qm) is missing; standard "
                                         "buttons will read in English.")));
    qx::installFontSubstitution();
    qx::installAccessibility();
    QApplication::setFont(qx::gameFont(12));

    const qx::Folders folders =
        qx::findFolders(QCoreApplication::applicationDirPath(), line.records,
                        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    const QString recordsProblem = qx::prepareRecords(folders);
    if (!recordsProblem.isEmpty())
        print(stderr,
              qx::commandLineMessage(QCoreApplication::translate(
                                         "CommandLine", "the records folder '%1' cannot be made")
                                         .arg(folders.records)));
    const qx::store::Records records(folders.records);
    qx::art::useDrawnPictures(folders.data + QStringLiteral("/art"));

    qx::RealClock clock;
    qx::Random random;
    qx::DesktopSound sound(folders.data);
    qx::DesktopDialogs dialogs;
    qx::Services services{clock, random, sound, dialogs, records, folders.data};

    // Two copies saving into one folder would each sweep away the other's
    // half-written files; the second one says so and does not start.
    const qx::store::FolderLock lock(records.folder());
    if (lock.state() == qx::store::FolderLock::State::InUse) {
        dialogs.message(qx::store::recordsInUse());
        return 1;
    }
    // Without it every name is refused at registration; the player learns
    // why once, here.
    if (!recordsProblem.isEmpty())
        dialogs.message(recordsProblem);

    qx::Game game(services, qx::Game::Build::MenuFirst);
    // Looking through the fonts wakes the whole font machinery, which the
    // main menu's first frame, drawn ahead, does without: look once it shows.
    qx::afterFirstPaint(game.mainWindow(), [&game] { requireJapaneseFont(game.mainWindow()); });
    dialogs.setOwner([&game] { return game.modal.front(); });
    game.modal.setQuit([] { QApplication::quit(); });
    // For the start-up benchmark: report the main menu's first frame, then quit.
    if (qEnvironmentVariableIsSet("QUIRAVEX_BENCH_STARTUP"))
        qx::reportFirstFrame();
    game.start();
    return QApplication::exec();
}
