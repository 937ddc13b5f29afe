// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The properties each fuzz target checks. The libFuzzer programs and the
// replay of the seed corpus in the ordinary test run share them, so a corpus
// file that once broke something keeps being checked by every build. Each
// returns nullptr when every property held, or what broke.

#include "app/commandline.h"
#include "art/picturefile.h"
#include "rules/ranking.h"
#include "platform/dispatch.h"
#include "rules/textcodec.h"
#include "rules/csvexport.h"
#include "rules/progress.h"
#include "rules/recordgrid.h"
#include "rules/store.h"

#include <QBuffer>
#include <QByteArray>
#include <QRegularExpression>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <array>
#include <cstring>
#include <limits>

namespace qxfuzz {

using qx::store::Lines;

// A field that ends in the first byte of a two-byte character takes the comma
// after it as its second byte, so it cannot be written in a way that reads
// back. Only a damaged file gives such a field, and only at the end of a line.
inline bool endsInHalfCharacter(const QByteArray& field)
{
    qsizetype pos = 0;
    while (pos < field.size()) {
        if (!qx::cp932::isLeadByte(static_cast<unsigned char>(field.at(pos))))
            ++pos;
        else if (pos + 1 == field.size())
            return true;
        else
            pos += 2;
    }
    return false;
}

inline bool anyEndsInHalfCharacter(const Lines& fields)
{
    return std::any_of(fields.begin(), fields.end(), endsInHalfCharacter);
}

// What reading written fields gives back: all of them but a trailing empty
// field, which the reading rule drops (a lone empty field is written "").
inline Lines readBack(Lines fields)
{
    if (fields.size() > 1 && fields.last().isEmpty())
        fields.removeLast();
    return fields;
}

inline bool survivesWriting(const Lines& fields)
{
    return qx::store::splitCommaText(qx::store::joinCommaText(fields)) == readBack(fields);
}

// Comma text: fields read from any line, and any fields at all (the input cut
// at its NUL bytes, which no field read from a line can hold), are written
// and read again.
inline const char* commaText(const QByteArray& input)
{
    const Lines read = qx::store::splitCommaText(input);
    if (std::any_of(read.begin(), read.end(), [](const QByteArray& f) { return f.contains('\0'); }))
        return "a field read from a line holds a NUL byte";
    if (!anyEndsInHalfCharacter(read) && !survivesWriting(read))
        return "fields read from a line change when written and read again";
    const Lines fields = input.split('\0');
    if (!anyEndsInHalfCharacter(fields) && !survivesWriting(fields))
        return "written fields do not read back";
    const QStringList texts = qx::store::splitCommaText(qx::cp932::decode(input));
    qx::store::joinCommaText(texts);
    return nullptr;
}

// The readers of record files: lines, the viewer's grid rows and the entries
// of the top ten.
inline const char* recordLines(const QByteArray& input)
{
    const Lines lines = qx::store::splitLines(input);
    for (const QByteArray& line : lines) {
        if (line.contains('\r') || line.contains('\n'))
            return "a line holds a line break";
    }
    if (qx::store::splitLines(qx::store::joinLines(lines)) != lines)
        return "lines change when saved and loaded again";
    const qx::store::LineIndex index(input);
    if (index.size() != lines.size())
        return "the viewer's index counts other lines";
    for (qsizetype i = 0; i < index.size(); ++i) {
        if (index.line(i) != lines.at(i))
            return "the viewer's index holds other lines";
    }
    for (const QByteArray& line : lines) {
        // Whole fields, and the screenful of each that the viewer keeps.
        for (const qsizetype fieldBytes :
             {std::numeric_limits<qsizetype>::max(), qx::cp932::kShownBytes}) {
            qx::GridRow row{};
            qx::fillRow(row, line, fieldBytes);
            // The fields of splitCommaText() one at a time: a line of
            // thousands of fields is checked without a list of them all.
            Lines expected;
            qx::store::CommaFields reader(line, fieldBytes);
            while (const std::optional<QByteArray> field = reader.next()) {
                if (!field->isEmpty() && expected.size() < qx::kGridColumns)
                    expected.append(*field);
                if (field->size() > fieldBytes)
                    return "a field is longer than it was cut to";
            }
            for (std::size_t cell = 0; cell < row.size(); ++cell) {
                const auto index = static_cast<qsizetype>(cell);
                if (row.at(cell) != expected.value(index))
                    return "a grid row does not hold the line's fields in order";
            }
        }
    }
    const qx::RankingEntries entries = qx::rankingEntries(lines);
    if (entries.size() > 10 || entries.size() != std::min<qsizetype>(lines.size(), 10))
        return "the top ten does not take the first ten lines";
    for (const Lines& entry : entries) {
        if (entry.size() != 3)
            return "an entry of the top ten does not have three fields";
    }
    return nullptr;
}

// Code page 932: any bytes decode, one character per valid code and one
// U+FFFD per invalid byte, and encode back to as many bytes; a second round
// trip changes nothing. Any UTF-16, lone surrogates included, encodes.
inline const char* cp932(const QByteArray& input)
{
    const QString text = qx::cp932::decode(input);
    const QByteArray bytes = qx::cp932::encode(text);
    const bool damaged = text.contains(QChar(QChar::ReplacementCharacter));
    if (bytes.size() != input.size())
        return "decoding and encoding again changed the length";
    if (qx::cp932::canEncode(text) == damaged)
        return "canEncode disagrees with the decoded text";
    if (!damaged && qx::cp932::decode(bytes) != text)
        return "a valid text changed characters in a round trip";
    if (qx::cp932::encode(qx::cp932::decode(bytes)) != bytes)
        return "a second round trip changed the bytes";
    QString any(input.size() / 2, Qt::Uninitialized);
    std::memcpy(any.data(), input.constData(), static_cast<std::size_t>(any.size()) * 2);
    const QByteArray anyBytes = qx::cp932::encode(any);
    if (qx::cp932::encode(qx::cp932::decode(anyBytes)) != anyBytes)
        return "encoded text changed in a round trip";
    return nullptr;
}

// The top ten: the first four bytes are the score, the first line after them
// is the new "date,score,name" line and the rest is the file.
inline const char* ranking(const QByteArray& input)
{
    if (input.size() < 4)
        return nullptr;
    qint32 score = 0;
    std::memcpy(&score, input.constData(), sizeof score);
    Lines lines = qx::store::splitLines(input.mid(4));
    const QByteArray newLine = lines.isEmpty() ? QByteArray() : lines.takeFirst();
    const qx::RankingEntries entries = qx::rankingEntries(lines);
    qx::Ranking ranking;
    try {
        ranking = qx::rankScore(entries, score, newLine);
    } catch (const qx::Error&) {
        return nullptr;
    }
    if (ranking.rank < 0 || ranking.rank > 10 || ranking.entries.size() > 10)
        return "the rank or the table is out of bounds";
    if (ranking.write != (ranking.rank > 0))
        return "a table is written without a rank, or a rank is not written";
    if (!ranking.write)
        return ranking.entries == entries ? nullptr : "a table the score did not enter changed";
    const qsizetype place = ranking.rank - 1;
    if (ranking.entries.at(place) != qx::rankingEntries({newLine}).constFirst())
        return "the new entry is not in its place";
    qx::RankingEntries others = ranking.entries;
    others.removeAt(place);
    if (others != entries.mid(0, others.size()))
        return "the other entries did not keep their order";
    for (qsizetype k = 0; k < place; ++k) {
        if (entries.at(k).at(1).toLongLong() <= score)
            return "the score went below an entry it reaches";
    }
    if (place < entries.size() && entries.at(place).at(1).toLongLong() > score)
        return "the score went above an entry it does not reach";
    Lines file;
    bool halves = false;
    for (const Lines& entry : ranking.entries) {
        file.append(qx::store::joinCommaText(entry));
        halves = halves || anyEndsInHalfCharacter(entry);
    }
    if (!halves &&
        qx::rankingEntries(qx::store::splitLines(qx::store::joinLines(file))) != ranking.entries)
        return "the written table does not read back";
    return nullptr;
}

// The progress reader: every line of any file is a result or damaged, the
// file read in parts that split it anywhere reads as it does whole and as its
// lines read one by one (each line's ending is read once for a file), and no
// result holds a level, a time or a figure out of range.
inline const char* progress(const QByteArray& input)
{
    const Lines lines = qx::store::splitLines(input);
    const auto played = std::count_if(lines.begin(), lines.end(),
                                      [](const QByteArray& line) { return !line.isEmpty(); });
    const auto same = [](const qx::progress::Results& a, const qx::progress::Results& b) {
        return a.damaged == b.damaged && a.results == b.results;
    };
    for (const qx::TestDef& test : qx::kTests) {
        const qx::progress::Results read = qx::progress::readResults(test, input, 1);
        if (static_cast<qsizetype>(read.results.size()) + read.damaged != played)
            return "a line is neither a result nor damaged";
        // Threads cost more than the test's own work: one test an input
        // is read in parts, as many as the input's size gives.
        if (&test == &qx::kTests[static_cast<std::size_t>(input.size()) % qx::kTests.size()]) {
            if (!same(read, qx::progress::readResults(test, input, 2 + input.size() % 3)))
                return "the file read in parts reads otherwise";
            qx::progress::Results alone;
            for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
                const qx::progress::Results one = qx::progress::readResults(test, *line, 1);
                alone.results.insert(alone.results.end(), one.results.begin(), one.results.end());
                alone.damaged += one.damaged;
            }
            if (!same(read, alone))
                return "the file reads otherwise than its lines one by one";
        }
        for (const qx::progress::Result& result : read.results) {
            if (result.level < 0 || result.level > 10 || result.hundredths().value_or(0) < 0)
                return "a result is out of range";
        }
        const qx::progress::Summary summary =
            qx::progress::summarize(test.measure, read.results, QDate(2026, 12, 8));
        if (summary.best.value_or(0) < 0 || summary.median.value_or(0) < 0 ||
            summary.last7.value_or(0) < 0 || summary.previous30.value_or(0) < 0)
            return "a figure came out negative";
        for (const qx::progress::Day& day : qx::progress::byDay(read.results)) {
            if (day.median.value_or(0) < 0 || day.best.value_or(0) < 0)
                return "a day's figure came out negative";
        }
    }
    return nullptr;
}

// One row of CSV read as a spreadsheet reads it (RFC 4180): cells split at
// commas outside quotes, a doubled quote inside quotes standing for one.
inline QStringList csvCells(const QString& row)
{
    QStringList cells{QString()};
    bool quoted = false;
    for (qsizetype i = 0; i < row.size(); ++i) {
        const QChar c = row.at(i);
        if (quoted && c == u'"' && i + 1 < row.size() && row.at(i + 1) == u'"') {
            cells.last().append(c);
            ++i;
        } else if (c == u'"') {
            quoted = !quoted;
        } else if (c == u',' && !quoted) {
            cells.append(QString());
        } else {
            cells.last().append(c);
        }
    }
    return cells;
}

// The CSV field writer: any text becomes one cell that reads back as the text,
// after an apostrophe exactly when the text would start a formula.
inline const char* csvField(const QByteArray& input)
{
    static const QRegularExpression plain(
        QRegularExpression::anchoredPattern(QStringLiteral("[+-]?[0-9]+([.:][0-9]+)*")));
    const QString text = QString::fromUtf8(input);
    const QStringList cells = csvCells(qx::csv::field(text));
    if (cells.size() != 1)
        return "a field became more than one cell";
    const bool formula = !text.isEmpty() && QStringLiteral("=+-@\t\r").contains(text.front()) &&
                         !plain.match(text).hasMatch();
    if (cells.first() != (formula ? QLatin1Char('\'') + text : text))
        return "a cell does not read back as its text, guarded where it starts a formula";
    return nullptr;
}

// A test's record line as the export splits it: the first byte is the number
// of fields, the rest the line. There are always that many fields, and the
// line is them joined by commas, but for the fields that filled it up.
inline const char* recordFields(const QByteArray& input)
{
    if (input.isEmpty())
        return nullptr;
    const qsizetype count = 1 + static_cast<unsigned char>(input.front()) % 7;
    const QByteArray line = input.sliced(1);
    const QList<QByteArrayView> fields = qx::store::recordFields(line, count);
    if (fields.size() != count)
        return "a line did not give as many fields as asked";
    const qsizetype present = std::min(count, line.count(',') + 1);
    QByteArray joined;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i >= present) {
            if (!fields.at(i).isEmpty())
                return "a field past the line's end is not empty";
            continue;
        }
        if (i > 0)
            joined.append(',');
        joined.append(fields.at(i));
        if (i + 1 < present && fields.at(i).contains(','))
            return "a field other than the last holds a comma";
    }
    return joined == line ? nullptr : "the fields do not join back into the line";
}

// The command line: the input is the arguments after the program's name,
// separated by NUL bytes, as the system hands them over. A fault says what
// was wrong, nothing else does; an export has its user and folder; and --help
// or --version (by the input's length, one of them each time) after arguments
// that parse answers at once, whatever follows it.
inline const char* commandLine(const QByteArray& input)
{
    using Action = qx::CommandLine::Action;
    QStringList arguments{QStringLiteral("quiravex")};
    const QList<QByteArray> given = input.split('\0');
    for (const QByteArray& argument : given)
        arguments.append(QString::fromLocal8Bit(argument));
    const qx::CommandLine line = qx::parseCommandLine(arguments);
    if ((line.action == Action::Fault) == line.fault.isEmpty())
        return "a fault without a text, or a text without a fault";
    if (line.action == Action::Export && (line.exportUser.isEmpty() || line.exportFolder.isEmpty()))
        return "an export without its user or its folder";
    if (line.action != Action::Export &&
        (!line.exportUser.isEmpty() || !line.exportFolder.isEmpty()))
        return "a user or a folder to export to without an export";
    if (line.action == Action::Play && !line.records.isEmpty() &&
        !std::any_of(arguments.begin(), arguments.end(),
                     [&line](const QString& argument) { return argument.endsWith(line.records); }))
        return "a records folder that no argument gave";
    const QString message = qx::commandLineMessage(line.fault);
    if (!message.startsWith(QLatin1String("quiravex: ")) || !message.endsWith(u'\n'))
        return "a message not in the program's voice";
    if (line.action == Action::Fault || arguments.contains(QStringLiteral("--")))
        return nullptr;
    // An answer already given stays the answer: the first of them counts.
    const bool answered = line.action == Action::Help || line.action == Action::Version;
    const bool help = input.size() % 2 == 0;
    QStringList more = arguments;
    more.append(help ? QStringLiteral("--help") : QStringLiteral("--version"));
    more.append(arguments.mid(1));
    const Action expected = answered ? line.action : help ? Action::Help : Action::Version;
    if (qx::parseCommandLine(more).action != expected)
        return "--help or --version after arguments that parse did not answer at once";
    return nullptr;
}

// The reader of pictures drawn ahead: any bytes give a null picture or one
// whose heading and pixels are exactly the bytes, and such a picture written
// again gives the same bytes. Nothing is allocated for a picture the bytes do
// not hold whole.
inline const char* drawnPicture(const QByteArray& input)
{
    QByteArray bytes = input;
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    const QImage picture = qx::art::paint::readPicture(in);
    constexpr qsizetype kHeading = 16;
    if (picture.isNull()) {
        if (input.size() > kHeading && input.startsWith("QXPIC1\r\n")) {
            // In the heading's own (native) byte order.
            const auto field = [&input](qsizetype at) {
                std::array<char, 4> bytes{};
                for (std::size_t i = 0; i < bytes.size(); ++i)
                    bytes[i] = input.at(at + qsizetype(i));
                std::uint32_t value = 0;
                std::memcpy(&value, bytes.data(), bytes.size());
                return value;
            };
            const std::uint32_t width = field(8);
            const std::uint32_t height = field(12);
            if (width >= 1 && width <= 8192 && height >= 1 && height <= 8192 &&
                input.size() == kHeading + qsizetype(width) * height * 4)
                return "a whole, well-formed picture did not read";
        }
        return nullptr;
    }
    if (picture.format() != QImage::Format_ARGB32_Premultiplied ||
        input.size() != kHeading + qsizetype(picture.width()) * picture.height() * 4)
        return "a picture read from bytes that do not hold it whole";
    QByteArray written;
    QBuffer out(&written);
    out.open(QIODevice::WriteOnly);
    if (!qx::art::paint::writePicture(out, picture) || written != input)
        return "a picture read does not write back as its bytes";
    return nullptr;
}

} // namespace qxfuzz
