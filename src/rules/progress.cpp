// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/progress.h"

#include "rules/textcodec.h"

#include <QCoreApplication>

#include <algorithm>
#include <limits>
#include <map>

namespace qx::progress {

namespace {

// Fields are read as the file's bytes: a file of years of play opens at once
// when no field is decoded or matched by a pattern.
struct Words {
    QByteArray right = cp932::encode(QStringLiteral("○"));
    QByteArray wrong = cp932::encode(QStringLiteral("×"));
    QByteArray level = cp932::encode(QStringLiteral("レベル"));
    QByteArray falseStart = cp932::encode(QStringLiteral("フライング"));
};

const Words& words()
{
    static const Words w;
    return w;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Decimal digits only, at most six of them.
std::optional<int> numberOf(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > 6)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (!isDigit(c))
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// "2026/12/08", a day that exists.
std::optional<QDate> dateOf(QByteArrayView text)
{
    if (text.size() != 10 || text[4] != '/' || text[7] != '/')
        return std::nullopt;
    const std::optional<int> year = numberOf(text.first(4));
    const std::optional<int> month = numberOf(text.sliced(5, 2));
    const std::optional<int> day = numberOf(text.sliced(8, 2));
    if (!year || !month || !day || !QDate::isValid(*year, *month, *day))
        return std::nullopt;
    return QDate(*year, *month, *day);
}

std::optional<int> levelOf(QByteArrayView text)
{
    if (!text.startsWith(words().level))
        return std::nullopt;
    const QByteArrayView digits = text.sliced(words().level.size());
    if (digits.startsWith('0'))
        return std::nullopt;
    const std::optional<int> level = numberOf(digits);
    if (!level || *level < 1 || *level > 10)
        return std::nullopt;
    return level;
}

std::optional<bool> markOf(QByteArrayView text)
{
    if (text == words().right)
        return true;
    if (text == words().wrong)
        return false;
    return std::nullopt;
}

// Splits "a:b:c" into its parts, each of digits only. A width of 0 allows
// two to six digits (minutes or seconds that grew past their two).
std::optional<std::vector<int>> partsOf(QByteArrayView text, const std::vector<int>& widths)
{
    std::vector<int> parts;
    qsizetype from = 0;
    for (std::size_t index = 0; index < widths.size(); ++index) {
        qsizetype to = text.indexOf(':', from);
        const bool last = index + 1 == widths.size();
        if (last != (to < 0))
            return std::nullopt;
        if (last)
            to = text.size();
        const QByteArrayView part = text.sliced(from, to - from);
        const int width = widths[index];
        if ((width > 0 && part.size() != width) || (width == 0 && part.size() < 2))
            return std::nullopt;
        const std::optional<int> value = numberOf(part);
        if (!value)
            return std::nullopt;
        parts.push_back(*value);
        from = to + 1;
    }
    return parts;
}

// The longest time or distance a line may hold: far more than any question
// lasts, and small enough that two of them add up without overflow when a
// median is taken. A line past it is damaged.
constexpr qint64 kLongestHundredths = std::numeric_limits<int>::max() / 2;

std::optional<int> inRange(qint64 hundredths)
{
    if (hundredths > kLongestHundredths)
        return std::nullopt;
    return static_cast<int>(hundredths);
}

// "00:12:34" (Reflex, box; wider seconds past 100 s) or "00:12:3" (shape,
// tenths) in hundredths.
std::optional<int> clockOf(QByteArrayView text, bool tenths)
{
    const std::optional<std::vector<int>> p =
        tenths ? partsOf(text, {0, 2, 1}) : partsOf(text, {2, 0, 2});
    if (!p)
        return std::nullopt;
    const std::vector<int>& v = *p;
    return inRange((qint64(v[0]) * 60 + v[1]) * 100 + (tenths ? v[2] * 10 : v[2]));
}

// The stop difference, "+00:07", "-01:23" or "00:00", as a distance.
std::optional<int> distanceOf(QByteArrayView text)
{
    if (text.startsWith('+') || text.startsWith('-'))
        text = text.sliced(1);
    const std::optional<std::vector<int>> p = partsOf(text, {0, 2});
    if (!p)
        return std::nullopt;
    return inRange(qint64((*p)[0]) * 100 + (*p)[1]);
}

// The most fields a test's line is read for; a line may hold more, which are
// left unread.
constexpr qsizetype kFieldsRead = 5;
// Longer than any field that reads as a result, so that a field cut to it
// never passes for one.
constexpr qsizetype kFieldBytesRead = 32;

std::optional<Result> resultOf(const TestDef& test, const QByteArray& line)
{
    store::CommaFields reader(line, kFieldBytesRead);
    store::Lines f;
    while (f.size() < kFieldsRead) {
        std::optional<QByteArray> field = reader.next();
        if (!field)
            break;
        f.append(std::move(*field));
    }
    if (f.isEmpty())
        return std::nullopt;
    const std::optional<QDate> day = dateOf(f.at(0));
    if (!day)
        return std::nullopt;
    const auto at = [&f](qsizetype i) {
        return i < f.size() ? QByteArrayView(f.at(i)) : QByteArrayView();
    };
    Result result;
    result.day = *day;
    if (test.kind == TestKind::Reflex) {
        if (at(1) == words().falseStart) {
            result.falseStart = true;
            return result;
        }
        result.hundredths = clockOf(at(1), false);
        result.right = result.hundredths.has_value();
        return result.hundredths ? std::optional<Result>(result) : std::nullopt;
    }
    if (test.measure == Measure::Time) {
        const std::optional<bool> right = markOf(at(1));
        const std::optional<int> time = clockOf(at(2), test.kind == TestKind::Shape);
        if (!right || !time)
            return std::nullopt;
        result.right = *right;
        if (*right)
            result.hundredths = time;
        return result;
    }
    const std::optional<int> level = levelOf(at(1));
    if (!level)
        return std::nullopt;
    result.level = *level;
    if (test.measure == Measure::Distance) {
        const std::optional<int> distance = distanceOf(at(4));
        if (!distance)
            return std::nullopt;
        result.hundredths = distance;
        result.right = *distance == 0;
        return result;
    }
    const std::optional<bool> right = markOf(at(2));
    if (!right)
        return std::nullopt;
    result.right = *right;
    return result;
}

std::optional<int> medianOf(std::vector<int> values)
{
    if (values.empty())
        return std::nullopt;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    if (values.size() % 2 == 1)
        return values[middle];
    // Halves round up, so that a median of times never flatters.
    return (values[middle - 1] + values[middle] + 1) / 2;
}

} // namespace

Results readResults(const TestDef& test, const store::Lines& lines)
{
    Results read;
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        if (line->isEmpty())
            continue;
        if (const std::optional<Result> result = resultOf(test, *line))
            read.results.push_back(*result);
        else
            ++read.damaged;
    }
    return read;
}

std::vector<Day> byDay(const std::vector<Result>& results)
{
    std::map<QDate, std::vector<const Result*>> days;
    for (const Result& result : results)
        days[result.day].push_back(&result);
    std::vector<Day> figures;
    for (const auto& [date, played] : days) {
        Day day;
        day.day = date;
        day.results = static_cast<int>(played.size());
        int right = 0;
        int levels = 0;
        std::vector<int> values;
        for (const Result* result : played) {
            right += result->right ? 1 : 0;
            levels += result->level;
            day.falseStarts += result->falseStart ? 1 : 0;
            if (result->hundredths)
                values.push_back(*result->hundredths);
        }
        day.rightShare = static_cast<double>(right) / day.results;
        day.level = static_cast<double>(levels) / day.results;
        day.median = medianOf(values);
        if (!values.empty())
            day.best = *std::min_element(values.begin(), values.end());
        figures.push_back(day);
    }
    return figures;
}

Summary summarize(Measure measure, const std::vector<Result>& results, QDate today)
{
    Summary summary;
    summary.results = static_cast<int>(results.size());
    std::vector<int> values;
    std::vector<int> levels;
    std::optional<int> bestLevel;
    int run = 0;
    for (const Result& result : results) {
        summary.falseStarts += result.falseStart ? 1 : 0;
        run = result.right ? run + 1 : 0;
        summary.longestRightRun = std::max(summary.longestRightRun, run);
        if (result.hundredths)
            values.push_back(*result.hundredths);
        if (result.level > 0)
            levels.push_back(result.level);
        if (result.right && result.level > 0)
            bestLevel = std::max(bestLevel.value_or(0), result.level);
    }
    if (measure == Measure::Accuracy) {
        summary.best = bestLevel;
        summary.median = medianOf(levels);
    } else {
        if (!values.empty())
            summary.best = *std::min_element(values.begin(), values.end());
        summary.median = medianOf(values);
    }
    // Days 0..6 before today are the last seven; days 7..36 the thirty before.
    const auto window = [&](qint64 from, qint64 to) -> std::optional<int> {
        int right = 0;
        int count = 0;
        std::vector<int> inWindow;
        for (const Result& result : results) {
            const qint64 age = result.day.daysTo(today);
            if (age < from || age > to)
                continue;
            ++count;
            right += result.right ? 1 : 0;
            if (result.hundredths)
                inWindow.push_back(*result.hundredths);
        }
        if (measure == Measure::Accuracy)
            return count == 0 ? std::nullopt
                              : std::optional<int>((100 * right + count / 2) / count);
        return medianOf(inWindow);
    };
    summary.last7 = window(0, 6);
    summary.previous30 = window(7, 36);
    return summary;
}

QString secondsText(int hundredths)
{
    return QCoreApplication::translate("Progress", "%1.%2 秒")
        .arg(hundredths / 100)
        .arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

} // namespace qx::progress
