// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/catalogue.h"

#include "rules/textcodec.h"
#include "rules/shaperules.h"
#include "rules/stoprules.h"
#include "rules/store.h"

#include <QCoreApplication>

namespace qx {

QStringList TestDef::fieldNames() const
{
    QStringList names;
    for (const char* column : columns) {
        if (column != nullptr)
            names.append(QString::fromUtf8(column));
    }
    return names;
}

QStringList TestDef::shownFieldNames() const
{
    return shownColumns(fieldNames());
}

QString TestDef::shownTitle() const
{
    return QCoreApplication::translate("Tests", title);
}

QString TestDef::shownHeading() const
{
    return QCoreApplication::translate("Tests", heading);
}

QStringList shownColumns(const QStringList& names)
{
    QStringList shown;
    for (const QString& name : names)
        shown.append(QCoreApplication::translate("Columns", name.toUtf8().constData()));
    return shown;
}

const TestDef& testDef(TestKind kind)
{
    return kTests.at(static_cast<std::size_t>(kind));
}

QStringList recordFiles()
{
    QStringList files;
    for (const TestKind kind : kFileOrder)
        files.append(testDef(kind).file());
    return files;
}

const TestDef* findTest(QStringView testId)
{
    for (const TestDef& test : kTests) {
        if (testId == QLatin1String(test.testId))
            return &test;
    }
    return nullptr;
}

QString recordLine(const TestDef& test, const Record& r)
{
    QStringList fields{store::formatDate(r.day)};
    switch (test.kind) {
    case TestKind::Panel:
        fields << store::levelLabel(r.level) << store::mark(r.right);
        break;
    case TestKind::LR:
    case TestKind::NMemory:
        fields << store::levelLabel(r.level) << store::mark(r.right) << r.answer << r.typed;
        break;
    case TestKind::Stop:
        fields << store::levelLabel(r.level) << store::targetText(r.target)
               << store::formatStopTime(r.time) << store::formatDifference(r.time - r.target);
        break;
    case TestKind::Reflex:
        fields << (r.falseStart ? QStringLiteral("フライング") : store::formatTime(r.time));
        break;
    case TestKind::Box:
        fields << store::mark(r.right) << store::formatTime(r.time) << QString::number(r.count)
               << r.typed;
        break;
    case TestKind::Shape:
        fields << store::mark(r.right) << shapeClockText(shapeClockAt(r.time));
        break;
    }
    return fields.join(u',');
}

int questionPoints(const TestDef& test, const Record& r)
{
    constexpr int kRightPoints = 50;
    constexpr int kPerPosition = 10;
    constexpr int kReflexPoints = 50;
    constexpr int kBoxPoints = 400;
    const int right = r.right ? kRightPoints : 0;
    switch (test.kind) {
    case TestKind::Panel:
        return kPerPosition * r.matches + right;
    case TestKind::LR:
    case TestKind::NMemory:
        return kPerPosition * positionMatches(r.answer, r.typed) + right;
    case TestKind::Stop:
        return stopPoints(r.time, r.target);
    case TestKind::Reflex:
        return r.falseStart ? 0 : kReflexPoints - r.time;
    case TestKind::Box:
        return r.right ? kBoxPoints - r.time : 0;
    case TestKind::Shape:
        return r.right ? shapePoints(shapeClockAt(r.time)) : 0;
    }
    return 0;
}

int positionMatches(const QString& right, const QString& answer)
{
    const QByteArray expected = cp932::encode(right);
    const QByteArray typed = cp932::encode(answer);
    int matches = 0;
    for (qsizetype i = 0; i < expected.size() && i < typed.size(); ++i) {
        if (expected.at(i) == typed.at(i))
            ++matches;
    }
    return matches;
}

} // namespace qx
