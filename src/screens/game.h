// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The game: its seams, the dispatcher its handlers run through, and its
// windows (the fifteen of the design and the progress chart), created once in
// a fixed order and alive until the end. The windows are its own: a screen
// asks it, or the session, to open another, and never names one.

#include "platform/dispatch.h"
#include "platform/form.h"
#include "screens/session.h"
#include "platform/services.h"
#include "rules/catalogue.h"

#include <array>
#include <memory>

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm8;
class TForm9;
class TForm10;
class TForm11;
class TForm12;
class TForm13;
class TForm14;
class TForm15;
class ProgressScreen;

namespace qx {

class TestScreen;
template <class S> struct ScreenProbe;

class Game {
public:
    enum class Build {
        Whole,
        // The main menu first, the other windows right after its first frame
        // (or before input that reaches the menu sooner), so that the player
        // sees the game sooner.
        MenuFirst,
    };

    explicit Game(Services& services, Build build = Build::Whole);
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // The windows that the main menu and the records viewer open.
    enum class Window { Registration, Selection, Records, Deletion };

    // Shows the main menu.
    void start();
    // The main menu, the window the game starts with.
    Form* mainWindow() const;
    void open(Window window);
    // A user's progress in a test, over the records viewer.
    void openProgress(const TestDef& test);

    // The screen that plays a stage's test.
    TestScreen* screenOf(const TestDef& stage) const;

    Services& services;
    // Handlers' errors go to the error report of the game's boxes.
    Dispatcher dispatcher;
    ModalStack modal;
    // Who plays what; the one place that moves the game on.
    Session session;

private:
    // The session moves the game on between its windows.
    friend class Session;
    friend struct ScreenProbe<Game>;

    void buildScreens();

    std::unique_ptr<TForm1> Form1;
    std::unique_ptr<TForm2> Form2;
    std::unique_ptr<TForm3> Form3;
    std::unique_ptr<TForm4> Form4;
    std::unique_ptr<TForm5> Form5;
    std::unique_ptr<TForm6> Form6;
    std::unique_ptr<TForm7> Form7;
    std::unique_ptr<TForm8> Form8;
    std::unique_ptr<TForm9> Form9;
    std::unique_ptr<TForm10> Form10;
    std::unique_ptr<TForm11> Form11;
    std::unique_ptr<TForm12> Form12;
    std::unique_ptr<TForm13> Form13;
    std::unique_ptr<TForm14> Form14;
    std::unique_ptr<TForm15> Form15;
    // A user's progress in a test, opened from the records viewer.
    std::unique_ptr<ProgressScreen> Progress;

    // Until the other windows are built: builds them before a click or key
    // reaches the main menu, which may open one of them.
    QObject* m_buildOnInput = nullptr;

    // By stage number from 1, each screen placed by the test it plays.
    std::array<TestScreen*, kTests.size()> m_stageScreens{};
};

} // namespace qx
