#include "users/csvexport.h"

#include "platform/dispatch.h"
#include "platform/textcodec.h"
#include "users/store.h"

#include <QDir>
#include <QSaveFile>

namespace qx::csv {

QString field(const QString& text)
{
    QString value = text;
    // A spreadsheet runs a field that begins so as a formula; a typed answer
    // could. The stop difference's sign before digits stays as it is.
    const bool formula = !value.isEmpty() && (value.front() == u'=' || value.front() == u'@' ||
                                              ((value.front() == u'+' || value.front() == u'-') &&
                                               (value.size() == 1 || !value.at(1).isDigit())));
    if (formula)
        value.prepend(u'\'');
    if (value.contains(u',') || value.contains(u'"') || value.contains(u'\n') ||
        value.contains(u'\r')) {
        value.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        value = u'"' + value + u'"';
    }
    return value;
}

Export exportUser(const QString& user, const QString& folder)
{
    Export done;
    if (!QDir(folder).exists()) {
        done.error = QStringLiteral("フォルダ %1 がありません").arg(folder);
        done.failure = Export::Failure::MissingFolder;
        done.failedPath = folder;
        return done;
    }
    for (const QString& testId : store::testIds()) {
        const QString source = store::resultPath(user, store::fileNameForTest(testId));
        store::Lines lines;
        try {
            lines = store::loadLines(source);
        } catch (const Error& e) {
            done.error = e.message();
            done.failure = Export::Failure::Unreadable;
            done.failedPath = source;
            return done;
        }
        QString text;
        QStringList heading;
        for (const QString& name : store::fieldNames(testId).split(u','))
            heading.append(field(name));
        text += heading.join(u',') + QStringLiteral("\r\n");
        for (const QByteArray& line : lines) {
            QStringList row;
            for (const QByteArray& cell : store::splitCommaText(line))
                row.append(field(cp932::decode(cell)));
            text += row.join(u',') + QStringLiteral("\r\n");
        }
        const QString target = QDir(folder).filePath(
            QStringLiteral("%1-%2.csv").arg(user, QString(testId).replace(u'-', u'_')));
        QSaveFile out(target);
        if (!out.open(QIODevice::WriteOnly) || out.write(text.toUtf8()) < 0 || !out.commit()) {
            done.error = QStringLiteral("ファイル %1 を作成できません").arg(target);
            done.failure = Export::Failure::Unwritable;
            done.failedPath = target;
            return done;
        }
        done.written.append(target);
    }
    return done;
}

} // namespace qx::csv
