// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Damaged, foreign and oversized input: record files, typed answers, user
// names, the top ten and missing art. Each is either handled or refused with
// a clear message, and no file changes that should not.

#include "screens/dialog.h"
#include "screens/lvmenu.h"
#include "screens/mainform.h"
#include "screens/tensuushow.h"
#include "platform/controls.h"
#include "platform/desktop.h"
#include "platform/dispatch.h"
#include "platform/pictures.h"
#include "rules/textcodec.h"
#include "testsupport.h"
#include "rules/csvexport.h"
#include "rules/progress.h"
#include "rules/recordgrid.h"
#include "rules/store.h"
#include "rules/users.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFontInfo>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace qx;

namespace {

const QString kPath = QStringLiteral("Rec/u/L_R.dat");

// Every path under the scratch folder with its size, to prove that nothing
// was created, removed or changed.
QStringList tree()
{
    QStringList paths;
    QDirIterator it(QDir::currentPath(),
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        paths.append(it.filePath() + QLatin1Char(' ') + QString::number(it.fileInfo().size()));
    }
    paths.sort();
    return paths;
}

QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Error& e) {
        return e.message();
    }
    return {};
}

QByteArray sj(const QString& text)
{
    return cp932::encode(text);
}

} // namespace

class HostileTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void damagedRecordFiles_data();
    void damagedRecordFiles();
    void millionLines();
    void oneLineOfMillionsOfFields_data();
    void oneLineOfMillionsOfFields();
    void linesBrokenByCrAloneReadInOnePass();
    void recordFileWithoutAnEndIsRefused_data();
    void recordFileWithoutAnEndIsRefused();
    void notAFile_data();
    void notAFile();
    void typedAnswers_data();
    void typedAnswers();
    void textFromThePlayerOrAFileShowsAsTyped_data();
    void textFromThePlayerOrAFileShowsAsTyped();
    void everyCodePairRoundTrips();
    void refusedUserNames_data();
    void refusedUserNames();
    void deletionStaysInsideItsFolder_data();
    void deletionStaysInsideItsFolder();
    void topTen_data();
    void topTen();
    void missingPictures_data();
    void missingPictures();
    void missingSoundsAreSilent();
    void missingFontFallsBack();
};

void HostileTest::damagedRecordFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("lines"); // the lines as a save writes them back
    QTest::addColumn<QString>("shown");    // the first line as the viewer decodes it
    QTest::addColumn<int>("fields");       // of the first line, by the comma-text rule
    QTest::newRow("LF only") << QByteArray("a,1\nb,2\n") << QByteArray("a,1\r\nb,2\r\n")
                             << QStringLiteral("a,1") << 2;
    QTest::newRow("no final break")
        << QByteArray("a,1\r\nb,2") << QByteArray("a,1\r\nb,2\r\n") << QStringLiteral("a,1") << 2;
    QTest::newRow("CR only") << QByteArray("a\rb\r") << QByteArray("a\r\nb\r\n")
                             << QStringLiteral("a") << 1;
    QTest::newRow("lone lead byte at the end")
        << QByteArray("x,\x81") << QByteArray("x,\x81\r\n") << QStringLiteral("x,\uFFFD") << 2;
    QTest::newRow("lead byte before a space, taken as one character")
        << QByteArray("\x81 x") << QByteArray("\x81 x\r\n") << QStringLiteral("\uFFFD x") << 1;
    QTest::newRow("stray 80, A0, FD to FF")
        << QByteArray("\x80\xA0\xFD\xFE\xFF") << QByteArray("\x80\xA0\xFD\xFE\xFF\r\n")
        << QString(5, QChar(QChar::ReplacementCharacter)) << 1;
    QTest::newRow("NUL byte ends the fields")
        << QByteArray("a\0b,c\r\n", 7) << QByteArray("a\0b,c\r\n", 7)
        << QString::fromUtf16(u"a\0b,c", 5) << 1;
    QTest::newRow("10,000-character line") << QByteArray(10000, 'x') + "\r\n"
                                           << QByteArray(10000, 'x') + "\r\n"
                                           << QString(10000, QLatin1Char('x')) << 1;
    QTest::newRow("kanji with 5C and 7C second bytes")
        << sj(QStringLiteral("ソ表,ポ怖\r\n")) << sj(QStringLiteral("ソ表,ポ怖\r\n"))
        << QStringLiteral("ソ表,ポ怖") << 2;
    QTest::newRow("empty file") << QByteArray() << QByteArray() << QString() << 0;
}

// Putting a line first keeps every old byte but the line breaks; the readers
// show each invalid byte as one replacement character and split fields
// without crossing a two-byte character.
void HostileTest::damagedRecordFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, lines);
    QFETCH(QString, shown);
    QFETCH(int, fields);
    qxtest::ScratchFolder folder;
    QVERIFY(QDir().mkpath(QStringLiteral("Rec/u")));
    qxtest::writeBytes(kPath, bytes);

    const store::Lines loaded = store::loadLines(kPath);
    QCOMPARE(cp932::decode(loaded.value(0)), shown);
    QCOMPARE(store::splitCommaText(loaded.value(0)).size(), fields);
    qxtest::records().writeResultLine(kPath, true, QStringLiteral("new,表"));
    QCOMPARE(qxtest::readBytes(kPath), sj(QStringLiteral("new,表\r\n")) + lines);
}

void HostileTest::millionLines()
{
    qxtest::ScratchFolder folder;
    QVERIFY(QDir().mkpath(QStringLiteral("Rec/u")));
    QByteArray bytes;
    const QByteArray line = sj(QStringLiteral("2026/12/08,レベル3,×,7,表 1\r\n"));
    bytes.reserve(line.size() * 1000000);
    for (int i = 0; i < 1000000; ++i)
        bytes += line;
    qxtest::writeBytes(kPath, bytes);
    qxtest::records().writeResultLine(kPath, true, QStringLiteral("new"));
    QCOMPARE(qxtest::readBytes(kPath), "new\r\n" + bytes);
    QCOMPARE(store::loadLines(kPath).size(), 1000001);
}

void HostileTest::oneLineOfMillionsOfFields_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QByteArray>("repeated"); // what fills the line after its fourth field
    for (const char* reader : {"viewer", "chart", "export"}) {
        QTest::addRow("%s, commas", reader) << reader << QByteArray(",");
        QTest::addRow("%s, ones", reader) << reader << QByteArray("1,");
    }
}

// A 200 MB line froze the viewer and the chart and killed the export: every
// field was made before five were kept. The readers run here in a process of
// their own that may grow by twice the file and a little more.
void HostileTest::oneLineOfMillionsOfFields()
{
    QFETCH(QString, reader);
    QFETCH(QByteArray, repeated);
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    constexpr qsizetype kRepeats = 10'000'000;
    const QByteArray head = sj(QStringLiteral("2026/12/08,レベル3,×,7,"));
    qxtest::writeBytes(qxtest::records().resultPath(QStringLiteral("u"), QStringLiteral("L_R.dat")),
                       head + repeated.repeated(kRepeats) + "\r\n");
    const QTemporaryDir out;
    const qint64 budget = 2 * (head.size() + repeated.size() * kRepeats) + (qint64(64) << 20);
    const auto readsTheLine = [&] {
        if (reader == QLatin1String("viewer")) {
            RecordGridModel grid;
            grid.setLines(store::LineIndex(store::loadBytes(
                qxtest::records().resultPath(QStringLiteral("u"), QStringLiteral("L_R.dat")))));
            return grid.Cells(3, 1) == QLatin1String("7") &&
                   grid.Cells(4, 1) == (repeated == "," ? QString() : QStringLiteral("1"));
        }
        if (reader == QLatin1String("chart")) {
            const progress::Results read = progress::readResultFile(
                testDef(TestKind::LR),
                qxtest::records().resultPath(QStringLiteral("u"), QStringLiteral("L_R.dat")));
            return read.results.size() == 1 && read.results.front().level == 3;
        }
        const csv::Export done =
            csv::exportUser(qxtest::records(), QStringLiteral("u"), out.path());
        return done.error.isEmpty() && QFileInfo(out.filePath(QStringLiteral("u-L_R.csv"))).size() >
                                           repeated.size() * kRepeats;
    };
    QVERIFY(qxtest::inBoundedChild(budget, 30, readsTheLine));
}

// Lines broken by CR alone, as old editors save them: the chart searches
// every byte once, not once for every line before it.
void HostileTest::linesBrokenByCrAloneReadInOnePass()
{
    qxtest::ScratchFolder scratch;
    constexpr int kLines = 1'000'000;
    qxtest::writeBytes(QStringLiteral("panel.dat"),
                       sj(QStringLiteral("2026/12/08,レベル3,○\r")).repeated(kLines));
    QVERIFY(qxtest::inBoundedChild(qint64(256) << 20, 30, [] {
        return progress::readResultFile(testDef(TestKind::Panel), QStringLiteral("panel.dat"))
                   .results.size() == std::size_t{kLines};
    }));
}

void HostileTest::recordFileWithoutAnEndIsRefused_data()
{
    QTest::addColumn<QString>("target"); // what L_R.dat is; empty for a huge sparse file
    QTest::newRow("a kernel file that reports no size") << "/proc/self/pagemap";
    QTest::newRow("a file past the most a record file holds") << "";
}

// A link to /proc/self/pagemap was read until memory ran out.
void HostileTest::recordFileWithoutAnEndIsRefused()
{
    QFETCH(QString, target);
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    const QString path =
        qxtest::records().resultPath(QStringLiteral("u"), QStringLiteral("L_R.dat"));
    QVERIFY(QFile::remove(path));
    if (target.isEmpty()) {
        QFile huge(path);
        QVERIFY(huge.open(QIODevice::WriteOnly));
        QVERIFY(huge.resize(store::kMaxFileBytes + 1));
    } else {
        if (!QFileInfo(target).isReadable())
            QSKIP("no such kernel file here");
        QVERIFY(QFile::link(target, path));
    }
    const QTemporaryDir out;
    const auto refusesIt = [&] {
        const QString refused = qxtest::cannotOpen(QStringLiteral("u/L_R.dat"));
        return errorOf([&] { store::loadBytes(path); }) == refused &&
               errorOf([&] { progress::readResultFile(testDef(TestKind::LR), path); }) == refused &&
               csv::exportUser(qxtest::records(), QStringLiteral("u"), out.path()).error == refused;
    };
    QVERIFY(qxtest::inBoundedChild(qint64(256) << 20, 30, refusesIt));
}

void HostileTest::notAFile_data()
{
    QTest::addColumn<bool>("folder"); // a folder in place of the file, or nothing
    QTest::newRow("folder in place of the file") << true;
    QTest::newRow("missing file") << false;
}

void HostileTest::notAFile()
{
    QFETCH(bool, folder);
    qxtest::ScratchFolder scratch;
    QVERIFY(QDir().mkpath(QStringLiteral("Rec/u")));
    if (folder) {
        QVERIFY(QDir().mkpath(kPath));
        qxtest::writeBytes(kPath + QStringLiteral("/inside"), "keep");
    }
    const QStringList before = tree();
    const QString cannotOpen = QStringLiteral("ファイル %1 は開けません").arg(kPath);
    QCOMPARE(errorOf([] { qxtest::records().writeResultLine(kPath, false, QStringLiteral("x")); }),
             cannotOpen);
    QCOMPARE(errorOf([] { qxtest::records().writeResultLine(kPath, true, QStringLiteral("x")); }),
             cannotOpen);
    if (folder) {
        QCOMPARE(errorOf([] { store::saveLines(kPath, {"x"}); }),
                 QStringLiteral("ファイル %1 を作成できません").arg(kPath));
    }
    QCOMPARE(tree(), before);
}

void HostileTest::typedAnswers_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("written"); // as the file holds it, decoded
    QTest::addColumn<int>("fields");      // as a reader splits the line
    QTest::newRow("comma") << "1,2"
                           << "1,2" << 6;
    QTest::newRow("double quotes") << "\"7\""
                                   << "\"7\"" << 5;
    QTest::newRow("spaces") << " 1 2 "
                            << " 1 2 " << 6;
    QTest::newRow("10,000 characters")
        << QString(10000, QLatin1Char('9')) << QString(10000, QLatin1Char('9')) << 5;
    QTest::newRow("kanji with a 5C second byte") << "表ソ"
                                                 << "表ソ" << 5;
    QTest::newRow("outside code page 932") << "é😀x"
                                           << "??x" << 5;
    QTest::newRow("wave dash as the code page writes it") << "〜"
                                                          << "～" << 5;
    QTest::newRow("control characters") << "a\tb\x01"
                                        << "a\tb\x01" << 6;
    QTest::newRow("empty") << ""
                           << "" << 4;
}

// Answers are written as typed, unquoted, in code page 932; what the code page
// cannot hold becomes what it writes for it.
void HostileTest::typedAnswers()
{
    QFETCH(QString, answer);
    QFETCH(QString, written);
    QFETCH(int, fields);
    qxtest::ScratchFolder folder;
    QVERIFY(QDir().mkpath(QStringLiteral("Rec/u")));
    qxtest::writeBytes(kPath, "old\r\n");
    const QString head = QStringLiteral("2026/12/08,レベル3,×,7,");
    qxtest::records().writeResultLine(kPath, true, head + answer);
    QCOMPARE(qxtest::readBytes(kPath), sj(head + written) + "\r\nold\r\n");
    const store::Lines lines = store::loadLines(kPath);
    QCOMPARE(cp932::decode(lines.at(0)), head + written);
    QCOMPARE(store::splitCommaText(lines.at(0)).size(), fields);
}

void HostileTest::textFromThePlayerOrAFileShowsAsTyped_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("stage dialog") << "dialog";
    QTest::newRow("main menu user") << "menu";
    QTest::newRow("level selection user") << "levels";
    QTest::newRow("error box") << "error";
}

// Markup in an answer, a folder name or a file must show as the characters
// it is made of: a label that took it for rich text would show an underlined
// 12 for <u>12</u>. Compared by width, which the markup's characters add.
void HostileTest::textFromThePlayerOrAFileShowsAsTyped()
{
    QFETCH(QString, where);
    const QString text = QStringLiteral("<u>12</u>&amp;");
    qxtest::GameFixture f;
    f.game->session.selectUser(text);
    QString shown;
    QFont font;
    QSize size;
    const auto look = [&](const QLabel* label) {
        shown = label->text();
        font = label->font();
        size = label->sizeHint();
    };
    if (where == QLatin1String("dialog")) {
        f.window<TForm10>().setResult(QStringLiteral("不正解"), QString(), text);
        look(probe(f.window<TForm10>()).line2().as<QLabel>());
    } else if (where == QLatin1String("menu")) {
        look(probe(f.window<TForm1>()).userLabel().as<QLabel>());
    } else if (where == QLatin1String("levels")) {
        f.window<TForm9>().ShowModal();
        look(probe(f.window<TForm9>()).userLabel().as<QLabel>());
    } else {
        DesktopDialogs dialogs;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            QVERIFY(box);
            look(box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")));
            box->close();
        });
        dialogs.error(text);
    }
    QVERIFY(shown.endsWith(text));
    QVERIFY2(size.width() >= QFontMetrics(font).horizontalAdvance(shown),
             qPrintable(QStringLiteral("%1 is %2 pixels wide").arg(shown).arg(size.width())));
}

// Every two-byte code decodes to one character and encodes back to its own
// bytes, apart from the code page's duplicates, which encode to the one code
// Windows picks for the same character: nine NEC row 13 codes, the NEC
// selection of IBM extensions (ED40-EEFC) and fifteen IBM extensions.
void HostileTest::everyCodePairRoundTrips()
{
    const auto isDuplicate = [](int code) {
        return (code >= 0x8790 && code <= 0x879C && code != 0x8793 && code != 0x8794 &&
                code != 0x8798 && code != 0x8799) ||
               (code >= 0xED40 && code <= 0xEEFC) || (code >= 0xFA4A && code <= 0xFA54) ||
               (code >= 0xFA58 && code <= 0xFA5B);
    };
    int valid = 0;
    int duplicates = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!cp932::isLeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (int trail = 0; trail <= 0xFF; ++trail) {
            const char bytes[] = {static_cast<char>(lead), static_cast<char>(trail)};
            const QByteArray pair(bytes, 2);
            const QString text = cp932::decode(pair);
            if (text.contains(QChar(QChar::ReplacementCharacter)))
                continue;
            ++valid;
            QCOMPARE(text.size(), 1);
            const QByteArray back = cp932::encode(text);
            const int code = lead << 8 | trail;
            if (back == pair)
                continue;
            QVERIFY2(isDuplicate(code), qPrintable(QString::number(code, 16)));
            QCOMPARE(back.size(), 2);
            QCOMPARE(cp932::decode(back), text);
            ++duplicates;
        }
    }
    QCOMPARE(duplicates, 398);
    QVERIFY(valid > 7000);
    QCOMPARE(cp932::decode("\x81\x60"), QStringLiteral("\uFF5E"));
    QCOMPARE(cp932::encode(QStringLiteral("\uFF5E")), QByteArray("\x81\x60"));
    for (int byte = 0; byte <= 0xFF; ++byte) {
        const QByteArray single(1, static_cast<char>(byte));
        const QString text = cp932::decode(single);
        QCOMPARE(text.size(), 1);
        QCOMPARE(cp932::encode(text),
                 text.at(0) == QChar(QChar::ReplacementCharacter) ? QByteArray("?") : single);
    }
}

void HostileTest::refusedUserNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("setup"); // what is there first: "plain", "folder" or "noRec"
    QTest::newRow("exists as a plain file") << "taro"
                                            << "plain";
    QTest::newRow("exists as a folder") << "taro"
                                        << "folder";
    QTest::newRow("no Rec folder") << "taro"
                                   << "noRec";
    QTest::newRow("device with two extensions") << "con.txt.bak"
                                                << "";
    QTest::newRow("device in lower case") << "aux"
                                          << "";
    QTest::newRow("device with a trailing space") << "PRN "
                                                  << "";
    QTest::newRow("device with a trailing dot") << "lpt1."
                                                << "";
    QTest::newRow("only spaces") << "   "
                                 << "";
    QTest::newRow("DEL") << "a\x7F"
                         << "";
    QTest::newRow("256 bytes in code page 932") << QString(128, QChar(0x3042)) << "";
    QTest::newRow("yen sign, a backslash in code page 932") << "a¥b"
                                                            << "";
    QTest::newRow("wave dash, a different character once written") << "a〜b"
                                                                   << "";
}

// Refused, and nothing made anywhere.
void HostileTest::refusedUserNames()
{
    QFETCH(QString, name);
    QFETCH(QString, setup);
    qxtest::ScratchFolder folder;
    if (setup == QLatin1String("plain"))
        qxtest::writeBytes(QStringLiteral("Rec/") + name, "not a user");
    else if (setup == QLatin1String("folder"))
        QVERIFY(users::registerUser(qxtest::records(), name) == users::Registration::Registered);
    else if (setup == QLatin1String("noRec"))
        QVERIFY(QDir(QStringLiteral("Rec")).removeRecursively());
    const QStringList before = tree();
    QVERIFY(users::registerUser(qxtest::records(), name) == users::Registration::Refused);
    QCOMPARE(tree(), before);
}

void HostileTest::deletionStaysInsideItsFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << "";
    QTest::newRow("dot") << ".";
    QTest::newRow("dot dot") << "..";
    QTest::newRow("climbs out") << "../outside";
    QTest::newRow("plain file") << "plain";
    QTest::newRow("the top ten") << "record.dat";
    QTest::newRow("link to a file outside") << "link";
    QTest::newRow("link to nothing") << "dangling";
    QTest::newRow("nobody") << "nobody";
}

// Names that are no user's folder delete nothing, here or outside "Rec/".
void HostileTest::deletionStaysInsideItsFolder()
{
    QFETCH(QString, name);
    qxtest::ScratchFolder folder;
    QVERIFY(QDir().mkpath(QStringLiteral("outside")));
    for (const QString& file : recordFiles())
        qxtest::writeBytes(QStringLiteral("outside/") + file, "keep");
    qxtest::writeBytes(QStringLiteral("Rec/plain"), "keep");
    QVERIFY(QFile::link(QDir::current().filePath(QStringLiteral("outside/shape.dat")),
                        QStringLiteral("Rec/link")));
    QVERIFY(QFile::link(QDir::current().filePath(QStringLiteral("gone")),
                        QStringLiteral("Rec/dangling")));
    const QStringList before = tree();
    QVERIFY(!users::deleteUser(qxtest::records(), name));
    QCOMPARE(tree(), before);
}

void HostileTest::topTen_data()
{
    QTest::addColumn<QByteArray>("file"); // null: no file
    QTest::addColumn<int>("score");
    QTest::addColumn<QByteArray>("written"); // null: unchanged
    QTest::addColumn<QString>("error");
    const auto table = [](std::initializer_list<const char*> lines) {
        QByteArray bytes;
        for (const char* line : lines)
            bytes += QByteArray(line) + "\r\n";
        return bytes;
    };
    const QByteArray ten = table({"d,1000,a", "d,900,\"b, c\"", "d,800,c", "d,700,d", "d,600,e",
                                  "d,500,f", "d,400,g", "d,300,h", "d,200,i", "d,100,j"});
    QTest::newRow("missing") << QByteArray() << 5 << QByteArray()
                             << QStringLiteral("ファイル <top ten> は開けません");
    QTest::newRow("empty") << QByteArray("") << 5 << table({"2026/12/08,5,u"}) << QString();
    QTest::newRow("three lines") << table({"d,30,a", "d,20,b", "d,10,c"}) << 15
                                 << table({"d,30,a", "d,20,b", "2026/12/08,15,u", "d,10,c"})
                                 << QString();
    QTest::newRow("twelve lines, the last two ignored")
        << ten + table({"d,50,k", "d,40,l"}) << 150
        << table({"d,1000,a", "d,900,\"b, c\"", "d,800,c", "d,700,d", "d,600,e", "d,500,f",
                  "d,400,g", "d,300,h", "d,200,i", "2026/12/08,150,u"})
        << QString();
    QTest::newRow("score that is no integer")
        << table({"d,30,a", "d,2O,b", "d,10,c"}) << 15 << QByteArray()
        << QStringLiteral("'2O' は整数ではありません");
    QTest::newRow("quoted name with a comma stays quoted")
        << ten << 2000
        << table({"2026/12/08,2000,u", "d,1000,a", "d,900,\"b, c\"", "d,800,c", "d,700,d",
                  "d,600,e", "d,500,f", "d,400,g", "d,300,h", "d,200,i"})
        << QString();
    QTest::newRow("highest score ties the highest entry")
        << table({"d,2147483647,a", "d,-2147483648,b"}) << std::numeric_limits<int>::max()
        << table({"2026/12/08,2147483647,u", "d,2147483647,a", "d,-2147483648,b"}) << QString();
    QTest::newRow("lowest score ties the lowest entry")
        << table({"d,2147483647,a", "d,-2147483648,b"}) << std::numeric_limits<int>::min()
        << table({"d,2147483647,a", "2026/12/08,-2147483648,u", "d,-2147483648,b"}) << QString();
    QTest::newRow("score beyond the integer range")
        << table({"d,2147483648,a"}) << 5 << QByteArray()
        << QStringLiteral("'2147483648' は整数ではありません");
}

// The score screen with a damaged or foreign top ten: it reports what it
// cannot read and then writes nothing.
void HostileTest::topTen()
{
    QFETCH(QByteArray, file);
    QFETCH(int, score);
    QFETCH(QByteArray, written);
    QFETCH(QString, error);
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    if (file.isNull())
        QVERIFY(QFile::remove(qxtest::records().rankingFile()));
    else
        qxtest::writeBytes(qxtest::records().rankingFile(), file);
    const QStringList before = tree();
    f.enterStage("shape", score);
    f.window<TForm15>().ShowModal();
    if (error.isEmpty()) {
        QCOMPARE(f.dialogs.errors, QStringList{});
        QCOMPARE(qxtest::readBytes(qxtest::records().rankingFile()), written);
        return;
    }
    // The message names the file by its whole path, known once the game is.
    error.replace(QStringLiteral("<top ten>"), qxtest::records().rankingFile());
    QCOMPARE(f.dialogs.errors, QStringList{error});
    QCOMPARE(tree(), before);
}

void HostileTest::missingPictures_data()
{
    QTest::addColumn<QByteArray>("bytes"); // null: no file; "dir": a folder
    QTest::addColumn<QString>("error");
    QTest::newRow("missing") << QByteArray() << "ファイル bmp/stage3.bmp は開けません";
    QTest::newRow("a folder") << QByteArray("dir") << "ファイル bmp/stage3.bmp は開けません";
    QTest::newRow("empty") << QByteArray("") << "ビットマップイメージが不正です";
    QTest::newRow("not a picture")
        << QByteArray("BM\x10\0garbage", 11) << "ビットマップイメージが不正です";
}

void HostileTest::missingPictures()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    qxtest::ScratchFolder folder;
    const QString path = QStringLiteral("bmp/stage3.bmp");
    QVERIFY(QFile::remove(path));
    if (bytes == "dir")
        QVERIFY(QDir().mkpath(path));
    else if (!bytes.isNull())
        qxtest::writeBytes(path, bytes);
    QCOMPARE(errorOf([&] { loadBitmap(path); }), error);
}

// A missing wave file is silent, and so is a real one on a machine without
// an audio device (the test machine has none).
void HostileTest::missingSoundsAreSilent()
{
    qxtest::ScratchFolder folder;
    QVERIFY(QDir().mkpath(QStringLiteral("wav/dir.wav")));
    QVERIFY(QFile::copy(QStringLiteral(QX_GAME_DIR "/wav/cd.wav"), QStringLiteral("wav/cd.wav")));
    DesktopSound sound;
    for (const char* name : {"wav/missing.wav", "wav/dir.wav", "", "wav/cd.wav", "wav/missing.wav"})
        sound.play(QString::fromLatin1(name));
    QTest::qWait(50);
}

// Without the screen font or its substitute, text is still drawn in some
// font that holds the characters.
void HostileTest::missingFontFallsBack()
{
    const QFont font = gameFont(24, true);
    QFont::removeSubstitutions(font.family());
    QImage canvas(96, 32, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        painter.setFont(font);
        painter.drawText(canvas.rect(), Qt::AlignCenter, QStringLiteral("日付"));
    }
    installFontSubstitution();
    QVERIFY(!QFontInfo(font).family().isEmpty());
    int inked = 0;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x)
            inked += canvas.pixel(x, y) != QColor(Qt::white).rgb() ? 1 : 0;
    }
    QVERIFY(inked > 20);
}

QTEST_MAIN(HostileTest)
#include "tst_hostile.moc"
