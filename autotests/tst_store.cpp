// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The record store's rules: comma text, field forms, line handling, and saves
// that never lose the old content.

#include "platform/dispatch.h"
#include "rules/textcodec.h"
#include "testsupport.h"
#include "rules/store.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <unistd.h>

using namespace qx;

class StoreTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void commaTextSplitsLikeTheRecordReaders_data();
    void commaTextSplitsLikeTheRecordReaders();
    void commaTextQuotesOnlyWhatNeedsIt_data();
    void commaTextQuotesOnlyWhatNeedsIt();
    void commaTextStepsOverKanjiTrailBytes();
    void fieldForms_data();
    void fieldForms();
    void dateUsesSlashesWhateverTheLocale();
    void linesSplitAtAnyBreakAndJoinWithCrLf();
    void lineIndexHoldsTheLinesOfASplit_data();
    void lineIndexHoldsTheLinesOfASplit();
    void loadedLinesAreTheLinesOfASplit_data();
    void loadedLinesAreTheLinesOfASplit();
    void commaTextCutsFieldsWhole_data();
    void commaTextCutsFieldsWhole();
    void recordFieldsKeepTheLastFieldWhole_data();
    void recordFieldsKeepTheLastFieldWhole();
    void typedTextEndsAtItsFirstLineBreak_data();
    void typedTextEndsAtItsFirstLineBreak();
    void resultLineGoesFirstInCp932WithCrLf();
    void overallRunLoadsButNeverWrites();
    void missingFileIsReportedWithItsPath();
    void readOnlyFileKeepsItsBytes_data();
    void readOnlyFileKeepsItsBytes();
    void failedSaveKeepsOldBytesAndLeavesNoTemporaryFile_data();
    void failedSaveKeepsOldBytesAndLeavesNoTemporaryFile();
    void undecodableBytesSurviveAPutFirst();
};

void StoreTest::commaTextSplitsLikeTheRecordReaders_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("plain") << "2026/12/08,レベル3,○" << QStringList{"2026/12/08", "レベル3", "○"};
    QTest::newRow("space separates") << "a b" << QStringList{"a", "b"};
    QTest::newRow("leading and trailing blanks") << "  a ,  b  " << QStringList{"a", "b"};
    QTest::newRow("adjacent commas") << "a,,b" << QStringList{"a", "", "b"};
    QTest::newRow("leading comma") << ",a" << QStringList{"", "a"};
    QTest::newRow("trailing comma gives no field") << "a,b," << QStringList{"a", "b"};
    QTest::newRow("quoted with comma and space") << "\"a, b\",c" << QStringList{"a, b", "c"};
    QTest::newRow("doubled quote") << "\"say \"\"hi\"\"\",x" << QStringList{"say \"hi\"", "x"};
    QTest::newRow("text after closing quote is a field") << "\"ab\"cd" << QStringList{"ab", "cd"};
    QTest::newRow("unterminated quote runs to the end") << "\"abc,d" << QStringList{"abc,d"};
    QTest::newRow("japanese name quoted")
        << "2026/12/08,120,\"山田 太郎\"" << QStringList{"2026/12/08", "120", "山田 太郎"};
    QTest::newRow("empty line") << "" << QStringList{};
    QTest::newRow("typed answer 1 2") << "2026/12/08,レベル3,×,12,1 2"
                                      << QStringList{"2026/12/08", "レベル3", "×", "12", "1", "2"};
}

void StoreTest::commaTextSplitsLikeTheRecordReaders()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    QCOMPARE(store::splitCommaText(line), fields);
}

void StoreTest::commaTextQuotesOnlyWhatNeedsIt_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("line");
    QTest::newRow("plain") << QStringList{"2026/12/08", "1200", "山田"} << "2026/12/08,1200,山田";
    QTest::newRow("space") << QStringList{"a b", "c"} << "\"a b\",c";
    QTest::newRow("comma") << QStringList{"a,b"} << "\"a,b\"";
    QTest::newRow("quote doubled") << QStringList{"say \"hi\""} << "\"say \"\"hi\"\"\"";
    QTest::newRow("empty field stays empty") << QStringList{"a", "", "b"} << "a,,b";
    QTest::newRow("single empty field") << QStringList{""} << "\"\"";
    QTest::newRow("negative score") << QStringList{"2026/12/08", "-35", "x"} << "2026/12/08,-35,x";
}

void StoreTest::commaTextQuotesOnlyWhatNeedsIt()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, line);
    QCOMPARE(store::joinCommaText(fields), line);
    if (!fields.contains(QString()))
        QCOMPARE(store::splitCommaText(line), fields);
}

// ソ is 83 5C and 表 is 95 5C: their trail byte is a backslash; the code page
// also has kanji whose trail byte is 7C ('|'). None of them may split a field
// or start quoting.
void StoreTest::commaTextStepsOverKanjiTrailBytes()
{
    const QByteArray kanji = cp932::encode(QStringLiteral("ソ表"));
    QCOMPARE(kanji, QByteArray("\x83\x5C\x95\x5C"));
    QByteArray trail2C("\x81\x2C"); // not a real character, but a lead byte then a comma byte
    const store::Lines fields = store::splitCommaText(kanji + ',' + trail2C + ",x");
    QCOMPARE(fields.size(), 3);
    QCOMPARE(fields.at(0), kanji);
    QCOMPARE(fields.at(1), trail2C);
    QCOMPARE(store::joinCommaText(store::Lines{kanji, QByteArray("\x81\x20")}),
             kanji + QByteArray(",\x81\x20"));
}

void StoreTest::fieldForms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("time 7") << store::formatTime(7) << "00:00:07";
    QTest::newRow("time 45") << store::formatTime(45) << "00:00:45";
    QTest::newRow("time 123") << store::formatTime(123) << "00:01:23";
    QTest::newRow("time 1234") << store::formatTime(1234) << "00:12:34";
    QTest::newRow("time 0") << store::formatTime(0) << "00:00:00";
    QTest::newRow("time 100 s widens the seconds") << store::formatTime(12345) << "00:123:45";
    QTest::newRow("clock 5") << store::formatClock(5) << "00:05";
    QTest::newRow("clock 123") << store::formatClock(123) << "01:23";
    QTest::newRow("clock 1234") << store::formatClock(1234) << "12:34";
    QTest::newRow("clock 100 s") << store::formatClock(10000) << "100:00";
    QTest::newRow("stop time 7") << store::formatStopTime(7) << "00:07";
    QTest::newRow("stop time 45") << store::formatStopTime(45) << "00:45";
    QTest::newRow("stop time 123 has no leading zero") << store::formatStopTime(123) << "1:23";
    QTest::newRow("stop time 1234") << store::formatStopTime(1234) << "12:34";
    QTest::newRow("stop time 100 s") << store::formatStopTime(10000) << "100:00";
    QTest::newRow("difference exact") << store::formatDifference(0) << "00:00";
    QTest::newRow("difference +5") << store::formatDifference(5) << "+00:05";
    QTest::newRow("difference +1234") << store::formatDifference(1234) << "+12:34";
    QTest::newRow("difference -45") << store::formatDifference(-45) << "-00:45";
    QTest::newRow("difference -123") << store::formatDifference(-123) << "-01:23";
    QTest::newRow("target 300") << store::targetText(300) << "3:00";
    QTest::newRow("target 600") << store::targetText(600) << "6:00";
    QTest::newRow("level") << store::levelLabel(10) << "レベル10";
    QTest::newRow("right") << store::mark(true) << "○";
    QTest::newRow("wrong") << store::mark(false) << "×";
}

void StoreTest::fieldForms()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(text, expected);
}

void StoreTest::dateUsesSlashesWhateverTheLocale()
{
    QLocale::setDefault(QLocale(QLocale::German));
    QCOMPARE(store::formatDate(QDate(2026, 12, 8)), QStringLiteral("2026/12/08"));
    QCOMPARE(store::formatDate(QDate(987, 1, 2)), QStringLiteral("0987/01/02"));
    QLocale::setDefault(QLocale::c());
}

void StoreTest::linesSplitAtAnyBreakAndJoinWithCrLf()
{
    QCOMPARE(store::splitLines("a\r\nb\nc\rd"), (store::Lines{"a", "b", "c", "d"}));
    QCOMPARE(store::splitLines("a\r\n\r\nb"), (store::Lines{"a", "", "b"}));
    QCOMPARE(store::splitLines(""), store::Lines{});
    QCOMPARE(store::splitLines("no final break"), store::Lines{"no final break"});
    QCOMPARE(store::joinLines({"a", "", "b"}), QByteArray("a\r\n\r\nb\r\n"));
}

void StoreTest::lineIndexHoldsTheLinesOfASplit_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("maxLines"); // -1: all
    QTest::newRow("CR LF") << QByteArray("a,b\r\nc\r\n") << -1;
    QTest::newRow("every kind of break") << QByteArray("a\r\nb\nc\rd") << -1;
    QTest::newRow("LF then CR is two breaks") << QByteArray("a\n\rb\n\r") << -1;
    QTest::newRow("empty lines") << QByteArray("\r\n\r\n\n\r") << -1;
    QTest::newRow("no final break") << QByteArray("x\r\nlast") << -1;
    QTest::newRow("CR at the very end") << QByteArray("x\r") << -1;
    QTest::newRow("empty file") << QByteArray() << -1;
    QTest::newRow("first two lines") << QByteArray("1\r\n2\r\n3\r\n") << 2;
    QTest::newRow("no lines wanted") << QByteArray("1\r\n") << 0;
}

void StoreTest::lineIndexHoldsTheLinesOfASplit()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, maxLines);
    const store::LineIndex index(bytes, maxLines);
    store::Lines indexed;
    for (qsizetype i = 0; i < index.size(); ++i)
        indexed.append(index.line(i));
    const store::Lines split = store::splitLines(bytes);
    QCOMPARE(indexed, maxLines < 0 ? split : split.mid(0, maxLines));
}

void StoreTest::loadedLinesAreTheLinesOfASplit_data()
{
    lineIndexHoldsTheLinesOfASplit_data();
    QTest::newRow("CR LF split by a lone CR") << QByteArray("a\r\r\nb\r\n\rc") << -1;
    QTest::newRow("kanji with trail bytes like breaks")
        << QByteArray("\x95\x5C\x83\x7C\r\n\x82\xA0") << -1;
}

// The lines of a loaded file share its bytes: they are the lines of a
// split, and a line changed afterwards changes no other.
void StoreTest::loadedLinesAreTheLinesOfASplit()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, maxLines);
    if (maxLines >= 0)
        QSKIP("a whole file is loaded");
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("file.dat"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
    file.close();
    store::Lines loaded = store::loadLines(path);
    const store::Lines split = store::splitLines(bytes);
    QCOMPARE(loaded, split);
    for (const QByteArray& line : loaded)
        QVERIFY(!line.isNull());
    if (loaded.isEmpty())
        return;
    // A line kept alone keeps the file's buffer.
    QByteArray kept = loaded.at(loaded.size() / 2);
    loaded.first().append("changed");
    QCOMPARE(loaded.first(), split.first() + "changed");
    if (loaded.size() == 1)
        return;
    loaded.last().replace(0, loaded.last().size(), "x");
    QCOMPARE(loaded.last(), QByteArray("x"));
    if (loaded.size() > 2)
        QCOMPARE(loaded.mid(1, loaded.size() - 2), split.mid(1, split.size() - 2));
    loaded.clear();
    QCOMPARE(kept, split.at(split.size() / 2));
    kept.append('!');
    QCOMPARE(kept, split.at(split.size() / 2) + '!');
}

void StoreTest::commaTextCutsFieldsWhole_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<store::Lines>("fields"); // each cut to 4 bytes
    QTest::newRow("short fields stay") << QByteArray("ab,cd") << store::Lines{"ab", "cd"};
    QTest::newRow("long field, then the next")
        << QByteArray("abcdefgh,x") << store::Lines{"abcd", "x"};
    QTest::newRow("a two-byte character is not split")
        << QByteArray("a\x82\xA0\x82\xA0,y") << store::Lines{"a\x82\xA0", "y"};
    QTest::newRow("quoted, with doubled quotes")
        << QByteArray("\"a\"\"b,c d\",z") << store::Lines{"a\"b,", "z"};
    QTest::newRow("quoted, a character that does not fit ends it")
        << QByteArray("\"abc\x82\xA0") + "d\"" << store::Lines{"abc"};
}

// The viewer keeps a screenful of each field; what follows a cut field is
// still read as the rule says.
void StoreTest::commaTextCutsFieldsWhole()
{
    QFETCH(QByteArray, line);
    QFETCH(store::Lines, fields);
    QCOMPARE(store::splitCommaText(line, 4), fields);
}

void StoreTest::recordFieldsKeepTheLastFieldWhole_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("count");
    QTest::addColumn<store::Lines>("fields");
    QTest::newRow("typed answer with blanks and a comma")
        << QByteArray("d,l,m,7, 1,2 ") << 5 << store::Lines{"d", "l", "m", "7", " 1,2 "};
    QTest::newRow("typed answer in quotes")
        << QByteArray("d,l,m,7,\"x\"") << 5 << store::Lines{"d", "l", "m", "7", "\"x\""};
    QTest::newRow("empty answer") << QByteArray("d,l,m,7,") << 5
                                  << store::Lines{"d", "l", "m", "7", ""};
    QTest::newRow("short line is filled up")
        << QByteArray("d,l") << 5 << store::Lines{"d", "l", "", "", ""};
    QTest::newRow("empty line") << QByteArray() << 2 << store::Lines{"", ""};
    QTest::newRow("one field takes the whole line")
        << QByteArray("a, b") << 1 << store::Lines{"a, b"};
    QTest::newRow("two-byte characters are never cut")
        << QByteArray("\x95\x5C,\x83\x7C\x81\x40") << 2
        << store::Lines{"\x95\x5C", "\x83\x7C\x81\x40"};
}

// How the game writes a test's line: only its last field can hold commas or
// blanks, and no field is quoted.
void StoreTest::recordFieldsKeepTheLastFieldWhole()
{
    QFETCH(QByteArray, line);
    QFETCH(int, count);
    QFETCH(store::Lines, fields);
    store::Lines got;
    for (const QByteArrayView field : store::recordFields(line, count))
        got.append(field.toByteArray());
    QCOMPARE(got, fields);
}

void StoreTest::typedTextEndsAtItsFirstLineBreak_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("one line") << "12"
                              << "12";
    QTest::newRow("CR LF") << "12\r\n34"
                           << "12";
    QTest::newRow("LF") << "12\n34\n"
                        << "12";
    QTest::newRow("CR") << "12\r34"
                        << "12";
    QTest::newRow("line separator") << u"12\u202834"_qs << "12";
    QTest::newRow("next line") << u"12\u008534"_qs << "12";
    QTest::newRow("break first") << "\r\n12"
                                 << "";
    // Blanks and tabs are not line breaks: the answer keeps them as typed.
    QTest::newRow("blanks and tab") << " 1\t2 "
                                    << " 1\t2 ";
}

// A pasted text with a line break would otherwise write a second, broken
// record line.
void StoreTest::typedTextEndsAtItsFirstLineBreak()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QCOMPARE(store::typedLine(typed), kept);
}

void StoreTest::resultLineGoesFirstInCp932WithCrLf()
{
    qxtest::ScratchFolder folder;
    QDir().mkpath(QStringLiteral("Rec/u"));
    qxtest::writeBytes(QStringLiteral("Rec/u/panel.dat"), "old\r\n");
    qxtest::records().writeResultLine(QStringLiteral("Rec/u/panel.dat"), true,
                                      QStringLiteral("2026/12/08,レベル3,○"));
    const QByteArray expected =
        cp932::encode(QStringLiteral("2026/12/08,レベル3,○")) + "\r\nold\r\n";
    QCOMPARE(qxtest::readBytes(QStringLiteral("Rec/u/panel.dat")), expected);
    QVERIFY(expected.contains("\x81\x9B"));
}

void StoreTest::overallRunLoadsButNeverWrites()
{
    qxtest::ScratchFolder folder;
    QDir().mkpath(QStringLiteral("Rec/u"));
    qxtest::writeBytes(QStringLiteral("Rec/u/box.dat"), "x\n");
    qxtest::records().writeResultLine(QStringLiteral("Rec/u/box.dat"), false,
                                      QStringLiteral("line"));
    QCOMPARE(qxtest::readBytes(QStringLiteral("Rec/u/box.dat")), QByteArray("x\n"));
}

void StoreTest::missingFileIsReportedWithItsPath()
{
    qxtest::ScratchFolder folder;
    try {
        qxtest::records().writeResultLine(QStringLiteral("Rec/gone/panel.dat"), false,
                                          QStringLiteral("l"));
        QFAIL("a missing file must be reported");
    } catch (const Error& e) {
        QCOMPARE(e.message(), QStringLiteral("ファイル Rec/gone/panel.dat は開けません"));
    }
    QDir().mkpath(QStringLiteral("Rec/dir.dat"));
    QVERIFY_THROWS_EXCEPTION(Error, store::loadLines(QStringLiteral("Rec/dir.dat")));
}

void StoreTest::readOnlyFileKeepsItsBytes_data()
{
    QTest::addColumn<QFile::Permissions>("permissions");
    QTest::newRow("owner may read") << QFile::Permissions(QFile::ReadOwner);
    QTest::newRow("all may read") << (QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QTest::newRow("only others may write")
        << (QFile::ReadOwner | QFile::ReadGroup | QFile::WriteGroup | QFile::WriteOther);
}

// Read-only is decided by the file's mark, so it holds also when the game runs
// as root, which the system lets write any file.
void StoreTest::readOnlyFileKeepsItsBytes()
{
    QFETCH(QFile::Permissions, permissions);
    qxtest::ScratchFolder folder;
    QDir().mkpath(QStringLiteral("Rec/u"));
    const QString path = QStringLiteral("Rec/u/stop.dat");
    qxtest::writeBytes(path, "keep\r\n");
    QVERIFY(QFile::setPermissions(path, permissions));
    QVERIFY(!store::isChangeable(path));
    QVERIFY_THROWS_EXCEPTION(Error,
                             qxtest::records().writeResultLine(path, true, QStringLiteral("new")));
    QCOMPARE(qxtest::readBytes(path), QByteArray("keep\r\n"));
}

namespace {
int g_failAt = 0;
int g_calls = 0;
bool failNow()
{
    return ++g_calls == g_failAt;
}
} // namespace

void StoreTest::failedSaveKeepsOldBytesAndLeavesNoTemporaryFile_data()
{
    QTest::addColumn<int>("which"); // 0 write, 1 fsync, 2 close, 3 rename
    QTest::newRow("write") << 0;
    QTest::newRow("fsync") << 1;
    QTest::newRow("close") << 2;
    QTest::newRow("rename") << 3;
}

void StoreTest::failedSaveKeepsOldBytesAndLeavesNoTemporaryFile()
{
    QFETCH(int, which);
    qxtest::ScratchFolder folder;
    QDir().mkpath(QStringLiteral("Rec/u"));
    const QString path = QStringLiteral("Rec/u/shape.dat");
    qxtest::writeBytes(path, "old line\r\n");

    store::FileOps ops = store::systemFileOps();
    g_calls = 0;
    g_failAt = 1;
    switch (which) {
    case 0:
        ops.write = [](int, const void*, unsigned long) -> long {
            errno = ENOSPC;
            return -1;
        };
        break;
    case 1:
        ops.fsync = [](int fd) { return failNow() ? (errno = EIO, -1) : ::fsync(fd); };
        break;
    case 2:
        ops.close = [](int fd) {
            ::close(fd);
            errno = EIO;
            return -1;
        };
        break;
    default:
        ops.rename = [](const char*, const char*) { return errno = EXDEV, -1; };
        break;
    }
    try {
        store::saveLines(path, {"new"}, ops);
        QFAIL("the save must fail");
    } catch (const Error& e) {
        QCOMPARE(e.message(), QStringLiteral("ファイル Rec/u/shape.dat を作成できません"));
    }
    QCOMPARE(qxtest::readBytes(path), QByteArray("old line\r\n"));
    QCOMPARE(QDir(QStringLiteral("Rec/u")).entryList(QDir::Files | QDir::Hidden),
             QStringList{"shape.dat"});
}

void StoreTest::undecodableBytesSurviveAPutFirst()
{
    qxtest::ScratchFolder folder;
    QDir().mkpath(QStringLiteral("Rec/u"));
    const QByteArray odd("\x80\xA0\xFD\xFE\xFF,\x81\x20,x\0y\x81", 13);
    qxtest::writeBytes(QStringLiteral("Rec/u/L_R.dat"), odd + "\r\n");
    qxtest::records().writeResultLine(QStringLiteral("Rec/u/L_R.dat"), true, QStringLiteral("new"));
    QCOMPARE(qxtest::readBytes(QStringLiteral("Rec/u/L_R.dat")), "new\r\n" + odd + "\r\n");
}

QTEST_GUILESS_MAIN(StoreTest)
#include "tst_store.moc"
