// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A scripted player: plays the game through its menu, buttons, keys and
// boxes on the virtual clock, as a person would, for tests that need whole
// plays rather than one screen's detail.

#include "testsupport.h"

#include <QList>
#include <QString>

namespace qxtest {

// One question's answer. right: the right answer, else a wrong one; typed:
// what a wrong L-R or N-memory answer types (empty: a near miss); late: for
// stop, hundredths past the target (negative: early); ms: how long the
// player takes (Reflex, box, shape), and for Reflex -1 is a false start.
struct Answer {
    bool right = true;
    QString typed;
    int late = 0;
    int ms = 1000;
};
Answer wrongAnswer(const QString& typed = QString());
Answer stoppedAt(int late);
Answer after(int ms, bool right = true);

// ENTER on the stage dialog once it shows a question's result.
void dismissDialog(GameFixture& f);

// Single play from the main menu: opens the test (at the level given, where
// it has levels), answers one question per answer and goes back to the menu.
void playSingle(GameFixture& f, qx::TestKind kind, int level, const QList<Answer>& answers);

// An overall run from the main menu: plays stages 1..lastStage with the
// run's fixed answers and returns the points they earn.
int playStages(GameFixture& f, int lastStage);

} // namespace qxtest
