// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The box test: the heap's draws and hiding rules, the typed count, single
// play and stage 6 of the overall run on the virtual clock.

#include "screens/dialog.h"
#include "screens/mainform.h"
#include "rules/textcodec.h"
#include "screens/Block.h"
#include "screens/shape.h"
#include "testsupport.h"
#include "widgets/ShadoLbl.h"

#include <QLineEdit>
#include <QTest>

#include <set>

using namespace qx;

namespace {

const QString kRecord = QStringLiteral("Rec/u/box.dat");

int visibleBoxes(TForm8& screen)
{
    const std::vector<qxtest::Control> boxes = probe(screen).boxes();
    return static_cast<int>(
        std::count_if(boxes.begin(), boxes.end(), [](const auto& box) { return box.isVisible(); }));
}

// Types the text into the field after ms and presses ENTER there.
void answer(qxtest::GameFixture& f, int ms, const QString& text)
{
    TForm8& screen = f.window<TForm8>();
    QVERIFY(probe(screen).answerBox().isEnabled());
    f.clock.advance(ms);
    probe(screen).answerBox().type(text);
    probe(screen).answerBox().key(Qt::Key_Return);
}

} // namespace

class BoxTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void heapKeepsItsHidingRules();
    void countIsTheIntegerTyped_data();
    void countIsTheIntegerTyped();
    void singlePlayWritesTheCountAsTyped();
    void overallStageScoresSevenQuestionsAndHandsOverToShape();
    void missingRecordFileLeavesTheFieldClearedAndDisabled();
};

void BoxTest::heapKeepsItsHidingRules()
{
    Random random;
    std::set<int> seen;
    for (std::uint32_t seed = 1; seed <= 3000; ++seed) {
        random.seed(seed);
        const BoxSet heap = drawBoxHeap(random);
        const auto has = [&heap](int tag) { return heap.test(static_cast<std::size_t>(tag)); };
        for (int tag = 0; tag < 24; ++tag) {
            if (has(tag))
                seen.insert(tag);
        }
        for (int upper = 13; upper < 24; ++upper)
            QVERIFY(!has(upper) || has(upper - 12));
        QVERIFY(!has(15) || (has(2) && !has(18)));
        QVERIFY(!has(14) || (!has(17) && !has(18)));
    }
    // 19, 21, 22 and 23 never, every other box sometimes.
    QCOMPARE(seen, (std::set<int>{1, 2, 3, 5, 6, 7, 9, 10, 11, 13, 14, 15, 17, 18}));
}

void BoxTest::countIsTheIntegerTyped_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::newRow("digits") << "7" << 7;
    QTest::newRow("leading zero") << "07" << 7;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("letters") << "abc" << 0;
    QTest::newRow("two numbers") << "1 2" << 0;
    QTest::newRow("negative") << "-3" << -3;
    QTest::newRow("blank after") << "7 " << 0;
    QTest::newRow("blank before") << " 7" << 0;
    QTest::newRow("ideographic space after") << u"7\u3000"_qs << 0;
    QTest::newRow("tab after") << "7\t" << 0;
}

void BoxTest::countIsTheIntegerTyped()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    QCOMPARE(boxAnswer(text), count);
}

void BoxTest::singlePlayWritesTheCountAsTyped()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    const QByteArray old = cp932::encode(QStringLiteral("2026/12/01,×,00:06:52,14,13\r\n"));
    qxtest::writeBytes(kRecord, old);
    TForm1& menu = f.window<TForm1>();
    probe(menu).testButton(TestKind::Box).click();
    TForm8& screen = f.window<TForm8>();
    QCOMPARE(f.game->modal.top(), &screen);
    QVERIFY(!probe(screen).answerBox().isEnabled());

    frame(screen).startButton().click();
    QVERIFY(!frame(screen).startButton().isEnabled());
    QVERIFY(!f.sound.played.contains(QStringLiteral("wav/cd.wav")));
    const int count = probe(screen).boxCount();
    QCOMPARE(visibleBoxes(screen), count);
    // The right count with a leading zero, kept as typed.
    const QString typed = QStringLiteral("0") + QString::number(count);
    answer(f, 531, typed);
    QCOMPARE(probe(f.window<TForm10>()).verdict().text(), QStringLiteral("正解"));
    QCOMPARE(probe(f.window<TForm10>()).line1().text(), QStringLiteral("時間：00:00:53"));
    QCOMPARE(probe(f.window<TForm10>()).line2().text(),
             QStringLiteral("正解個数：%1  入力数%2").arg(count).arg(typed));
    QCOMPARE(menu.CurrentTest(), QStringLiteral("box"));
    QVERIFY(probe(screen).answerBox().text().isEmpty());
    QVERIFY(!probe(screen).answerBox().isEnabled());
    QVERIFY(frame(screen).startButton().isEnabled());
    QCOMPARE(visibleBoxes(screen), count);
    QByteArray expected =
        cp932::encode(QStringLiteral("2026/12/08,○,00:00:53,%1,%2\r\n").arg(count).arg(typed)) +
        old;
    QCOMPARE(qxtest::readBytes(kRecord), expected);
    QTest::keyClick(&f.window<TForm10>(), Qt::Key_Return);

    // A wrong count is written as typed, space and all.
    frame(screen).startButton().click();
    const int second = probe(screen).boxCount();
    answer(f, 1000, QStringLiteral("1 2"));
    QCOMPARE(probe(f.window<TForm10>()).verdict().text(), QStringLiteral("不正解"));
    expected.prepend(cp932::encode(QStringLiteral("2026/12/08,×,00:01:00,%1,1 2\r\n").arg(second)));
    QCOMPARE(qxtest::readBytes(kRecord), expected);
    QTest::keyClick(&f.window<TForm10>(), Qt::Key_Return);

    // A pasted count of two lines is taken as its first line.
    frame(screen).startButton().click();
    const int third = probe(screen).boxCount();
    f.clock.advance(200);
    probe(screen).answerBox().paste(QString::number(third) + QStringLiteral("\r\n99"));
    probe(screen).answerBox().key(Qt::Key_Return);
    QCOMPARE(probe(f.window<TForm10>()).verdict().text(), QStringLiteral("正解"));
    expected.prepend(cp932::encode(QStringLiteral("2026/12/08,○,00:00:20,%1,%1\r\n").arg(third)));
    QCOMPARE(qxtest::readBytes(kRecord), expected);
    QTest::keyClick(&f.window<TForm10>(), Qt::Key_Return);

    frame(screen).backButton().click();
    QCOMPARE(f.game->modal.depth(), 0);
    QCOMPARE(visibleBoxes(screen), 0);
    QVERIFY(f.dialogs.errors.isEmpty());
}

void BoxTest::overallStageScoresSevenQuestionsAndHandsOverToShape()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    TForm1& menu = f.window<TForm1>();
    f.enterStage("box");
    TForm8& screen = f.window<TForm8>();
    screen.ShowModal();
    QCOMPARE(frame(screen).modeLabel().text(), QStringLiteral("総合"));
    QVERIFY(frame(screen).stagePicture().hasPicture());

    // Answer times in ms and whether the count is right: 150, 0, -100, 400,
    // 390, 0 and 1 points.
    const int ms[] = {2500, 800, 5000, 0, 100, 300, 3990};
    const bool right[] = {true, false, true, true, true, false, true};
    const int totals[] = {150, 150, 50, 450, 840, 840, 841};
    int before = 0;
    frame(screen).startButton().click();
    for (int q = 0; q < 7; ++q) {
        QCOMPARE(f.game->session.run().question(), q + 1);
        QCOMPARE(frame(screen).counterLabel().text(), QStringLiteral("%1問目").arg(q + 1));
        QCOMPARE(visibleBoxes(screen), probe(screen).boxCount());
        answer(f, ms[q], QString::number(probe(screen).boxCount() + (right[q] ? 0 : 1)));
        QCOMPARE(menu.TotalScore(), totals[q]);
        QCOMPARE(probe(f.window<TForm10>()).scoreLine().text(),
                 QStringLiteral("点数：%1").arg(before));
        before = totals[q];
        QTest::keyClick(&f.window<TForm10>(), Qt::Key_Return);
    }
    QCOMPARE(f.game->modal.top(), &f.window<TForm6>());
    QVERIFY(screen.closeRequested());
    QCOMPARE(menu.TotalScore(), 841);
    QCOMPARE(qxtest::readBytes(kRecord), QByteArray());

    frame(f.window<TForm6>()).backButton().click();
    QCOMPARE(f.game->modal.depth(), 0);
    QCOMPARE(menu.OverallMode(), 0);
    QCOMPARE(menu.TotalScore(), 0);
    QCOMPARE(f.game->session.run().question(), 0);
    QCOMPARE(visibleBoxes(screen), 0);
    QVERIFY(frame(screen).modeLabel().text().isEmpty());
    QVERIFY(frame(screen).counterLabel().text().isEmpty());
    QVERIFY(!frame(screen).stagePicture().hasPicture());
    QVERIFY(f.dialogs.errors.isEmpty());
}

void BoxTest::missingRecordFileLeavesTheFieldClearedAndDisabled()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    QFile::remove(kRecord);
    TForm8& screen = f.window<TForm8>();
    screen.ShowModal();
    frame(screen).startButton().click();
    answer(f, 100, QStringLiteral("5"));
    QCOMPARE(f.dialogs.errors, QStringList{qxtest::cannotOpen(QStringLiteral("u/box.dat"))});
    QVERIFY(f.window<TForm10>().isVisible());
    QVERIFY(probe(screen).answerBox().text().isEmpty());
    QVERIFY(!probe(screen).answerBox().isEnabled());
    QVERIFY(frame(screen).startButton().isEnabled());
    QCOMPARE(probe(screen).boxCount(), 0);
}

QTEST_MAIN(BoxTest)
#include "tst_box.moc"
