// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The stage dialog: ENTER or the close box dismiss it, and in an overall run
// that starts the next question or hands over to the next stage.

#include "screens/dialog.h"
#include "screens/mainform.h"
#include "platform/desktop.h"
#include "platform/dispatch.h"
#include "screens/Block.h"
#include "screens/regist.h"
#include "screens/panel.h"
#include "rules/catalogue.h"
#include "testsupport.h"
#include "widgets/ShadoLbl.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWindow>

using namespace qx;

namespace {
void answerPanels(qxtest::GameFixture& f)
{
    TForm2& screen = f.window<TForm2>();
    QVERIFY(f.clock.advanceUntil([&] { return probe(screen).panels()[0].isEnabled(); }, 20000));
    for (int i = 0; i < static_cast<int>(probe(screen).litSequence().size()); ++i)
        probe(screen)
            .panel(probe(screen).litSequence()[static_cast<std::size_t>(i)])
            .mouseClick(Qt::LeftButton);
}
} // namespace

class DialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void coveredFormsStayGuardedWhenAnotherGameEnds();
    void otherKeysDoNothing();
    void closeBoxActsLikeEnter();
    void dialogStaysOverTheScreenThatOpenedIt_data();
    void dialogStaysOverTheScreenThatOpenedIt();
    void scoreLineSitsSixtyPixelsLeftOfCentre_data();
    void scoreLineSitsSixtyPixelsLeftOfCentre();
    void screenUnderTheDialogTakesNoInput();
    void stageHandsOffOnceItsCountIsReached_data();
    void stageHandsOffOnceItsCountIsReached();
    void boxesBelongToTheirWindowAndNoWindowMaximises_data();
    void boxesBelongToTheirWindowAndNoWindowMaximises();
};

void DialogTest::otherKeysDoNothing()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    f.openAlone(TestKind::Panel);
    frame(f.window<TForm2>()).startButton().click();
    answerPanels(f);
    TForm10& dialog = f.window<TForm10>();
    QVERIFY(dialog.isVisible());
    QTest::keyClick(&dialog, Qt::Key_A);
    QTest::keyClick(&dialog, Qt::Key_Space);
    QVERIFY(dialog.isVisible());
    QTest::keyClick(&dialog, Qt::Key_Return);
    QVERIFY(!dialog.isVisible());
    QVERIFY(probe(dialog).verdict().text().isEmpty());
    // Single play: back on the test screen, ready for another question.
    QCOMPARE(f.game->modal.top(), &f.window<TForm2>());
    QVERIFY(frame(f.window<TForm2>()).startButton().isEnabled());
    QCOMPARE(f.game->session.run().question(), 0);
}

void DialogTest::closeBoxActsLikeEnter()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    probe(f.window<TForm1>()).overallButton().click();
    frame(f.window<TForm2>()).startButton().click();
    answerPanels(f);
    f.window<TForm10>().close();
    QVERIFY(!f.window<TForm10>().isVisible());
    // The next question started at once, with its countdown.
    QCOMPARE(f.game->session.run().question(), 2);
    QVERIFY(probe(f.window<TForm2>()).countdownBox().isVisible());
}

void DialogTest::dialogStaysOverTheScreenThatOpenedIt_data()
{
    QTest::addColumn<bool>("fileMissing");
    QTest::newRow("result written") << false;
    QTest::newRow("record file missing") << true;
}

// The window system keeps a dialog above the window it is tied to; untied, it
// went under the test screen when that screen took the keyboard back from an
// error box, and the player never saw the verdict. The boxes belong to the
// dialog, so that closing one hands the keyboard back to it.
void DialogTest::dialogStaysOverTheScreenThatOpenedIt()
{
    QFETCH(bool, fileMissing);
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    if (fileMissing)
        QVERIFY(QFile::remove(QStringLiteral("Rec/u/box.dat")));
    probe(f.window<TForm1>()).testButton(TestKind::Box).click();
    TForm8& screen = f.window<TForm8>();
    QCOMPARE(f.game->modal.front(), &screen);
    frame(screen).startButton().click();
    probe(screen).answerBox().type(QStringLiteral("3"));
    probe(screen).answerBox().key(Qt::Key_Return);
    QCOMPARE(f.dialogs.errors.size(), fileMissing ? 1 : 0);
    TForm10& dialog = f.window<TForm10>();
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.windowHandle()->transientParent(), screen.windowHandle());
    QCOMPARE(f.game->modal.front(), &dialog);
    QTest::keyClick(&dialog, Qt::Key_Return);
    QCOMPARE(f.game->modal.front(), &screen);
}

void DialogTest::scoreLineSitsSixtyPixelsLeftOfCentre_data()
{
    QTest::addColumn<int>("score");
    QTest::newRow("short") << 5;
    QTest::newRow("long") << -1234567;
}

void DialogTest::scoreLineSitsSixtyPixelsLeftOfCentre()
{
    QFETCH(int, score);
    qxtest::GameFixture f;
    f.enterStage("panel", score);
    TForm10& dialog = f.window<TForm10>();
    dialog.setResult(QStringLiteral("正解"), QString(), QString());
    dialog.Show();
    QCOMPARE(probe(dialog).scoreLine().text(), QStringLiteral("点数：%1").arg(score));
    QCOMPARE(probe(dialog).scoreLine().x(), 600 / 2 - probe(dialog).scoreLine().width() / 2 - 60);
    QCOMPARE(probe(dialog).verdict().x(), 600 / 2 - probe(dialog).verdict().width() / 2);
    QVERIFY(probe(dialog).scoreLine().width() > 0);
}

// The dialog is not modal, so the window system lets the player bring the
// test screen to the front (Alt+Tab, a taskbar click) and click its start
// button, which is enabled again at every answer. A question started there
// took the overall run past its stage's count.
void DialogTest::screenUnderTheDialogTakesNoInput()
{
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    probe(f.window<TForm1>()).overallButton().click();
    TForm2& screen = f.window<TForm2>();
    frame(screen).startButton().click();
    answerPanels(f);
    QVERIFY(f.window<TForm10>().isVisible());
    QVERIFY(frame(screen).startButton().isEnabled());
    screen.activateWindow();
    frame(screen).startButton().mouseClick(Qt::LeftButton);
    QTest::keyClick(&screen, Qt::Key_Return);
    screen.close();
    QCOMPARE(f.game->session.run().question(), 1);
    QVERIFY(!probe(screen).countdownBox().isVisible());
    QCOMPARE(f.game->modal.top(), &screen);
    QTest::keyClick(&f.window<TForm10>(), Qt::Key_Return);
    QCOMPARE(f.game->session.run().question(), 2);
    // Once the dialog is gone the screen is the player's again.
    QVERIFY(f.game->modal.acceptsInput(&screen));
}

void DialogTest::stageHandsOffOnceItsCountIsReached_data()
{
    QTest::addColumn<QString>("testId");
    QTest::addColumn<int>("count");
    QTest::newRow("panel, fifth question") << QStringLiteral("panel") << 5;
    QTest::newRow("panel, past its count") << QStringLiteral("panel") << 9;
    QTest::newRow("box, seventh question") << QStringLiteral("box") << 7;
    QTest::newRow("box, past its count") << QStringLiteral("box") << 8;
}

void DialogTest::stageHandsOffOnceItsCountIsReached()
{
    QFETCH(QString, testId);
    QFETCH(int, count);
    qxtest::GameFixture f;
    f.selectUser(QStringLiteral("u"));
    const TestDef& stage = *findTest(testId);
    TestScreen& screen = *f.game->screenOf(stage);
    f.enterStage(stage.testId);
    screen.ShowModal();
    for (int i = 0; i < count; ++i)
        f.game->session.countQuestion();
    f.window<TForm10>().Show(&screen);
    QTest::keyClick(&f.window<TForm10>(), Qt::Key_Return);
    const TestDef& next = *std::next(&stage);
    QCOMPARE(f.game->modal.top(), f.game->screenOf(next));
    QCOMPARE(f.game->session.run().stage(), &next);
    QVERIFY(screen.closeRequested());
}

void DialogTest::boxesBelongToTheirWindowAndNoWindowMaximises_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("fixedSize");
    QTest::newRow("message") << "message" << true;
    QTest::newRow("error") << "error" << true;
    QTest::newRow("input") << "input" << false;
}

// Where the window system places windows itself (Wayland), a box opens over
// the window it belongs to only as that window's transient child; a window of
// fixed size must not offer to maximise, which the window system reads from
// its size limits and flags.
void DialogTest::boxesBelongToTheirWindowAndNoWindowMaximises()
{
    QFETCH(QString, box);
    QFETCH(bool, fixedSize);
    qxtest::GameFixture f;
    TForm1& menu = f.window<TForm1>();
    QVERIFY(menu.isVisible());
    const auto offersNoMaximise = [](const QWidget* window) {
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    };
    offersNoMaximise(&menu);
    QCOMPARE(menu.windowHandle()->minimumSize(), menu.windowHandle()->maximumSize());

    DesktopDialogs dialogs;
    dialogs.setOwner([&f] { return f.game->modal.front(); });
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QWidget* shown = QApplication::activeModalWidget();
        QVERIFY(shown);
        seen = true;
        QCOMPARE(shown->windowHandle()->transientParent(), menu.windowHandle());
        offersNoMaximise(shown);
        if (fixedSize)
            QCOMPARE(shown->minimumSize(), shown->maximumSize());
        shown->close();
    });
    if (box == QLatin1String("message"))
        dialogs.message(QStringLiteral("登録しました"));
    else if (box == QLatin1String("error"))
        dialogs.error(QStringLiteral("ファイル x は開けません"));
    else
        dialogs.input(QStringLiteral("入力"), QStringLiteral("答えを入力して下さい"), QString());
    QVERIFY(seen);
}

QTEST_MAIN(DialogTest)
// Every game guards its own forms: a second one (tests make many) that goes
// away must not take the first one's guard with it.
void DialogTest::coveredFormsStayGuardedWhenAnotherGameEnds()
{
    qxtest::GameFixture f;
    f.window<TForm11>().ShowModal();
    QCOMPARE(f.game->modal.depth(), 1);
    {
        const qxtest::GameFixture other;
    }
    probe(f.window<TForm1>()).registerButton().mouseClick(Qt::LeftButton);
    QCOMPARE(f.game->modal.depth(), 1);
    QCOMPARE(f.game->modal.top(), &f.window<TForm11>());
    // Closing still settles once the handler returns.
    f.game->dispatcher.run([&] { f.window<TForm11>().Close(); });
    QCOMPARE(f.game->modal.depth(), 0);
}

#include "tst_dialog.moc"
