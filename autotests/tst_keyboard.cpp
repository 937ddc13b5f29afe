// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Playing without a mouse: Tab, the arrow keys, Space and ENTER reach every
// control a screen needs, and the focus never moves by itself onto a button
// that leaves the screen.

#include "screens/dialog.h"
#include "screens/mainform.h"
#include "screens/panel.h"
#include "screens/shape.h"
#include "testsupport.h"
#include "screens/kiroku.h"
#include "rules/store.h"
#include "widgets/ShadoLbl.h"

#include <QApplication>
#include <QTableView>
#include <QTest>

#include <algorithm>

using namespace qx;

namespace {

void activate(Form& screen)
{
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    screen.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&screen));
}

void openActive(Form& screen)
{
    screen.ShowModal();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    screen.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&screen));
}

QWidget* focused()
{
    return QApplication::focusWidget();
}

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QVERIFY(focused());
    QTest::keyClick(focused(), key, modifiers);
    // Focus handed back once a handler is over.
    QCoreApplication::processEvents();
}

// Moves with the arrow keys from one cell of a grid to another.
void walk(int from, int to, int columns)
{
    for (int row = from / columns; row < to / columns; ++row)
        press(Qt::Key_Down);
    for (int row = from / columns; row > to / columns; --row)
        press(Qt::Key_Up);
    for (int column = from % columns; column < to % columns; ++column)
        press(Qt::Key_Right);
    for (int column = from % columns; column > to % columns; --column)
        press(Qt::Key_Left);
}

bool showsRing(QWidget* control)
{
    const QImage image = control->grab().toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.red() > 230 && std::abs(pixel.green() - 160) < 30 && pixel.blue() < 60)
                return true;
        }
    }
    return false;
}

QString verdict(qxtest::GameFixture& f)
{
    return probe(f.window<TForm10>()).verdict().text();
}

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tabLeavesTheRecordsGrid_data();
    void tabLeavesTheRecordsGrid();
    void startingNeverHandsTheFocusToTheWayOut_data();
    void startingNeverHandsTheFocusToTheWayOut();
    void panelsArePlayedWithTheKeyboard();
    void shapesArePlayedWithTheKeyboard();
};

void KeyboardTest::tabLeavesTheRecordsGrid_data()
{
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("reached");
    QTest::newRow("Tab: もどる") << Qt::KeyboardModifiers(Qt::NoModifier) << "もどる";
    QTest::newRow("Shift+Tab: the last file button")
        << Qt::KeyboardModifiers(Qt::ShiftModifier) << "Reflexes";
}

// Hundreds of rows, and Tab still gets out of the grid at once; the arrow keys
// move inside it.
void KeyboardTest::tabLeavesTheRecordsGrid()
{
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, reached);
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    QByteArray lines;
    for (int i = 0; i < 300; ++i)
        lines += "2026/12/08,\x83\x8c\x83\x78\x83\x8b"
                 "1,\x81\x9b\r\n";
    qxtest::writeBytes(
        qxtest::records().resultPath(QStringLiteral("u"), QStringLiteral("panel.dat")), lines);
    TForm13& viewer = f.window<TForm13>();
    openActive(viewer);
    probe(viewer).testButton(TestKind::Panel).click();
    const qxtest::Control grid = probe(viewer).table();
    grid.focus(Qt::TabFocusReason);
    press(Qt::Key_Down);
    QVERIFY(grid == focused());
    press(Qt::Key_Tab, modifiers);
    QCOMPARE(focused()->accessibleName(), reached);
    QVERIFY(showsRing(focused()));
}

void KeyboardTest::startingNeverHandsTheFocusToTheWayOut_data()
{
    QTest::addColumn<bool>("overall");
    QTest::newRow("single play") << false;
    QTest::newRow("overall run") << true;
}

// Space on スタート disables it; a second Space must not reach もどる and throw
// the question away. After the stage dialog the focus is on スタート again.
void KeyboardTest::startingNeverHandsTheFocusToTheWayOut()
{
    QFETCH(bool, overall);
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    if (overall)
        f.enterStage("shape");
    TForm6& screen = f.window<TForm6>();
    openActive(screen);
    const qxtest::Control start = frame(screen).startButton();
    start.focus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    QVERIFY(!start.isEnabled());
    QVERIFY(!(frame(screen).backButton() == focused()));
    press(Qt::Key_Space);
    QCOMPARE(f.game->modal.top(), &screen);

    probe(screen).answerButtons()[0].click();
    QVERIFY(f.window<TForm10>().isVisible());
    QTest::keyClick(&f.window<TForm10>(), Qt::Key_Return);
    // The window system makes the screen under the dialog active again.
    screen.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&screen));
    QCoreApplication::processEvents();
    if (overall) {
        // ENTER started the next question; the focus stays off もどる.
        QCOMPARE(frame(screen).counterLabel().text(), QStringLiteral("2問目"));
        QVERIFY(!(frame(screen).backButton() == focused()));
        press(Qt::Key_Space);
        QCOMPARE(f.game->modal.top(), &screen);
        return;
    }
    QVERIFY(start == focused());
    QVERIFY(showsRing(focused()));
    press(Qt::Key_Space);
    QVERIFY(!start.isEnabled());
}

// Tab reaches the grid as one stop, the arrow keys walk it, Space and ENTER
// press a panel; Tab leaves the grid again.
void KeyboardTest::panelsArePlayedWithTheKeyboard()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    f.openAlone(TestKind::Panel);
    TForm2& screen = f.window<TForm2>();
    activate(screen);
    frame(screen).startButton().click();
    QVERIFY(f.clock.advanceUntil([&] { return probe(screen).panels()[0].isEnabled(); }, 20000));

    frame(screen).backButton().focus(Qt::TabFocusReason);
    press(Qt::Key_Tab);
    QCOMPARE(focused(), probe(screen).panels()[0]);
    QVERIFY(showsRing(focused()));
    int at = 0;
    const Qt::Key keys[] = {Qt::Key_Space, Qt::Key_Return};
    for (int i = 0; i < static_cast<int>(probe(screen).litSequence().size()); ++i) {
        const int lit = probe(screen).litSequence()[static_cast<std::size_t>(i)] - 1;
        walk(at, lit, 5);
        at = lit;
        QCOMPARE(focused(), probe(screen).panels()[static_cast<std::size_t>(lit)]);
        press(keys[i % 2]);
    }
    QVERIFY(f.window<TForm10>().isVisible());
    QCOMPARE(verdict(f), QStringLiteral("正解"));
}

void KeyboardTest::shapesArePlayedWithTheKeyboard()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    TForm6& screen = f.window<TForm6>();
    openActive(screen);
    frame(screen).startButton().click();
    frame(screen).backButton().focus(Qt::TabFocusReason);
    press(Qt::Key_Tab);
    QCOMPARE(focused(), probe(screen).answerButtons()[0]);
    QVERIFY(showsRing(focused()));
    // One stop: Tab leaves the shapes, and Shift+Tab comes back to the one
    // chosen last.
    press(Qt::Key_Right);
    press(Qt::Key_Tab);
    const auto& answers = probe(screen).answerButtons();
    QVERIFY(std::find(answers.begin(), answers.end(), focused()) == answers.end());
    press(Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(focused(), answers[1]);

    const int missing = probe(screen).shapeOrder()[8];
    walk(1, missing - 1, 9);
    QCOMPARE(focused(), probe(screen).answerButtons()[static_cast<std::size_t>(missing - 1)]);
    press(Qt::Key_Return);
    QVERIFY(f.window<TForm10>().isVisible());
    QCOMPARE(verdict(f), QStringLiteral("正解"));
}

QTEST_MAIN(KeyboardTest)
#include "tst_keyboard.moc"
