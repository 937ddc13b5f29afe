// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/store.h"

#include "rules/error.h"
#include "rules/textcodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qx::store {

namespace {

QString pad2(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

bool isBlank(unsigned char b)
{
    return b >= 1 && b <= 32;
}

// The next character boundary after pos: a lead byte takes its trail byte along
// unless the line ends there.
qsizetype nextChar(const QByteArray& s, qsizetype pos)
{
    if (cp932::isLeadByte(static_cast<unsigned char>(s.at(pos))) && pos + 1 < s.size() &&
        s.at(pos + 1) != '\0')
        return pos + 2;
    return pos + 1;
}

// Where the line breaks of a file's bytes are, found with memchr, which
// passes over many bytes at a time: a file of millions of lines, or of one
// line of hundreds of megabytes, is split at the speed of a plain scan.
class Breaks {
public:
    Breaks(const char* data, qsizetype size) : m_data(data), m_size(size) {}
    // The first CR or LF at or after from, or the size.
    qsizetype next(qsizetype from)
    {
        // The next LF is found once for all the CRs before it.
        if (m_lf < from)
            m_lf = find('\n', from, m_size);
        return find('\r', from, m_lf);
    }
    // Where the line after the break at `at` starts: CR LF is one break.
    qsizetype after(qsizetype at) const
    {
        return at + (m_data[at] == '\r' && at + 1 < m_size && m_data[at + 1] == '\n' ? 2 : 1);
    }

private:
    qsizetype find(char c, qsizetype from, qsizetype to) const
    {
        const void* at = std::memchr(m_data + from, c, static_cast<std::size_t>(to - from));
        return at == nullptr ? to : static_cast<const char*>(at) - m_data;
    }

    const char* m_data;
    qsizetype m_size;
    qsizetype m_lf = -1;
};

} // namespace

QString formatDate(QDate date)
{
    return QStringLiteral("%1/%2/%3")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(pad2(date.month()), pad2(date.day()));
}

QString levelLabel(int level)
{
    return QStringLiteral("レベル") + QString::number(level);
}

QString mark(bool right)
{
    return right ? QStringLiteral("○") : QStringLiteral("×");
}

// Whole seconds take as many digits as they need (at least two), so a time of
// 100 s or more reads 100:00 rather than losing a digit.
QString formatClock(int hundredths)
{
    return pad2(hundredths / 100) + QLatin1Char(':') + pad2(hundredths % 100);
}

QString formatTime(int hundredths)
{
    return QStringLiteral("00:") + formatClock(hundredths);
}

QString formatStopTime(int hundredths)
{
    if (hundredths >= 100 && hundredths <= 999)
        return QString::number(hundredths / 100) + QLatin1Char(':') + pad2(hundredths % 100);
    return formatClock(hundredths);
}

QString formatDifference(int hundredths)
{
    if (hundredths == 0)
        return QStringLiteral("00:00");
    const QChar sign = hundredths > 0 ? QLatin1Char('+') : QLatin1Char('-');
    return sign + formatClock(hundredths > 0 ? hundredths : -hundredths);
}

QString targetText(int hundredths)
{
    const QString digits = QString::number(hundredths);
    return digits.left(1) + QLatin1Char(':') + digits.mid(1);
}

QString typedLine(const QString& typed)
{
    const auto isLineBreak = [](QChar c) {
        return c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f' || c == QChar(0x85) ||
               c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
    };
    return typed.first(std::find_if(typed.begin(), typed.end(), isLineBreak) - typed.begin());
}

Lines splitCommaText(const QByteArray& line)
{
    return splitCommaText(line, std::numeric_limits<qsizetype>::max());
}

Lines splitCommaText(const QByteArray& line, qsizetype fieldBytes)
{
    Lines fields;
    CommaFields reader(line, fieldBytes);
    while (std::optional<QByteArray> field = reader.next())
        fields.append(std::move(*field));
    return fields;
}

CommaFields::CommaFields(QByteArrayView line, qsizetype fieldBytes)
    : m_line(line), m_fieldBytes(fieldBytes)
{
    skipBlanks();
}

// A NUL byte ends the line, as it ends the text the rule was made for.
char CommaFields::at(qsizetype pos) const
{
    return pos < m_line.size() ? m_line[pos] : '\0';
}

// A lead byte takes its trail byte along unless the line ends there.
qsizetype CommaFields::nextChar(qsizetype pos) const
{
    if (cp932::isLeadByte(static_cast<unsigned char>(m_line[pos])) && at(pos + 1) != '\0')
        return pos + 2;
    return pos + 1;
}

void CommaFields::skipBlanks()
{
    while (isBlank(static_cast<unsigned char>(at(m_pos))))
        ++m_pos;
}

// A run of commas and blanks holds only empty fields; what ends it starts a
// field, as it would after next() had taken them one by one.
void CommaFields::skipEmptyFields()
{
    const char* data = m_line.data();
    const qsizetype size = m_line.size();
    while (m_pos < size && (isBlank(static_cast<unsigned char>(data[m_pos])) || data[m_pos] == ','))
        ++m_pos;
}

std::optional<QByteArray> CommaFields::next()
{
    if (at(m_pos) == '\0')
        return std::nullopt;
    if (at(m_pos) != '"') {
        QByteArrayView field;
        nextPlain(field);
        return field.toByteArray();
    }
    QByteArray field;
    ++m_pos;
    // Once a character does not fit, none after it is kept either.
    bool full = false;
    const auto keep = [&](QByteArrayView bytes) {
        full = full || field.size() + bytes.size() > m_fieldBytes;
        if (!full)
            field.append(bytes);
    };
    while (at(m_pos) != '\0') {
        if (at(m_pos) == '"') {
            if (at(m_pos + 1) != '"') {
                ++m_pos;
                break;
            }
            keep("\"");
            m_pos += 2;
            continue;
        }
        const qsizetype next = nextChar(m_pos);
        keep(m_line.sliced(m_pos, next - m_pos));
        m_pos = next;
    }
    skipBlanks();
    if (at(m_pos) == ',') {
        ++m_pos;
        skipBlanks();
    }
    return field;
}

namespace {

// What a byte is to a plain field, looked up rather than compared: a field's
// bytes are the most a reader of years of play goes through.
enum class ByteKind : unsigned char { Single, Lead, End };

constexpr std::array<ByteKind, 256> kByteKinds = [] {
    std::array<ByteKind, 256> kinds{};
    for (int b = 0; b < 256; ++b) {
        if (b <= 32 || b == ',')
            kinds[static_cast<std::size_t>(b)] = ByteKind::End;
        else if (cp932::isLeadByte(static_cast<unsigned char>(b)))
            kinds[static_cast<std::size_t>(b)] = ByteKind::Lead;
    }
    return kinds;
}();

} // namespace

qsizetype CommaFields::nextPlain(QByteArrayView* fields, qsizetype count)
{
    // The bytes straight, without at()'s checks, and the fields of a line
    // in one call: a record file's lines are read at this loop's speed.
    const char* data = m_line.data();
    const qsizetype size = m_line.size();
    const auto step = [&](qsizetype at) {
        // A lead byte takes its trail byte along unless the line ends there.
        return cp932::isLeadByte(static_cast<unsigned char>(data[at])) && at + 1 < size &&
                       data[at + 1] != '\0'
                   ? at + 2
                   : at + 1;
    };
    // The blanks, a comma and the blanks after it, as next() passes them; a
    // NUL byte is no blank.
    const auto blanks = [&](qsizetype pos) {
        while (pos < size && isBlank(static_cast<unsigned char>(data[pos])))
            ++pos;
        return pos;
    };
    qsizetype pos = m_pos;
    qsizetype taken = 0;
    for (; taken < count; ++taken) {
        if (pos >= size || data[pos] == '\0' || data[pos] == '"')
            break;
        const qsizetype start = pos;
        while (pos < size) {
            const ByteKind kind = kByteKinds[static_cast<unsigned char>(data[pos])];
            if (kind == ByteKind::Single)
                ++pos;
            else if (kind == ByteKind::Lead)
                pos = step(pos);
            else
                break;
        }
        // A field longer than it is cut to keeps the characters that fit whole.
        qsizetype kept = pos;
        if (pos - start > m_fieldBytes) {
            kept = start;
            for (qsizetype next = step(start); next - start <= m_fieldBytes; next = step(next))
                kept = next;
        }
        pos = blanks(pos);
        if (pos < size && data[pos] == ',')
            pos = blanks(pos + 1);
        fields[taken] = QByteArrayView(data + start, kept - start);
    }
    m_pos = pos;
    return taken;
}

QList<QByteArrayView> recordFields(QByteArrayView line, qsizetype count)
{
    QList<QByteArrayView> fields;
    fields.reserve(count);
    // A comma is never the second byte of a two-byte character, so the bytes
    // split at commas without stepping through characters.
    while (fields.size() + 1 < count) {
        const qsizetype comma = line.indexOf(',');
        if (comma < 0)
            break;
        fields.append(line.first(comma));
        line = line.sliced(comma + 1);
    }
    fields.append(line);
    while (fields.size() < count)
        fields.append(QByteArrayView());
    return fields;
}

QByteArray joinCommaText(const Lines& fields)
{
    if (fields.size() == 1 && fields.first().isEmpty())
        return QByteArrayLiteral("\"\"");
    QByteArray out;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QByteArray& field = fields.at(i);
        bool quote = false;
        for (qsizetype pos = 0; pos < field.size(); pos = nextChar(field, pos)) {
            const auto b = static_cast<unsigned char>(field.at(pos));
            if (b == 0)
                break;
            if (b <= 32 || b == '"' || b == ',') {
                quote = true;
                break;
            }
        }
        if (i > 0)
            out.append(',');
        if (!quote) {
            out.append(field);
            continue;
        }
        out.append('"');
        for (qsizetype pos = 0; pos < field.size();) {
            const qsizetype next = nextChar(field, pos);
            if (field.at(pos) == '"')
                out.append('"');
            out.append(field.mid(pos, next - pos));
            pos = next;
        }
        out.append('"');
    }
    return out;
}

QStringList splitCommaText(const QString& line)
{
    QStringList out;
    for (const QByteArray& field : splitCommaText(cp932::encode(line)))
        out.append(cp932::decode(field));
    return out;
}

QString joinCommaText(const QStringList& fields)
{
    Lines encoded;
    for (const QString& field : fields)
        encoded.append(cp932::encode(field));
    return cp932::decode(joinCommaText(encoded));
}

Lines splitLines(const QByteArray& bytes)
{
    Lines lines;
    qsizetype start = 0;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const char c = bytes.at(pos);
        if (c == '\r' || c == '\n') {
            lines.append(bytes.mid(start, pos - start));
            pos += (c == '\r' && pos + 1 < bytes.size() && bytes.at(pos + 1) == '\n') ? 2 : 1;
            start = pos;
        } else {
            ++pos;
        }
    }
    if (start < bytes.size())
        lines.append(bytes.mid(start));
    return lines;
}

LineIndex::LineIndex(QByteArray bytes, qsizetype maxLines) : m_bytes(std::move(bytes))
{
    const char* data = m_bytes.constData();
    const qsizetype size = m_bytes.size();
    const auto full = [&] { return maxLines >= 0 && this->size() >= maxLines; };
    Breaks breaks(data, size);
    qsizetype pos = 0;
    while (pos < size && !full()) {
        m_starts.push_back(pos);
        pos = breaks.next(pos);
        if (pos < size)
            pos = breaks.after(pos);
    }
}

QByteArray LineIndex::line(qsizetype i) const
{
    const auto index = static_cast<std::size_t>(i);
    const qsizetype start = m_starts.at(index);
    const char* data = m_bytes.constData();
    qsizetype end = start;
    if (index + 1 < m_starts.size()) {
        // What stands before the next line is this one's line break.
        end = m_starts[index + 1] - 1;
        if (data[end] == '\n' && end > start && data[end - 1] == '\r')
            --end;
    } else {
        end = Breaks(data, m_bytes.size()).next(start);
    }
    return QByteArray::fromRawData(data + start, end - start);
}

QByteArray joinLines(const Lines& lines)
{
    QByteArray out;
    qsizetype size = 0;
    for (const QByteArray& line : lines)
        size += line.size() + 2;
    out.reserve(size);
    for (const QByteArray& line : lines) {
        out.append(line);
        out.append("\r\n", 2);
    }
    return out;
}

namespace {

Error cannotOpen(const QString& path)
{
    return Error(QCoreApplication::translate("Records", "ファイル %1 は開けません").arg(path));
}

// The bytes a line reader asks for at a time: small enough to stay in the
// processor's cache, large enough that a read costs little beside them.
constexpr qsizetype kBlockBytes = qsizetype(1) << 20;

} // namespace

ByteSource::ByteSource(const QString& path) : m_path(path)
{
    // Not blocking, so that a FIFO in a file's place is refused rather than
    // waited on; the check of what was opened follows.
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        throw cannotOpen(path);
    struct stat info {};
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kMaxFileBytes) {
        ::close(m_fd);
        throw cannotOpen(path);
    }
    m_size = static_cast<qsizetype>(info.st_size);
    m_limit = std::min(kMaxFileBytes, m_size + kReadPastSize);
}

ByteSource::ByteSource(QByteArrayView bytes)
    : m_bytes(bytes), m_size(bytes.size()), m_limit(bytes.size())
{
}

ByteSource::~ByteSource()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

qsizetype ByteSource::read(qsizetype offset, char* data, qsizetype size) const
{
    if (m_fd < 0) {
        const qsizetype n = std::clamp<qsizetype>(m_bytes.size() - offset, 0, size);
        std::copy_n(m_bytes.data() + offset, n, data);
        return n;
    }
    for (;;) {
        const ssize_t n =
            ::pread(m_fd, data, static_cast<size_t>(size), static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        // A read cut short must not pass for the whole file: the next save
        // would drop the rest.
        if (n < 0 || offset + n > m_limit)
            throw cannotOpen(m_path);
        return n;
    }
}

LineReader::LineReader(const ByteSource& source, qsizetype from, qsizetype to)
    : m_source(source), m_to(to), m_bufferAt(std::max<qsizetype>(from - 1, 0)),
      m_inFirstLine(from > 0)
{
    // From the byte before `from`: when it ends a line, the part's first
    // line starts at `from`. A small file or part takes no more than it holds.
    const qsizetype bytes = (to < 0 ? source.size() : to) - m_bufferAt + 1;
    m_buffer.resize(std::clamp<qsizetype>(bytes, 64, kBlockBytes));
}

void LineReader::fill()
{
    const qsizetype kept = m_end - m_begin;
    if (m_inFirstLine) {
        // Another part's line: its bytes are not kept, however long it is.
        m_bufferAt += m_end;
        m_begin = m_end = 0;
    } else if (m_begin > 0) {
        std::memmove(m_buffer.data(), m_buffer.constData() + m_begin, static_cast<size_t>(kept));
        m_bufferAt += m_begin;
        m_begin = 0;
        m_end = kept;
    } else if (m_end == m_buffer.size()) {
        // A line longer than the buffer: room for the rest of the file at
        // once, which a file that is what it says never outgrows.
        m_buffer.resize(std::max(2 * m_buffer.size(), m_source.size() - m_bufferAt + 1));
    }
    const qsizetype n = m_source.read(m_bufferAt + m_end, m_buffer.data() + m_end,
                                      std::min(kBlockBytes, m_buffer.size() - m_end));
    m_end += n;
    m_atEnd = n == 0;
}

bool LineReader::next(QByteArrayView& line)
{
    // Offsets are the source's, so that they outlive a fill. Every byte is
    // searched once for an LF and once for a CR, however long its line or
    // however few LFs the file holds.
    for (;;) {
        const char* data = m_buffer.constData();
        const auto at = [&](qsizetype offset) { return data + (offset - m_bufferAt); };
        const auto offsetOf = [&](const void* p) {
            return m_bufferAt + (static_cast<const char*>(p) - data);
        };
        const qsizetype begin = m_bufferAt + m_begin;
        const qsizetype end = m_bufferAt + m_end;
        if (m_lfAt < begin) {
            const qsizetype from = std::max(begin, m_lfClear);
            const void* lf = std::memchr(at(from), '\n', static_cast<size_t>(end - from));
            m_lfAt = lf == nullptr ? -1 : offsetOf(lf);
            m_lfClear = lf == nullptr ? end : m_lfAt;
        }
        const qsizetype lineEnd = m_lfAt >= 0 ? m_lfAt : end;
        const qsizetype crFrom = std::max(begin, m_crClear);
        const void* cr = std::memchr(at(crFrom), '\r', static_cast<size_t>(lineEnd - crFrom));
        const qsizetype lineBreak = cr == nullptr ? lineEnd : offsetOf(cr);
        m_crClear = lineBreak;
        if (lineBreak == end && m_inFirstLine && m_to >= 0 && end >= m_to) {
            // Another part's line runs past this part's end: no line starts
            // in this part, and the rest of that line is not this part's to
            // search.
            m_atEnd = true;
            m_begin = m_end;
            return false;
        }
        if (lineBreak == end && !m_atEnd) {
            fill();
            continue;
        }
        if (begin == end)
            return false;
        m_begin = std::min(lineBreak + 1 - m_bufferAt, m_end);
        if (m_inFirstLine) {
            m_inFirstLine = false;
            continue;
        }
        if (m_to >= 0 && begin >= m_to) {
            m_atEnd = true;
            m_begin = m_end;
            return false;
        }
        if (lineBreak > begin) {
            line = QByteArrayView(at(begin), lineBreak - begin);
            return true;
        }
    }
}

QByteArray loadBytes(const QString& path)
{
    const ByteSource file(path);
    QByteArray bytes;
    // One byte past the reported size finds the end without growing the
    // buffer for a file that is what it says.
    bytes.resize(file.size() + 1);
    qsizetype done = 0;
    for (;;) {
        // A file that reads on grows the buffer no further than a read past
        // the bounds, which fails.
        if (done == bytes.size())
            bytes.resize(
                std::min(done * 2, std::min(kMaxFileBytes, file.size() + kReadPastSize) + 1));
        const qsizetype n = file.read(done, bytes.data() + done, bytes.size() - done);
        if (n == 0)
            break;
        done += n;
    }
    bytes.truncate(done);
    return bytes;
}

Lines loadLines(const QString& path)
{
    QByteArray bytes = loadBytes(path);
    // Every line is a part of the file's one buffer, which it shares as a
    // copy of the whole would: the buffer's count of users goes up by one and
    // the line points into it. A file of millions of lines costs no
    // allocation a line, and a line of hundreds of megabytes no copy. A line
    // changed later gets a buffer of its own, as any shared QByteArray does.
    // Unlike a copy, a line is not followed by a NUL byte in memory, as
    // none of QByteArray::fromRawData() is; every reader goes by its size.
    Lines lines;
    if (bytes.isEmpty())
        return lines;
    QByteArray::DataPointer& whole = bytes.data_ptr();
    const char* data = whole.data();
    const qsizetype size = bytes.size();
    const auto part = [&](qsizetype start, qsizetype end) {
        if (end == start)
            return QByteArray(data + start, 0);
        whole.d_ptr()->ref();
        return QByteArray(
            QByteArray::DataPointer(whole.d_ptr(), whole.data() + start, end - start));
    };
    qsizetype count = 1;
    for (const char* at = data; (at = static_cast<const char*>(std::memchr(
                                     at, '\n', static_cast<std::size_t>(data + size - at))));
         ++at)
        ++count;
    lines.reserve(count);
    // The lines of splitLines(): breaks at CR LF, LF or CR.
    Breaks breaks(data, size);
    qsizetype start = 0;
    while (start < size) {
        const qsizetype end = breaks.next(start);
        if (end == size)
            break;
        lines.append(part(start, end));
        start = breaks.after(end);
    }
    if (start < size)
        lines.append(part(start, size));
    return lines;
}

bool isChangeable(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    return ::stat(name.constData(), &info) == 0 && S_ISREG(info.st_mode) &&
           (info.st_mode & S_IWUSR) != 0 && ::access(name.constData(), W_OK) == 0;
}

bool isSaveLeftover(const QString& fileName, const QString& entry)
{
    constexpr qsizetype kTemporarySuffix = 6; // the XXXXXX of mkostemp()
    const QString prefix = QLatin1Char('.') + fileName + QLatin1Char('.');
    if (!entry.startsWith(prefix))
        return false;
    const QStringView suffix = QStringView(entry).mid(prefix.size());
    if (suffix == QLatin1String("old"))
        return true;
    return suffix.size() == kTemporarySuffix &&
           std::all_of(suffix.begin(), suffix.end(), [](QChar c) {
               return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                      (c >= u'0' && c <= u'9');
           });
}

namespace {

// Opens the file and takes an exclusive lock on it without waiting; -1 when
// either fails. Where locks are kept only for descriptors open for writing
// (network folders), reading alone would never get one.
int openLocked(const QByteArray& path)
{
    for (const int mode : {O_RDWR, O_RDONLY}) {
        const int fd = ::open(path.constData(), mode | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return fd;
        ::close(fd);
        return -1;
    }
    return -1;
}

bool sameFile(int fd, const QByteArray& path)
{
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.constData(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

} // namespace

// Leftovers are hidden, so never taken for users, but they would keep a
// user's folder from being removed.
void removeSaveLeftovers(const QString& folder, const QString& fileName)
{
    const QDir dir(folder);
    for (const QString& entry :
         dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted)) {
        if (!isSaveLeftover(fileName, entry))
            continue;
        const QByteArray path = QFile::encodeName(dir.filePath(entry));
        const int fd = openLocked(path);
        if (fd < 0)
            continue;
        // The name may have been taken by a new file since it was opened.
        if (sameFile(fd, path))
            ::unlink(path.constData());
        ::close(fd);
    }
}

// The lock is held on a file of the player's own that only they may open for
// writing: a lock on the folder itself would need only read access, and any
// account could take it first and keep the game from starting.
QString recordsInUse()
{
    return QCoreApplication::translate(
        "Records", "記録フォルダ Rec は、すでに起動している Quiravex が使っています。\n"
                   "記録が失われないように、この Quiravex は起動しません。"
                   "先に起動した方を終了してから、もう一度起動して下さい。");
}

FolderLock::FolderLock(const QString& folder)
    : m_fd(::open(QFile::encodeName(folder + QLatin1String("/.lock")).constData(),
                  O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600))
{
    if (m_fd < 0)
        return;
    struct stat info {};
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    if (info.st_uid == ::geteuid() && (info.st_mode & 0077) != 0)
        ::fchmod(m_fd, 0600);
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
        m_state = State::Held;
    else if (errno == EWOULDBLOCK)
        m_state = State::InUse;
}

FolderLock::~FolderLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

FileOps systemFileOps()
{
    return {[](int fd, const void* data, unsigned long size) -> long {
                return ::write(fd, data, size);
            },
            ::fsync,
            ::rename,
            ::close,
            ::link,
            ::unlink,
            [](char* pattern) { return ::mkostemp(pattern, O_CLOEXEC); }};
}

namespace {

// Writes all of data, going on after short writes; false on any error.
bool writeAll(const FileOps& ops, int fd, const QByteArray& data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const long n =
            ops.write(fd, data.constData() + done, static_cast<unsigned long>(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// A descriptor opened only to be synced or to hold a lock; closing it cannot
// lose data.
struct Descriptor {
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// The file a save replaces: path itself, or where a link at path ends, so that
// the player's link (into a synchronised folder, say) stays and its target is
// replaced beside itself; empty for a link that leads nowhere.
QString linkTarget(const QString& path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    return QFileInfo(path).canonicalFilePath();
}

// Some file systems (network folders, FAT through a user-space driver) do not
// sync a folder at all. There the synced file under its new name is the most
// they offer, and the save stands; an input-output error still fails it.
bool folderCannotBeSynced(int error)
{
    return error == EINVAL || error == EROFS || error == ENOSYS || error == EOPNOTSUPP ||
           error == EBADF;
}

// Creates "<hidden>.XXXXXX" and locks it before any byte is written. Another
// copy's clean-up may have opened the new name first and locked it to remove
// it; that name is then given up for a fresh one.
int createLockedTemporary(const FileOps& ops, const QByteArray& hidden, QByteArray* temp)
{
    constexpr int kAttempts = 8;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        *temp = hidden + ".XXXXXX";
        const int fd = ops.mkstemp(temp->data());
        if (fd < 0)
            return -1;
        const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        // A file system that keeps no locks keeps none for the clean-up either.
        if (!locked && errno != EWOULDBLOCK)
            return fd;
        if (locked && sameFile(fd, *temp))
            return fd;
        ::close(fd);
    }
    return -1;
}

} // namespace

void saveLines(const QString& path, const Lines& lines, const FileOps& ops)
{
    const Error failure(
        QCoreApplication::translate("Records", "ファイル %1 を作成できません").arg(path));
    const QString file = linkTarget(path);
    if (file.isEmpty())
        throw failure;
    const QByteArray target = QFile::encodeName(file);
    struct stat old {};
    const bool replacing = ::stat(target.constData(), &old) == 0;
    // A read-only file refuses to be replaced, as it would refuse to be
    // rewritten in place.
    if (replacing && !isChangeable(file))
        throw failure;

    const QFileInfo info(file);
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    // Without the folder at hand the new name could not be made durable, so
    // the save does not begin.
    const Descriptor dir{::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (dir.fd < 0)
        throw failure;
    removeSaveLeftovers(info.absolutePath(), info.fileName());

    const QByteArray hidden = folder + "/." + QFile::encodeName(info.fileName());
    QByteArray temp;
    const int fd = createLockedTemporary(ops, hidden, &temp);
    if (fd < 0)
        throw failure;
    // The lock lives on a second descriptor, so that it outlasts the close
    // that reports the write, up to the rename.
    const Descriptor tempLock{::dup(fd)};
    ::fchmod(fd, replacing ? (old.st_mode & 0777) : 0644);
    bool ok = writeAll(ops, fd, joinLines(lines));
    // A failed fsync is never retried: the kernel may have dropped the dirty
    // pages already, so a second call could report success for lost data.
    ok = ok && ops.fsync(fd) == 0;
    ok = ops.close(fd) == 0 && ok;

    // The old file keeps a second name until the new name is durable, so
    // that a failed folder sync can put it back.
    const QByteArray backup = hidden + ".old";
    bool backedUp = false;
    Descriptor oldLock{-1};
    if (ok && replacing) {
        oldLock.fd = openLocked(target);
        // FAT, exFAT and some network folders have no hard links; the save
        // goes on without the second name.
        backedUp = ops.link(target.constData(), backup.constData()) == 0;
    }
    ok = ok && ops.rename(temp.constData(), target.constData()) == 0;
    if (!ok) {
        ops.unlink(temp.constData());
        if (backedUp)
            ops.unlink(backup.constData());
        throw failure;
    }
    if (ops.fsync(dir.fd) != 0 && !folderCannotBeSynced(errno)) {
        // On a file system without hard links the new bytes have to stay;
        // the save is reported as failed all the same, since it is not durable.
        if (backedUp)
            ops.rename(backup.constData(), target.constData());
        else if (!replacing)
            ops.unlink(target.constData());
        throw failure;
    }
    if (backedUp)
        ops.unlink(backup.constData());
}

Records::Records(QString folder, FileOps ops) : m_folder(std::move(folder)), m_ops(ops) {}

QString Records::rankingFile() const
{
    return m_folder + QStringLiteral("/record.dat");
}

QString Records::userFolder(const QString& user) const
{
    return m_folder + QLatin1Char('/') + user;
}

QString Records::resultPath(const QString& user, const QString& fileName) const
{
    return userFolder(user) + QLatin1Char('/') + fileName;
}

void Records::save(const QString& path, const Lines& lines) const
{
    saveLines(path, lines, m_ops);
}

void Records::writeResultLine(const QString& path, bool singlePlay, const QString& line) const
{
    Lines lines = loadLines(path);
    if (!singlePlay)
        return;
    lines.prepend(cp932::encode(line));
    save(path, lines);
}

} // namespace qx::store
