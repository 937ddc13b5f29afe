#include "users/store.h"

#include "platform/dispatch.h"
#include "platform/textcodec.h"

#include <QDir>
#include <QHash>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <limits>
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

char at(const QByteArray& s, qsizetype pos)
{
    return pos < s.size() ? s.at(pos) : '\0';
}

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
    qsizetype pos = 0;
    auto skipBlanks = [&] {
        while (isBlank(static_cast<unsigned char>(at(line, pos))))
            ++pos;
    };
    skipBlanks();
    while (at(line, pos) != '\0') {
        QByteArray field;
        if (at(line, pos) == '"') {
            ++pos;
            // Once a character does not fit, none after it is kept either.
            bool full = false;
            const auto keep = [&](QByteArrayView bytes) {
                full = full || field.size() + bytes.size() > fieldBytes;
                if (!full)
                    field.append(bytes);
            };
            while (at(line, pos) != '\0') {
                if (at(line, pos) == '"') {
                    if (at(line, pos + 1) != '"') {
                        ++pos;
                        break;
                    }
                    keep("\"");
                    pos += 2;
                    continue;
                }
                const qsizetype next = nextChar(line, pos);
                keep(QByteArrayView(line).sliced(pos, next - pos));
                pos = next;
            }
        } else {
            const qsizetype start = pos;
            qsizetype kept = start;
            while (static_cast<unsigned char>(at(line, pos)) > 32 && at(line, pos) != ',') {
                pos = nextChar(line, pos);
                if (pos - start <= fieldBytes)
                    kept = pos;
            }
            field = line.mid(start, kept - start);
        }
        fields.append(field);
        skipBlanks();
        if (at(line, pos) == ',') {
            ++pos;
            skipBlanks();
        }
    }
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
    qsizetype pos = 0;
    while (pos < size && !full()) {
        m_starts.push_back(pos);
        while (pos < size && data[pos] != '\r' && data[pos] != '\n')
            ++pos;
        if (pos < size)
            pos += (data[pos] == '\r' && pos + 1 < size && data[pos + 1] == '\n') ? 2 : 1;
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
        while (end < m_bytes.size() && data[end] != '\r' && data[end] != '\n')
            ++end;
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

QByteArray loadBytes(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("ファイル %1 は開けません").arg(path));
    QByteArray bytes = file.readAll();
    // A read cut short must not pass for the whole file: the next save would
    // drop the rest.
    if (file.error() != QFileDevice::NoError)
        throw Error(QStringLiteral("ファイル %1 は開けません").arg(path));
    return bytes;
}

Lines loadLines(const QString& path)
{
    return splitLines(loadBytes(path));
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

FolderLock::FolderLock(const QString& folder)
    : m_fd(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (m_fd < 0)
        return;
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
    const Error failure(QStringLiteral("ファイル %1 を作成できません").arg(path));
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
