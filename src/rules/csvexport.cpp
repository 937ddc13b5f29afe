// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/csvexport.h"

#include "rules/error.h"
#include "rules/textcodec.h"
#include "rules/catalogue.h"
#include "rules/store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qx::csv {

namespace {

// The checks below look only at ASCII bytes, which are never part of a
// two-byte character in code page 932 nor of a multi-byte one in UTF-8, so
// they hold for a field in either encoding.

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A sign, digits, and more digits after each "." or ":": 12, -1.5, -00:13.
bool isPlainNumberOrTime(QByteArrayView bytes)
{
    if (bytes.startsWith('+') || bytes.startsWith('-'))
        bytes = bytes.sliced(1);
    bool digitBefore = false;
    for (const char c : bytes) {
        if (isDigit(c))
            digitBefore = true;
        else if ((c == '.' || c == ':') && digitBefore)
            digitBefore = false;
        else
            return false;
    }
    return digitBefore;
}

// A spreadsheet runs a field that begins so as a formula, and a typed answer
// could; one that a tab or a carriage return hides is read so too.
bool needsGuard(QByteArrayView bytes)
{
    if (bytes.isEmpty() || !QByteArrayView("=+-@\t\r").contains(bytes.front()))
        return false;
    return !isPlainNumberOrTime(bytes);
}

bool needsQuotes(QByteArrayView bytes)
{
    return bytes.contains(',') || bytes.contains('"') || bytes.contains('\n') ||
           bytes.contains('\r');
}

const QByteArray kByteOrderMark("\xEF\xBB\xBF");

// A file written under a hidden temporary name in the chosen folder and
// renamed over the final name there: a link of that name is replaced, so no
// file outside the folder is ever touched, and a failure at any step leaves
// the old file, or none.
class FolderFile {
public:
    FolderFile(const store::FileOps& ops, const QString& folder, const QString& name)
        : m_ops(ops), m_target(QFile::encodeName(QDir(folder).filePath(name))),
          m_temp(QFile::encodeName(QDir(folder).filePath(QLatin1Char('.') + name)) + ".XXXXXX")
    {
        m_fd = m_ops.mkstemp(m_temp.data());
        m_created = m_fd >= 0;
        if (!m_created)
            return;
        // As a file the player made in the folder would be, after the umask.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(m_fd, 0666 & ~mask);
        m_buffer.reserve(kBufferBytes);
    }
    ~FolderFile()
    {
        if (m_fd >= 0)
            m_ops.close(m_fd);
        if (m_created && !m_committed)
            m_ops.unlink(m_temp.constData());
    }
    FolderFile(const FolderFile&) = delete;
    FolderFile& operator=(const FolderFile&) = delete;

    void write(QByteArrayView bytes)
    {
        m_buffer.append(bytes);
        if (m_buffer.size() >= kBufferBytes)
            flush();
    }

    // Whether every byte is in the file under its final name.
    bool commit()
    {
        flush();
        if (m_fd < 0 || !m_ok)
            return false;
        // A failed fsync is never retried: the kernel may have dropped the
        // pages already.
        m_ok = m_ops.fsync(m_fd) == 0;
        const int fd = std::exchange(m_fd, -1);
        m_ok = m_ops.close(fd) == 0 && m_ok;
        if (!m_ok || m_ops.rename(m_temp.constData(), m_target.constData()) != 0)
            return false;
        m_committed = true;
        const QByteArray folder = m_target.first(m_target.lastIndexOf('/'));
        const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            // Folders of some file systems cannot be synced at all; only a
            // failing disk fails the export here.
            const bool lost = m_ops.fsync(dir) != 0 && errno == EIO;
            ::close(dir);
            return !lost;
        }
        return true;
    }

private:
    const store::FileOps& m_ops;
    static constexpr qsizetype kBufferBytes = qsizetype(1) << 20;

    void flush()
    {
        qsizetype done = 0;
        while (m_ok && m_fd >= 0 && done < m_buffer.size()) {
            const long n = m_ops.write(m_fd, m_buffer.constData() + done,
                                       static_cast<unsigned long>(m_buffer.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            m_ok = n > 0;
            done += std::max(0L, n);
        }
        m_buffer.clear();
    }

    QByteArray m_target;
    QByteArray m_temp;
    QByteArray m_buffer;
    int m_fd = -1;
    bool m_created = false;
    bool m_ok = true;
    bool m_committed = false;
};

// How many of the bytes from start on, at most limit, are ASCII: eight at a
// time, as a field of hundreds of megabytes is mostly ASCII.
qsizetype asciiRun(QByteArrayView bytes, qsizetype start, qsizetype limit)
{
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    const qsizetype end = std::min(bytes.size(), start + limit);
    qsizetype pos = start;
    for (std::uint64_t word = 0; pos + 8 <= end; pos += 8) {
        std::memcpy(&word, bytes.data() + pos, 8);
        if ((word & kHighBits) != 0)
            break;
    }
    while (pos < end && static_cast<unsigned char>(bytes[pos]) < 0x80)
        ++pos;
    return pos - start;
}

// A cell of code page 932 bytes in UTF-8, converted a piece at a time, so that
// a field of hundreds of megabytes costs no more memory than a piece.
void writeCell(FolderFile& out, QByteArrayView bytes)
{
    constexpr qsizetype kPieceBytes = qsizetype(1) << 16;
    const bool quoted = needsQuotes(bytes);
    if (quoted)
        out.write("\"");
    if (needsGuard(bytes))
        out.write("'");
    qsizetype start = 0;
    while (start < bytes.size()) {
        // Pieces end between characters: a lead byte keeps its trail byte.
        // An ASCII byte is never a lead byte, so a run of them is passed
        // over whole.
        qsizetype end = start + asciiRun(bytes, start, kPieceBytes);
        bool ascii = true;
        while (end < bytes.size() && end - start < kPieceBytes) {
            const auto b = static_cast<unsigned char>(bytes[end]);
            ascii = ascii && b < 0x80;
            end += cp932::isLeadByte(b) && end + 1 < bytes.size() ? 2 : 1;
        }
        const QByteArrayView piece = bytes.sliced(start, end - start);
        start = end;
        // The code page's ASCII bytes are UTF-8 as they are.
        if (ascii && !quoted) {
            out.write(piece);
            continue;
        }
        if (ascii) {
            if (piece.contains('"'))
                out.write(piece.toByteArray().replace('"', "\"\""));
            else
                out.write(piece);
            continue;
        }
        QString text = cp932::decode(piece.toByteArray());
        if (quoted)
            text.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        out.write(text.toUtf8());
    }
    if (quoted)
        out.write("\"");
}

// Whether folder is the records folder or inside it, by its path as given
// and by where its links lead.
bool isInsideRecords(const QString& folder, const QString& records)
{
    const auto inside = [](const QString& path, const QString& records) {
        return !path.isEmpty() && !records.isEmpty() &&
               (path == records || path.startsWith(records + QLatin1Char('/')));
    };
    return inside(QDir::cleanPath(QDir(folder).absolutePath()),
                  QDir::cleanPath(QDir(records).absolutePath())) ||
           inside(QFileInfo(folder).canonicalFilePath(), QFileInfo(records).canonicalFilePath());
}

} // namespace

QString field(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    QByteArray out;
    if (needsGuard(bytes))
        out.append('\'');
    out.append(bytes);
    if (needsQuotes(bytes))
        out = '"' + out.replace('"', "\"\"") + '"';
    return QString::fromUtf8(out);
}

Export exportUser(const store::Records& records, const QString& user, const QString& folder)
{
    Export done;
    if (!QFileInfo(folder).isDir()) {
        done.error = QCoreApplication::translate("Records", "フォルダ %1 がありません").arg(folder);
        done.failure = Export::Failure::MissingFolder;
        done.failedPath = folder;
        return done;
    }
    // Files put there would be taken for users, or keep a user from being
    // deleted.
    if (isInsideRecords(folder, records.folder())) {
        done.error = QCoreApplication::translate(
                         "Records", "フォルダ %1 は記録のフォルダ %2 の中なので、書き出せません。"
                                    "ほかのフォルダを選んで下さい。")
                         .arg(folder, records.folder());
        done.failure = Export::Failure::InsideRecords;
        done.failedPath = folder;
        return done;
    }
    for (const TestKind kind : kFileOrder) {
        const TestDef& test = testDef(kind);
        const QString source = records.resultPath(user, test.file());
        store::LineIndex lines;
        try {
            lines = store::LineIndex(store::loadBytes(source));
        } catch (const Error& e) {
            done.error = e.message();
            done.failure = Export::Failure::Unreadable;
            done.failedPath = source;
            return done;
        }
        const QStringList heading = test.fieldNames();
        const QString name = QStringLiteral("%1-%2.csv").arg(user, test.fileStem());
        FolderFile out(records.ops(), folder, name);
        out.write(kByteOrderMark);
        QStringList headingCells;
        for (const QString& cell : heading)
            headingCells.append(field(cell));
        out.write(headingCells.join(u',').toUtf8());
        out.write("\r\n");
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QByteArray line = lines.line(i);
            const QList<QByteArrayView> cells = store::recordFields(line, heading.size());
            for (qsizetype cell = 0; cell < cells.size(); ++cell) {
                if (cell > 0)
                    out.write(",");
                writeCell(out, cells.at(cell));
            }
            out.write("\r\n");
        }
        if (!out.commit()) {
            done.error = QCoreApplication::translate("Records", "ファイル %1 を作成できません")
                             .arg(QDir(folder).filePath(name));
            done.failure = Export::Failure::Unwritable;
            done.failedPath = QDir(folder).filePath(name);
            return done;
        }
        done.written.append(QDir(folder).filePath(name));
    }
    return done;
}

} // namespace qx::csv
