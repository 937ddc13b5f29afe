// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The count before a question of the panel, L-R, N-memory, stop and Reflex
// tests: it shows 2, then 1, and the question starts when it reaches 0. A
// beep goes with the start and with every step that does not start the
// question.

#include <QString>

namespace qx {

class Countdown {
public:
    static constexpr int kFrom = 2;

    void rewind() { m_value = kFrom; }
    // One second on; whether the count has reached 0.
    bool step()
    {
        if (m_value > 0)
            --m_value;
        return m_value == 0;
    }
    int value() const { return m_value; }
    QString text() const { return QString::number(m_value); }

private:
    int m_value = kFrom;
};

} // namespace qx
