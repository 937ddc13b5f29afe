// Quiravex: start-up wires the real seams and shows the main menu.

#include "app/game.h"
#include "firstframe.h"
#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/desktop.h"
#include "platform/dispatch.h"
#include "users/store.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

// Without a display Qt would abort; say what is wrong instead.
bool hasDisplay()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform)
        return true;
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char* argv[])
{
    qx::prepareProcess();
    if (!hasDisplay()) {
        std::fprintf(stderr, "Quiravex needs a graphical desktop: no display was found "
                             "(DISPLAY is not set). Start it from a desktop session.\n");
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quiravex"));
    if (!qx::installQtJapanese(app))
        std::fprintf(stderr, "Quiravex: Qt's Japanese translation (qtbase_ja.qm) is missing; "
                             "standard buttons will read in English.\n");
    qx::installFontSubstitution();
    QApplication::setFont(qx::gameFont(12));

    qx::RealClock clock;
    qx::Random random;
    qx::DesktopSound sound;
    qx::DesktopDialogs dialogs;
    qx::Services services{clock, random, sound, dialogs};
    qx::setErrorReport([&dialogs](const QString& text) { dialogs.error(text); });

    // Two copies saving into one folder would each sweep away the other's
    // half-written files; the second one says so and does not start.
    const qx::store::FolderLock records(qx::store::kRecDir);
    if (records.state() == qx::store::FolderLock::State::InUse) {
        dialogs.message(qx::store::kRecordsInUse);
        return 1;
    }

    qx::Game game(services);
    dialogs.setOwner([&game] { return game.modal.front(); });
    game.modal.setQuit([] { QApplication::quit(); });
    // For the start-up benchmark: report the main menu's first frame, then quit.
    std::optional<qxbench::FirstFrame> firstFrame;
    if (qEnvironmentVariableIsSet("QUIRAVEX_BENCH_STARTUP"))
        firstFrame.emplace();
    game.start();
    return QApplication::exec();
}
