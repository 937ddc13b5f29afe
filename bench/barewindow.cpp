// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A bare Qt window of the game's size, built like the game: the reference the
// start-up figure compares the game with. It prints when its first frame is
// painted and how much memory it holds then, and quits.

#include "platform/firstframe.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Quiravex"));
    window.setFixedSize(600, 480);
    qx::reportFirstFrame();
    window.show();
    return QApplication::exec();
}
