// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The box test: a random heap of cubes, at most two high on a three-by-three
// ground plan; the player types how many there are.

#include "platform/clock.h"
#include "platform/timer.h"
#include "rules/Blockrules.h"
#include "screens/frame.h"

#include <QCoreApplication>

class QLineEdit;

class TForm8 final : public qx::TestScreen {
    Q_DECLARE_TR_FUNCTIONS(TForm8)

public:
    explicit TForm8(qx::Game& game);
    ~TForm8() override;
    TForm8(const TForm8&) = delete;
    TForm8& operator=(const TForm8&) = delete;

private:
    friend struct qx::ScreenProbe<TForm8>;

    void startQuestion() override { Image10Click(); }
    void Image10Click();
    void Timer1Timer();
    void Edit1KeyPress(QChar& key);
    void FormCloseQuery() override;

    // The boxes in the order of kBoxPlaces.
    std::array<qx::Image*, qx::kBoxCount> boxes{};
    QLineEdit* Edit1;
    QLabel* Label1;
    qx::Timer Timer1;

    int BoxCount = 0;
    int ElapsedHundredths = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void hideBoxes();

    qx::Stopwatch m_elapsed;
};
