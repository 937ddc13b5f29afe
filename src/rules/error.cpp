#include "rules/error.h"

namespace qx {

Error::Error(const QString& message) : std::runtime_error(message.toStdString()), m_message(message)
{
}

} // namespace qx
