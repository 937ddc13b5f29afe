// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace qx {

namespace {

bool isWritableFolder(const QString& path)
{
    const QFileInfo info(path);
    return info.isDir() && info.isWritable();
}

} // namespace

Folders findFolders(const QString& programFolder, const QString& recordsOption,
                    const QString& playerDataFolder)
{
    const QDir program(programFolder);
    const bool portable = program.exists(QStringLiteral("bmp"));
    Folders folders;
    folders.data =
        portable ? program.absolutePath()
                 : QDir::cleanPath(program.absoluteFilePath(QStringLiteral("../share/quiravex")));
    if (!recordsOption.isEmpty())
        folders.records = QDir(recordsOption).absolutePath();
    else if (portable && isWritableFolder(program.absoluteFilePath(QStringLiteral("Rec"))))
        folders.records = program.absoluteFilePath(QStringLiteral("Rec"));
    else
        folders.records = QDir(playerDataFolder).absoluteFilePath(QStringLiteral("Rec"));
    return folders;
}

namespace {

QString reasonText(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return QCoreApplication::translate("Folders", "書き込みが許されていません");
    case EROFS:
        return QCoreApplication::translate("Folders", "読み取り専用のディスクです");
    case ENOSPC:
    case EDQUOT:
        return QCoreApplication::translate("Folders", "ディスクに空きがありません");
    case ENOTDIR:
    case EEXIST:
        return QCoreApplication::translate("Folders", "同じ名前のファイルがあります");
    case ENAMETOOLONG:
        return QCoreApplication::translate("Folders", "名前が長すぎます");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

// The missing folders from the first one below an existing entry down to
// path, each made 0700; an error names the folder that could not be made.
QString makePrivateFolders(const QString& path)
{
    QStringList missing;
    QString folder = QDir::cleanPath(QDir(path).absolutePath());
    const auto cannotMake = [](const QString& made, int error) {
        return QCoreApplication::translate("Folders", "フォルダ %1 を作れません（%2）。")
            .arg(made, reasonText(error));
    };
    struct stat info {};
    int lookedUp = 0;
    // A file on the way (ENOTDIR) is found further up, and named.
    while ((lookedUp = ::lstat(QFile::encodeName(folder).constData(), &info)) != 0 &&
           (errno == ENOENT || errno == ENOTDIR)) {
        missing.prepend(folder);
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            break;
        folder = parent;
    }
    if (lookedUp != 0 && errno != ENOENT && errno != ENOTDIR)
        return cannotMake(folder, errno);
    for (const QString& made : missing) {
        if (::mkdir(QFile::encodeName(made).constData(), 0700) != 0 && errno != EEXIST)
            return cannotMake(made, errno);
    }
    if (!QFileInfo(path).isDir())
        return cannotMake(path, ENOTDIR);
    return {};
}

} // namespace

QString prepareRecords(const Folders& folders)
{
    const QString failed = makePrivateFolders(folders.records);
    if (!failed.isEmpty())
        return failed +
               QCoreApplication::translate(
                   "Folders",
                   "記録のフォルダ %1 がないので、ユーザーの登録も成績の記録もできません。")
                   .arg(folders.records);
    const QString ranking = folders.records + QStringLiteral("/record.dat");
    if (!QFileInfo::exists(ranking)) {
        const QString starting = folders.data + QStringLiteral("/record.dat");
        // A copy takes the installed file's read-only mode; the player's own
        // top ten must stay writable.
        if (QFile::copy(starting, ranking))
            QFile::setPermissions(ranking, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                               QFile::ReadOther);
    }
    return {};
}

} // namespace qx
