// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The screens that time in milliseconds hold a fine timer period for their
// lifetime. On Linux the kernel's timers are already fine; what coarsens a
// wake-up is the thread's timer slack (50 µs by default), by which the kernel
// may defer it to merge wake-ups. While the period is held, the slack of the
// thread that took it is one nanosecond; the old slack comes back when the
// last holder gives the period back.
//
// Calls nest and must pair up, on the user-interface thread. A surplus
// endTimerPeriod() does nothing.

namespace qx {

void beginTimerPeriod();
void endTimerPeriod();

} // namespace qx
