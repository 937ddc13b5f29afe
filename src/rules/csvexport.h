// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A user's results for spreadsheets and for anyone who studies their own:
// one CSV file per test in UTF-8 with a byte order mark (so that spreadsheets
// do not take it for the system's code page), the viewer's column names as
// the header row, then every line of the record file as it is, newest first.

#include "rules/store.h"

#include <QString>
#include <QStringList>

namespace qx::csv {

// A field as CSV holds it: quoted where it holds a comma, a quote or a line
// break, and kept from being read as a formula by a spreadsheet: a field that
// begins with =, +, -, @, a tab or a carriage return and is not a plain
// number or time (-00:13, 12.5) starts with an apostrophe.
QString field(const QString& text);

struct Export {
    // What stopped the export, for a front end that words it in its own
    // language (the command line's is not the game's).
    enum class Failure { None, MissingFolder, InsideRecords, Unreadable, Unwritable };
    QStringList written; // the files written, in the order of the tests
    QString error;       // the game's message; empty when every file was written
    Failure failure = Failure::None;
    QString failedPath; // the folder or file it stopped at
};
// Writes "<user>-<test>.csv" (quiravex-panel.csv ...) for each of the user's
// seven record files into folder, replacing an earlier export of the same
// name in that folder (a link of that name is replaced, never written
// through); a file is written whole or not at all. Each row has as many cells
// as the header: a record line's fields are split at commas but for the last,
// which keeps the rest of the line as the player typed it. Refuses the
// records folder and every folder in it, and stops at the first file that
// cannot be read or written, saying which; the files written before it are
// whole.
Export exportUser(const store::Records& records, const QString& user, const QString& folder);

} // namespace qx::csv
