// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The Reflex test on the virtual clock: the countdown, the random wait, the
// reaction clock and ENTER, in single play and as stage 5 of the overall run.

#include "screens/dialog.h"
#include "screens/mainform.h"
#include "rules/textcodec.h"
#include "screens/Block.h"
#include "screens/picshow.h"
#include "testsupport.h"
#include "widgets/ShadoLbl.h"

#include <QTest>

using namespace qx;

namespace {

const QString kRecord = QStringLiteral("Rec/u/Reflex.dat");

// Runs the countdown and the wait until the picture is shown.
void waitForPicture(qxtest::GameFixture& f)
{
    QVERIFY(
        f.clock.advanceUntil([&] { return probe(f.window<TForm7>()).reactionRunning(); }, 8000));
}

void pressEnter(QWidget* form)
{
    QTest::keyClick(form, Qt::Key_Return);
}

QString verdict(qxtest::GameFixture& f)
{
    return probe(f.window<TForm10>()).verdict().text();
}

} // namespace

class ReflexTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void reactionIsShownAndWrittenOnce_data();
    void reactionIsShownAndWrittenOnce();
    void countdownIgnoresEnterAndWaitsOneToSixSeconds();
    void enterDuringTheWaitIsAFalseStart();
    void overallStageScoresWritesNothingAndHandsOverToBox();
    void missingRecordFileLeavesTheKeyDisarmed();
};

void ReflexTest::reactionIsShownAndWrittenOnce_data()
{
    QTest::addColumn<int>("ms");
    QTest::addColumn<QString>("time");
    QTest::newRow("at once") << 0 << "00:00:00";
    QTest::newRow("before the first tick") << 9 << "00:00:00";
    QTest::newRow("one tick") << 10 << "00:00:01";
    QTest::newRow("0.28 s") << 280 << "00:00:28";
    QTest::newRow("1.23 s") << 1230 << "00:01:23";
}

void ReflexTest::reactionIsShownAndWrittenOnce()
{
    QFETCH(int, ms);
    QFETCH(QString, time);
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    const QByteArray old = cp932::encode(QStringLiteral("2026/12/01,フライング\r\n"));
    qxtest::writeBytes(kRecord, old);
    TForm1& menu = f.window<TForm1>();
    probe(menu).testButton(TestKind::Reflex).click();
    TForm7& screen = f.window<TForm7>();
    QCOMPARE(f.game->modal.top(), &screen);
    QVERIFY(frame(screen).modeLabel().text().isEmpty());

    frame(screen).startButton().click();
    waitForPicture(f);
    QVERIFY(probe(screen).pictureBox().hasPicture());
    f.clock.advance(ms);
    pressEnter(&screen);
    QCOMPARE(verdict(f), time);
    QCOMPARE(menu.CurrentTest(), QStringLiteral("Reflex"));
    QVERIFY(f.window<TForm10>().isVisible());
    QVERIFY(frame(screen).startButton().isEnabled());
    QVERIFY(!probe(screen).reactionRunning());
    const QByteArray expected =
        cp932::encode(QStringLiteral("2026/12/08,") + time + QStringLiteral("\r\n")) + old;
    QCOMPARE(qxtest::readBytes(kRecord), expected);

    // A second ENTER is not a second answer.
    f.clock.advance(100);
    pressEnter(&screen);
    QCOMPARE(qxtest::readBytes(kRecord), expected);
    QCOMPARE(verdict(f), time);

    pressEnter(&f.window<TForm10>());
    QVERIFY(!f.window<TForm10>().isVisible());
    QCOMPARE(f.game->modal.top(), &screen);
    QVERIFY(frame(screen).counterLabel().text().isEmpty());
    QCOMPARE(f.game->session.run().question(), 0);
    frame(screen).backButton().click();
    QCOMPARE(f.game->modal.depth(), 0);
    QVERIFY(f.dialogs.errors.isEmpty());
}

void ReflexTest::countdownIgnoresEnterAndWaitsOneToSixSeconds()
{
    qxtest::GameFixture f(3);
    f.selectUser(QStringLiteral("u"));
    TForm7& screen = f.window<TForm7>();
    screen.ShowModal();
    for (int question = 0; question < 8; ++question) {
        f.sound.played.clear();
        frame(screen).startButton().click();
        QCOMPARE(frame(screen).countdownValue(), 2);
        QVERIFY(!frame(screen).startButton().isEnabled());
        QCOMPARE(f.sound.played, QStringList{"wav/cd.wav"});
        pressEnter(&screen);
        f.clock.advance(1000);
        QCOMPARE(frame(screen).countdownValue(), 1);
        QCOMPARE(f.sound.played.size(), 2);
        pressEnter(&screen);
        f.clock.advance(999);
        pressEnter(&screen);
        QVERIFY(!f.window<TForm10>().isVisible());
        QVERIFY(!screen.KeyPreview);
        f.clock.advance(1);
        // The box goes blank, armed, and the wait begins without a sound.
        QVERIFY(screen.KeyPreview);
        QVERIFY(!probe(screen).pictureBox().hasPicture());
        QCOMPARE(f.sound.played.size(), 2);
        const int wait = probe(screen).waitMs();
        QVERIFY2(wait >= 1000 && wait <= 5999, qPrintable(QString::number(wait)));
        f.clock.advance(wait - 1);
        QVERIFY(!probe(screen).reactionRunning());
        f.clock.advance(1);
        QVERIFY(probe(screen).reactionRunning());
        QVERIFY(probe(screen).pictureBox().hasPicture());
        pressEnter(&screen);
        pressEnter(&f.window<TForm10>());
    }
}

void ReflexTest::enterDuringTheWaitIsAFalseStart()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    TForm7& screen = f.window<TForm7>();
    screen.ShowModal();
    frame(screen).startButton().click();
    f.clock.advance(2000 + 999);
    pressEnter(&screen);
    QCOMPARE(verdict(f), QStringLiteral("フライング"));
    QVERIFY(!screen.KeyPreview);
    QVERIFY(frame(screen).startButton().isEnabled());
    // No picture follows.
    f.clock.advance(10000);
    QVERIFY(!probe(screen).pictureBox().hasPicture());
    QVERIFY(!probe(screen).reactionRunning());
    QCOMPARE(qxtest::readBytes(kRecord),
             cp932::encode(QStringLiteral("2026/12/08,フライング\r\n")));
}

void ReflexTest::overallStageScoresWritesNothingAndHandsOverToBox()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    TForm1& menu = f.window<TForm1>();
    f.enterStage("Reflex", 1000);
    TForm7& screen = f.window<TForm7>();
    screen.ShowModal();
    QCOMPARE(frame(screen).modeLabel().text(), QStringLiteral("総合"));
    QVERIFY(frame(screen).stagePicture().hasPicture());

    // Reactions in ms, -1 for a false start: 22, 50, 0, -73 and 40 points.
    const int reactions[] = {280, 0, -1, 1230, 100};
    const int totals[] = {1022, 1072, 1072, 999, 1039};
    int before = 1000;
    frame(screen).startButton().click();
    for (int q = 0; q < 5; ++q) {
        QCOMPARE(f.game->session.run().question(), q + 1);
        QCOMPARE(frame(screen).counterLabel().text(), QStringLiteral("%1問目").arg(q + 1));
        if (reactions[q] < 0) {
            f.clock.advance(2000);
        } else {
            waitForPicture(f);
            f.clock.advance(reactions[q]);
        }
        pressEnter(&screen);
        QCOMPARE(menu.TotalScore(), totals[q]);
        // The score line does not hold the question's points yet.
        QCOMPARE(probe(f.window<TForm10>()).scoreLine().text(),
                 QStringLiteral("点数：%1").arg(before));
        before = totals[q];
        pressEnter(&f.window<TForm10>());
    }
    QCOMPARE(f.game->modal.top(), &f.window<TForm8>());
    QVERIFY(screen.closeRequested());
    QCOMPARE(menu.OverallMode(), 1);
    QCOMPARE(menu.TotalScore(), 1039);
    QCOMPARE(qxtest::readBytes(kRecord), QByteArray());

    // Leaving the box screen abandons the run and resets the Reflex screen.
    frame(f.window<TForm8>()).backButton().click();
    QCOMPARE(f.game->modal.depth(), 0);
    qxtest::verifyAtRest(f, screen);
    QVERIFY(frame(screen).modeLabel().text().isEmpty());
    QVERIFY(!probe(screen).pictureBox().hasPicture());
    QVERIFY(f.dialogs.errors.isEmpty());
}

void ReflexTest::missingRecordFileLeavesTheKeyDisarmed()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    QFile::remove(kRecord);
    TForm7& screen = f.window<TForm7>();
    screen.ShowModal();
    frame(screen).startButton().click();
    waitForPicture(f);
    pressEnter(&screen);
    pressEnter(&screen);
    QCOMPARE(f.dialogs.errors, QStringList{qxtest::cannotOpen(QStringLiteral("u/Reflex.dat"))});
    QVERIFY(f.window<TForm10>().isVisible());
    QVERIFY(!screen.KeyPreview);
    QVERIFY(frame(screen).startButton().isEnabled());
    QCOMPARE(probe(screen).reaction(), 0);
}

QTEST_MAIN(ReflexTest)
#include "tst_reflex.moc"
