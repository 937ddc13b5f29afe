// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The panel test in single play and as the first stage of the overall run,
// played on the virtual clock with real clicks and ENTER.

#include "screens/dialog.h"
#include "screens/lvmenu.h"
#include "screens/mainform.h"
#include "rules/textcodec.h"
#include "screens/LR.h"
#include "screens/panel.h"
#include "testsupport.h"
#include "widgets/ShadoLbl.h"

#include <QTest>

using namespace qx;

namespace {

// Waits on the virtual clock for the answer phase and clicks the lit panels
// back, getting the first `wrong` positions wrong.
void answer(qxtest::GameFixture& f, int wrong = 0)
{
    TForm2& screen = f.window<TForm2>();
    QVERIFY(f.clock.advanceUntil([&] { return probe(screen).panels()[0].isEnabled(); }, 20000));
    for (int i = 0; i < static_cast<int>(probe(screen).litSequence().size()); ++i) {
        int tag = probe(screen).litSequence()[static_cast<std::size_t>(i)];
        if (i < wrong)
            tag = tag % 25 + 1;
        probe(screen).panels()[static_cast<std::size_t>(tag - 1)].mouseClick(Qt::LeftButton);
    }
}

void pressEnter(qxtest::GameFixture& f)
{
    QVERIFY(f.window<TForm10>().isVisible());
    QTest::keyClick(&f.window<TForm10>(), Qt::Key_Return);
}

} // namespace

class PanelTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void questionSettings_data();
    void questionSettings();
    void matchesCountPositionsOneToOne_data();
    void matchesCountPositionsOneToOne();
    void singlePlayWritesOneLineAtTheTop();
    void panelLitTwiceInARowGoesDarkInBetween();
    void overallStageScoresWritesNothingAndHandsOver();
    void leavingMidRunResetsEverything();
    void overallRunTwiceGivesTheSameResult();
    void missingRecordFileEndsTheQuestionWithoutVerdict();
    void missingRecordFileDoesNotHoldUpARun();
};

void PanelTest::questionSettings_data()
{
    QTest::addColumn<bool>("overall");
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("interval");
    QTest::newRow("level 1") << false << 1 << 2 << 300;
    QTest::newRow("level 10") << false << 10 << 11 << 300;
    QTest::newRow("question 1") << true << 1 << 3 << 400;
    QTest::newRow("question 2") << true << 2 << 4 << 400;
    QTest::newRow("question 3") << true << 3 << 5 << 300;
    QTest::newRow("question 4") << true << 4 << 7 << 300;
    QTest::newRow("question 5") << true << 5 << 8 << 300;
}

void PanelTest::questionSettings()
{
    QFETCH(bool, overall);
    QFETCH(int, n);
    QFETCH(int, length);
    QFETCH(int, interval);
    const PanelQuestion q = panelQuestion(overall, overall ? 0 : n, overall ? n : 0);
    QCOMPARE(q.sequenceLength, length);
    QCOMPARE(q.stepInterval, interval);
}

void PanelTest::matchesCountPositionsOneToOne_data()
{
    QTest::addColumn<QList<int>>("lit");
    QTest::addColumn<QList<int>>("clicked");
    QTest::addColumn<int>("matches");
    QTest::newRow("all right") << QList<int>{3, 9, 12} << QList<int>{3, 9, 12} << 3;
    QTest::newRow("one left out shifts the rest")
        << QList<int>{3, 9, 12, 4} << QList<int>{3, 12, 4, 4} << 2;
    QTest::newRow("lit twice in a row") << QList<int>{5, 5, 7} << QList<int>{5, 7, 7} << 2;
    QTest::newRow("none") << QList<int>{1, 2} << QList<int>{2, 1} << 0;
}

void PanelTest::matchesCountPositionsOneToOne()
{
    QFETCH(QList<int>, lit);
    QFETCH(QList<int>, clicked);
    QFETCH(int, matches);
    std::array<int, 25> a{};
    std::array<int, 25> b{};
    for (int i = 0; i < lit.size(); ++i) {
        a[static_cast<std::size_t>(i)] = lit.at(i);
        b[static_cast<std::size_t>(i)] = clicked.at(i);
    }
    QCOMPARE(panelMatches(a, b, static_cast<int>(lit.size())), matches);
}

void PanelTest::singlePlayWritesOneLineAtTheTop()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    qxtest::writeBytes(QStringLiteral("Rec/u/panel.dat"),
                       cp932::encode(QStringLiteral("2026/12/01,レベル1,×\r\n")));
    auto& menu = f.window<TForm1>();
    probe(menu).testButton(TestKind::Panel).click();
    QCOMPARE(f.game->modal.top(), &f.window<TForm9>());
    QCOMPARE(probe(f.window<TForm9>()).userLabel().text(), QStringLiteral("ユーザー名：u"));
    probe(f.window<TForm9>()).levelButton(3).click();
    TForm2& screen = f.window<TForm2>();
    QCOMPARE(f.game->modal.top(), &screen);
    QCOMPARE(frame(screen).modeLabel().text(), QStringLiteral("レベル3"));

    frame(screen).startButton().click();
    QVERIFY(!frame(screen).startButton().isEnabled());
    // The first panel lights 300 ms after the click, without a countdown.
    f.clock.advance(299);
    QCOMPARE(probe(screen).litSequence()[0], 0);
    f.clock.advance(1);
    QVERIFY(probe(screen).litSequence()[0] != 0);
    answer(f);
    QCOMPARE(static_cast<int>(probe(screen).litSequence().size()), 4);
    QCOMPARE(probe(f.window<TForm10>()).verdict().text(), QStringLiteral("正解"));
    QCOMPARE(menu.CurrentTest(), QStringLiteral("panel"));
    QVERIFY(frame(screen).startButton().isEnabled());
    const QByteArray expected =
        cp932::encode(QStringLiteral("2026/12/08,レベル3,○\r\n2026/12/01,レベル1,×\r\n"));
    QCOMPARE(qxtest::readBytes(QStringLiteral("Rec/u/panel.dat")), expected);

    pressEnter(f);
    QVERIFY(!f.window<TForm10>().isVisible());
    QCOMPARE(f.game->modal.top(), &screen);

    // A wrong answer writes its own line, still one per question.
    frame(screen).startButton().click();
    answer(f, 1);
    QCOMPARE(probe(f.window<TForm10>()).verdict().text(), QStringLiteral("不正解"));
    QVERIFY(qxtest::readBytes(QStringLiteral("Rec/u/panel.dat"))
                .startsWith(
                    cp932::encode(QStringLiteral("2026/12/08,レベル3,×\r\n2026/12/08,レベル3,○"))));
    pressEnter(f);

    // Back to the level selection, another level, then the menu.
    frame(screen).backButton().click();
    QCOMPARE(f.game->modal.top(), &f.window<TForm9>());
    probe(f.window<TForm9>()).levelButton(7).click();
    QCOMPARE(frame(screen).modeLabel().text(), QStringLiteral("レベル7"));
    frame(screen).backButton().click();
    probe(f.window<TForm9>()).backButton().click();
    QCOMPARE(f.game->modal.depth(), 0);
    QCOMPARE(menu.OverallMode(), 0);
}

void PanelTest::panelLitTwiceInARowGoesDarkInBetween()
{
    qxtest::GameFixture f(7);
    f.selectUser(QStringLiteral("u"));
    f.openAlone(TestKind::Panel, 10);
    TForm2& screen = f.window<TForm2>();
    frame(screen).startButton().click();
    // Every light is preceded and followed by a dark step of the same length.
    int lit = 0;
    for (int step = 0; step < 22; ++step) {
        f.clock.advance(300);
        const std::vector<qxtest::Control> panels = probe(screen).panels();
        const bool anyRed = std::any_of(panels.begin(), panels.end(), [](const auto& p) {
            return p.color() == QColor(255, 0, 0);
        });
        QCOMPARE(anyRed, step % 2 == 0);
        lit += anyRed ? 1 : 0;
    }
    QCOMPARE(lit, 11);
    QVERIFY(probe(screen).panels()[0].isEnabled());
}

void PanelTest::overallStageScoresWritesNothingAndHandsOver()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    auto& menu = f.window<TForm1>();
    probe(menu).overallButton().click();
    TForm2& screen = f.window<TForm2>();
    QCOMPARE(f.game->modal.top(), &screen);
    QCOMPARE(frame(screen).modeLabel().text(), QStringLiteral("総合"));
    QVERIFY(frame(screen).stagePicture().hasPicture() || !f.dialogs.errors.isEmpty());

    frame(screen).startButton().click();
    QCOMPARE(f.game->session.run().question(), 1);
    QCOMPARE(frame(screen).counterLabel().text(), QStringLiteral("1問目"));
    QVERIFY(probe(screen).countdownBox().isVisible());
    QCOMPARE(f.sound.played.count(QStringLiteral("wav/cd.wav")), 1);
    f.clock.advance(1000);
    QCOMPARE(probe(screen).countdownDigit().text(), QStringLiteral("1"));
    QCOMPARE(f.sound.played.count(QStringLiteral("wav/cd.wav")), 2);
    f.clock.advance(1000);
    QVERIFY(!probe(screen).countdownBox().isVisible());
    QCOMPARE(f.sound.played.count(QStringLiteral("wav/cd.wav")), 2);

    // Question 1 all right (3 panels: 30 + 50), question 2 one wrong (3 of 4
    // right: 30), questions 3 to 5 all right (5, 7, 8 panels plus bonuses).
    const int wrongPerQuestion[] = {0, 1, 0, 0, 0};
    const int expectedScores[] = {80, 110, 210, 330, 460};
    for (int q = 0; q < 5; ++q) {
        answer(f, wrongPerQuestion[q]);
        QCOMPARE(menu.TotalScore(), expectedScores[q]);
        // The score line already holds the question's points.
        QCOMPARE(probe(f.window<TForm10>()).scoreLine().text(),
                 QStringLiteral("点数：%1").arg(expectedScores[q]));
        pressEnter(f);
    }
    QCOMPARE(f.game->modal.top(), &f.window<TForm3>());
    QVERIFY(screen.closeRequested());
    QCOMPARE(menu.OverallMode(), 1);
    QCOMPARE(menu.TotalScore(), 460);
    QCOMPARE(qxtest::readBytes(QStringLiteral("Rec/u/panel.dat")), QByteArray());
    QVERIFY(f.dialogs.errors.isEmpty());
}

void PanelTest::leavingMidRunResetsEverything()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    auto& menu = f.window<TForm1>();
    probe(menu).overallButton().click();
    TForm2& screen = f.window<TForm2>();
    frame(screen).startButton().click();
    answer(f);
    pressEnter(f);
    f.clock.advance(2500); // second question: countdown over, lights running
    QCOMPARE(f.game->session.run().question(), 2);
    frame(screen).backButton().click();
    QCOMPARE(f.game->modal.depth(), 0);
    qxtest::verifyAtRest(f, screen);
    QVERIFY(frame(screen).modeLabel().text().isEmpty());
    for (const qxtest::Control& panel : probe(screen).panels()) {
        QVERIFY(!panel.isEnabled());
        QCOMPARE(panel.color(), QColor(192, 192, 192));
    }
    f.clock.advance(5000);
    QCOMPARE(probe(screen).litSequence()[0], 0);
}

void PanelTest::overallRunTwiceGivesTheSameResult()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    auto& menu = f.window<TForm1>();
    QList<int> totals;
    for (int run = 0; run < 2; ++run) {
        f.random.seed(99);
        probe(menu).overallButton().click();
        frame(f.window<TForm2>()).startButton().click();
        for (int q = 0; q < 5; ++q) {
            answer(f, q == 3 ? 2 : 0);
            pressEnter(f);
        }
        totals.append(menu.TotalScore());
        QCOMPARE(f.game->modal.top(), &f.window<TForm3>());
        frame(f.window<TForm3>()).backButton().click();
        QCOMPARE(f.game->modal.depth(), 0);
        QCOMPARE(menu.OverallMode(), 0);
        QCOMPARE(menu.TotalScore(), 0);
        QCOMPARE(f.game->session.run().question(), 0);
    }
    QCOMPARE(totals.at(0), totals.at(1));
}

void PanelTest::missingRecordFileEndsTheQuestionWithoutVerdict()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    QFile::remove(QStringLiteral("Rec/u/panel.dat"));
    f.openAlone(TestKind::Panel);
    TForm2& screen = f.window<TForm2>();
    frame(screen).startButton().click();
    answer(f);
    QCOMPARE(f.dialogs.errors, QStringList{qxtest::cannotOpen(QStringLiteral("u/panel.dat"))});
    QVERIFY(!f.window<TForm10>().isVisible());
    QVERIFY(frame(screen).startButton().isEnabled());
}

// A run writes nothing, so a file it cannot read does not hold it up: the
// error is shown, then the verdict with its bonus, and ENTER goes on.
void PanelTest::missingRecordFileDoesNotHoldUpARun()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    QFile::remove(QStringLiteral("Rec/u/panel.dat"));
    probe(f.window<TForm1>()).overallButton().click();
    TForm2& screen = f.window<TForm2>();
    frame(screen).startButton().click();
    answer(f);
    QCOMPARE(f.dialogs.errors, QStringList{qxtest::cannotOpen(QStringLiteral("u/panel.dat"))});
    QVERIFY(f.window<TForm10>().isVisible());
    QCOMPARE(f.window<TForm1>().TotalScore(), 80);
    pressEnter(f);
    QCOMPARE(f.game->session.run().question(), 2);
}

QTEST_MAIN(PanelTest)
#include "tst_panel.moc"
