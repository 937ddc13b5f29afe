#include "tests/frame.h"

#include "app/dialog.h"
#include "app/game.h"
#include "app/mainform.h"
#include "app/tensuushow.h"
#include "platform/clock.h"
#include "platform/pictures.h"
#include "platform/textcodec.h"
#include "users/store.h"
#include "widgets/ShadoLbl.h"

namespace qx {

TestScreen::TestScreen(Game& game, const QString& caption, const Layout& layout)
    : Screen(game, caption), m_layout(layout), m_stage(stageOf(testId()))
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
    m_startButton =
        addButton(QStringLiteral("スタート"), layout.startButton, [this] { startQuestion(); });
    m_backButton = addButton(QStringLiteral("もどる"), layout.backButton, [this] { Close(); });
}

bool TestScreen::overall() const
{
    return main().OverallMode() != 0;
}

OverallRun& TestScreen::run() const
{
    return main().run();
}

void TestScreen::continueRun()
{
    switch (run().afterQuestion()) {
    case OverallRun::Next::None:
        return;
    case OverallRun::Next::Question:
        startQuestion();
        return;
    case OverallRun::Next::Stage:
        // Marked to close, this screen stays under the next one until the run
        // ends, so that its reset does not end the run now.
        Close();
        game().screenOf(*run().stage())->ShowModal();
        return;
    case OverallRun::Next::Score:
        Close();
        game().Form15->ShowModal();
        return;
    }
}

void TestScreen::FormActivate()
{
    if (overall()) {
        m_modeLabel->setCaption(QStringLiteral("総合"));
        m_stagePicture->setPicture(
            loadBitmap(services().dataFile(QStringLiteral("bmp/stage%1.bmp").arg(m_stage->number)),
                       m_stagePicture->devicePixelRatioF()));
        m_stagePicture->setAccessibleName(QStringLiteral("STAGE %1").arg(m_stage->number));
    } else if (m_layout.hasLevels) {
        m_modeLabel->setCaption(store::levelLabel(main().Level));
    }
}

void TestScreen::countQuestion()
{
    m_counterLabel->setCaption(QString::number(run().countQuestion()) + QStringLiteral("問目"));
}

QString TestScreen::recordPath() const
{
    return store::resultPath(main().UserName, store::fileNameForTest(testId()));
}

QString TestScreen::recordLine(const QString& fields) const
{
    return store::formatDate(services().clock.today()) + QLatin1Char(',') + fields;
}

void TestScreen::addPoints(int points) const
{
    run().addPoints(points);
}

QString TestScreen::askAnswer() const
{
    return store::typedLine(services().dialogs.input(
        QStringLiteral("入力"), QStringLiteral("答えを入力して下さい"), QString()));
}

void TestScreen::showResult(const QString& verdict, const QString& line1, const QString& line2)
{
    game().Form10->setResult(verdict, line1, line2);
    main().CurrentTest = testId();
    game().Form10->Show(this);
}

void TestScreen::finishOrderA(bool right, const QString& line1, const QString& line2,
                              const QString& fields)
{
    store::writeResultLine(recordPath(), !overall(), recordLine(fields));
    if (right && overall())
        addPoints(50);
    showResult(right ? QStringLiteral("正解") : QStringLiteral("不正解"), line1, line2);
}

void TestScreen::finishOrderB(const QString& verdict, const QString& line1, const QString& line2,
                              int points, const QString& fields)
{
    showResult(verdict, line1, line2);
    if (overall())
        addPoints(points);
    store::writeResultLine(recordPath(), !overall(), recordLine(fields));
}

void TestScreen::resetFrame(bool clearMode)
{
    m_startButton->setEnabled(true);
    m_counterLabel->setCaption(QString());
    if (clearMode)
        m_modeLabel->setCaption(QString());
    run().end();
    m_stagePicture->clearPicture();
    m_stagePicture->setAccessibleName(QString());
}

} // namespace qx
