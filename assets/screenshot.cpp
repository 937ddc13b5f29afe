// Renders a screen of the game into a PNG, for the README:
//   qx-screenshot <out.png> [user]
// Run from a game folder (bmp/ beside it); with a user the name is shown and
// the menu unlocked.

#include "app/game.h"
#include "app/mainform.h"
#include "platform/clock.h"
#include "platform/controls.h"

#include <QApplication>
#include <QPixmap>

namespace {

class SilentSound final : public qx::Sound {
public:
    void play(const QString&) override {}
};

class SilentDialogs final : public qx::Dialogs {
public:
    void message(const QString&) override {}
    QString input(const QString&, const QString&, const QString&) override { return {}; }
    void error(const QString&) override {}
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    qx::installFontSubstitution();
    QApplication::setFont(qx::gameFont(12));
    qx::VirtualClock clock;
    qx::Random random;
    SilentSound sound;
    SilentDialogs dialogs;
    qx::Services services{clock, random, sound, dialogs};
    qx::Game game(services);
    game.start();
    if (argc > 2)
        game.Form1->selectUser(QString::fromLocal8Bit(argv[2]));
    return game.Form1->grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
