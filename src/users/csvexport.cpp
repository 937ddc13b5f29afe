#include "users/csvexport.h"

#include "platform/dispatch.h"
#include "platform/textcodec.h"
#include "rules/catalogue.h"
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

Export exportUser(const store::Records& records, const QString& user, const QString& folder)
{
    Export done;
    if (!QDir(folder).exists()) {
        done.error = QStringLiteral("フォルダ %1 がありません").arg(folder);
        return done;
    }
    for (const TestKind kind : kFileOrder) {
        const TestDef& test = testDef(kind);
        const QString source = records.resultPath(user, test.file());
        store::Lines lines;
        try {
            lines = store::loadLines(source);
        } catch (const Error& e) {
            done.error = e.message();
            return done;
        }
        QString text;
        QStringList heading;
        for (const QString& name : test.fieldNames())
            heading.append(field(name));
        text += heading.join(u',') + QStringLiteral("\r\n");
        for (const QByteArray& line : lines) {
            QStringList row;
            for (const QByteArray& cell : store::splitCommaText(line))
                row.append(field(cp932::decode(cell)));
            text += row.join(u',') + QStringLiteral("\r\n");
        }
        const QString target =
            QDir(folder).filePath(QStringLiteral("%1-%2.csv").arg(user, test.fileStem()));
        QSaveFile out(target);
        if (!out.open(QIODevice::WriteOnly) || out.write(text.toUtf8()) < 0 || !out.commit()) {
            done.error = QStringLiteral("ファイル %1 を作成できません").arg(target);
            return done;
        }
        done.written.append(target);
    }
    return done;
}

} // namespace qx::csv
