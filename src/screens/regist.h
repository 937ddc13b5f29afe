// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// User registration: a folder under "Rec/" named by the typed name, holding
// the seven empty record files.

#include "screens/screen.h"

#include <QCoreApplication>

class QLineEdit;

class TForm11 final : public qx::Screen {
    Q_DECLARE_TR_FUNCTIONS(TForm11)

public:
    explicit TForm11(qx::Game& game);

private:
    friend struct qx::ScreenProbe<TForm11>;

    void Image5Click();
    void FormCloseQuery() override;

    qx::Image* Image3; // the instructions, and "名前" over the entry box
    QLineEdit* Edit1;
    qx::Image* Image5; // 登録
    qx::Image* Image4; // もどる
};
