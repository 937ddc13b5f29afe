// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The overall run ("総合トレーニング"): the seven stages in the order of the
// stage table, each a fixed number of questions, their points summed. The
// run decides every step; the screens ask it and show what it says. It knows
// no windows, so its rules are tested on their own.

#include "rules/catalogue.h"

namespace qx {

class OverallRun {
public:
    // What follows the verdict of a question.
    enum class Next {
        None,     // no run
        Question, // the next question of the same stage
        Stage,    // the first question of stage(): the player starts it
        Score,    // the score screen: every stage is done
    };

    bool active() const { return m_stage != nullptr; }
    // 1 in a run, else 0, as the screens have always read it.
    int mode() const { return active() ? 1 : 0; }
    int score() const { return m_score; }
    // The stage being played, nullptr outside a run.
    const TestDef* stage() const { return m_stage; }
    // Questions of the current stage started so far; 0 outside a run.
    int question() const { return m_question; }

    // A new run at the first stage with no points.
    void begin();
    // One more question of the current stage; its number, from 1.
    int countQuestion();
    void addPoints(int points) { m_score += points; }
    // The step after a question of the current stage. Moves the run on to the
    // next stage when the current one is done; a count past the stage's end
    // moves on as well, so that no stray question can keep a run in one stage
    // for ever.
    Next afterQuestion();
    // The run is over: finished, or abandoned by leaving a screen.
    void end();

private:
    const TestDef* m_stage = nullptr;
    int m_question = 0;
    int m_score = 0;
};

} // namespace qx
