// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/overallrun.h"

namespace qx {

void OverallRun::begin()
{
    m_stage = &kTests.front();
    m_question = 0;
    m_score = 0;
}

int OverallRun::countQuestion()
{
    if (!active())
        return 0;
    return ++m_question;
}

OverallRun::Next OverallRun::afterQuestion()
{
    if (!active())
        return Next::None;
    if (m_question < m_stage->questions)
        return Next::Question;
    if (m_stage == &kTests.back())
        return Next::Score;
    ++m_stage;
    m_question = 0;
    return Next::Stage;
}

void OverallRun::end()
{
    m_stage = nullptr;
    m_question = 0;
    m_score = 0;
}

} // namespace qx
