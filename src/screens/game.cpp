// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/game.h"

#include "screens/dialog.h"
#include "screens/lvmenu.h"
#include "screens/mainform.h"
#include "screens/tensuushow.h"
#include "platform/firstframe.h"
#include "screens/Block.h"
#include "screens/LR.h"
#include "screens/frash.h"
#include "screens/panel.h"
#include "screens/picshow.h"
#include "screens/shape.h"
#include "screens/stop.h"
#include "screens/kiroku.h"
#include "screens/progressview.h"
#include "screens/regist.h"
#include "screens/select.h"
#include "screens/usrdelete.h"

#include <QApplication>
#include <QEvent>

namespace qx {

namespace {

class BeforeInput final : public QObject {
public:
    BeforeInput(QObject* parent, std::function<void()> then)
        : QObject(parent), m_then(std::move(then))
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
            qApp->removeEventFilter(this);
            m_then();
            break;
        default:
            break;
        }
        return false;
    }

private:
    std::function<void()> m_then;
};

} // namespace

Game::Game(Services& services, Build build)
    : services(services),
      dispatcher([&services](const QString& text) { services.dialogs.error(text); }),
      modal(dispatcher), session(*this)
{
    services.random.randomize();
    Form1 = std::make_unique<TForm1>(*this);
    modal.setMainForm(Form1.get());
    if (build == Build::Whole) {
        buildScreens();
        return;
    }
    afterFirstPaint(Form1.get(), [this] { buildScreens(); });
    if (qApp)
        m_buildOnInput = new BeforeInput(Form1.get(), [this] { buildScreens(); });
}

void Game::buildScreens()
{
    if (Form2)
        return;
    if (m_buildOnInput) {
        qApp->removeEventFilter(m_buildOnInput);
        // Its own event filter may be what runs this.
        m_buildOnInput->deleteLater();
        m_buildOnInput = nullptr;
    }
    Form2 = std::make_unique<TForm2>(*this);
    Form3 = std::make_unique<TForm3>(*this);
    Form4 = std::make_unique<TForm4>(*this);
    Form5 = std::make_unique<TForm5>(*this);
    Form6 = std::make_unique<TForm6>(*this);
    Form7 = std::make_unique<TForm7>(*this);
    Form8 = std::make_unique<TForm8>(*this);
    Form9 = std::make_unique<TForm9>(*this);
    Form10 = std::make_unique<TForm10>(*this);
    Form11 = std::make_unique<TForm11>(*this);
    Form12 = std::make_unique<TForm12>(*this);
    Form13 = std::make_unique<TForm13>(*this);
    Form14 = std::make_unique<TForm14>(*this);
    Form15 = std::make_unique<TForm15>(*this);
    Progress = std::make_unique<ProgressScreen>(*this);
    for (TestScreen* screen :
         std::initializer_list<TestScreen*>{Form2.get(), Form3.get(), Form4.get(), Form5.get(),
                                            Form6.get(), Form7.get(), Form8.get()})
        m_stageScreens.at(static_cast<std::size_t>(screen->test().number - 1)) = screen;
}

Game::~Game()
{
    Progress.reset();
    Form15.reset();
    Form14.reset();
    Form13.reset();
    Form12.reset();
    Form11.reset();
    Form10.reset();
    Form9.reset();
    Form8.reset();
    Form7.reset();
    Form6.reset();
    Form5.reset();
    Form4.reset();
    Form3.reset();
    Form2.reset();
    Form1.reset();
}

TestScreen* Game::screenOf(const TestDef& stage) const
{
    return m_stageScreens.at(static_cast<std::size_t>(stage.number - 1));
}

void Game::start()
{
    Form1->Show();
}

Form* Game::mainWindow() const
{
    return Form1.get();
}

void Game::open(Window window)
{
    // In the order of Window.
    const std::array<Form*, 4> windows{Form11.get(), Form12.get(), Form13.get(), Form14.get()};
    windows.at(static_cast<std::size_t>(window))->ShowModal();
}

void Game::openProgress(const TestDef& test)
{
    Progress->showTest(test);
    Progress->ShowModal();
}

} // namespace qx
