// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/ranking.h"

#include "rules/error.h"
#include "rules/textcodec.h"

#include <QCoreApplication>

#include <algorithm>
#include <limits>

using namespace qx;

QStringList qx::rankingColumns()
{
    return {QCoreApplication::translate("Columns", "日付"),
            QCoreApplication::translate("Columns", "点数"),
            QCoreApplication::translate("Columns", "名前")};
}

namespace {

// Only the fields an entry keeps are split: a damaged line of millions of
// fields costs no more than three.
store::Lines threeFields(const QByteArray& line)
{
    store::Lines fields;
    store::CommaFields reader(line);
    while (fields.size() < kRankingFields) {
        std::optional<QByteArray> field = reader.next();
        if (!field)
            break;
        fields.append(std::move(*field));
    }
    while (fields.size() < kRankingFields)
        fields.append(QByteArray());
    return fields;
}

// A decimal integer of the 32-bit range with an optional sign.
qint64 parseScore(const QByteArray& field)
{
    const Error notInteger(QCoreApplication::translate("Records", "'%1' は整数ではありません")
                               .arg(cp932::decodeShown(field)));
    qsizetype pos = 0;
    const bool negative = field.startsWith('-');
    if (negative || field.startsWith('+'))
        pos = 1;
    if (pos == field.size())
        throw notInteger;
    qint64 value = 0;
    for (; pos < field.size(); ++pos) {
        const char c = field.at(pos);
        if (c < '0' || c > '9')
            throw notInteger;
        value = value * 10 + (c - '0');
        if (value > qint64(std::numeric_limits<int>::max()) + 1)
            throw notInteger;
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<int>::max())
        throw notInteger;
    return value;
}

} // namespace

RankingEntries qx::rankingEntries(const store::Lines& lines)
{
    RankingEntries entries;
    for (const QByteArray& line : lines.mid(0, kRankingSize))
        entries.append(threeFields(line));
    return entries;
}

Ranking qx::rankScore(const RankingEntries& entries, int score, const QByteArray& newLine)
{
    RankingEntries table = entries.mid(0, kRankingSize);
    // Scores are read only as far as the comparison goes: an entry below the
    // new score's place is moved down as it is, damaged or not.
    qsizetype place = 0;
    while (place < table.size() && score < parseScore(table.at(place).value(1)))
        ++place;
    if (place == kRankingSize)
        return {0, table, false};
    table.insert(place, threeFields(newLine));
    table.resize(std::min<qsizetype>(table.size(), kRankingSize));
    return {static_cast<int>(place) + 1, table, true};
}
