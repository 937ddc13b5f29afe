// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/error.h"

namespace qx {

Error::Error(const QString& message) : std::runtime_error(message.toStdString()), m_message(message)
{
}

} // namespace qx
