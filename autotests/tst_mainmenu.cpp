// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The main menu: hover markers, locked buttons, the click sound and quitting.

#include "screens/mainform.h"
#include "screens/regist.h"
#include "testsupport.h"

#include <QAccessible>
#include <QTest>

#include <algorithm>

using namespace qx;

namespace {
// Moves the pointer over a point of the main window, as the player would.
void hover(TForm1& menu, QPoint point)
{
    QTest::mouseMove(menu.windowHandle(), point);
    QCoreApplication::processEvents();
}

int visibleMarkers(TForm1& menu)
{
    const std::vector<qxtest::Control> markers = probe(menu).markers();
    return static_cast<int>(
        std::count_if(markers.begin(), markers.end(), [](const auto& m) { return m.isVisible(); }));
}
} // namespace

class MainMenuTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pictureButtonsReadAsButtonsToScreenReaders_data();
    void pictureButtonsReadAsButtonsToScreenReaders();
    void markersFollowThePointerOverEnabledButtons();
    void onlyTheBackgroundPutsMarkersOut_data();
    void onlyTheBackgroundPutsMarkersOut();
    void quittingPlaysNoSound();
    void tabReachesEnabledButtonsAndSpacePressesThem();
    void clickBeforeTheOtherWindowsAreBuiltOpensItsWindow();
};

void MainMenuTest::markersFollowThePointerOverEnabledButtons()
{
    qxtest::GameFixture f;
    TForm1& menu = f.window<TForm1>();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    QCOMPARE(visibleMarkers(menu), 0);

    // A locked button shows no marker.
    hover(menu, probe(menu).testButton(TestKind::Panel).geometry().center());
    QCOMPARE(visibleMarkers(menu), 0);

    // From one enabled button straight onto another: both markers stay.
    hover(menu, probe(menu).registerButton().geometry().center());
    hover(menu, probe(menu).selectButton().geometry().center());
    QCOMPARE(visibleMarkers(menu), 2);
    QVERIFY(probe(menu).markers()[8].isVisible());
    QVERIFY(probe(menu).markers()[9].isVisible());

    // The background puts them all out.
    hover(menu, QPoint(300, 200));
    QCOMPARE(visibleMarkers(menu), 0);

    f.selectUser(QStringLiteral("u"));
    hover(menu, probe(menu).testButton(TestKind::Panel).geometry().center());
    QVERIFY(probe(menu).markers()[1].isVisible());
}

void MainMenuTest::onlyTheBackgroundPutsMarkersOut_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("markersLeft");
    QTest::newRow("個別トレーニング banner") << QPoint(64 + 120, 208 + 20) << 1;
    QTest::newRow("star") << QPoint(404 + 28, 96 + 28) << 1;
    QTest::newRow("rainbow") << QPoint(452 + 110, 52 + 50) << 1;
    QTest::newRow("the marker shown") << QPoint(0 + 12, 8 + 14) << 1;
    QTest::newRow("background") << QPoint(20, 240) << 0;
}

void MainMenuTest::onlyTheBackgroundPutsMarkersOut()
{
    QFETCH(QPoint, point);
    QFETCH(int, markersLeft);
    qxtest::GameFixture f;
    TForm1& menu = f.window<TForm1>();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    hover(menu, probe(menu).registerButton().geometry().center());
    QVERIFY(probe(menu).markers()[8].isVisible());
    hover(menu, point);
    QCOMPARE(visibleMarkers(menu), markersLeft);
}

void MainMenuTest::quittingPlaysNoSound()
{
    qxtest::GameFixture f;
    bool quit = false;
    f.game->modal.setQuit([&quit] { quit = true; });
    probe(f.window<TForm1>()).quitButton().click();
    QVERIFY(quit);
    QVERIFY(f.sound.played.isEmpty());
}

// Keyboard play: Tab walks the enabled picture buttons and Space presses the
// one it reached; the focus a window gives by itself presses nothing.
void MainMenuTest::tabReachesEnabledButtonsAndSpacePressesThem()
{
    qxtest::GameFixture f;
    TForm1& menu = f.window<TForm1>();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    menu.activateWindow();
    probe(menu).registerButton().focus(Qt::ActiveWindowFocusReason);
    probe(menu).registerButton().key(Qt::Key_Space);
    QCOMPARE(f.game->modal.top(), nullptr);

    // Locked until a user is chosen, the test buttons are passed over.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->accessibleName(), QStringLiteral("選択"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(f.game->modal.top(), &f.window<TForm12>());
}

// The other windows are built after the menu's first frame; a click that
// comes sooner finds the window it opens there all the same.
void MainMenuTest::clickBeforeTheOtherWindowsAreBuiltOpensItsWindow()
{
    qxtest::GameFixture f;
    f.game.reset();
    f.game = std::make_unique<Game>(f.services, Game::Build::MenuFirst);
    f.game->start();
    QVERIFY(!probe(*f.game).windowsBuilt());
    probe(f.window<TForm1>()).registerButton().mouseClick(Qt::LeftButton);
    QVERIFY(probe(*f.game).windowsBuilt());
    QCOMPARE(f.game->modal.top(), &f.window<TForm11>());
    // The first frame comes after, and builds nothing twice.
    TForm11* registration = &f.window<TForm11>();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window<TForm1>()));
    QCoreApplication::processEvents();
    QCOMPARE(&f.window<TForm11>(), registration);
}

QTEST_MAIN(MainMenuTest)
void MainMenuTest::pictureButtonsReadAsButtonsToScreenReaders_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("register") << "登録";
    QTest::newRow("overall run") << "総合トレーニング";
    QTest::newRow("stop") << "ストップ";
    QTest::newRow("quit") << "おわる";
}

void MainMenuTest::pictureButtonsReadAsButtonsToScreenReaders()
{
    QFETCH(QString, name);
    qxtest::GameFixture f;
    const QList<qx::Image*> pictures = f.window<TForm1>().findChildren<qx::Image*>();
    const auto button = std::find_if(pictures.begin(), pictures.end(),
                                     [&](qx::Image* p) { return p->accessibleName() == name; });
    QVERIFY(button != pictures.end());
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(*button);
    QVERIFY(reader);
    QCOMPARE(reader->role(), QAccessible::Button);
    QCOMPARE(reader->text(QAccessible::Name), name);
    QVERIFY(reader->actionInterface());
    QCOMPARE(reader->actionInterface()->actionNames(),
             QStringList{QAccessibleActionInterface::pressAction()});
}

#include "tst_mainmenu.moc"
