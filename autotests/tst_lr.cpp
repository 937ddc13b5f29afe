// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The L-R test: its rules, and the screen in single play and as the second
// stage of the overall run, played on the virtual clock.

#include "screens/dialog.h"
#include "screens/lvmenu.h"
#include "screens/mainform.h"
#include "rules/textcodec.h"
#include "screens/LR.h"
#include "screens/frash.h"
#include "testsupport.h"
#include "rules/store.h"
#include "widgets/ShadoLbl.h"

#include <QImage>
#include <QPainter>
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

// Opens the screen as the level selection or the stage dialog would.
TForm3& openScreen(qxtest::GameFixture& f, int overallMode, int level = 1)
{
    f.selectUser(QStringLiteral("u"));
    if (overallMode != 0) {
        f.enterStage("L-R");
        f.window<TForm3>().ShowModal();
    } else {
        f.openAlone(TestKind::LR, level);
    }
    return f.window<TForm3>();
}

// The first column of the strip that is not white, or -1.
int leftmostInk(const QImage& strip)
{
    for (int x = 0; x < strip.width(); ++x) {
        for (int y = 0; y < strip.height(); ++y) {
            if (strip.pixel(x, y) != qRgb(255, 255, 255))
                return x;
        }
    }
    return -1;
}

QString fullWidth(const QString& digits)
{
    QString wide;
    for (QChar c : digits)
        wide += QChar(0xFF10 + c.unicode() - u'0');
    return wide;
}

} // namespace

namespace {

int darkPixels(const QImage& picture)
{
    int dark = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            dark += qGray(picture.pixel(x, y)) < 128 ? 1 : 0;
    return dark;
}

int inkOf(const QFont& font)
{
    QImage picture(200, 200, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setFont(font);
    painter.drawText(20, 160, QStringLiteral("2"));
    painter.end();
    return darkPixels(picture);
}

} // namespace

class LRTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void countdownDigitIsBold_data();
    void countdownDigitIsBold();
    void whiteCountdownDigitHasAShadow();
    void makeNumberHasDistinctDigits_data();
    void makeNumberHasDistinctDigits();
    void questionTable_data();
    void questionTable();
    void positionsScoreByBytes_data();
    void positionsScoreByBytes();
    void runTakes301FramesAtTheLevelsPeriod_data();
    void runTakes301FramesAtTheLevelsPeriod();
    void singlePlayWritesTheAnswerAsTyped();
    void overallStageScoresWritesNothingAndHandsOver();
    void leavingMidQuestionStopsTimersAndResets_data();
    void leavingMidQuestionStopsTimersAndResets();
};

void LRTest::makeNumberHasDistinctDigits_data()
{
    QTest::addColumn<int>("digits");
    for (int digits = 2; digits <= 9; ++digits)
        QTest::addRow("%d digits", digits) << digits;
}

void LRTest::makeNumberHasDistinctDigits()
{
    QFETCH(int, digits);
    Random random;
    for (std::uint32_t seed = 1; seed <= 500; ++seed) {
        random.seed(seed);
        const QString text = QString::number(MakeNumber(digits, random));
        // The length also rules out a leading zero.
        QCOMPARE(text.size(), digits);
        QCOMPARE(QSet<QChar>(text.begin(), text.end()).size(), digits);
    }
}

void LRTest::questionTable_data()
{
    QTest::addColumn<bool>("overall");
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("digits");
    QTest::addColumn<unsigned>("period");
    QTest::newRow("level 1") << false << 1 << 2 << 4u;
    QTest::newRow("level 2") << false << 2 << 2 << 3u;
    QTest::newRow("level 3") << false << 3 << 2 << 2u;
    QTest::newRow("level 4") << false << 4 << 3 << 2u;
    QTest::newRow("level 10") << false << 10 << 9 << 2u;
    QTest::newRow("question 1") << true << 1 << 2 << 3u;
    QTest::newRow("question 2") << true << 2 << 3 << 3u;
    QTest::newRow("question 3") << true << 3 << 5 << 2u;
    QTest::newRow("question 4") << true << 4 << 6 << 2u;
    QTest::newRow("question 5") << true << 5 << 7 << 2u;
}

void LRTest::questionTable()
{
    QFETCH(bool, overall);
    QFETCH(int, n);
    QFETCH(int, digits);
    QFETCH(unsigned, period);
    // The level plays no part in the overall run.
    const LRQuestion q = lrQuestion(overall, overall ? 7 : n, overall ? n : 0);
    QCOMPARE(q.digits, digits);
    QCOMPARE(q.period, period);
}

void LRTest::positionsScoreByBytes_data()
{
    QTest::addColumn<QString>("right");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("matches");
    QTest::newRow("all") << "123"
                         << "123" << 3;
    QTest::newRow("leading zero shifts every digit") << "123"
                                                     << "0123" << 0;
    QTest::newRow("longer answer") << "123"
                                   << "12345" << 3;
    QTest::newRow("shorter answer") << "4567"
                                    << "45" << 2;
    QTest::newRow("full-width digits") << "123"
                                       << "１２３" << 0;
    QTest::newRow("space") << "123"
                           << "1 3" << 2;
    QTest::newRow("empty") << "98"
                           << "" << 0;
    // The N-memory test scores its digit strings the same way.
    QTest::newRow("repeated digits") << "5500"
                                     << "5500" << 4;
    QTest::newRow("space inside") << "123"
                                  << "12 3" << 2;
    QTest::newRow("leading space") << "123"
                                   << " 123" << 0;
}

void LRTest::positionsScoreByBytes()
{
    QFETCH(QString, right);
    QFETCH(QString, answer);
    QFETCH(int, matches);
    QCOMPARE(positionMatches(right, answer), matches);
}

void LRTest::runTakes301FramesAtTheLevelsPeriod_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("period");
    QTest::newRow("level 1") << 1 << 4;
    QTest::newRow("level 2") << 2 << 3;
    QTest::newRow("level 10") << 10 << 2;
}

void LRTest::runTakes301FramesAtTheLevelsPeriod()
{
    QFETCH(int, level);
    QFETCH(int, period);
    qxtest::GameFixture f;
    TForm3& screen = openScreen(f, 0, level);
    std::int64_t askedAt = -1;
    int textXWhenAsked = 0;
    bool timerOffWhenAsked = false;
    bool startEnabledWhenAsked = false;
    f.dialogs.whileAsking = [&] {
        askedAt = f.clock.nowNs();
        textXWhenAsked = probe(screen).numberX();
        timerOffWhenAsked = !probe(screen).running();
        startEnabledWhenAsked = frame(screen).startButton().isEnabled();
    };
    const std::int64_t clickedAt = f.clock.nowNs();
    frame(screen).startButton().click();
    QVERIFY(!frame(screen).startButton().isEnabled());
    QCOMPARE(probe(screen).countdownDigit().text(), QStringLiteral("2"));
    f.clock.advance(1000);
    QCOMPARE(probe(screen).countdownDigit().text(), QStringLiteral("1"));
    QCOMPARE(f.sound.played.count(QStringLiteral("wav/cd.wav")), 2);
    f.clock.advance(1000);
    QVERIFY(probe(screen).countdownDigit().isHidden());
    QVERIFY(probe(screen).running());
    QCOMPARE(f.sound.played.count(QStringLiteral("wav/cd.wav")), 2);

    // 50 frames drawn, the last at x = 98.
    f.clock.advance(50 * period);
    const int ink = leftmostInk(probe(screen).strip().picture());
    QVERIFY2(ink >= 98 && ink <= 102, qPrintable(QString::number(ink)));

    QVERIFY(f.clock.advanceUntil([&] { return askedAt >= 0; }, 5000));
    // The box opens in the tick of the frame drawn at x = 600.
    QCOMPARE(askedAt - clickedAt, (2000 + 301 * period) * kNsPerMs);
    QCOMPARE(textXWhenAsked, 602);
    QVERIFY(timerOffWhenAsked);
    QVERIFY(startEnabledWhenAsked);
    QCOMPARE(f.dialogs.prompts, QStringList{QStringLiteral("入力/答えを入力して下さい")});
    QCOMPARE(QString::number(probe(screen).shownNumber()).size(),
             lrQuestion(false, level, 0).digits);
}

void LRTest::singlePlayWritesTheAnswerAsTyped()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    qxtest::writeBytes(QStringLiteral("Rec/u/L_R.dat"),
                       cp932::encode(QStringLiteral("2026/12/01,レベル1,×,7,4\r\n")));
    auto& menu = f.window<TForm1>();
    probe(menu).testButton(TestKind::LR).click();
    probe(f.window<TForm9>()).levelButton(3).click();
    TForm3& screen = f.window<TForm3>();
    QCOMPARE(f.game->modal.top(), &screen);
    QCOMPARE(frame(screen).modeLabel().text(), QStringLiteral("レベル3"));

    QString typed;
    f.dialogs.whileAsking = [&] {
        if (typed.isEmpty())
            typed = QString::number(probe(screen).shownNumber());
        f.dialogs.answers.push_back(typed);
    };
    frame(screen).startButton().click();
    QVERIFY(f.clock.advanceUntil([&] { return f.window<TForm10>().isVisible(); }, 5000));
    const QString first = typed;
    QCOMPARE(first.size(), 2);
    QCOMPARE(probe(f.window<TForm10>()).verdict().text(), QStringLiteral("正解"));
    QCOMPARE(probe(f.window<TForm10>()).line1().text(), QStringLiteral("答え：") + first);
    QCOMPARE(probe(f.window<TForm10>()).line2().text(), QStringLiteral("入力した答え：") + first);
    QCOMPARE(menu.CurrentTest(), QStringLiteral("L-R"));
    QCOMPARE(qxtest::readBytes(QStringLiteral("Rec/u/L_R.dat")),
             cp932::encode(QStringLiteral("2026/12/08,レベル3,○,%1,%1\r\n"
                                          "2026/12/01,レベル1,×,7,4\r\n")
                               .arg(first)));
    pressEnter(f);
    QCOMPARE(f.game->modal.top(), &screen);
    QVERIFY(frame(screen).startButton().isEnabled());

    // A comma in the answer is written unchanged.
    typed = QStringLiteral("1,2");
    frame(screen).startButton().click();
    QVERIFY(f.clock.advanceUntil([&] { return f.window<TForm10>().isVisible(); }, 5000));
    QCOMPARE(probe(f.window<TForm10>()).verdict().text(), QStringLiteral("不正解"));
    QCOMPARE(qxtest::readBytes(QStringLiteral("Rec/u/L_R.dat")),
             cp932::encode(QStringLiteral("2026/12/08,レベル3,×,%1,1,2\r\n"
                                          "2026/12/08,レベル3,○,%2,%2\r\n"
                                          "2026/12/01,レベル1,×,7,4\r\n")
                               .arg(probe(screen).shownNumber())
                               .arg(first)));
    pressEnter(f);

    // A pasted answer of two lines writes one record line: the first.
    typed = QStringLiteral("12\r\n34");
    frame(screen).startButton().click();
    QVERIFY(f.clock.advanceUntil([&] { return f.window<TForm10>().isVisible(); }, 5000));
    QCOMPARE(probe(f.window<TForm10>()).line2().text(), QStringLiteral("入力した答え：12"));
    QCOMPARE(store::splitLines(qxtest::readBytes(QStringLiteral("Rec/u/L_R.dat"))).size(), 4);
    QVERIFY(qxtest::readBytes(QStringLiteral("Rec/u/L_R.dat"))
                .startsWith(cp932::encode(QStringLiteral("2026/12/08,レベル3,×,%1,12\r\n")
                                              .arg(probe(screen).shownNumber()))));
    QVERIFY(frame(screen).counterLabel().text().isEmpty());
    QCOMPARE(f.game->session.run().question(), 0);
    QCOMPARE(menu.TotalScore(), 0);
    QVERIFY(f.dialogs.errors.isEmpty());
}

void LRTest::overallStageScoresWritesNothingAndHandsOver()
{
    qxtest::GameFixture f;
    TForm3& screen = openScreen(f, 1);
    auto& menu = f.window<TForm1>();
    QCOMPARE(frame(screen).modeLabel().text(), QStringLiteral("総合"));
    QVERIFY(frame(screen).stagePicture().hasPicture());

    // Right; first digit wrong; a leading zero; full-width; one digit too many.
    const std::function<QString(const QString&)> answers[] = {
        [](const QString& n) { return n; },
        [](const QString& n) {
            return QString::number((n.at(0).digitValue() + 1) % 10) + n.mid(1);
        },
        [](const QString& n) { return QStringLiteral("0") + n; },
        [](const QString& n) { return fullWidth(n); },
        [](const QString& n) { return n + QStringLiteral("0"); },
    };
    const int expectedDigits[] = {2, 3, 5, 6, 7};
    const unsigned expectedPeriods[] = {3, 3, 2, 2, 2};
    const int expectedTotals[] = {70, 90, 90, 90, 160};
    int question = 0;
    f.dialogs.whileAsking = [&] {
        const QString number = QString::number(probe(screen).shownNumber());
        QCOMPARE(number.size(), expectedDigits[question]);
        QCOMPARE(probe(screen).stepMs(), expectedPeriods[question]);
        f.dialogs.answers.push_back(answers[question](number));
    };
    frame(screen).startButton().click();
    for (; question < 5; ++question) {
        QVERIFY(f.clock.advanceUntil([&] { return f.window<TForm10>().isVisible(); }, 5000));
        QCOMPARE(f.game->session.run().question(), question + 1);
        QCOMPARE(frame(screen).counterLabel().text(), QStringLiteral("%1問目").arg(question + 1));
        QCOMPARE(menu.TotalScore(), expectedTotals[question]);
        QCOMPARE(probe(f.window<TForm10>()).scoreLine().text(),
                 QStringLiteral("点数：%1").arg(expectedTotals[question]));
        pressEnter(f);
    }
    QCOMPARE(f.game->modal.top(), &f.window<TForm4>());
    QVERIFY(screen.closeRequested());
    QCOMPARE(menu.OverallMode(), 1);
    QCOMPARE(menu.TotalScore(), 160);
    QCOMPARE(qxtest::readBytes(QStringLiteral("Rec/u/L_R.dat")), QByteArray());
    QVERIFY(f.dialogs.errors.isEmpty());
}

void LRTest::leavingMidQuestionStopsTimersAndResets_data()
{
    QTest::addColumn<int>("after");
    QTest::newRow("countdown") << 1500;
    QTest::newRow("run") << 2600;
}

void LRTest::leavingMidQuestionStopsTimersAndResets()
{
    QFETCH(int, after);
    qxtest::GameFixture f;
    TForm3& screen = openScreen(f, 1);
    const int idleTimers = f.clock.activeTimers();
    frame(screen).startButton().click();
    f.clock.advance(after);
    frame(screen).backButton().click();

    QCOMPARE(f.game->modal.depth(), 0);
    QCOMPARE(f.clock.activeTimers(), idleTimers);
    QVERIFY(!probe(screen).running());
    QVERIFY(!probe(screen).countingDown());
    QVERIFY(probe(screen).countdownDigit().isHidden());
    QCOMPARE(probe(screen).countdownDigit().text(), QStringLiteral("2"));
    QCOMPARE(probe(screen).numberX(), 0);
    QCOMPARE(probe(screen).shownNumber(), 0);
    QCOMPARE(leftmostInk(probe(screen).strip().picture()), -1);
    qxtest::verifyAtRest(f, screen);
    f.clock.advance(5000);
    QVERIFY(f.dialogs.prompts.isEmpty());
}

QTEST_MAIN(LRTest)
// The large digits are bold as designed, although the stand-in font has no
// bold face of its own.
void LRTest::countdownDigitIsBold_data()
{
    QTest::addColumn<QString>("test");
    QTest::newRow("L-R") << "L-R";
    QTest::newRow("N-memory") << "N_memory";
}

void LRTest::countdownDigitIsBold()
{
    QFETCH(QString, test);
    qxtest::GameFixture f;
    const QWidget* digit = test == QLatin1String("L-R")
                               ? probe(f.window<TForm3>()).countdownDigit().widget()
                               : probe(f.window<TForm4>()).countdownDigit().widget();
    QFont regular = digit->font();
    QVERIFY(regular.bold());
    regular.setBold(false);
    QVERIFY(inkOf(digit->font()) > inkOf(regular) * 5 / 4);
}

// White on the pale bricks, the L-R countdown is read by its dark shadow.
void LRTest::whiteCountdownDigitHasAShadow()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    f.openAlone(TestKind::LR);
    TForm3& screen = f.window<TForm3>();
    frame(screen).startButton().click();
    QVERIFY(probe(screen).countdownDigit().isVisible());
    const QImage shown = screen.grab(probe(screen).countdownDigit().geometry()).toImage();
    QVERIFY(darkPixels(shown) > 200);
}

#include "tst_lr.moc"
