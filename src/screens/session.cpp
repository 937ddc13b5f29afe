// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/session.h"

#include "screens/dialog.h"
#include "screens/game.h"
#include "screens/lvmenu.h"
#include "screens/mainform.h"
#include "screens/tensuushow.h"
#include "platform/clock.h"
#include "screens/frame.h"
#include "rules/store.h"

namespace qx {

Session::Session(Game& game) : m_game(game) {}

void Session::selectUser(const QString& name)
{
    m_user = name;
    m_game.Form1->showUser(name);
}

void Session::playAlone(TestKind kind)
{
    m_test = &testDef(kind);
    Form* first =
        m_test->hasLevels ? static_cast<Form*>(m_game.Form9.get()) : m_game.screenOf(*m_test);
    first->ShowModal([this] { endRun(); });
}

void Session::playOverall()
{
    m_run.begin();
    m_test = m_run.stage();
    m_game.screenOf(*m_test)->ShowModal();
}

void Session::chooseLevel(int level)
{
    m_level = level;
    if (m_test != nullptr)
        m_game.screenOf(*m_test)->ShowModal();
}

int Session::countQuestion()
{
    return m_run.countQuestion();
}

void Session::score(const TestDef& test, const Record& record)
{
    m_run.addPoints(questionPoints(test, record));
}

void Session::writeRecord(const TestDef& test, Record record) const
{
    record.day = m_game.services.clock.today();
    record.level = m_level;
    const store::Records& records = m_game.services.records;
    records.writeResultLine(records.resultPath(m_user, test.file()), !overall(),
                            recordLine(test, record));
}

void Session::showVerdict(TestScreen& screen, const Verdict& verdict)
{
    m_game.Form10->setResult(verdict.text, verdict.line1, verdict.line2);
    m_test = &screen.test();
    m_game.Form10->Show(&screen);
}

void Session::verdictDismissed()
{
    if (m_run.active() && !m_run.stage()->ownHandOff)
        continueRun();
}

void Session::continueRun()
{
    if (!m_run.active())
        return;
    TestScreen& screen = *m_game.screenOf(*m_run.stage());
    switch (m_run.afterQuestion()) {
    case OverallRun::Next::None:
        return;
    case OverallRun::Next::Question:
        screen.startQuestion();
        return;
    case OverallRun::Next::Stage:
        // Marked to close, the screen stays under the next one until the run
        // ends, so that its reset does not end the run now.
        screen.Close();
        m_test = m_run.stage();
        m_game.screenOf(*m_test)->ShowModal();
        return;
    case OverallRun::Next::Score:
        screen.Close();
        m_game.Form15->ShowModal();
        return;
    }
}

void Session::endRun()
{
    m_run.end();
}

} // namespace qx
