// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The player's session: who plays, which test at which level, and the
// overall run. It is the one place that moves the game on: windows ask it
// what to show and tell it what the player did, and it writes the record,
// adds the points and opens what comes next. The main menu's run-state
// names read it.

#include "rules/overallrun.h"
#include "rules/catalogue.h"

namespace qx {

class Game;
class TestScreen;
template <class S> struct ScreenProbe;

// What the stage dialog shows of a finished question.
struct Verdict {
    QString text; // 正解, 不正解, or the test's own (a Reflex time)
    QString line1;
    QString line2;
};

class Session {
public:
    explicit Session(Game& game);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const QString& user() const { return m_user; }
    // The level of single play, 1..10; 0 before one is chosen.
    int level() const { return m_level; }
    // The test being played, or the last one; nullptr before the first.
    const TestDef* test() const { return m_test; }
    const OverallRun& run() const { return m_run; }
    bool overall() const { return m_run.active(); }

    // From the user selection.
    void selectUser(const QString& name);
    // From the main menu: a test alone, through the level selection where it
    // has levels, or the overall run from its first stage.
    void playAlone(TestKind kind);
    void playOverall();
    // From the level selection.
    void chooseLevel(int level);

    // A question of a run starts: its number, from 1; 0 outside a run.
    int countQuestion();
    // A finished question's points, as the catalogue counts them, added to
    // the run.
    void score(const TestDef& test, const Record& record);
    // The record file of the test is read in both modes, so that a missing
    // file is reported either way; in single play the record's line is put
    // first. The day and the level are the session's.
    void writeRecord(const TestDef& test, Record record) const;
    // The verdict in the stage dialog over the screen that asked.
    void showVerdict(TestScreen& screen, const Verdict& verdict);
    // After a question's verdict: in a run, what comes next (the next
    // question on the same screen, the next stage's screen or the score).
    void continueRun();
    // ENTER on the stage dialog: the run goes on, but for the stage that
    // hands itself on.
    void verdictDismissed();
    // The run is over: finished, or abandoned by leaving a screen.
    void endRun();

private:
    friend struct ScreenProbe<Session>;

    Game& m_game;
    QString m_user;
    int m_level = 0;
    const TestDef* m_test = nullptr;
    OverallRun m_run;
};

} // namespace qx
