// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The interface's language. The game's texts are written in Japanese; every
// other language it speaks is a translation built into it. Files never depend
// on it: only what is drawn around what they hold is translated.

#include <QString>
#include <QStringList>

namespace qx {

// "ja" and the languages a translation is built in for ("en", ...).
QStringList shippedLanguages();

// The language to speak to a desktop that wants uiLanguages, most wanted first
// (QLocale::uiLanguages(), which reads LANGUAGE, LC_ALL, LC_MESSAGES and
// LANG): the first it wants that is shipped; Japanese for the C and POSIX
// locales, the game's own; English when none is shipped.
QString interfaceLanguage(const QStringList& uiLanguages, const QStringList& shipped);

// Speaks language from now on, in place of the one spoken before: the game's
// translation and Qt's own texts (the standard boxes' buttons) beside it.
// Needs the application object. False when Qt's translation for it is
// missing, so its buttons read in another language.
bool installLanguage(const QString& language);

// Picks and installs the desktop's language; false as installLanguage().
bool installDesktopLanguage();

} // namespace qx
