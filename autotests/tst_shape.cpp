// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The shape test: the order of the shapes, the stopwatch and its points,
// single play and stage 7 of the overall run on the virtual clock.

#include "screens/dialog.h"
#include "screens/mainform.h"
#include "screens/tensuushow.h"
#include "platform/pictures.h"
#include "rules/textcodec.h"
#include "screens/shape.h"
#include "testsupport.h"
#include "widgets/ShadoLbl.h"

#include <QTest>

#include <algorithm>
#include <set>
#include <vector>

using namespace qx;

namespace {

const QString kRecord = QStringLiteral("Rec/u/shape.dat");

ShapeClock clockOf(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    const int minutes = parts.at(0).toInt();
    const int seconds = parts.at(1).toInt();
    return {minutes / 10, minutes % 10, seconds / 10, seconds % 10, parts.at(2).toInt()};
}

QString shownTime(TForm6& screen)
{
    return probe(screen).stopwatch();
}

qxtest::Control button(TForm6& screen, int tag)
{
    return probe(screen).answerButton(tag);
}

// A wrong answer: any shape that is drawn in the ring.
int wrongTag(TForm6& screen)
{
    return probe(screen).shapeOrder()[0];
}

} // namespace

class ShapeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void orderDrawsEightShapesAndLeavesOneOut();
    void stopwatchShowsElapsedTenths_data();
    void stopwatchShowsElapsedTenths();
    void pointsAreHundredMinusTheDigits_data();
    void pointsAreHundredMinusTheDigits();
    void singlePlayStopsTheStopwatchAndWritesItsTime();
    void overallStageScoresAndEndsOnTheScoreScreen();
    void badPictureStillLetsThePlayerAnswer_data();
    void badPictureStillLetsThePlayerAnswer();
    void stopwatchReadsAsOneTime();
};

void ShapeTest::orderDrawsEightShapesAndLeavesOneOut()
{
    Random random;
    std::set<int> missing;
    for (std::uint32_t seed = 1; seed <= 500; ++seed) {
        random.seed(seed);
        std::array<int, 9> order = drawShapeOrder(random);
        missing.insert(order[8]);
        std::sort(order.begin(), order.end());
        QCOMPARE(order, (std::array<int, 9>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    }
    QCOMPARE(static_cast<int>(missing.size()), 9);
}

void ShapeTest::stopwatchShowsElapsedTenths_data()
{
    QTest::addColumn<int>("tenths");
    QTest::addColumn<QString>("shown");
    QTest::newRow("start") << 0 << "00:00:0";
    QTest::newRow("tenths") << 1 << "00:00:1";
    QTest::newRow("seconds") << 10 << "00:01:0";
    QTest::newRow("tens of seconds") << 100 << "00:10:0";
    QTest::newRow("minutes") << 600 << "01:00:0";
    QTest::newRow("every digit") << 5999 << "09:59:9";
    QTest::newRow("tens of minutes") << 6000 << "10:00:0";
    QTest::newRow("no upper limit") << 60000 << "100:00:0";
}

void ShapeTest::stopwatchShowsElapsedTenths()
{
    QFETCH(int, tenths);
    QFETCH(QString, shown);
    QCOMPARE(shapeClockText(shapeClockAt(tenths)), shown);
}

void ShapeTest::pointsAreHundredMinusTheDigits_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<int>("points");
    QTest::newRow("00:10:0") << "00:10:0" << 99;
    QTest::newRow("00:09:9") << "00:09:9" << 82;
    QTest::newRow("00:12:3") << "00:12:3" << 94;
    QTest::newRow("100:00:0") << "100:00:0" << 90;
}

void ShapeTest::pointsAreHundredMinusTheDigits()
{
    QFETCH(QString, time);
    QFETCH(int, points);
    QCOMPARE(shapePoints(clockOf(time)), points);
}

void ShapeTest::singlePlayStopsTheStopwatchAndWritesItsTime()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    const QByteArray old = cp932::encode(QStringLiteral("2026/12/01,×,00:30:0\r\n"));
    qxtest::writeBytes(kRecord, old);
    TForm1& menu = f.window<TForm1>();
    probe(menu).testButton(TestKind::Shape).click();
    TForm6& screen = f.window<TForm6>();
    QCOMPARE(f.game->modal.top(), &screen);
    QVERIFY(!probe(screen).stopwatchShown());
    QVERIFY(!button(screen, 1).isEnabled());

    frame(screen).startButton().click();
    QVERIFY(!frame(screen).startButton().isEnabled());
    QVERIFY(probe(screen).stopwatchShown());
    QCOMPARE(shownTime(screen), QStringLiteral("00:00:0"));
    // The ring holds the eight pictures loaded for the order.
    for (std::size_t k = 0; k < 8; ++k) {
        QCOMPARE(probe(screen).shapes()[k],
                 keyedTransparent(
                     loadBitmap(QStringLiteral("bmp/%1.bmp").arg(probe(screen).shapeOrder()[k]))));
    }
    QVERIFY(probe(screen).ring().hasPicture());

    f.clock.advance(12300);
    QCOMPARE(shownTime(screen), QStringLiteral("00:12:3"));
    button(screen, probe(screen).shapeOrder()[8]).click();
    QCOMPARE(probe(f.window<TForm10>()).verdict().text(), QStringLiteral("正解"));
    QCOMPARE(probe(f.window<TForm10>()).line1().text(), QStringLiteral("時間：00:12:3"));
    QVERIFY(probe(f.window<TForm10>()).line2().text().isEmpty());
    QCOMPARE(menu.CurrentTest(), QStringLiteral("shape"));
    f.clock.advance(1000);
    QCOMPARE(shownTime(screen), QStringLiteral("00:12:3"));
    QVERIFY(!button(screen, 1).isEnabled());
    QVERIFY(frame(screen).startButton().isEnabled());
    QByteArray expected = cp932::encode(QStringLiteral("2026/12/08,○,00:12:3\r\n")) + old;
    QCOMPARE(qxtest::readBytes(kRecord), expected);
    QTest::keyClick(&f.window<TForm10>(), Qt::Key_Return);

    frame(screen).startButton().click();
    QCOMPARE(shownTime(screen), QStringLiteral("00:00:0"));
    f.clock.advance(61000);
    button(screen, wrongTag(screen)).click();
    QCOMPARE(probe(f.window<TForm10>()).verdict().text(), QStringLiteral("不正解"));
    expected.prepend(cp932::encode(QStringLiteral("2026/12/08,×,01:01:0\r\n")));
    QCOMPARE(qxtest::readBytes(kRecord), expected);
    QTest::keyClick(&f.window<TForm10>(), Qt::Key_Return);

    frame(screen).backButton().click();
    QCOMPARE(f.game->modal.depth(), 0);
    QVERIFY(!probe(screen).stopwatchShown());
    QCOMPARE(shownTime(screen), QStringLiteral("00:00:0"));
    QVERIFY(frame(screen).modeLabel().text().isEmpty());
    QVERIFY(f.dialogs.errors.isEmpty());
}

void ShapeTest::overallStageScoresAndEndsOnTheScoreScreen()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    TForm1& menu = f.window<TForm1>();
    f.enterStage("shape", 100);
    TForm6& screen = f.window<TForm6>();
    screen.ShowModal();
    QCOMPARE(frame(screen).modeLabel().text(), QStringLiteral("総合"));
    QVERIFY(frame(screen).stagePicture().hasPicture());

    // Tenths before answering and whether right: 99, 82, 0, 94 and 100 points.
    const int tenths[] = {100, 99, 20, 123, 0};
    const bool right[] = {true, true, false, true, true};
    const int totals[] = {199, 281, 281, 375, 475};
    int before = 100;
    frame(screen).startButton().click();
    for (int q = 0; q < 5; ++q) {
        QCOMPARE(f.game->session.run().question(), q + 1);
        QCOMPARE(frame(screen).counterLabel().text(), QStringLiteral("%1問目").arg(q + 1));
        f.clock.advance(100 * tenths[q]);
        button(screen, right[q] ? probe(screen).shapeOrder()[8] : wrongTag(screen)).click();
        QCOMPARE(menu.TotalScore(), totals[q]);
        QCOMPARE(probe(f.window<TForm10>()).scoreLine().text(),
                 QStringLiteral("点数：%1").arg(before));
        before = totals[q];
        QTest::keyClick(&f.window<TForm10>(), Qt::Key_Return);
    }
    QCOMPARE(f.game->modal.top(), &f.window<TForm15>());
    QVERIFY(screen.closeRequested());
    QCOMPARE(probe(f.window<TForm15>()).scoreLabel().text(), QStringLiteral("点数：475"));
    QCOMPARE(probe(f.window<TForm15>()).rankLabel().text(), QStringLiteral("今回の順位　7位"));
    QCOMPARE(qxtest::readBytes(kRecord), QByteArray());

    probe(f.window<TForm15>()).backButton().click();
    QCOMPARE(f.game->modal.depth(), 0);
    qxtest::verifyAtRest(f, screen);
    QVERIFY(frame(screen).modeLabel().text().isEmpty());
    QVERIFY(!probe(screen).stopwatchShown());
    QVERIFY(probe(f.window<TForm15>()).userLabel().text().isEmpty());
    QVERIFY(f.dialogs.errors.isEmpty());
}

void ShapeTest::badPictureStillLetsThePlayerAnswer_data()
{
    QTest::addColumn<bool>("missing");
    QTest::newRow("missing") << true;
    QTest::newRow("not a picture") << false;
}

void ShapeTest::badPictureStillLetsThePlayerAnswer()
{
    QFETCH(bool, missing);
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    for (int n = 1; n <= 9; ++n) {
        const QString path = QStringLiteral("bmp/%1.bmp").arg(n);
        QFile::remove(path);
        if (!missing)
            qxtest::writeBytes(path, "BM not a picture");
    }
    TForm6& screen = f.window<TForm6>();
    screen.ShowModal();
    frame(screen).startButton().click();
    const QString error = missing ? QStringLiteral("ファイル %1/bmp/%2.bmp は開けません")
                                        .arg(f.folder.path())
                                        .arg(probe(screen).shapeOrder()[0])
                                  : QStringLiteral("ビットマップイメージが不正です");
    QCOMPARE(f.dialogs.errors, QStringList{error});
    // Nothing is drawn in the ring, but the question runs.
    QImage white(probe(screen).ring().size(), QImage::Format_RGB32);
    white.fill(Qt::white);
    QCOMPARE(probe(screen).ring().picture(), white);
    QVERIFY(button(screen, 1).isEnabled());
    f.clock.advance(500);
    QCOMPARE(shownTime(screen), QStringLiteral("00:00:5"));
    button(screen, probe(screen).shapeOrder()[8]).click();
    QCOMPARE(probe(f.window<TForm10>()).verdict().text(), QStringLiteral("正解"));
    QCOMPARE(qxtest::readBytes(kRecord), cp932::encode(QStringLiteral("2026/12/08,○,00:00:5\r\n")));
}

QTEST_MAIN(ShapeTest)
// The digits and separators stand evenly, as one time: the gaps between
// characters differ by a pixel or two at most, whatever the font.
void ShapeTest::stopwatchReadsAsOneTime()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    TForm6& screen = f.window<TForm6>();
    screen.ShowModal();
    frame(screen).startButton().click();
    f.clock.advance(2600);
    QCOMPARE(shownTime(screen), QStringLiteral("00:02:6"));
    const QRect area = probe(screen).stopwatchArea().adjusted(-4, 0, 4, 0);
    const QImage shown = screen.grab(area).toImage();
    // Runs of columns with ink are the characters.
    std::vector<std::pair<int, int>> runs;
    for (int x = 0; x < shown.width(); ++x) {
        bool ink = false;
        for (int y = 0; y < shown.height() && !ink; ++y)
            ink = qGray(shown.pixel(x, y)) < 100;
        if (!ink)
            continue;
        if (!runs.empty() && runs.back().second == x - 1)
            runs.back().second = x;
        else
            runs.emplace_back(x, x);
    }
    QCOMPARE(runs.size(), std::size_t{7});
    std::vector<int> gaps;
    for (std::size_t i = 1; i < runs.size(); ++i)
        gaps.push_back(runs[i].first - runs[i - 1].second);
    const auto [narrowest, widest] = std::minmax_element(gaps.begin(), gaps.end());
    QVERIFY2(*widest - *narrowest <= 3,
             qPrintable(QStringLiteral("gaps from %1 to %2 px").arg(*narrowest).arg(*widest)));
}

#include "tst_shape.moc"
