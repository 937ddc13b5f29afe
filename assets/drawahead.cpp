// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// qx-drawahead <game folder>: draws the pictures of the main menu's first
// frame into <game folder>/art, so that the game reads them at start-up
// instead of drawing them while the player waits. They come from the same
// drawing code, so they are the same pictures. It draws for the screen it
// runs on: run under QT_SCALE_FACTOR=2 it adds the pictures of a screen of
// twice the pixels, and under LANGUAGE=en it adds those of the English menu.

#include "screens/game.h"
#include "screens/mainform.h"
#include "art/art.h"
#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/language.h"
#include "silent.h"
#include "rules/store.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: qx-drawahead <game folder>\n";
        return 2;
    }
    // The menu in the language LANGUAGE names; its pictures are named after
    // their words, so those of every language lie side by side.
    qx::installDesktopLanguage();
    qx::installFontSubstitution();
    QApplication::setFont(qx::gameFont(12));
    // No records are read or written; the menu only needs a folder to look in.
    const QTemporaryDir recordsFolder;
    const qx::store::Records records(recordsFolder.path());
    qx::VirtualClock clock;
    qx::Random random;
    qx::tools::SilentSound sound;
    qx::tools::SilentDialogs dialogs;
    qx::Services services{clock, random, sound, dialogs, records, QString::fromLocal8Bit(argv[1])};
    qx::Game game(services, qx::Game::Build::MenuFirst);
    game.start();
    game.mainWindow()->grab();
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("art"));
    if (!qx::art::saveDrawnPictures(folder)) {
        QTextStream(stderr) << "qx-drawahead: cannot write " << folder << '\n';
        return 1;
    }
    return 0;
}
