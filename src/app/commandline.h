// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The program's command line, read before the application exists: --help and
// --version must answer where no display can be opened. Qt's own options
// (-platform, -style, -qwindowgeometry ...) are accepted and left in place for
// the application to take.
//
// Every text here is in one language, through QCoreApplication::translate
// (context "CommandLine"), so that a translation replaces all of it at once.

#include <QString>
#include <QStringList>

namespace qx {

struct CommandLine {
    enum class Action { Play, Export, Help, Version, Fault };
    Action action = Action::Play;
    QString records;    // --records FOLDER, or empty
    QString exportUser; // --export USER FOLDER
    QString exportFolder;
    QString fault;              // Action::Fault: what was wrong, naming the argument
    bool platformGiven = false; // Qt's -platform chose the window system
};

// arguments[0] is the program. --help and --version win over whatever follows
// them, as GNU programs do; a fault before them is still a fault.
CommandLine parseCommandLine(const QStringList& arguments);

QString commandLineUsage();
QString commandLineVersion();

// A command-line message in the program's voice: "quiravex: " + text.
QString commandLineMessage(const QString& text);

} // namespace qx
