// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// User deletion: lists the users like the selection screen and deletes the
// chosen one's record files and folder. The run state is left alone, so the
// current user may be one that no longer exists.

#include "screens/screen.h"

#include <QCoreApplication>

class QListWidget;

class TForm14 final : public qx::Screen {
    Q_DECLARE_TR_FUNCTIONS(TForm14)

public:
    explicit TForm14(qx::Game& game);

private:
    friend struct qx::ScreenProbe<TForm14>;

    void FormActivate() override;
    void Image2Click();

    QListWidget* ListBox1;
    qx::Image* Image2; // OK
    qx::Image* Image3; // もどる
};
