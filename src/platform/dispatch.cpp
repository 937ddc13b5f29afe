#include "platform/dispatch.h"

#include <exception>
#include <utility>

namespace qx {

namespace {
std::function<void(const QString&)>& errorReport()
{
    static std::function<void(const QString&)> report;
    return report;
}
std::function<void()>& afterDispatch()
{
    static std::function<void()> settle;
    return settle;
}
int g_depth = 0;
} // namespace

Error::Error(const QString& message) : std::runtime_error(message.toStdString()), m_message(message)
{
}

void setErrorReport(std::function<void(const QString&)> report)
{
    errorReport() = std::move(report);
}

void reportError(const QString& message)
{
    if (errorReport())
        errorReport()(message);
}

std::function<void()> setAfterDispatch(std::function<void()> settle)
{
    return std::exchange(afterDispatch(), std::move(settle));
}

void dispatch(const std::function<void()>& handler)
{
    ++g_depth;
    try {
        handler();
    } catch (const Error& e) {
        reportError(e.message());
    } catch (const std::exception& e) {
        reportError(QString::fromLocal8Bit(e.what()));
    }
    --g_depth;
    if (g_depth == 0 && afterDispatch()) {
        ++g_depth;
        try {
            afterDispatch()();
        } catch (const Error& e) {
            reportError(e.message());
        } catch (const std::exception& e) {
            reportError(QString::fromLocal8Bit(e.what()));
        }
        --g_depth;
    }
}

} // namespace qx
