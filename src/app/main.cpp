// Quiravex: start-up wires the real seams and shows the main menu.

#include "app/folders.h"
#include "app/game.h"
#include "app/mainform.h"
#include "art/art.h"
#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/desktop.h"
#include "platform/display.h"
#include "platform/dispatch.h"
#include "platform/firstframe.h"
#include "users/csvexport.h"
#include "users/store.h"
#include "users/users.h"

#include <QApplication>
#include <QMessageBox>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

constexpr int kUsageError = 2;

const char kUsage[] =
    "Usage: quiravex [--records FOLDER]\n"
    "       quiravex [--records FOLDER] --export USER FOLDER\n"
    "       quiravex --help | --version\n"
    "\n"
    "Quiravex measures and trains memory, attention, sense of time and reaction.\n"
    "\n"
    "Options:\n"
    "  --records FOLDER  keep the records (users, results, top ten) in FOLDER\n"
    "                    instead of Rec/ beside the program or the player's data\n"
    "                    folder (~/.local/share/quiravex/Rec)\n"
    "  --export USER FOLDER\n"
    "                    write USER's results into FOLDER as UTF-8 CSV files, one\n"
    "                    per test (USER-panel.csv, USER-L_R.csv ...), and exit;\n"
    "                    needs no display\n"
    "  -h, --help        show this help and exit\n"
    "  -v, --version     show the version and exit\n";

struct CommandLine {
    bool help = false;
    bool version = false;
    QString records;
    std::optional<std::pair<QString, QString>> exportTo; // user, folder
};

// Read before the application exists: --help and --version must work where
// no display can be opened.
std::optional<CommandLine> parseCommandLine(int argc, char* argv[])
{
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "-h" || argument == "--help")
            line.help = true;
        else if (argument == "-v" || argument == "--version")
            line.version = true;
        else if (argument == "--export" && i + 2 < argc) {
            line.exportTo.emplace(QString::fromLocal8Bit(argv[i + 1]),
                                  QString::fromLocal8Bit(argv[i + 2]));
            i += 2;
        } else if (argument == "--records" && i + 1 < argc)
            line.records = QString::fromLocal8Bit(argv[++i]);
        else if (argument.starts_with("--records=") && argument.size() > std::strlen("--records="))
            line.records = QString::fromLocal8Bit(argv[i] + std::strlen("--records="));
        else
            return std::nullopt;
    }
    return line;
}

// --export: the records folder is found as the game finds it; no display.
int exportResults(int argc, char* argv[], const CommandLine& line)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quiravex"));
    const qx::Folders folders =
        qx::findFolders(QCoreApplication::applicationDirPath(), line.records,
                        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    const qx::store::Records records(folders.records);
    const auto& [user, folder] = *line.exportTo;
    if (!qx::users::list(records).contains(user)) {
        std::fprintf(stderr, "quiravex: no user %s in %s\n", qPrintable(user),
                     qPrintable(folders.records));
        return 1;
    }
    const qx::csv::Export done = qx::csv::exportUser(records, user, folder);
    for (const QString& file : done.written)
        std::printf("%s\n", qPrintable(file));
    if (!done.error.isEmpty()) {
        std::fprintf(stderr, "quiravex: %s\n", qPrintable(done.error));
        return 1;
    }
    return 0;
}

// Without a Japanese font every text but the pictures drawn ahead would be
// boxes: says so once and ends the game.
void requireJapaneseFont()
{
    if (qx::art::japaneseFontInstalled())
        return;
    // In English: without a Japanese font a Japanese message would be boxes.
    const char message[] = "Quiravex needs a Japanese font, and none is installed.\n"
                           "Install one, for example: sudo apt install fonts-ipafont-gothic";
    std::fprintf(stderr, "%s\n", message);
    QMessageBox::critical(nullptr, QStringLiteral("Quiravex"), QString::fromLatin1(message));
    QApplication::exit(1);
}

} // namespace

int main(int argc, char* argv[])
{
    qx::prepareProcess();
    const std::optional<CommandLine> line = parseCommandLine(argc, argv);
    if (!line) {
        std::fputs(kUsage, stderr);
        return kUsageError;
    }
    if (line->help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (line->version) {
        std::printf("quiravex %s\n", QX_VERSION);
        return 0;
    }
    if (line->exportTo)
        return exportResults(argc, argv, *line);
    if (!qx::chooseWindowSystem()) {
        std::fprintf(stderr, "Quiravex needs a graphical desktop: no display could be opened "
                             "(neither an X server at DISPLAY nor a Wayland compositor at "
                             "WAYLAND_DISPLAY answered). Start it from a desktop session.\n");
        return kUsageError;
    }
    QApplication app(argc, argv);
    // The lower-case name is the one of the program, its data folders
    // (~/.local/share/quiravex) and its window class.
    QApplication::setApplicationName(QStringLiteral("quiravex"));
    QApplication::setApplicationVersion(QStringLiteral(QX_VERSION));
    // Ties the windows to the menu entry and its icon on Wayland.
    QGuiApplication::setDesktopFileName(QStringLiteral(QX_APP_ID));
    if (!qx::installQtJapanese(app))
        std::fprintf(stderr, "Quiravex: Qt's Japanese translation (qtbase_ja.qm) is missing; "
                             "standard buttons will read in English.\n");
    qx::installFontSubstitution();
    qx::installAccessibility();
    QApplication::setFont(qx::gameFont(12));

    const qx::Folders folders =
        qx::findFolders(QCoreApplication::applicationDirPath(), line->records,
                        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    const QString recordsProblem = qx::prepareRecords(folders);
    if (!recordsProblem.isEmpty())
        std::fprintf(stderr, "Quiravex: the records folder %s cannot be made.\n",
                     qPrintable(folders.records));
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
        dialogs.message(qx::store::kRecordsInUse);
        return 1;
    }
    // Without it every name is refused at registration; the player learns
    // why once, here.
    if (!recordsProblem.isEmpty())
        dialogs.message(recordsProblem);

    qx::Game game(services, qx::Game::Build::MenuFirst);
    // Looking through the fonts wakes the whole font machinery, which the
    // main menu's first frame, drawn ahead, does without: look once it shows.
    qx::afterFirstPaint(game.Form1.get(), requireJapaneseFont);
    dialogs.setOwner([&game] { return game.modal.front(); });
    game.modal.setQuit([] { QApplication::quit(); });
    // For the start-up benchmark: report the main menu's first frame, then quit.
    if (qEnvironmentVariableIsSet("QUIRAVEX_BENCH_STARTUP"))
        qx::reportFirstFrame();
    game.start();
    return QApplication::exec();
}
