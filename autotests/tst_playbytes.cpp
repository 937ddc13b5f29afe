// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Every byte the game writes, held still: a scripted play of every test at
// several levels, right and wrong, single and overall, to the top ten; the
// records folder it leaves must equal, byte for byte, the one recorded in
// data/play.golden, whatever the interface's language. Set QX_WRITE_GOLDEN to
// a path to record a new one, for a change that is meant to change what the
// game writes.

#include "screens/frame.h"
#include "screens/mainform.h"
#include "screens/tensuushow.h"
#include "player.h"
#include "testsupport.h"
#include "platform/language.h"
#include "rules/store.h"

#include <QDirIterator>
#include <QTest>

using namespace qx;
using namespace qxtest;

namespace {

// Each file of the records folder, by its path there, with its size and its
// bytes as they are.
QByteArray dumpRecords()
{
    const QDir records(qxtest::records().folder());
    QStringList files;
    QDirIterator it(records.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(records.relativeFilePath(it.next()));
    files.sort();
    QByteArray dump;
    for (const QString& file : files) {
        const QByteArray bytes = readBytes(records.filePath(file));
        dump +=
            "== " + file.toUtf8() + ' ' + QByteArray::number(bytes.size()) + '\n' + bytes + '\n';
    }
    return dump;
}

} // namespace

class PlayBytesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyByteWrittenStaysTheSame_data();
    void everyByteWrittenStaysTheSame();
};

void PlayBytesTest::everyByteWrittenStaysTheSame_data()
{
    QTest::addColumn<QString>("language");
    for (const QString& language : shippedLanguages())
        QTest::newRow(qPrintable(language)) << language;
}

void PlayBytesTest::everyByteWrittenStaysTheSame()
{
    QFETCH(QString, language);
    QVERIFY(installLanguage(language));
    // The run is played in that language, not in the texts the code holds.
    QCOMPARE(TestScreen::tr("総合") == QStringLiteral("総合"), language == u"ja");
    GameFixture f(2026);
    f.selectUser(QStringLiteral("走者"));
    playSingle(f, TestKind::Panel, 1, {{}, wrongAnswer()});
    playSingle(f, TestKind::Panel, 10, {{}});
    f.clock.setToday(QDate(2027, 1, 2));
    playSingle(f, TestKind::LR, 1,
               {{}, wrongAnswer(QStringLiteral("1 2")), wrongAnswer(QStringLiteral("  74"))});
    playSingle(f, TestKind::LR, 7, {wrongAnswer(QStringLiteral("7,4")), wrongAnswer()});
    playSingle(f, TestKind::NMemory, 2, {{}, wrongAnswer(), wrongAnswer(QStringLiteral("\"x\""))});
    playSingle(f, TestKind::NMemory, 9, {{}});
    playSingle(f, TestKind::Stop, 1, {{}, stoppedAt(7), stoppedAt(-13)});
    playSingle(f, TestKind::Stop, 6, {stoppedAt(250)});
    playSingle(f, TestKind::Stop, 10, {{}});
    playSingle(f, TestKind::Reflex, 0, {after(280), after(-1), after(12345)});
    playSingle(f, TestKind::Box, 0, {after(2500), after(101000, false)});
    playSingle(f, TestKind::Shape, 0, {after(10000), after(3000, false)});
    f.selectUser(QStringLiteral("二人目"));
    playSingle(f, TestKind::Panel, 5, {{}});
    if (QTest::currentTestFailed())
        return;
    f.selectUser(QStringLiteral("走者"));

    probe(f.window<TForm1>()).overallButton().click();
    playStages(f, 7);
    dismissDialog(f);
    if (QTest::currentTestFailed())
        return;
    probe(f.window<TForm15>()).backButton().click();
    QCOMPARE(f.game->modal.depth(), 0);
    QVERIFY2(f.dialogs.errors.isEmpty(), qPrintable(f.dialogs.errors.join(QLatin1Char('\n'))));

    const QByteArray dump = dumpRecords();
    if (const QByteArray out = qgetenv("QX_WRITE_GOLDEN"); !out.isEmpty()) {
        writeBytes(QString::fromLocal8Bit(out), dump);
        QSKIP("golden written");
    }
    const QByteArray golden =
        readBytes(QStringLiteral(QX_SOURCE_DIR "/autotests/data/play.golden"));
    QVERIFY(!golden.isEmpty());
    // Line by line first, so that a difference is shown where it is.
    const QList<QByteArray> got = dump.split('\n');
    const QList<QByteArray> want = golden.split('\n');
    for (qsizetype i = 0; i < std::min(got.size(), want.size()); ++i)
        QCOMPARE(got.at(i), want.at(i));
    QCOMPARE(dump, golden);
}

QTEST_MAIN(PlayBytesTest)
#include "tst_playbytes.moc"
