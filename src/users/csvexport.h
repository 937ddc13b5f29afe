#pragma once

// A user's results for spreadsheets and for anyone who studies their own:
// one UTF-8 CSV file per test, the viewer's column names as the header row,
// then every line of the record file as it is, newest first.

#include <QString>
#include <QStringList>

namespace qx::csv {

// A field as CSV holds it: quoted where it holds a comma, a quote or a line
// break, and kept from being read as a formula by a spreadsheet.
QString field(const QString& text);

struct Export {
    // What stopped the export, for a front end that words it in its own
    // language (the command line's is not the game's).
    enum class Failure { None, MissingFolder, Unreadable, Unwritable };
    QStringList written; // the files written, in the order of the tests
    QString error;       // the game's message; empty when every file was written
    Failure failure = Failure::None;
    QString failedPath; // the folder or file it stopped at
};
// Writes "<user>-<test>.csv" (quiravex-panel.csv ...) for each of the user's
// seven record files into folder, replacing an earlier export of the same
// name; a file is written whole or not at all. Stops at the first file that
// cannot be read or written and says which.
Export exportUser(const QString& user, const QString& folder);

} // namespace qx::csv
