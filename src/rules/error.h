// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The failures the game reports to the player in words: a file that cannot
// be read or written, a field that is no number. Whatever runs a handler
// shows the words; nothing else catches them.

#include <QString>

#include <stdexcept>

namespace qx {

// An error with the text shown to the player.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

} // namespace qx
