// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The life every test screen shares: the mode and counter labels, the stage
// picture, the start button, the end of a question in one of two orders, the
// record line, and the reset on leaving. Each test adds only what is its own.

#include "rules/catalogue.h"
#include "platform/timer.h"
#include "rules/countdown.h"
#include "screens/screen.h"

#include <functional>

#include <QCoreApplication>

class TShadowLabel;

namespace qx {

class OverallRun;

class TestScreen : public Screen {
    Q_DECLARE_TR_FUNCTIONS(TestScreen)

public:
    struct Layout {
        TestKind test;
        QPoint modeLabel; // the counter label sits below it
        int counterTop;
        int labelHeight; // pixel height of both labels
        QRect stagePicture;
        QRect startButton;
        QRect backButton;
        QRect logo{0, 0, 265, 49};
    };

    TestScreen(Game& game, const QString& caption, const Layout& layout);

    const TestDef& test() const { return *m_test; }

protected:
    friend struct ScreenProbe<TestScreen>;
    friend class Session;

    // The 2-1-0 before a question, written once for the five screens that
    // count: the screen's own countdown timer steps it, show puts each number
    // on the screen, a beep goes with every number but 0, and at 0 the timer
    // stops and beginQuestion() starts the question itself.
    void setCountdown(Timer& timer, std::function<void(const QString&)> show);
    // Shows 2 and starts the count.
    void startCountdown();
    // Stops the count at 2 for the next question; rewindCountdown() also
    // shows the 2.
    void stopCountdown();
    void rewindCountdown();
    // The question itself, once the countdown has reached 0.
    virtual void beginQuestion() {}

    // The start button's action; the run calls it directly, also while the
    // button is disabled, to start the next question of an overall stage.
    virtual void startQuestion() = 0;

    TShadowLabel* modeLabel() const { return m_modeLabel; }
    TShadowLabel* counterLabel() const { return m_counterLabel; }
    Image* stagePicture() const { return m_stagePicture; }
    Image* startButton() const { return m_startButton; }
    Image* backButton() const { return m_backButton; }

    void FormActivate() override;

    bool overall() const;
    const OverallRun& run() const;
    // Overall run: one more question, shown in the counter label.
    void countQuestion();
    // The end of every question: the record file is read in both modes, so
    // that a missing file is reported either way, and in single play the
    // record's line is put first; the day and the level are the frame's.
    void writeRecord(const Record& record) const;
    // In a run, the points the question earns.
    void score(const Record& record) const;
    // The answer input box of the L-R and N-memory tests: the line typed, or
    // "" when the player cancels.
    QString askAnswer() const;

    // Puts the verdict and extra lines into the stage dialog, makes this test
    // current and shows the dialog.
    void showResult(const QString& verdict, const QString& line1, const QString& line2);

    // End of a question of the panel, L-R and N-memory tests: the file comes
    // first, so a file that cannot be read or written ends the question
    // without a verdict.
    void finishOrderA(const QString& line1, const QString& line2, const Record& record);
    // End of a question of the Reflex, box and shape tests: the dialog first,
    // then the points, then the file.
    void finishOrderB(const QString& verdict, const QString& line1, const QString& line2,
                      const Record& record);

    // The shared part of leaving: counter, stage picture, start button, and
    // the end of an overall run; clearMode also empties the mode label.
    void resetFrame(bool clearMode);

private:
    void countdownTick();

    Layout m_layout;
    Countdown m_countdown;
    Timer* m_countdownTimer = nullptr;
    std::function<void(const QString&)> m_showCountdown;
    const TestDef* m_test;
    TShadowLabel* m_modeLabel;
    TShadowLabel* m_counterLabel;
    Image* m_stagePicture;
    Image* m_startButton;
    Image* m_backButton;
};

} // namespace qx
