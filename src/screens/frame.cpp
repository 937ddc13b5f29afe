// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/frame.h"

#include "screens/game.h"
#include "platform/pictures.h"
#include "rules/textcodec.h"
#include "rules/store.h"
#include "widgets/ShadoLbl.h"

namespace qx {

TestScreen::TestScreen(Game& game, const QString& caption, const Layout& layout)
    : Screen(game, caption), m_layout(layout), m_test(&testDef(layout.test))
{
    addBackground(art::Scene::Screen);
    addLogo(layout.logo);
    m_stagePicture = new Image(this, layout.stagePicture);
    m_modeLabel = new TShadowLabel(this);
    styleScreenLabel(m_modeLabel, layout.labelHeight, Qt::blue);
    m_modeLabel->move(layout.modeLabel);
    m_counterLabel = new TShadowLabel(this);
    styleScreenLabel(m_counterLabel, layout.labelHeight, Qt::blue);
    m_counterLabel->move(layout.modeLabel.x(), layout.counterTop);
    m_startButton = addButton(tr("スタート"), layout.startButton, [this] {
        // In a run, only the stage being played starts a question, and only
        // while it has questions left, whatever reaches this button.
        if (!overall() || (run().stage() == m_test && run().question() < m_test->questions))
            startQuestion();
    });
    m_backButton = addButton(tr("もどる"), layout.backButton, [this] { Close(); });
}

bool TestScreen::overall() const
{
    return session().overall();
}

const OverallRun& TestScreen::run() const
{
    return session().run();
}

void TestScreen::FormActivate()
{
    if (overall()) {
        m_modeLabel->setCaption(tr("総合"));
        m_stagePicture->setPicture(
            loadBitmap(services().dataFile(QStringLiteral("bmp/stage%1.bmp").arg(m_test->number)),
                       m_stagePicture->devicePixelRatioF()));
        m_stagePicture->setAccessibleName(QStringLiteral("STAGE %1").arg(m_test->number));
    } else if (m_test->hasLevels) {
        m_modeLabel->setCaption(tr("レベル%1").arg(session().level()));
    }
}

void TestScreen::setCountdown(Timer& timer, std::function<void(const QString&)> show)
{
    m_countdownTimer = &timer;
    m_showCountdown = std::move(show);
    timer.setOnTimer([this] { countdownTick(); });
}

void TestScreen::startCountdown()
{
    m_countdown.rewind();
    m_showCountdown(m_countdown.text());
    m_countdownTimer->setEnabled(true);
}

void TestScreen::stopCountdown()
{
    m_countdownTimer->setEnabled(false);
    m_countdown.rewind();
}

void TestScreen::rewindCountdown()
{
    stopCountdown();
    m_showCountdown(m_countdown.text());
}

void TestScreen::countdownTick()
{
    const bool started = m_countdown.step();
    m_showCountdown(m_countdown.text());
    if (!started) {
        playSound(QStringLiteral("wav/cd.wav"));
        return;
    }
    m_countdownTimer->setEnabled(false);
    beginQuestion();
}

void TestScreen::countQuestion()
{
    m_counterLabel->setCaption(tr("%1問目").arg(session().countQuestion()));
}

void TestScreen::writeRecord(const Record& record) const
{
    session().writeRecord(*m_test, record);
}

void TestScreen::score(const Record& record) const
{
    if (overall())
        session().score(*m_test, record);
}

QString TestScreen::askAnswer() const
{
    return store::typedLine(
        services().dialogs.input(tr("入力"), tr("答えを入力して下さい"), QString()));
}

void TestScreen::showResult(const QString& verdict, const QString& line1, const QString& line2)
{
    session().showVerdict(*this, {verdict, line1, line2});
}

void TestScreen::finishOrderA(const QString& line1, const QString& line2, const Record& record)
{
    try {
        writeRecord(record);
    } catch (const Error& e) {
        // Single play ends the question without a verdict; a run, which
        // writes nothing, shows the error and goes on, or it would stall.
        if (!overall())
            throw;
        game().dispatcher.report(e.message());
    }
    score(record);
    showResult(record.right ? tr("正解") : tr("不正解"), line1, line2);
}

void TestScreen::finishOrderB(const QString& verdict, const QString& line1, const QString& line2,
                              const Record& record)
{
    showResult(verdict, line1, line2);
    score(record);
    writeRecord(record);
}

void TestScreen::resetFrame(bool clearMode)
{
    m_startButton->setEnabled(true);
    m_counterLabel->setCaption(QString());
    if (clearMode)
        m_modeLabel->setCaption(QString());
    session().endRun();
    m_stagePicture->clearPicture();
    m_stagePicture->setAccessibleName(QString());
}

} // namespace qx
