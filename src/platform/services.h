// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The seams between the screens and the machine: clock and timers, the one
// random generator, sound, and the boxes that ask or tell the player
// something. The program wires the real ones in main(); tests hand in fakes.

#include "rules/random.h"
#include "rules/store.h"

#include <QString>

namespace qx {

class Clock;

class Sound {
public:
    virtual ~Sound() = default;
    // Plays a wave file asynchronously; a new sound cuts off the one playing.
    // A missing file or no audio device is silent.
    virtual void play(const QString& path) = 0;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A plain message box with one OK button.
    virtual void message(const QString& text) = 0;
    // A modal input box; cancelling gives "".
    virtual QString input(const QString& caption, const QString& prompt,
                          const QString& defaultText) = 0;
    // The application's error report.
    virtual void error(const QString& text) = 0;
    // A folder the player picks; "" when they cancel.
    virtual QString chooseFolder(const QString& caption) = 0;
};

struct Services {
    Clock& clock;
    Random& random;
    Sound& sound;
    Dialogs& dialogs;
    // Where the players' records are, and the file calls that save them.
    const store::Records& records;
    // The folder holding bmp/ and wav/; empty for the working folder.
    QString dataFolder{};

    // A data file by its name in the game folder, "bmp/stage1.bmp".
    QString dataFile(const QString& name) const
    {
        return dataFolder.isEmpty() ? name : dataFolder + QLatin1Char('/') + name;
    }
};

} // namespace qx
