// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Where the game finds its pictures and sounds and keeps its records, decided
// once at start-up from the program's own folder, never from the folder it
// was started in.
//
// Portable: the program's folder holds bmp/ (a build, or a game folder copied
// to a USB stick); its records stay in Rec/ beside it while that folder is
// writable. Installed: the pictures and sounds are in ../share/quiravex from
// the program, and the records in the player's data folder, created on first
// start with the starting top ten. A records folder given on the command line
// wins over both.

#include <QString>

namespace qx {

struct Folders {
    QString data;    // holds bmp/ and wav/
    QString records; // the records folder, "Rec"
};

// programFolder: the program's own folder; recordsOption: the folder given on
// the command line, or empty; playerDataFolder: the player's data folder for
// the game (QStandardPaths::AppDataLocation).
Folders findFolders(const QString& programFolder, const QString& recordsOption,
                    const QString& playerDataFolder);

// Creates the records folder when it is missing, with every missing folder
// above it, private to the player (0700, as the base-directory rules ask for
// the data folder), and puts the starting top ten in it when it has none;
// never touches a folder or a record.dat that is there. Returns what the
// player is told when the folder cannot be made: which folder, and why; empty
// when the records folder is there.
QString prepareRecords(const Folders& folders);

} // namespace qx
