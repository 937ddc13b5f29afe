// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/progress.h"

#include "rules/textcodec.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstdint>
#include <cstring>
#include <exception>
#include <limits>
#include <thread>

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

// Decimal digits only, at most six of them; -1 for anything else. Read for
// every field of millions of lines, so kept small enough to be inlined.
constexpr int kNoNumber = -1;

int numberOf(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > 6)
        return kNoNumber;
    int value = 0;
    for (const char c : text) {
        if (!isDigit(c))
            return kNoNumber;
        value = value * 10 + (c - '0');
    }
    return value;
}

// "2026/12/08", a day that exists.
std::optional<QDate> dateOf(QByteArrayView text)
{
    if (text.size() != 10 || text[4] != '/' || text[7] != '/')
        return std::nullopt;
    const int year = numberOf(text.first(4));
    const int month = numberOf(text.sliced(5, 2));
    const int day = numberOf(text.sliced(8, 2));
    if (year == kNoNumber || month == kNoNumber || day == kNoNumber ||
        !QDate::isValid(year, month, day))
        return std::nullopt;
    return QDate(year, month, day);
}

// Whether text starts with start, compared in line: the words are a few bytes.
bool startsWith(QByteArrayView text, QByteArrayView start)
{
    return text.size() >= start.size() && std::equal(start.begin(), start.end(), text.begin());
}

bool same(QByteArrayView text, QByteArrayView word)
{
    return text.size() == word.size() && startsWith(text, word);
}

std::optional<int> levelOf(QByteArrayView text, const Words& w)
{
    const QByteArray& word = w.level;
    if (!startsWith(text, word))
        return std::nullopt;
    const QByteArrayView digits = text.sliced(word.size());
    if (digits.startsWith('0'))
        return std::nullopt;
    const int level = numberOf(digits);
    if (level < 1 || level > 10)
        return std::nullopt;
    return level;
}

std::optional<bool> markOf(QByteArrayView text, const Words& w)
{
    if (same(text, w.right))
        return true;
    if (same(text, w.wrong))
        return false;
    return std::nullopt;
}

// Splits "a:b:c" into its parts, each of digits only. A width of 0 allows
// two to six digits (minutes or seconds that grew past their two).
// The parts go into `parts`; false when text is not so.
template <std::size_t N>
bool partsOf(QByteArrayView text, const std::array<int, N>& widths, std::array<int, N>& parts)
{
    qsizetype from = 0;
    for (std::size_t index = 0; index < N; ++index) {
        qsizetype to = std::find(text.begin() + from, text.end(), ':') - text.begin();
        if (to == text.size())
            to = -1;
        const bool last = index + 1 == N;
        if (last != (to < 0))
            return false;
        if (last)
            to = text.size();
        const QByteArrayView part = text.sliced(from, to - from);
        const int width = widths[index];
        if ((width > 0 && part.size() != width) || (width == 0 && part.size() < 2))
            return false;
        const int value = numberOf(part);
        if (value == kNoNumber)
            return false;
        parts[index] = value;
        from = to + 1;
    }
    return true;
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
    std::array<int, 3> v{};
    if (!(tenths ? partsOf<3>(text, {0, 2, 1}, v) : partsOf<3>(text, {2, 0, 2}, v)))
        return std::nullopt;
    return inRange((qint64(v[0]) * 60 + v[1]) * 100 + (tenths ? v[2] * 10 : v[2]));
}

// The stop difference, "+00:07", "-01:23" or "00:00", as a distance.
std::optional<int> distanceOf(QByteArrayView text)
{
    if (text.startsWith('+') || text.startsWith('-'))
        text = text.sliced(1);
    std::array<int, 2> p{};
    if (!partsOf<2>(text, {0, 2}, p))
        return std::nullopt;
    return inRange(qint64(p[0]) * 100 + p[1]);
}

// The day of the line before, by its bytes: the lines of a day follow each
// other, and a file of millions of lines holds only thousands of days. The
// ten bytes are compared as two numbers, which takes no call.
struct LastDay {
    quint64 head = 0;
    quint16 tail = 0;
    std::optional<qint32> julianDay;
    bool known = false;
};

std::optional<qint32> julianDayOf(QByteArrayView text)
{
    const std::optional<QDate> day = dateOf(text);
    // Four digits of year keep every day within 32 bits.
    return day ? std::optional<qint32>(static_cast<qint32>(day->toJulianDay())) : std::nullopt;
}

std::optional<qint32> julianDayOf(QByteArrayView text, LastDay& last)
{
    if (text.size() != 10)
        return julianDayOf(text);
    quint64 head = 0;
    quint16 tail = 0;
    std::memcpy(&head, text.data(), sizeof head);
    std::memcpy(&tail, text.data() + sizeof head, sizeof tail);
    if (!last.known || head != last.head || tail != last.tail) {
        last.head = head;
        last.tail = tail;
        last.julianDay = julianDayOf(text);
        last.known = true;
    }
    return last.julianDay;
}

// The most fields a test's line is read for; a line may hold more, which are
// left unread.
constexpr qsizetype kFieldsRead = 5;
// Longer than any field that reads as a result, so that a field cut to it
// never passes for one.
constexpr qsizetype kFieldBytesRead = 32;

using Fields = std::array<QByteArrayView, kFieldsRead>;

// Whether the fields make a result of the test, which goes into result. The
// result is filled where it is kept: a reader of millions of lines copies
// none.
bool resultOf(const TestDef& test, const Fields& f, qsizetype count, LastDay& lastDay,
              Result& result)
{
    if (count == 0)
        return false;
    const std::optional<qint32> day = julianDayOf(f[0], lastDay);
    if (!day)
        return false;
    const auto at = [&f, count](qsizetype i) {
        return i < count ? f[static_cast<std::size_t>(i)] : QByteArrayView();
    };
    const Words& w = words();
    result = Result{};
    result.julianDay = *day;
    if (test.kind == TestKind::Reflex) {
        if (same(at(1), w.falseStart)) {
            result.falseStart = true;
            return true;
        }
        const std::optional<int> time = clockOf(at(1), false);
        if (!time)
            return false;
        result.measured = *time;
        result.right = true;
        return true;
    }
    if (test.measure == Measure::Time) {
        const std::optional<bool> right = markOf(at(1), w);
        const std::optional<int> time = clockOf(at(2), test.kind == TestKind::Shape);
        if (!right || !time)
            return false;
        result.right = *right;
        if (*right)
            result.measured = *time;
        return true;
    }
    const std::optional<int> level = levelOf(at(1), w);
    if (!level)
        return false;
    result.level = static_cast<qint8>(*level);
    if (test.measure == Measure::Distance) {
        const std::optional<int> distance = distanceOf(at(4));
        if (!distance)
            return false;
        result.measured = *distance;
        result.right = *distance == 0;
        return true;
    }
    const std::optional<bool> right = markOf(at(2), w);
    if (!right)
        return false;
    result.right = *right;
    return true;
}

// The fields from the reader's place on, after the count of f read so far;
// how many f then holds. A quoted field, which the game never writes, is
// read as a copy into copies.
qsizetype fieldsOf(store::CommaFields& reader, Fields& f, qsizetype count,
                   std::array<QByteArray, kFieldsRead>& copies)
{
    count += reader.nextPlain(f.data() + count, kFieldsRead - count);
    if (count == kFieldsRead || !reader.atQuote())
        return count;
    while (count < kFieldsRead) {
        std::optional<QByteArray> field = reader.next();
        if (!field)
            break;
        const auto index = static_cast<std::size_t>(count++);
        copies[index] = std::move(*field);
        f[index] = copies[index];
    }
    return count;
}

// What the fields after a line's day make of a result, by their bytes: a
// player's lines end in a few hundred ways over years of play, and each way
// is read once. Its slots go two to a hash, the newest first.
class Endings {
public:
    // Slots for the endings of `bytes` of lines at the most: a file of a
    // few lines takes a few.
    explicit Endings(qsizetype bytes)
        : m_slots(std::bit_ceil(
              std::clamp<std::size_t>(static_cast<std::size_t>(bytes) / 64, 2, kMostSlots)))
    {
    }

    // Whether the ending makes a result, which goes into result but for its
    // day: known, or readFields(result) once and kept.
    template <typename ReadFields>
    bool read(QByteArrayView ending, Result& result, ReadFields&& readFields)
    {
        if (ending.size() > kLongest)
            return readFields(result);
        const std::uint32_t hash = hashOf(ending);
        // The number of slots is a power of two.
        Slot* pair = &m_slots[(hash & (m_slots.size() / 2 - 1)) * 2];
        for (Slot* slot = pair; slot != pair + 2; ++slot) {
            if (slot->hash == hash && slot->size == ending.size() + 1 &&
                std::memcmp(slot->bytes.data(), ending.data(),
                            static_cast<std::size_t>(ending.size())) == 0) {
                result = slot->result;
                return slot->read;
            }
        }
        pair[1] = pair[0];
        Slot& slot = pair[0];
        slot.hash = hash;
        slot.size = static_cast<quint8>(ending.size() + 1);
        std::memcpy(slot.bytes.data(), ending.data(), static_cast<std::size_t>(ending.size()));
        slot.read = readFields(result);
        slot.result = result;
        return slot.read;
    }

private:
    // Longer than any ending the game writes: a slot takes a cache line, and
    // the slots of a few thousand endings stay in the processor's cache.
    static constexpr qsizetype kLongest = 44;
    static constexpr std::size_t kMostSlots = 4096;

    struct Slot {
        std::uint32_t hash = 0;
        bool read = false;
        quint8 size = 0; // the ending's and one; none for a slot not yet used
        Result result;
        std::array<char, kLongest> bytes{};
    };
    static_assert(sizeof(Slot) == 64);

    static std::uint32_t hashOf(QByteArrayView bytes)
    {
        std::uint64_t hash = static_cast<std::uint64_t>(bytes.size());
        const auto mix = [&hash](std::uint64_t word) {
            hash = (hash ^ word) * 0x9E3779B97F4A7C15;
            hash ^= hash >> 29;
        };
        qsizetype at = 0;
        for (; at + 8 <= bytes.size(); at += 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, bytes.data() + at, sizeof word);
            mix(word);
        }
        std::uint64_t rest = 0;
        for (; at < bytes.size(); ++at)
            rest = (rest << 8) | static_cast<unsigned char>(bytes[at]);
        mix(rest);
        return static_cast<std::uint32_t>(hash);
    }

    std::vector<Slot> m_slots;
};

bool resultOf(const TestDef& test, QByteArrayView line, LastDay& lastDay, Endings& endings,
              Result& result)
{
    // The fields are views of the line.
    store::CommaFields reader(line, kFieldBytesRead);
    Fields f;
    if (reader.nextPlain(f.data(), 1) == 0) {
        std::array<QByteArray, kFieldsRead> copies;
        const qsizetype count = fieldsOf(reader, f, 0, copies);
        return resultOf(test, f, count, lastDay, result);
    }
    const std::optional<qint32> day = julianDayOf(f[0], lastDay);
    if (!day)
        return false;
    const bool isResult = endings.read(line.sliced(reader.position()), result, [&](Result& fresh) {
        std::array<QByteArray, kFieldsRead> copies;
        const qsizetype count = fieldsOf(reader, f, 1, copies);
        return resultOf(test, f, count, lastDay, fresh);
    });
    result.julianDay = *day;
    return isResult;
}

// The median of the values, which it may reorder.
std::optional<int> medianOf(std::vector<int>& values)
{
    if (values.empty())
        return std::nullopt;
    const std::size_t middle = values.size() / 2;
    int at = 0;
    int below = 0; // the largest of the lower half: the value before the middle
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    const auto range = static_cast<std::size_t>(qint64(*high) - *low + 1);
    if (range <= values.size()) {
        // Years of results of a few thousand different values are counted
        // rather than sorted: a pass over them instead of several.
        const int first = *low;
        std::vector<std::size_t> counts(range);
        for (const int value : values)
            ++counts[static_cast<std::size_t>(value - first)];
        std::size_t seen = 0;
        std::size_t index = 0;
        for (; seen + counts[index] <= middle; ++index)
            seen += counts[index];
        at = first + static_cast<int>(index);
        below = at;
        if (seen == middle && middle > 0) {
            do
                --index;
            while (counts[index] == 0);
            below = first + static_cast<int>(index);
        }
    } else {
        const auto it = values.begin() + static_cast<std::ptrdiff_t>(middle);
        std::nth_element(values.begin(), it, values.end());
        at = *it;
        if (values.size() % 2 == 0)
            below = *std::max_element(values.begin(), it);
    }
    if (values.size() % 2 == 1)
        return at;
    // Halves round up, so that a median of times never flatters.
    return (below + at + 1) / 2;
}

} // namespace

namespace {

// The results of the lines that start in [from, to) of the source, as the
// file keeps them: newest first.
Results readPart(const TestDef& test, const store::ByteSource& source, qsizetype from, qsizetype to,
                 Endings& endings)
{
    Results read;
    // Room for a result in every 16 bytes, more than lines of a result
    // take: the pages a part does not fill are never touched.
    const qsizetype bytes = (to < 0 ? source.size() : to) - from;
    read.results.reserve(static_cast<std::size_t>(std::max<qsizetype>(bytes / 16, 16)));
    store::LineReader lines(source, from, to);
    LastDay lastDay;
    QByteArrayView line;
    while (lines.next(line)) {
        Result& result = read.results.emplace_back();
        if (!resultOf(test, line, lastDay, endings, result)) {
            read.results.pop_back();
            ++read.damaged;
        }
    }
    return read;
}

// A part is no smaller than this: a smaller file is read in one part, on the
// calling thread.
constexpr qsizetype kBytesAPart = qsizetype(8) << 20;
// A large file is cut into this many parts a thread, and whichever thread is
// free reads the next: on a busy machine one thread may get less of the
// processor than another, and the others do not wait for it.
constexpr qsizetype kPartsAThread = 8;

// The results of a file read in parts: each part's as its lines stand in the
// file, newest first, and the parts in the file's order.
using Parts = std::vector<Results>;

Parts readParts(const TestDef& test, const store::ByteSource& source, qsizetype parts)
{
    const auto cores = static_cast<qsizetype>(std::max(1U, std::thread::hardware_concurrency()));
    if (parts <= 0)
        parts = std::clamp<qsizetype>(source.size() / kBytesAPart, 1, kPartsAThread * cores);
    const auto bound = [&](qsizetype part) { return source.size() * part / parts; };
    Parts read(static_cast<std::size_t>(parts));
    std::vector<std::exception_ptr> failures(read.size());
    std::atomic<qsizetype> nextPart{0};
    const auto readOn = [&] {
        // A thread's parts share what it has read of the lines' endings.
        std::optional<Endings> endings;
        for (qsizetype part = nextPart++; part < parts; part = nextPart++) {
            const auto k = static_cast<std::size_t>(part);
            try {
                if (!endings)
                    endings.emplace(source.size());
                // The last part reads on to where the file really ends.
                read[k] = readPart(test, source, bound(part),
                                   part + 1 == parts ? -1 : bound(part + 1), *endings);
            } catch (...) {
                failures[k] = std::current_exception();
            }
        }
    };
    std::vector<std::thread> threads;
    for (qsizetype t = 1; t < std::min(parts, cores); ++t)
        threads.emplace_back(readOn);
    readOn();
    for (std::thread& thread : threads)
        thread.join();
    for (const std::exception_ptr& failure : failures) {
        if (failure)
            std::rethrow_exception(failure);
    }
    return read;
}

std::size_t countIn(const Parts& parts)
{
    std::size_t count = 0;
    for (const Results& part : parts)
        count += part.results.size();
    return count;
}

int damagedIn(const Parts& parts)
{
    int damaged = 0;
    for (const Results& part : parts)
        damaged += part.damaged;
    return damaged;
}

// Calls visit with every result of the parts as played, oldest first: they
// are gone through where they are, never gathered into one list.
template <typename Visit> void forEachPlayed(const Parts& parts, Visit&& visit)
{
    for (auto part = parts.rbegin(); part != parts.rend(); ++part) {
        for (auto result = part->results.rbegin(); result != part->results.rend(); ++result)
            visit(*result);
    }
}

Results gathered(const Parts& parts)
{
    Results all;
    all.results.reserve(countIn(parts));
    forEachPlayed(parts, [&](const Result& result) { all.results.push_back(result); });
    all.damaged = damagedIn(parts);
    return all;
}

} // namespace

Results readResults(const TestDef& test, QByteArrayView bytes, qsizetype parts)
{
    return gathered(readParts(test, store::ByteSource(bytes), parts));
}

Results readResultFile(const TestDef& test, const QString& path)
{
    return gathered(readParts(test, store::ByteSource(path), 0));
}

namespace {

// The figures of each day of the results that forEach() goes through in the
// order of their days.
template <typename ForEach> std::vector<Day> daysInOrder(ForEach&& forEach)
{
    std::vector<Day> figures;
    std::vector<int> values;
    Day day;
    int right = 0;
    int levels = 0;
    qint32 julianDay = 0;
    const auto close = [&] {
        day.day = QDate::fromJulianDay(julianDay);
        day.rightShare = static_cast<double>(right) / day.results;
        day.level = static_cast<double>(levels) / day.results;
        if (!values.empty())
            day.best = *std::min_element(values.begin(), values.end());
        day.median = medianOf(values);
        figures.push_back(day);
    };
    forEach([&](const Result& result) {
        if (day.results == 0 || result.julianDay != julianDay) {
            if (day.results > 0)
                close();
            day = Day{};
            right = 0;
            levels = 0;
            values.clear();
            julianDay = result.julianDay;
        }
        ++day.results;
        right += result.right ? 1 : 0;
        levels += result.level;
        day.falseStarts += result.falseStart ? 1 : 0;
        if (result.measured != Result::kNone)
            values.push_back(result.measured);
    });
    if (day.results > 0)
        close();
    return figures;
}

// The figures of each day of the results that forEach() goes through as
// played: a clock put back leaves some out of the order of their days.
template <typename ForEach> std::vector<Day> daysOf(ForEach&& forEach)
{
    bool inOrder = true;
    qint32 last = std::numeric_limits<qint32>::min();
    forEach([&](const Result& result) {
        inOrder = inOrder && result.julianDay >= last;
        last = result.julianDay;
    });
    if (inOrder)
        return daysInOrder(forEach);
    std::vector<const Result*> ordered;
    forEach([&](const Result& result) { ordered.push_back(&result); });
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const Result* a, const Result* b) { return a->julianDay < b->julianDay; });
    return daysInOrder([&](auto&& visit) {
        for (const Result* result : ordered)
            visit(*result);
    });
}

// The summary of the count results that forEach() goes through as played.
template <typename ForEach>
Summary summaryOf(Measure measure, ForEach&& forEach, std::size_t count, QDate today)
{
    Summary summary;
    summary.results = static_cast<int>(count);
    // The levels make the figures of Accuracy, the times or distances those
    // of the others.
    const bool byLevel = measure == Measure::Accuracy;
    std::vector<int> values;
    values.reserve(count);
    std::optional<int> bestLevel;
    std::optional<int> bestValue;
    int run = 0;
    // Days 0..6 before today are the last seven; days 7..36 the thirty
    // before. Everything is found in one pass over the results.
    struct Window {
        int right = 0;
        int count = 0;
        std::vector<int> values;
    };
    std::array<Window, 2> windows;
    const qint64 todayJd = today.toJulianDay();
    forEach([&](const Result& result) {
        summary.falseStarts += result.falseStart ? 1 : 0;
        run = result.right ? run + 1 : 0;
        summary.longestRightRun = std::max(summary.longestRightRun, run);
        const bool measured = result.measured != Result::kNone;
        if (byLevel ? result.level > 0 : measured)
            values.push_back(byLevel ? result.level : result.measured);
        if (measured)
            bestValue = std::min(bestValue.value_or(result.measured), result.measured);
        if (result.right && result.level > 0)
            bestLevel = std::max(bestLevel.value_or(0), int{result.level});
        const qint64 age = todayJd - result.julianDay;
        if (age < 0 || age > 36)
            return;
        Window& window = windows[age < 7 ? 0 : 1];
        ++window.count;
        window.right += result.right ? 1 : 0;
        if (measured)
            window.values.push_back(result.measured);
    });
    summary.best = byLevel ? bestLevel : bestValue;
    summary.median = medianOf(values);
    const auto figure = [&](Window& window) -> std::optional<int> {
        if (measure == Measure::Accuracy)
            return window.count == 0
                       ? std::nullopt
                       : std::optional<int>((100 * window.right + window.count / 2) / window.count);
        return medianOf(window.values);
    };
    summary.last7 = figure(windows[0]);
    summary.previous30 = figure(windows[1]);
    return summary;
}

// Goes through a list of results as played.
auto played(const std::vector<Result>& results)
{
    return [&results](auto&& visit) {
        for (const Result& result : results)
            visit(result);
    };
}

} // namespace

std::vector<Day> byDay(const std::vector<Result>& results)
{
    return daysOf(played(results));
}

Summary summarize(Measure measure, const std::vector<Result>& results, QDate today)
{
    return summaryOf(measure, played(results), results.size(), today);
}

Progress readProgress(const TestDef& test, const QString& path, QDate today)
{
    const Parts parts = readParts(test, store::ByteSource(path), 0);
    const auto inParts = [&parts](auto&& visit) { forEachPlayed(parts, visit); };
    Progress progress;
    progress.damaged = damagedIn(parts);
    // The days and the summary are worked out side by side.
    std::exception_ptr failure;
    std::thread days([&] {
        try {
            progress.days = daysOf(inParts);
        } catch (...) {
            failure = std::current_exception();
        }
    });
    progress.summary = summaryOf(test.measure, inParts, countIn(parts), today);
    days.join();
    if (failure)
        std::rethrow_exception(failure);
    return progress;
}

QString secondsText(int hundredths)
{
    return QCoreApplication::translate("Progress", "%1.%2 秒")
        .arg(hundredths / 100)
        .arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

} // namespace qx::progress
