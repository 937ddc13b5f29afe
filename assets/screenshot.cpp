// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Renders a screen of the game into a PNG, for the README and for looking at
// the screens while they are being built:
//   qx-screenshot <out.png> [user] [test id]
// Run from a game folder (bmp/ beside it). With a user the name is shown and
// the menu unlocked; with a test identifier that test's screen is shown at
// level 3 with the stage dialog over it.

#include "screens/dialog.h"
#include "screens/game.h"
#include "screens/mainform.h"
#include "screens/frame.h"
#include "platform/clock.h"
#include "platform/controls.h"

#include "silent.h"

#include <QApplication>
#include <QPixmap>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    qx::installFontSubstitution();
    QApplication::setFont(qx::gameFont(12));
    qx::VirtualClock clock;
    qx::Random random;
    qx::tools::SilentSound sound;
    qx::tools::SilentDialogs dialogs;
    const qx::store::Records records(QStringLiteral("Rec"));
    qx::Services services{clock, random, sound, dialogs, records};
    qx::Game game(services);
    game.start();
    if (argc > 2)
        game.session.selectUser(QString::fromLocal8Bit(argv[2]));
    QWidget* shown = game.Form1.get();
    if (argc > 3) {
        const qx::TestDef* test = qx::findTest(QString::fromLocal8Bit(argv[3]));
        if (!test)
            return 2;
        game.session.playAlone(test->kind);
        if (test->hasLevels)
            game.session.chooseLevel(3);
        game.Form10->setResult(QStringLiteral("正解"), QStringLiteral("答え：123"),
                               QStringLiteral("入力した答え：123"));
        QPixmap both(1200, 480);
        game.screenOf(*test)->render(&both);
        game.Form10->render(&both, QPoint(600, 0));
        return both.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
    }
    return shown->grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
