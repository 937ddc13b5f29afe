// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The rules of the record store: where each file lives, the text of every
// field, comma text, and loading and saving whole files. Every screen that
// touches "Rec/" goes through these functions.
//
// Files are handled as code page 932 bytes. A line is kept as its bytes, so a
// file that holds bytes the code page cannot decode is written back exactly as
// it was, apart from line breaks, which always become CR LF.

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <limits>
#include <optional>
#include <vector>

namespace qx::store {

using Lines = QList<QByteArray>;

// Field forms.
QString formatDate(QDate date);           // 2026/12/08
QString levelLabel(int level);            // レベル3
QString mark(bool right);                 // ○ or ×
QString formatTime(int hundredths);       // 00:12:34 (Reflex and box)
QString formatClock(int hundredths);      // 12:34 (the stop screen's clock)
QString formatStopTime(int hundredths);   // 1:23 (the stop time in the file)
QString formatDifference(int hundredths); // +00:07, -01:23, 00:00
QString targetText(int hundredths);       // 3:00

// What the player typed, as it reaches a file: the answer boxes and the name
// box take one line, so a line break (a paste of several lines) ends the text
// and what follows it is dropped. A record line thus stays one line.
QString typedLine(const QString& typed);

// Comma text over code page 932 bytes: lead bytes step over their trail byte.
Lines splitCommaText(const QByteArray& line);
// The same fields, each cut to its first fieldBytes bytes at most, never
// splitting a two-byte character; a field of megabytes costs no copy.
Lines splitCommaText(const QByteArray& line, qsizetype fieldBytes);

// The fields of splitCommaText(), one at a time: a reader takes the fields it
// uses and leaves the rest of the line unread, so a line of millions of
// fields costs no more than the ones taken. The line's bytes must outlive it.
class CommaFields {
public:
    explicit CommaFields(QByteArrayView line,
                         qsizetype fieldBytes = std::numeric_limits<qsizetype>::max());
    // The next field, cut as splitCommaText() cuts it; none at the line's end.
    std::optional<QByteArray> next();
    // The next fields as views of the line, cut as next() cuts them, for a
    // reader that keeps no copy: up to `count` of them into `fields`, and
    // how many. Fewer at the line's end, and before a quoted field
    // (atQuote()), which only next() reads, as it may hold doubled quotes.
    qsizetype nextPlain(QByteArrayView* fields, qsizetype count);
    bool nextPlain(QByteArrayView& field) { return nextPlain(&field, 1) == 1; }
    bool atQuote() const { return m_pos < m_line.size() && m_line[m_pos] == '"'; }
    // Where the next field starts: the fields after it are those of the
    // line's bytes from there on.
    qsizetype position() const { return m_pos; }
    // Passes over the empty fields ahead, the commas and blanks between
    // them, at the speed of a plain scan: for a reader that takes none.
    void skipEmptyFields();

private:
    char at(qsizetype pos) const;
    qsizetype nextChar(qsizetype pos) const;
    void skipBlanks();

    QByteArrayView m_line;
    qsizetype m_fieldBytes;
    qsizetype m_pos = 0;
};

// A line of a test file as the game wrote it, in exactly `count` fields:
// the fields are joined by single commas and never quoted, and only the last
// one (a typed answer) can hold commas or blanks. So the first count - 1
// fields end at commas and the last is the rest of the line, byte for byte;
// a line of fewer fields is filled up with empty ones. The fields are views
// of the line.
QList<QByteArrayView> recordFields(QByteArrayView line, qsizetype count);
QByteArray joinCommaText(const Lines& fields);
QStringList splitCommaText(const QString& line);
QString joinCommaText(const QStringList& fields);

// Splits file bytes into lines at CR LF, LF or CR.
Lines splitLines(const QByteArray& bytes);
QByteArray joinLines(const Lines& lines);

// A file's bytes kept once, with where each of its lines starts: the lines of
// splitLines() at the cost of one offset each, for files of millions of lines.
class LineIndex {
public:
    LineIndex() = default;
    // Indexes no more than maxLines lines.
    explicit LineIndex(QByteArray bytes, qsizetype maxLines = -1);
    qsizetype size() const { return static_cast<qsizetype>(m_starts.size()); }
    bool isEmpty() const { return m_starts.empty(); }
    // The line's bytes without its line break; they share the index's
    // buffer, so they are valid while the index lives unchanged.
    QByteArray line(qsizetype i) const;

private:
    QByteArray m_bytes;
    std::vector<qsizetype> m_starts;
};

// Whether the game may replace or delete a record file: a plain file that the
// process may write and that is not read-only. Read-only is the file's own
// mark, its owner's write permission, so it holds for a privileged process as
// well, which the system would let write any file.
bool isChangeable(const QString& path);

// What a save of fileName leaves beside it when it is cut short: its temporary
// file "." + fileName + "." + six letters or digits, and the old file's second
// name "." + fileName + ".old". No other name is taken for one.
bool isSaveLeftover(const QString& fileName, const QString& entry);
// Removes the leftovers of fileName that no live save holds: a save keeps an
// exclusive lock on its temporary file and on the old file while it runs, and
// a leftover is removed only while this process holds that lock itself.
void removeSaveLeftovers(const QString& folder, const QString& fileName);

// One copy of the game per records folder: an exclusive lock on the hidden
// file ".lock" in it (made private, 0600, when missing), held for the life of
// the object. The system lets it go however the process ends.
class FolderLock {
public:
    enum class State {
        Held,
        InUse,       // another process holds it
        Unavailable, // no such folder, one the game cannot write, or its file
                     // system keeps no locks
    };
    explicit FolderLock(const QString& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    State state() const { return m_state; }

private:
    int m_fd = -1;
    State m_state = State::Unavailable;
};

// Why a second copy of the game on the same records folder does not start.
QString recordsInUse();

// The system calls behind saveLines(), handed in so that tests can make any
// of them fail.
struct FileOps {
    long (*write)(int fd, const void* data, unsigned long size);
    int (*fsync)(int fd);
    int (*rename)(const char* from, const char* to);
    int (*close)(int fd);
    int (*link)(const char* from, const char* to);
    int (*unlink)(const char* path);
    // Creates a file from a pattern ending in XXXXXX, closed on exec.
    int (*mkstemp)(char* pattern);
};
FileOps systemFileOps();

// The most bytes a record file is read to: tens of millions of results,
// more than years of play write. A larger file is refused rather than read
// until memory runs out.
inline constexpr qsizetype kMaxFileBytes = qsizetype(1) << 30;
// How far a file may read past the size the system reports for it: a record
// file that reads on (a link to a file of the kernel's that reports no size)
// has no end and is refused.
inline constexpr qsizetype kReadPastSize = qsizetype(1) << 20;

// Loads a whole file. Throws Error("ファイル <path> は開けません"), also for what
// is no plain file and for a file past the bounds above.
Lines loadLines(const QString& path);
// The file's bytes, with the same failures.
QByteArray loadBytes(const QString& path);

// A record file's bytes for a reader that takes them a block at a time and
// keeps none: the file itself, with the failures of loadLines(), or bytes
// already in memory. Several threads may read one at once.
class ByteSource {
public:
    explicit ByteSource(const QString& path);
    // The bytes must outlive the source.
    explicit ByteSource(QByteArrayView bytes);
    ~ByteSource();
    ByteSource(const ByteSource&) = delete;
    ByteSource& operator=(const ByteSource&) = delete;
    // The size the file reports; it may read shorter or a little longer.
    qsizetype size() const { return m_size; }
    // Up to `size` bytes from `offset` into data: how many, 0 at the end.
    // Throws when the file fails to read or reads past its bounds.
    qsizetype read(qsizetype offset, char* data, qsizetype size) const;

private:
    QString m_path;
    int m_fd = -1;
    QByteArrayView m_bytes;
    qsizetype m_size = 0;
    qsizetype m_limit = 0;
};

// The lines that start in [from, to) of a source's bytes (to < 0: all from
// `from` on), read a block at a time. Every CR and every LF ends a line and
// empty lines are passed over, so the lines are the non-empty ones of
// splitLines(); a part of the bytes thus starts at the first line that starts
// in it, and readers of neighbouring parts share no line and miss none.
class LineReader {
public:
    LineReader(const ByteSource& source, qsizetype from, qsizetype to = -1);
    // The next line, valid until the next call; false after the last.
    bool next(QByteArrayView& line);

private:
    void fill();

    const ByteSource& m_source;
    qsizetype m_to;
    QByteArray m_buffer;
    qsizetype m_bufferAt;  // the offset in the source of the buffer's first byte
    qsizetype m_begin = 0; // the bytes not yet handed out
    qsizetype m_end = 0;
    qsizetype m_lfAt = -1;   // the next LF, -1 for none yet
    qsizetype m_lfClear = 0; // where the search for an LF goes on
    qsizetype m_crClear = 0; // where the search for a CR goes on
    bool m_inFirstLine;      // a line that started before `from`, not this part's
    bool m_atEnd = false;
};

// Replaces the file with the lines, atomically and durably: the file on disk
// is the old content or the new one, never a mix, never empty. Throws
// Error("ファイル <path> を作成できません") and keeps the old bytes on any failure,
// leaving nothing beside the file. A crash may leave hidden leftovers
// (isSaveLeftover()), which the next save of that file removes. A file that
// is a symbolic link is saved through it: its target is replaced, atomically
// beside itself, and the link stays; a link that leads nowhere fails the save.
void saveLines(const QString& path, const Lines& lines, const FileOps& ops = systemFileOps());

// The records folder with the file calls its saves make. The program builds
// one from the folder it chose at start-up and hands it to whatever reads or
// writes records; each test builds its own.
class Records {
public:
    explicit Records(QString folder, FileOps ops = systemFileOps());
    const QString& folder() const { return m_folder; }
    const FileOps& ops() const { return m_ops; }
    // The top ten, record.dat.
    QString rankingFile() const;
    // The folder + "/" + user.
    QString userFolder(const QString& user) const;
    // The folder + "/" + user + "/" + file name.
    QString resultPath(const QString& user, const QString& fileName) const;
    void save(const QString& path, const Lines& lines) const;
    // The end of every question: load the file (in both modes, so a missing
    // file is reported either way) and, in single play only, put the line
    // first.
    void writeResultLine(const QString& path, bool singlePlay, const QString& line) const;

private:
    QString m_folder;
    FileOps m_ops;
};

} // namespace qx::store
