// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the tests see of a screen and do on it, as a player would: a control's
// caption, whether it is shown or enabled, what it paints, a count, and the
// clicks and keys a player gives it. The screens keep their controls, timers
// and state private; nothing here hands out a screen's member, so a change
// inside a screen touches its probe, not every test. State a test must start
// from is set up by the session's and the screens' own operations, or here as
// the game itself would reach it.

#include "screens/dialog.h"
#include "screens/lvmenu.h"
#include "screens/mainform.h"
#include "screens/tensuushow.h"
#include "screens/Block.h"
#include "screens/LR.h"
#include "screens/frame.h"
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
#include "widgets/ShadoLbl.h"
#include "widgets/MMTimer.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <QTableWidget>

#include <type_traits>
#include <vector>

namespace qxtest {

// One control as a player meets it: what it shows, and what a player does to
// it. Read-only apart from those actions.
class Control {
public:
    explicit Control(QWidget* widget) : m_widget(widget) {}

    // The caption of a label, the text of an entry box, else "".
    QString text() const
    {
        if (const auto* shadow = dynamic_cast<const TShadowLabel*>(m_widget))
            return shadow->Caption();
        if (const auto* label = dynamic_cast<const QLabel*>(m_widget))
            return label->text();
        if (const auto* edit = dynamic_cast<const QLineEdit*>(m_widget))
            return edit->text();
        return {};
    }
    // The colour of a label's text or of a panel.
    QColor color() const
    {
        if (const auto* panel = as<qx::Panel>())
            return panel->color();
        return as<TShadowLabel>()->FontColor();
    }
    bool isEnabled() const { return m_widget->isEnabled(); }
    bool isVisible() const { return m_widget->isVisible(); }
    bool isHidden() const { return m_widget->isHidden(); }
    bool isVisibleTo(const QWidget* ancestor) const { return m_widget->isVisibleTo(ancestor); }
    bool hasPicture() const { return as<qx::Image>()->hasPicture(); }
    QImage picture() const { return as<qx::Image>()->picture(); }
    QRect geometry() const { return m_widget->geometry(); }
    // Where it shows in its window.
    QRect windowGeometry() const
    {
        return {m_widget->mapTo(m_widget->window(), QPoint()), m_widget->size()};
    }
    int x() const { return m_widget->x(); }
    int y() const { return m_widget->y(); }
    int width() const { return m_widget->width(); }
    QSize size() const { return m_widget->size(); }
    // What the control paints, as the screen shows it.
    QImage grab() const { return m_widget->grab().toImage(); }
    // The control read as what it is, read-only.
    const QWidget* widget() const { return m_widget; }
    template <class W> const W* as() const { return dynamic_cast<const W*>(m_widget); }
    // The control as a screen reader meets it.
    QAccessibleInterface* reader() const { return QAccessible::queryAccessibleInterface(m_widget); }
    // Events of the control seen by a watcher (its paints, say), as the
    // window system delivers them.
    void watch(QObject* watcher) const { m_widget->installEventFilter(watcher); }
    friend bool operator==(const Control& control, const QWidget* widget)
    {
        return control.m_widget == widget;
    }

    // A click: a picture button takes it as the mouse's release over it.
    void click() const { dynamic_cast<qx::Image&>(*m_widget).click(); }
    // The focus, brought the way the reason given says (Tab, a click, the
    // window).
    void focus(Qt::FocusReason reason) const { m_widget->setFocus(reason); }
    // The mouse and the keys as the window system brings them (testsupport).
    void mouseClick(Qt::MouseButton button, Qt::KeyboardModifiers modifiers = {},
                    QPoint at = {}) const;
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const;
    void type(const QString& text) const;
    // An entry box holding text, as typing or pasting it over what was there
    // leaves it.
    void fill(const QString& text) const { dynamic_cast<QLineEdit&>(*m_widget).setText(text); }
    // Text pasted at the cursor of an entry box.
    void paste(const QString& text) const { dynamic_cast<QLineEdit&>(*m_widget).insert(text); }

private:
    QWidget* m_widget;
};

template <class W, std::size_t N> std::vector<Control> controls(const std::array<W*, N>& widgets)
{
    return {widgets.begin(), widgets.end()};
}

// A list of names the player picks from.
class NameList {
public:
    explicit NameList(QListWidget* list) : m_list(list) {}
    int count() const { return m_list->count(); }
    QStringList names() const
    {
        QStringList names;
        for (int i = 0; i < m_list->count(); ++i)
            names.append(m_list->item(i)->text());
        return names;
    }
    // The name clicked in the list.
    void choose(const QString& name) const
    {
        const QList<QListWidgetItem*> items = m_list->findItems(name, Qt::MatchExactly);
        if (!items.isEmpty())
            m_list->setCurrentItem(items.first());
    }
    void choose(int row) const { m_list->setCurrentRow(row); }
    QAccessibleInterface* reader() const { return QAccessible::queryAccessibleInterface(m_list); }

private:
    QListWidget* m_list;
};

} // namespace qxtest

template <> struct qx::ScreenProbe<qx::TestScreen> {
    qx::TestScreen& s;
    qxtest::Control backButton() const { return qxtest::Control(s.backButton()); }
    qxtest::Control counterLabel() const { return qxtest::Control(s.counterLabel()); }
    qxtest::Control modeLabel() const { return qxtest::Control(s.modeLabel()); }
    qxtest::Control stagePicture() const { return qxtest::Control(s.stagePicture()); }
    qxtest::Control startButton() const { return qxtest::Control(s.startButton()); }
    int countdownValue() const { return s.m_countdown.value(); }
    // One tick of the countdown timer, as its timer would run it.
    void countdownTick() const { s.countdownTick(); }
};

template <> struct qx::ScreenProbe<qx::Session> {
    qx::Session& s;
    // A run that has reached a later stage with the points given, as its
    // earlier stages would leave it.
    void reachStage(const qx::TestDef& stage, int points) const
    {
        qx::OverallRun& run = s.m_run;
        run.begin();
        while (run.stage() != &stage) {
            while (run.countQuestion() < run.stage()->questions) {
            }
            run.afterQuestion();
        }
        run.addPoints(points);
    }
};

// The main menu.
template <> struct qx::ScreenProbe<TForm1> {
    TForm1& s;
    qxtest::Control overallButton() const { return qxtest::Control(s.Image24); }
    // The button of a test alone.
    qxtest::Control testButton(qx::TestKind kind) const
    {
        const std::array<qx::Image*, qx::kTests.size()> buttons{
            s.Image7, s.Image3, s.Image4, s.Image5, s.Image17, s.Image18, s.Image16};
        return qxtest::Control(buttons.at(static_cast<std::size_t>(qx::testDef(kind).number - 1)));
    }
    qxtest::Control registerButton() const { return qxtest::Control(s.Image14); }
    qxtest::Control selectButton() const { return qxtest::Control(s.Image6); }
    qxtest::Control recordsButton() const { return qxtest::Control(s.Image26); }
    qxtest::Control deleteButton() const { return qxtest::Control(s.Image28); }
    qxtest::Control quitButton() const { return qxtest::Control(s.Image2); }
    qxtest::Control userLabel() const { return qxtest::Control(s.Label1); }
    // The pointers beside the buttons the mouse is over.
    std::vector<qxtest::Control> markers() const { return qxtest::controls(s.markers); }
};

template <> struct qx::ScreenProbe<TForm2> {
    TForm2& s;
    // The panels' numbers (from 1) in the order they lit, 0 for a light not
    // shown yet.
    std::vector<int> litSequence() const
    {
        return {s.LitSequence.begin(), s.LitSequence.begin() + s.SequenceLength};
    }
    qxtest::Control countdownBox() const { return qxtest::Control(s.Panel27); }
    qxtest::Control countdownDigit() const { return qxtest::Control(s.ShadowLabel2); }
    // The 25 panels, by number from 1 in reading order.
    std::vector<qxtest::Control> panels() const { return qxtest::controls(s.panels); }
    qxtest::Control panel(int number) const
    {
        return qxtest::Control(s.panels.at(static_cast<std::size_t>(number - 1)));
    }
};

template <> struct qx::ScreenProbe<TForm3> {
    TForm3& s;
    qxtest::Control countdownDigit() const { return qxtest::Control(s.Label2); }
    // The number runs across the strip.
    bool running() const { return s.MMTimer1.Enabled(); }
    // How often the number moves on, milliseconds.
    unsigned stepMs() const { return s.MMTimer1.Interval(); }
    bool countingDown() const { return s.Timer1.Enabled(); }
    qxtest::Control strip() const { return qxtest::Control(s.PaintBox1); }
    int shownNumber() const { return s.ShownNumber; }
    // Where the number's left edge is on the strip.
    int numberX() const { return s.TextX; }
    // The window closing, as its close button would.
    void closeQuery() const { s.FormCloseQuery(); }
};

template <> struct qx::ScreenProbe<TForm4> {
    TForm4& s;
    qxtest::Control digits() const { return qxtest::Control(s.Label1); }
    qxtest::Control countdownDigit() const { return qxtest::Control(s.Label2); }
    QString shownDigits() const { return s.ShownDigits; }
    bool showingDigits() const { return s.Timer1.Enabled(); }
    bool countingDown() const { return s.Timer2.Enabled(); }
    bool pausing() const { return s.Timer3.Enabled(); }
};

template <> struct qx::ScreenProbe<TForm5> {
    TForm5& s;
    // The stopwatch, hundredths.
    int clock() const { return s.ClockHundredths; }
    int target() const { return s.TargetHundredths; }
    qxtest::Control restingClock() const { return qxtest::Control(s.Label2); }
    bool clockRunning() const { return s.MMTimer1.Enabled(); }
    qxtest::Control clockFace() const { return qxtest::Control(s.PaintBox1); }
    qxtest::Control clockArea() const { return qxtest::Control(s.Panel1); }
    // The clock area as it would look with the blind lifted.
    QImage clockUnderBlind() const
    {
        const bool shown = s.Panel2->isVisible();
        s.Panel2->hide();
        const QImage clock = s.Panel1->grab().toImage();
        s.Panel2->setVisible(shown);
        return clock;
    }
    qxtest::Control blind() const { return qxtest::Control(s.Panel2); }
    qxtest::Control countdownBox() const { return qxtest::Control(s.Panel3); }
    qxtest::Control targetLabel() const { return qxtest::Control(s.ShadowLabel2); }
    qxtest::Control differenceLabel() const { return qxtest::Control(s.ShadowLabel4); }
    qxtest::Control countdownDigit() const { return qxtest::Control(s.ShadowLabel5); }
    bool revealing() const { return s.Timer1.Enabled(); }
    bool countingDown() const { return s.countdown.Enabled(); }
};

template <> struct qx::ScreenProbe<TForm6> {
    TForm6& s;
    qxtest::Control ring() const { return qxtest::Control(s.Image11); }
    // The stopwatch as it reads, "00:12:3".
    QString stopwatch() const
    {
        QString text;
        for (const QLabel* label :
             {s.Label7, s.Label6, s.Label5, s.Label3, s.Label2, s.Label4, s.Label1})
            text += label->text();
        return text;
    }
    bool stopwatchShown() const { return s.Label1->isVisible(); }
    QRect stopwatchArea() const
    {
        return {s.Label7->geometry().topLeft(), s.Label1->geometry().bottomRight()};
    }
    std::array<QImage, 8> shapes() const { return s.ShapeBitmaps; }
    // The shapes' order: the first eight around the ring, the ninth the one
    // asked for.
    std::array<int, 9> shapeOrder() const { return s.ShapeOrder; }
    std::vector<qxtest::Control> answerButtons() const { return qxtest::controls(s.answerButtons); }
    qxtest::Control answerButton(int tag) const
    {
        return qxtest::Control(s.answerButtons.at(static_cast<std::size_t>(tag - 1)));
    }
};

template <> struct qx::ScreenProbe<TForm7> {
    TForm7& s;
    qxtest::Control pictureBox() const { return qxtest::Control(s.Image4); }
    bool reactionRunning() const { return s.MMTimer1.Enabled(); }
    int reaction() const { return s.ReactionHundredths; }
    // The random wait before the picture, milliseconds.
    int waitMs() const { return s.Timer1.Interval(); }
    // The wait ends, as its timer would end it.
    void endWait() const { s.Timer1Timer(); }
};

template <> struct qx::ScreenProbe<TForm8> {
    TForm8& s;
    int boxCount() const { return s.BoxCount; }
    qxtest::Control answerBox() const { return qxtest::Control(s.Edit1); }
    std::vector<qxtest::Control> boxes() const { return qxtest::controls(s.boxes); }
};

// The level selection.
template <> struct qx::ScreenProbe<TForm9> {
    TForm9& s;
    qxtest::Control backButton() const { return qxtest::Control(s.Image14); }
    qxtest::Control userLabel() const { return qxtest::Control(s.Label1); }
    qxtest::Control levelButton(int level) const
    {
        return qxtest::Control(s.levelButtons.at(static_cast<std::size_t>(level - 1)));
    }
};

// The stage dialog.
template <> struct qx::ScreenProbe<TForm10> {
    TForm10& s;
    qxtest::Control line1() const { return qxtest::Control(s.Label1); }
    qxtest::Control line2() const { return qxtest::Control(s.Label2); }
    qxtest::Control verdict() const { return qxtest::Control(s.ShadowLabel2); }
    qxtest::Control scoreLine() const { return qxtest::Control(s.ShadowLabel3); }
};

// The registration.
template <> struct qx::ScreenProbe<TForm11> {
    TForm11& s;
    qxtest::Control nameBox() const { return qxtest::Control(s.Edit1); }
    qxtest::Control instructions() const { return qxtest::Control(s.Image3); }
    qxtest::Control backButton() const { return qxtest::Control(s.Image4); }
    qxtest::Control registerButton() const { return qxtest::Control(s.Image5); }
};

// The user selection.
template <> struct qx::ScreenProbe<TForm12> {
    TForm12& s;
    qxtest::Control backButton() const { return qxtest::Control(s.Image4); }
    qxtest::Control okButton() const { return qxtest::Control(s.Image5); }
    qxtest::NameList users() const { return qxtest::NameList(s.ListBox1); }
};

// The records viewer.
template <> struct qx::ScreenProbe<TForm13> {
    TForm13& s;
    // The grid's text, heading row 0 included.
    QString cell(int column, int row) const { return s.Grid.Cells(column, row); }
    int rowCount() const { return s.Grid.RowCount(); }
    // A window system whose widgets take no more rows than this.
    void limitRows(int rows) const { s.Grid.setRowLimit(rows); }
    // The lines of the file shown.
    qsizetype lineCount() const { return s.Grid.lineCount(); }
    // Where a row of the grid shows, in the window's coordinates.
    QRect rowRect(int row) const
    {
        const QRect cell = s.StringGrid1->visualRect(s.Grid.index(row, 0));
        return {s.StringGrid1->viewport()->mapTo(&s, cell.topLeft()), cell.size()};
    }
    qxtest::Control overallButton() const { return qxtest::Control(s.Image12); }
    // The buttons of the seven tests' records, in the order of the run.
    qxtest::Control testButton(qx::TestKind kind) const
    {
        const std::array<qx::Image*, qx::kTests.size()> buttons{
            s.Image5, s.Image6, s.Image7, s.Image8, s.Image11, s.Image10, s.Image9};
        return qxtest::Control(buttons.at(static_cast<std::size_t>(qx::testDef(kind).number - 1)));
    }
    // The records buttons as they stand, left to right: 総合 first.
    qxtest::Control recordButton(int place) const
    {
        const std::array<qx::Image*, 8> buttons{s.Image12, s.Image5, s.Image6,  s.Image7,
                                                s.Image8,  s.Image9, s.Image10, s.Image11};
        return qxtest::Control(buttons.at(static_cast<std::size_t>(place)));
    }
    qxtest::Control backButton() const { return qxtest::Control(s.Image3); }
    qxtest::Control chartButton() const { return qxtest::Control(s.chartButton); }
    qxtest::Control rankColumn() const { return qxtest::Control(s.Panel1); }
    qxtest::Control rankHeading() const { return qxtest::Control(s.ShadowLabel1); }
    std::vector<qxtest::Control> rankLabels() const { return qxtest::controls(s.rankLabels); }
    qxtest::Control table() const { return qxtest::Control(s.StringGrid1); }
    const QTableView* tableView() const { return s.StringGrid1; }
};

// The user deletion.
template <> struct qx::ScreenProbe<TForm14> {
    TForm14& s;
    qxtest::Control okButton() const { return qxtest::Control(s.Image2); }
    qxtest::Control backButton() const { return qxtest::Control(s.Image3); }
    qxtest::NameList users() const { return qxtest::NameList(s.ListBox1); }
};

// The score of an overall run.
template <> struct qx::ScreenProbe<TForm15> {
    TForm15& s;
    qxtest::Control backButton() const { return qxtest::Control(s.Image3); }
    qxtest::Control userLabel() const { return qxtest::Control(s.ShadowLabel1); }
    qxtest::Control scoreLabel() const { return qxtest::Control(s.ShadowLabel2); }
    qxtest::Control rankLabel() const { return qxtest::Control(s.ShadowLabel4); }
    // The top ten's text, row 0 the heading.
    QString cell(int row, int column) const { return s.StringGrid1->item(row, column)->text(); }
    int rowCount() const { return s.StringGrid1->rowCount(); }
    const QTableWidget* table() const { return s.StringGrid1; }
};

template <> struct qx::ScreenProbe<ProgressScreen> {
    ProgressScreen& s;
    qxtest::Control figures() const { return qxtest::Control(s.m_figures); }
    qxtest::Control timing() const { return qxtest::Control(s.m_timing); }
    qxtest::Control damaged() const { return qxtest::Control(s.m_damaged); }
    qxtest::Control exportButton() const { return qxtest::Control(s.m_export); }
    qxtest::Control backButton() const { return qxtest::Control(s.m_back); }
};

// The game's windows, as the player meets them on the screen.
template <> struct qx::ScreenProbe<qx::Game> {
    qx::Game& g;
    // Whether the windows after the main menu are built.
    bool windowsBuilt() const { return g.Form2 != nullptr; }
    template <class W> W& window() const
    {
        if constexpr (std::is_same_v<W, TForm1>)
            return *g.Form1;
        else if constexpr (std::is_same_v<W, TForm2>)
            return *g.Form2;
        else if constexpr (std::is_same_v<W, TForm3>)
            return *g.Form3;
        else if constexpr (std::is_same_v<W, TForm4>)
            return *g.Form4;
        else if constexpr (std::is_same_v<W, TForm5>)
            return *g.Form5;
        else if constexpr (std::is_same_v<W, TForm6>)
            return *g.Form6;
        else if constexpr (std::is_same_v<W, TForm7>)
            return *g.Form7;
        else if constexpr (std::is_same_v<W, TForm8>)
            return *g.Form8;
        else if constexpr (std::is_same_v<W, TForm9>)
            return *g.Form9;
        else if constexpr (std::is_same_v<W, TForm10>)
            return *g.Form10;
        else if constexpr (std::is_same_v<W, TForm11>)
            return *g.Form11;
        else if constexpr (std::is_same_v<W, TForm12>)
            return *g.Form12;
        else if constexpr (std::is_same_v<W, TForm13>)
            return *g.Form13;
        else if constexpr (std::is_same_v<W, TForm14>)
            return *g.Form14;
        else if constexpr (std::is_same_v<W, TForm15>)
            return *g.Form15;
        else
            return *g.Progress;
    }
};

namespace qxtest {

// One of the game's windows by its kind: window<TForm10>(game).
template <class W> W& window(qx::Game& game)
{
    return qx::ScreenProbe<qx::Game>{game}.template window<W>();
}

template <class S> qx::ScreenProbe<S> probe(S& screen)
{
    return {screen};
}

// The life every test screen shares: mode and counter labels, stage picture,
// start and back buttons.
inline qx::ScreenProbe<qx::TestScreen> frame(qx::TestScreen& screen)
{
    return {screen};
}

} // namespace qxtest

using qxtest::frame;
using qxtest::probe;
