#pragma once

// The life every test screen shares: the mode and counter labels, the stage
// picture, the start button, the end of a question in one of two orders, the
// record line, and the reset on leaving. Each test adds only what is its own.

#include "app/screen.h"
#include "tests/stages.h"

class TShadowLabel;

namespace qx {

class OverallRun;

class TestScreen : public Screen {
public:
    struct Layout {
        const char* testId;
        bool hasLevels;   // single play shows "レベル" + level
        QPoint modeLabel; // the counter label sits below it
        int counterTop;
        int labelHeight; // pixel height of both labels
        QRect stagePicture;
        QRect startButton;
        QRect backButton;
        QRect logo{0, 0, 265, 49};
    };

    TestScreen(Game& game, const QString& caption, const Layout& layout);

    // In an overall run, after a question's verdict: what the run says comes
    // next, the next question here, the next stage's screen or the score.
    void continueRun();

    QString testId() const { return QString::fromLatin1(m_layout.testId); }
    const Stage& stage() const { return *m_stage; }

protected:
    friend struct ScreenProbe<TestScreen>;

    // The start button's action; the run calls it directly, also while the
    // button is disabled, to start the next question of an overall stage.
    virtual void startQuestion() = 0;

    TShadowLabel* modeLabel() const { return m_modeLabel; }
    TShadowLabel* counterLabel() const { return m_counterLabel; }
    Image* stagePicture() const { return m_stagePicture; }
    Image* startButton() const { return m_startButton; }
    Image* backButton() const { return m_backButton; }

    void FormActivate() override;

    bool overall() const;
    OverallRun& run() const;
    // Overall run: one more question, shown in the counter label.
    void countQuestion();
    // "Rec/<user>/<the test's file>".
    QString recordPath() const;
    // Date, a comma and the fields: the record line of single play.
    QString recordLine(const QString& fields) const;
    void addPoints(int points) const;
    // The answer input box of the L-R and N-memory tests: the line typed, or
    // "" when the player cancels.
    QString askAnswer() const;

    // Puts the verdict and extra lines into the stage dialog, makes this test
    // current and shows the dialog.
    void showResult(const QString& verdict, const QString& line1, const QString& line2);

    // End of a question of the panel, L-R and N-memory tests, after the points
    // per position have been added: the file comes first, so a file that
    // cannot be read or written ends the question without a verdict.
    void finishOrderA(bool right, const QString& line1, const QString& line2,
                      const QString& fields);
    // End of a question of the Reflex, box and shape tests: the dialog first,
    // then the points, then the file.
    void finishOrderB(const QString& verdict, const QString& line1, const QString& line2,
                      int points, const QString& fields);

    // The shared part of leaving: counter, stage picture, start button, and
    // the end of an overall run; clearMode also empties the mode label.
    void resetFrame(bool clearMode);

private:
    Layout m_layout;
    const Stage* m_stage;
    TShadowLabel* m_modeLabel;
    TShadowLabel* m_counterLabel;
    Image* m_stagePicture;
    Image* m_startButton;
    Image* m_backButton;
};

} // namespace qx
