#include "platform/display.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>

#include <xcb/xcb.h>

namespace qx {

namespace {

bool xServerAnswers()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
}

bool waylandSocketExists()
{
    const QString name = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (name.isEmpty())
        return false;
    const QString path = QDir::isAbsolutePath(name)
                             ? name
                             : qEnvironmentVariable("XDG_RUNTIME_DIR") + QLatin1Char('/') + name;
    return QFileInfo(path).exists();
}

} // namespace

bool chooseWindowSystem()
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return true;
    if (xServerAnswers()) {
        qputenv("QT_QPA_PLATFORM", "xcb");
        return true;
    }
    if (waylandSocketExists()) {
        qputenv("QT_QPA_PLATFORM", "wayland");
        return true;
    }
    return false;
}

} // namespace qx
