// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/display.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QPluginLoader>

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

// Whether one of the folders holds a platform plugin for the key. A plugin's
// keys are read from its metadata, without loading it.
bool platformPluginIn(const QStringList& folders, const QString& key)
{
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QString& file : dir.entryList(QDir::Files)) {
            const QJsonObject metaData = QPluginLoader(dir.filePath(file)).metaData();
            const QJsonArray keys = metaData.value(QStringLiteral("MetaData"))
                                        .toObject()
                                        .value(QStringLiteral("Keys"))
                                        .toArray();
            if (keys.contains(key))
                return true;
        }
    }
    return false;
}

} // namespace

QStringList platformPluginFolders()
{
    QStringList folders;
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM_PLUGIN_PATH"))
        folders.append(qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH"));
    QStringList pluginFolders =
        qEnvironmentVariable("QT_PLUGIN_PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    pluginFolders.append(QLibraryInfo::path(QLibraryInfo::PluginsPath));
    for (const QString& folder : pluginFolders)
        folders.append(folder + QStringLiteral("/platforms"));
    return folders;
}

bool chooseWindowSystem(const QStringList& pluginFolders)
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return true;
    if (xServerAnswers()) {
        qputenv("QT_QPA_PLATFORM", "xcb");
        return true;
    }
    // Without Qt's Wayland plugin, choosing Wayland would end in Qt's abort.
    if (waylandSocketExists() && platformPluginIn(pluginFolders, QStringLiteral("wayland"))) {
        qputenv("QT_QPA_PLATFORM", "wayland");
        return true;
    }
    return false;
}

} // namespace qx
