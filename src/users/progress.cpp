#include "users/progress.h"

#include "platform/textcodec.h"

#include <QRegularExpression>

#include <algorithm>
#include <map>

namespace qx::progress {

namespace {

const QString kRight = QStringLiteral("○");
const QString kWrong = QStringLiteral("×");

std::optional<QDate> dateOf(const QString& text)
{
    const QDate day = QDate::fromString(text, QStringLiteral("yyyy/MM/dd"));
    if (!day.isValid() || text.size() != 10)
        return std::nullopt;
    return day;
}

std::optional<int> levelOf(const QString& text)
{
    static const QRegularExpression label(QStringLiteral("^レベル([1-9]|10)$"));
    const QRegularExpressionMatch match = label.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toInt();
}

std::optional<bool> markOf(const QString& text)
{
    if (text == kRight)
        return true;
    if (text == kWrong)
        return false;
    return std::nullopt;
}

// "00:12:34" (Reflex, box; wider seconds past 100 s) or "00:12:3" (shape,
// tenths) in hundredths.
std::optional<int> clockOf(const QString& text, bool tenths)
{
    static const QRegularExpression hundredths(QStringLiteral("^(\\d{2}):(\\d{2,6}):(\\d{2})$"));
    static const QRegularExpression shape(QStringLiteral("^(\\d{2,6}):(\\d{2}):(\\d)$"));
    const QRegularExpressionMatch m = (tenths ? shape : hundredths).match(text);
    if (!m.hasMatch())
        return std::nullopt;
    if (tenths)
        return (m.captured(1).toInt() * 60 + m.captured(2).toInt()) * 100 +
               m.captured(3).toInt() * 10;
    return (m.captured(1).toInt() * 60 + m.captured(2).toInt()) * 100 + m.captured(3).toInt();
}

// The stop difference, "+00:07", "-01:23" or "00:00", as a distance.
std::optional<int> distanceOf(const QString& text)
{
    static const QRegularExpression difference(QStringLiteral("^[+-]?(\\d{2,6}):(\\d{2})$"));
    const QRegularExpressionMatch m = difference.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1).toInt() * 100 + m.captured(2).toInt();
}

std::optional<Result> resultOf(Measure measure, const QString& testId, const QStringList& f)
{
    if (f.isEmpty())
        return std::nullopt;
    const std::optional<QDate> day = dateOf(f.at(0));
    if (!day)
        return std::nullopt;
    Result result;
    result.day = *day;
    if (testId == QLatin1String("Reflex")) {
        if (f.value(1) == QStringLiteral("フライング")) {
            result.falseStart = true;
            return result;
        }
        result.hundredths = clockOf(f.value(1), false);
        result.right = result.hundredths.has_value();
        return result.hundredths ? std::optional<Result>(result) : std::nullopt;
    }
    if (measure == Measure::Time) {
        const std::optional<bool> right = markOf(f.value(1));
        const std::optional<int> time = clockOf(f.value(2), testId == QLatin1String("shape"));
        if (!right || !time)
            return std::nullopt;
        result.right = *right;
        if (*right)
            result.hundredths = time;
        return result;
    }
    const std::optional<int> level = levelOf(f.value(1));
    if (!level)
        return std::nullopt;
    result.level = *level;
    if (measure == Measure::Distance) {
        const std::optional<int> distance = distanceOf(f.value(4));
        if (!distance)
            return std::nullopt;
        result.hundredths = distance;
        result.right = *distance == 0;
        return result;
    }
    const std::optional<bool> right = markOf(f.value(2));
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

Measure measureOf(const QString& testId)
{
    if (testId == QLatin1String("stop"))
        return Measure::Distance;
    if (testId == QLatin1String("Reflex") || testId == QLatin1String("box") ||
        testId == QLatin1String("shape"))
        return Measure::Time;
    return Measure::Accuracy;
}

Results readResults(const QString& testId, const store::Lines& lines)
{
    const Measure measure = measureOf(testId);
    Results read;
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        if (line->isEmpty())
            continue;
        QStringList fields;
        for (const QByteArray& field : store::splitCommaText(*line))
            fields.append(cp932::decode(field));
        if (const std::optional<Result> result = resultOf(measure, testId, fields))
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
    return QStringLiteral("%1.%2 秒")
        .arg(hundredths / 100)
        .arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

} // namespace qx::progress
