// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The first frame of a window: the moment its first paint has been handled
// and flushed, which is when the player first sees it.

#include <QtGlobal>

#include <functional>

class QWidget;

namespace qx {

// Runs then once, straight after the first paint of window (of any window
// when it is null) has been handled and flushed; never when the window goes
// away first.
void afterFirstPaint(QWidget* window, std::function<void()> then);

// For the start-up benchmark: at the first frame of any window, prints the
// moment on CLOCK_MONOTONIC (the clock of the parent that started the
// process) and the resident memory, then quits.
void reportFirstFrame();

} // namespace qx
