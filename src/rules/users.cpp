// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/users.h"

#include "rules/error.h"
#include "rules/textcodec.h"
#include "rules/catalogue.h"
#include "rules/store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <sys/stat.h>
#include <unistd.h>

namespace qx::users {

namespace {

constexpr int kMaxNameBytes = 255;

bool isReservedOnWindows(const QString& name)
{
    static const QRegularExpression reserved(
        QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])$"),
        QRegularExpression::CaseInsensitiveOption);
    const QString base = name.section(QLatin1Char('.'), 0, 0).trimmed();
    return reserved.match(base).hasMatch();
}

enum class Entry { Folder, LinkToFolder, Other };

Entry entryKind(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::lstat(name.constData(), &info) != 0)
        return Entry::Other;
    if (S_ISDIR(info.st_mode))
        return Entry::Folder;
    struct stat target {};
    return S_ISLNK(info.st_mode) && ::stat(name.constData(), &target) == 0 &&
                   S_ISDIR(target.st_mode)
               ? Entry::LinkToFolder
               : Entry::Other;
}

} // namespace

bool isAcceptableName(const QString& name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')))
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || QStringLiteral("/\\:*?\"<>|").contains(c))
            return false;
    }
    if (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        return false;
    if (isReservedOnWindows(name))
        return false;
    // The name must come back unchanged from code page 932: "¥" would be
    // written as a backslash, "〜" read back as "～".
    if (cp932::decode(cp932::encode(name)) != name)
        return false;
    return cp932::encode(name).size() <= kMaxNameBytes && name.toUtf8().size() <= kMaxNameBytes;
}

QStringList list(const store::Records& records)
{
    const QDir rec(records.folder());
    QStringList names;
    const QStringList entries =
        rec.entryList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString& entry : entries) {
        if (entry.startsWith(QLatin1Char('.')) || entry == QLatin1String("record.dat"))
            continue;
        names.append(entry);
    }
    return names;
}

Registration registerUser(const store::Records& records, const QString& name)
{
    if (!isAcceptableName(name) || !QDir().mkdir(records.userFolder(name)))
        return Registration::Refused;
    for (const QString& file : recordFiles()) {
        const QString path = records.resultPath(name, file);
        QFile created(path);
        if (!created.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            throw Error(
                QCoreApplication::translate("Records", "ファイル %1 を作成できません").arg(path));
    }
    return Registration::Registered;
}

bool deleteUser(const store::Records& records, const QString& name)
{
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name == QLatin1String(".") ||
        name == QLatin1String(".."))
        return false;
    const QString folder = records.userFolder(name);
    switch (entryKind(folder)) {
    case Entry::Folder:
        break;
    case Entry::LinkToFolder:
        // A user whose folder is a link is listed and played through it like
        // any other; deleting the user removes the link, and the records it
        // leads to, which may be shared with another machine, stay.
        return ::unlink(QFile::encodeName(folder).constData()) == 0;
    case Entry::Other:
        return false;
    }
    for (const QString& file : recordFiles()) {
        // A read-only file cannot be deleted and is passed over, so the
        // folder stays.
        const QString path = records.resultPath(name, file);
        if (store::isChangeable(path))
            QFile::remove(path);
        // What a save interrupted by a crash left beside the file would
        // otherwise keep the folder.
        store::removeSaveLeftovers(folder, file);
    }
    return ::rmdir(QFile::encodeName(folder).constData()) == 0;
}

} // namespace qx::users
