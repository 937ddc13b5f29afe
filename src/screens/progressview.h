// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A user's progress in one test: the chart of the days played, the personal
// figures beside it, how far the game's timing can be trusted on this
// machine, and the export of the user's results. Opened from the records
// viewer for the user and test it shows; it only reads the record files.

#include "screens/screen.h"
#include "rules/catalogue.h"

#include <QCoreApplication>

class ProgressChart;

class ProgressScreen final : public qx::Screen {
    Q_DECLARE_TR_FUNCTIONS(ProgressScreen)

public:
    explicit ProgressScreen(qx::Game& game);

    // Shows the test's chart for the current user.
    void showTest(const qx::TestDef& test);

private:
    friend struct qx::ScreenProbe<ProgressScreen>;

    void exportResults();

    ProgressChart* m_chart;
    qx::Image* m_title;
    QLabel* m_figures;
    QLabel* m_timing;
    QLabel* m_damaged;
    qx::Image* m_export;
    qx::Image* m_back;
};

namespace qx {
// "計測精度：±N ms" for the session's measured timing, or that it is not
// measured yet.
QString timingText(const Lateness& lateness);
} // namespace qx
