// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Users are the entries of "Rec/": a folder per user holding the seven record
// files. These are the rules for listing, registering and deleting them.

#include "rules/store.h"

#include <QString>
#include <QStringList>

namespace qx::users {

// Whether a typed name can become a user folder that Windows and Linux both
// hold under the same name, inside "Rec/". Names are refused, never cleaned
// into other names.
bool isAcceptableName(const QString& name);

// The entries of "Rec/" that are users, in the order the file system gives
// them: folders and plain files alike, but not hidden entries (names starting
// with '.'), "record.dat", "." or "..". A missing "Rec/" lists nothing.
QStringList list(const store::Records& records);

enum class Registration { Registered, Refused };
// Creates "Rec/<name>/" and its seven empty record files. Refused when the
// name is not acceptable or the folder cannot be made; throws Error when a
// file cannot be created after the folder was made.
Registration registerUser(const store::Records& records, const QString& name);

// Deletes the seven record files of the user and then the folder itself, which
// goes only when it is empty. A user whose folder is a link to a folder loses
// the link alone. Never deletes anything else, never follows a link out of
// "Rec/". Returns whether the user is gone.
bool deleteUser(const store::Records& records, const QString& name);

} // namespace qx::users
