// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Picks the window system before the application starts, so that a desktop
// without a reachable display gets one clear message instead of Qt's abort.

#include <QStringList>

namespace qx {

// Where Qt looks for its platform plugins: the folder
// QT_QPA_PLATFORM_PLUGIN_PATH names, and platforms/ in each folder of
// QT_PLUGIN_PATH and in Qt's own plugin folder.
QStringList platformPluginFolders();

// Sets the platform when the player has not: X11 where an X server answers
// (on a Wayland desktop through XWayland, which lets the fixed window
// positions of the design hold), else Wayland where its socket is there and
// Qt's Wayland plugin is installed. Returns false when neither can be reached.
bool chooseWindowSystem(const QStringList& pluginFolders = platformPluginFolders());

} // namespace qx
