// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/timerperiod.h"

#include <mutex>

#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace qx {

namespace {

std::mutex g_mutex;
int g_holders = 0;
#ifdef __linux__
long g_previousSlackNs = 0;
// Zero would mean "back to the thread's default", not "no slack".
constexpr unsigned long kTightSlackNs = 1;
#endif

} // namespace

void beginTimerPeriod()
{
    const std::lock_guard lock(g_mutex);
    if (g_holders++ > 0)
        return;
#ifdef __linux__
    g_previousSlackNs = prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
    prctl(PR_SET_TIMERSLACK, kTightSlackNs, 0, 0, 0);
#endif
}

void endTimerPeriod()
{
    const std::lock_guard lock(g_mutex);
    if (g_holders == 0 || --g_holders > 0)
        return;
#ifdef __linux__
    if (g_previousSlackNs > 0)
        prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(g_previousSlackNs), 0, 0, 0);
#endif
}

} // namespace qx
