// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The N-memory test: its rules, and the screen in single play and as the
// third stage of the overall run, played on the virtual clock.

#include "screens/dialog.h"
#include "screens/lvmenu.h"
#include "screens/mainform.h"
#include "rules/textcodec.h"
#include "screens/frash.h"
#include "screens/stop.h"
#include "testsupport.h"
#include "rules/store.h"
#include "widgets/ShadoLbl.h"

#include <QSet>
#include <QTest>

using namespace qx;

namespace {

constexpr std::int64_t kNsPerMs = 1'000'000;

void pressEnter(qxtest::GameFixture& f)
{
    QVERIFY(f.window<TForm10>().isVisible());
    QTest::keyClick(&f.window<TForm10>(), Qt::Key_Return);
}

TForm4& openScreen(qxtest::GameFixture& f, int overallMode, int level = 1)
{
    f.selectUser(QStringLiteral("u"));
    if (overallMode != 0) {
        f.enterStage("N_memory");
        f.window<TForm4>().ShowModal();
    } else {
        f.openAlone(TestKind::NMemory, level);
    }
    return f.window<TForm4>();
}

} // namespace

class NMemoryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void makeDigitsHasNoLeadingZero_data();
    void makeDigitsHasNoLeadingZero();
    void questionTable_data();
    void questionTable();
    void digitsShowForTheDisplayTime_data();
    void digitsShowForTheDisplayTime();
    void singlePlayWritesTheAnswerAsTyped();
    void overallStageScoresWritesNothingAndHandsOver();
    void leavingMidQuestionStopsTimersAndResets_data();
    void leavingMidQuestionStopsTimersAndResets();
};

void NMemoryTest::makeDigitsHasNoLeadingZero_data()
{
    QTest::addColumn<int>("digits");
    for (int digits = 3; digits <= 9; ++digits)
        QTest::addRow("%d digits", digits) << digits;
}

void NMemoryTest::makeDigitsHasNoLeadingZero()
{
    QFETCH(int, digits);
    Random random;
    int withRepeats = 0;
    for (std::uint32_t seed = 1; seed <= 500; ++seed) {
        random.seed(seed);
        const QString text = MakeDigits(digits, random);
        QCOMPARE(text.size(), digits);
        QVERIFY(text.at(0) != u'0');
        for (QChar c : text)
            QVERIFY(c.isDigit());
        if (QSet<QChar>(text.begin(), text.end()).size() < digits)
            ++withRepeats;
    }
    // Unlike the L-R numbers, digits may repeat.
    QVERIFY(withRepeats > 0);
}

void NMemoryTest::questionTable_data()
{
    QTest::addColumn<bool>("overall");
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("digits");
    QTest::addColumn<int>("displayTime");
    QTest::newRow("level 1") << false << 1 << 3 << 1500;
    QTest::newRow("level 2") << false << 2 << 3 << 800;
    QTest::newRow("level 6") << false << 6 << 7 << 700;
    QTest::newRow("level 7 shows fewer digits, shorter") << false << 7 << 6 << 300;
    QTest::newRow("level 8") << false << 8 << 7 << 450;
    QTest::newRow("level 9") << false << 9 << 8 << 500;
    QTest::newRow("level 10") << false << 10 << 9 << 400;
    QTest::newRow("question 1") << true << 1 << 3 << 1000;
    QTest::newRow("question 2") << true << 2 << 5 << 700;
    QTest::newRow("question 3") << true << 3 << 6 << 500;
    QTest::newRow("question 4") << true << 4 << 7 << 350;
    QTest::newRow("question 5") << true << 5 << 7 << 200;
}

void NMemoryTest::questionTable()
{
    QFETCH(bool, overall);
    QFETCH(int, n);
    QFETCH(int, digits);
    QFETCH(int, displayTime);
    const NMemoryQuestion q = nMemoryQuestion(overall, overall ? 7 : n, overall ? n : 0);
    QCOMPARE(q.digits, digits);
    QCOMPARE(q.displayTime, displayTime);
}

void NMemoryTest::digitsShowForTheDisplayTime_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("digits");
    QTest::addColumn<int>("displayTime");
    QTest::newRow("level 1") << 1 << 3 << 1500;
    QTest::newRow("level 7") << 7 << 6 << 300;
    QTest::newRow("level 8") << 8 << 7 << 450;
}

void NMemoryTest::digitsShowForTheDisplayTime()
{
    QFETCH(int, level);
    QFETCH(int, digits);
    QFETCH(int, displayTime);
    qxtest::GameFixture f;
    TForm4& screen = openScreen(f, 0, level);
    std::int64_t askedAt = -1;
    bool hiddenWhenAsked = false;
    bool timersOffWhenAsked = false;
    f.dialogs.whileAsking = [&] {
        askedAt = f.clock.nowNs();
        hiddenWhenAsked = probe(screen).digits().text().isEmpty();
        timersOffWhenAsked = !probe(screen).showingDigits() && !probe(screen).countingDown() &&
                             !probe(screen).pausing();
    };
    const std::int64_t clickedAt = f.clock.nowNs();
    frame(screen).startButton().click();
    QVERIFY(probe(screen).countdownDigit().isVisibleTo(&screen));
    f.clock.advance(1000);
    QCOMPARE(probe(screen).countdownDigit().text(), QStringLiteral("1"));
    f.clock.advance(1000);
    QVERIFY(probe(screen).countdownDigit().isHidden());
    QCOMPARE(f.sound.played.count(QStringLiteral("wav/cd.wav")), 2);
    // A pause of 500 ms, then the digits, centred on x = 300.
    f.clock.advance(499);
    QVERIFY(probe(screen).digits().text().isEmpty());
    f.clock.advance(1);
    QCOMPARE(probe(screen).digits().text().size(), digits);
    QCOMPARE(probe(screen).shownDigits(), probe(screen).digits().text());
    QCOMPARE(probe(screen).digits().x(), 300 - probe(screen).digits().width() / 2);
    f.clock.advance(displayTime - 1);
    QVERIFY(askedAt < 0);
    QCOMPARE(probe(screen).digits().text().size(), digits);
    f.clock.advance(1);
    QCOMPARE(askedAt - clickedAt, (2500 + displayTime) * kNsPerMs);
    QVERIFY(hiddenWhenAsked);
    QVERIFY(timersOffWhenAsked);
    QCOMPARE(f.dialogs.prompts, QStringList{QStringLiteral("入力/答えを入力して下さい")});
}

void NMemoryTest::singlePlayWritesTheAnswerAsTyped()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    qxtest::writeBytes(QStringLiteral("Rec/u/N_memory.dat"),
                       cp932::encode(QStringLiteral("2026/12/01,レベル1,○,123,123\r\n")));
    auto& menu = f.window<TForm1>();
    probe(menu).testButton(TestKind::NMemory).click();
    probe(f.window<TForm9>()).levelButton(2).click();
    TForm4& screen = f.window<TForm4>();
    QCOMPARE(f.game->modal.top(), &screen);
    QCOMPARE(frame(screen).modeLabel().text(), QStringLiteral("レベル2"));

    // The digits with a space after the first two.
    f.dialogs.whileAsking = [&] {
        f.dialogs.answers.push_back(probe(screen).shownDigits().left(2) + QStringLiteral(" ") +
                                    probe(screen).shownDigits().mid(2));
    };
    frame(screen).startButton().click();
    QVERIFY(f.clock.advanceUntil([&] { return f.window<TForm10>().isVisible(); }, 5000));
    const QString shown = probe(screen).shownDigits();
    const QString typed = shown.left(2) + QStringLiteral(" ") + shown.mid(2);
    QCOMPARE(probe(f.window<TForm10>()).verdict().text(), QStringLiteral("不正解"));
    QCOMPARE(probe(f.window<TForm10>()).line1().text(), QStringLiteral("答え：") + shown);
    QCOMPARE(probe(f.window<TForm10>()).line2().text(), QStringLiteral("入力した答え：") + typed);
    QCOMPARE(menu.CurrentTest(), QStringLiteral("N_memory"));
    QCOMPARE(qxtest::readBytes(QStringLiteral("Rec/u/N_memory.dat")),
             cp932::encode(QStringLiteral("2026/12/08,レベル2,×,%1,%2\r\n"
                                          "2026/12/01,レベル1,○,123,123\r\n")
                               .arg(shown, typed)));
    pressEnter(f);
    QCOMPARE(f.game->modal.top(), &screen);
    QVERIFY(frame(screen).startButton().isEnabled());

    f.dialogs.whileAsking = [&] { f.dialogs.answers.push_back(probe(screen).shownDigits()); };
    frame(screen).startButton().click();
    QVERIFY(f.clock.advanceUntil([&] { return f.window<TForm10>().isVisible(); }, 5000));
    QCOMPARE(probe(f.window<TForm10>()).verdict().text(), QStringLiteral("正解"));
    QVERIFY(qxtest::readBytes(QStringLiteral("Rec/u/N_memory.dat"))
                .startsWith(cp932::encode(QStringLiteral("2026/12/08,レベル2,○,%1,%1\r\n"
                                                         "2026/12/08,レベル2,×,")
                                              .arg(probe(screen).shownDigits()))));
    pressEnter(f);

    // A pasted answer of two lines writes one record line: the first.
    f.dialogs.whileAsking = [&] { f.dialogs.answers.push_back(QStringLiteral("12\n34")); };
    frame(screen).startButton().click();
    QVERIFY(f.clock.advanceUntil([&] { return f.window<TForm10>().isVisible(); }, 5000));
    QCOMPARE(probe(f.window<TForm10>()).line2().text(), QStringLiteral("入力した答え：12"));
    const QByteArray written = qxtest::readBytes(QStringLiteral("Rec/u/N_memory.dat"));
    QCOMPARE(store::splitLines(written).size(), 4);
    QVERIFY(written.startsWith(cp932::encode(
        QStringLiteral("2026/12/08,レベル2,×,%1,12\r\n").arg(probe(screen).shownDigits()))));
    QVERIFY(frame(screen).counterLabel().text().isEmpty());
    QCOMPARE(menu.TotalScore(), 0);
    QVERIFY(f.dialogs.errors.isEmpty());
}

void NMemoryTest::overallStageScoresWritesNothingAndHandsOver()
{
    qxtest::GameFixture f;
    TForm4& screen = openScreen(f, 1);
    auto& menu = f.window<TForm1>();
    QCOMPARE(frame(screen).modeLabel().text(), QStringLiteral("総合"));
    QVERIFY(frame(screen).stagePicture().hasPicture());

    // Right; two digits and a space; nothing; full-width; one digit too many.
    const std::function<QString(const QString&)> answers[] = {
        [](const QString& d) { return d; },
        [](const QString& d) { return d.left(2) + QStringLiteral(" "); },
        [](const QString&) { return QString(); },
        [](const QString& d) {
            QString wide;
            for (QChar c : d)
                wide += QChar(0xFF10 + c.unicode() - u'0');
            return wide;
        },
        [](const QString& d) { return d + QStringLiteral("1"); },
    };
    const int expectedDigits[] = {3, 5, 6, 7, 7};
    const int expectedTotals[] = {80, 100, 100, 100, 170};
    int question = 0;
    f.dialogs.whileAsking = [&] {
        QCOMPARE(probe(screen).shownDigits().size(), expectedDigits[question]);
        f.dialogs.answers.push_back(answers[question](probe(screen).shownDigits()));
    };
    frame(screen).startButton().click();
    for (; question < 5; ++question) {
        QVERIFY(f.clock.advanceUntil([&] { return f.window<TForm10>().isVisible(); }, 5000));
        QCOMPARE(frame(screen).counterLabel().text(), QStringLiteral("%1問目").arg(question + 1));
        QCOMPARE(menu.TotalScore(), expectedTotals[question]);
        QCOMPARE(probe(f.window<TForm10>()).scoreLine().text(),
                 QStringLiteral("点数：%1").arg(expectedTotals[question]));
        pressEnter(f);
    }
    QCOMPARE(f.game->modal.top(), &f.window<TForm5>());
    QVERIFY(screen.closeRequested());
    QCOMPARE(menu.TotalScore(), 170);
    QCOMPARE(qxtest::readBytes(QStringLiteral("Rec/u/N_memory.dat")), QByteArray());
    QVERIFY(f.dialogs.errors.isEmpty());
}

void NMemoryTest::leavingMidQuestionStopsTimersAndResets_data()
{
    QTest::addColumn<int>("after");
    QTest::newRow("countdown") << 1500;
    QTest::newRow("pause") << 2200;
    QTest::newRow("digits shown") << 2700;
}

void NMemoryTest::leavingMidQuestionStopsTimersAndResets()
{
    QFETCH(int, after);
    qxtest::GameFixture f;
    TForm4& screen = openScreen(f, 1);
    const int idleTimers = f.clock.activeTimers();
    frame(screen).startButton().click();
    f.clock.advance(after);
    frame(screen).backButton().click();

    QCOMPARE(f.game->modal.depth(), 0);
    QCOMPARE(f.clock.activeTimers(), idleTimers);
    QVERIFY(!probe(screen).showingDigits());
    QVERIFY(!probe(screen).countingDown());
    QVERIFY(!probe(screen).pausing());
    QVERIFY(probe(screen).digits().text().isEmpty());
    QVERIFY(probe(screen).countdownDigit().isHidden());
    QCOMPARE(probe(screen).countdownDigit().text(), QStringLiteral("2"));
    qxtest::verifyAtRest(f, screen);
    f.clock.advance(5000);
    QVERIFY(probe(screen).digits().text().isEmpty());
    QVERIFY(f.dialogs.prompts.isEmpty());
}

QTEST_MAIN(NMemoryTest)
#include "tst_nmemory.moc"
