// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The stage dialog: shows each question's verdict over the test screen,
// waits for ENTER and, in an overall run, starts the next question or hands
// the run to the next stage.

#include "screens/screen.h"

#include <QCoreApplication>

class TShadowLabel;

class TForm10 final : public qx::Screen {
    Q_DECLARE_TR_FUNCTIONS(TForm10)

public:
    explicit TForm10(qx::Game& game);

    // The verdict, centred, and the two extra lines.
    void setResult(const QString& verdict, const QString& line1, const QString& line2);

private:
    friend struct qx::ScreenProbe<TForm10>;

    void FormActivate() override;
    void FormKeyPress(QChar& key) override;
    void FormCloseQuery() override;

    TShadowLabel* ShadowLabel2; // verdict
    TShadowLabel* ShadowLabel3; // score line
    QLabel* Label1;
    QLabel* Label2;
    TShadowLabel* ShadowLabel1; // "ENTERを押して下さい"
};
