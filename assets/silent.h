// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Seams that do nothing, for the build tools that bring up windows of the
// game without a player.

#include "platform/services.h"

namespace qx::tools {

class SilentSound final : public Sound {
public:
    void play(const QString&) override {}
};

class SilentDialogs final : public Dialogs {
public:
    void message(const QString&) override {}
    QString input(const QString&, const QString&, const QString&) override { return {}; }
    void error(const QString&) override {}
    QString chooseFolder(const QString&) override { return {}; }
};

} // namespace qx::tools
