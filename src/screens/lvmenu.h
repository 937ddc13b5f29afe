// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Level selection for the four tests with levels: shows the chosen test and
// the user, stores the level and opens the test screen.

#include "screens/screen.h"

#include <array>

#include <QCoreApplication>

class TForm9 final : public qx::Screen {
    Q_DECLARE_TR_FUNCTIONS(TForm9)

public:
    explicit TForm9(qx::Game& game);

private:
    friend struct qx::ScreenProbe<TForm9>;

    void FormActivate() override;
    void FormCloseQuery() override;
    // Level buttons 1..10 (Image4Click to Image13Click).
    void chooseLevel(int level);

    qx::Image* Image3; // title of the chosen test
    QLabel* Label1;
    std::array<qx::Image*, 10> levelButtons{}; // Image4 .. Image13
    qx::Image* Image14;                        // もどる
};
