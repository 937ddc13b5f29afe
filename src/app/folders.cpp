#include "app/folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

bool prepareRecords(const Folders& folders)
{
    if (!QDir().mkpath(folders.records))
        return false;
    const QString ranking = folders.records + QStringLiteral("/record.dat");
    if (!QFileInfo::exists(ranking)) {
        const QString starting = folders.data + QStringLiteral("/record.dat");
        // A copy takes the installed file's read-only mode; the player's own
        // top ten must stay writable.
        if (QFile::copy(starting, ranking))
            QFile::setPermissions(ranking, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                               QFile::ReadOther);
    }
    return true;
}

} // namespace qx
