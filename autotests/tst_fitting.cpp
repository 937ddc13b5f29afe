// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Every text fits the control that shows it, in every language the game
// speaks: a whole play, single and overall, to the top ten, the records and
// the chart, with every window looked at whenever the player acts or a box
// opens. A text is cut when it is wider than its label (or, wrapped, taller),
// and out of place when its label leaves the window or its letters lie over
// another text's or a control (a picture with words, a grid, an entry box)
// where the Japanese ones, the designed layout, do not.

#include "screens/game.h"
#include "screens/kiroku.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/language.h"
#include "widgets/ShadoLbl.h"
#include "player.h"
#include "probes.h"
#include "testsupport.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <set>
#include <string>
#include <tuple>
#include <typeinfo>

using namespace qx;
using namespace qxtest;

namespace {

struct Shown {
    QWidget* widget;
    QString text;
    QRect inWindow; // the label
    QRect ink;      // its letters, in the window; labels may overlap where letters do not
};

// The texts a window shows, each with where its label lies in the window.
// The controls a text must leave room for: pictures that carry words or do
// something, grids and lists, entry boxes.
QList<QWidget*> controlsOf(QWidget* window)
{
    QList<QWidget*> controls;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(window))
            continue;
        if (qobject_cast<QAbstractScrollArea*>(widget) != nullptr ||
            qobject_cast<QLineEdit*>(widget) != nullptr ||
            (dynamic_cast<Image*>(widget) != nullptr && !widget->accessibleName().isEmpty()))
            controls.append(widget);
    }
    return controls;
}

QList<Shown> textsOf(QWidget* window)
{
    QList<Shown> texts;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(window))
            continue;
        QString text;
        if (const auto* shadow = dynamic_cast<const TShadowLabel*>(widget))
            text = shadow->Caption();
        else if (const auto* label = qobject_cast<const QLabel*>(widget))
            text = label->text();
        if (text.isEmpty())
            continue;
        const QPoint at = widget->mapTo(window, QPoint());
        const QFontMetrics metrics(widget->font());
        QRect ink;
        for (const QString& line : text.split(u'\n'))
            ink |= metrics.tightBoundingRect(line).translated(0, metrics.ascent() + ink.height());
        texts.append({widget, text, QRect(at, widget->size()), ink.translated(at)});
    }
    return texts;
}

// Two labels of a kind of window, by their place among its widgets.
using Pair = std::tuple<std::string, qsizetype, qsizetype>;

qsizetype labelIndex(QWidget* window, QWidget* label)
{
    return window->findChildren<QWidget*>().indexOf(label);
}

class FitWatcher final : public QObject {
public:
    std::set<QString> faults;
    // Where the Japanese letters overlap, as the screens were designed; the
    // Japanese play notes them, the others are held to them.
    static inline std::set<Pair> designedOverlaps;
    bool designing = false;

    void lookAtEveryWindow()
    {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (dynamic_cast<Form*>(window) != nullptr && window->isVisible())
                lookAt(window);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress ||
            (event->type() == QEvent::Show && dynamic_cast<Form*>(watched) != nullptr))
            lookAtEveryWindow();
        return QObject::eventFilter(watched, event);
    }

private:
    void fault(QWidget* window, const QString& what)
    {
        faults.insert(window->windowTitle() + QStringLiteral(": ") + what);
    }

    void lookAt(QWidget* window)
    {
        const QList<Shown> texts = textsOf(window);
        const QList<QWidget*> controls = controlsOf(window);
        for (const Shown& shown : texts) {
            const QFontMetrics metrics(shown.widget->font());
            const auto* label = qobject_cast<const QLabel*>(shown.widget);
            const QRect room = label != nullptr ? label->contentsRect() : shown.widget->rect();
            const bool wraps = label != nullptr && label->wordWrap();
            const QRect needed =
                metrics.boundingRect(QRect(0, 0, wraps ? room.width() : 100000, 100000),
                                     wraps ? Qt::TextWordWrap : Qt::TextExpandTabs, shown.text);
            // A pixel of rounding, as the designed digit labels of the shape
            // test already have.
            if (needed.width() > room.width() + 1 || (wraps && needed.height() > room.height()))
                fault(window, QStringLiteral("\"%1\" is cut: it needs %2 x %3, it has %4 x %5")
                                  .arg(shown.text)
                                  .arg(needed.width())
                                  .arg(needed.height())
                                  .arg(room.width())
                                  .arg(room.height()));
            if (!window->rect().contains(shown.inWindow))
                fault(window, QStringLiteral("\"%1\" leaves the window").arg(shown.text));
            QList<Shown> others = texts;
            for (QWidget* control : controls)
                others.append({control,
                               control->accessibleName(),
                               {},
                               QRect(control->mapTo(window, QPoint()), control->size())});
            for (const Shown& other : others) {
                if (other.widget == shown.widget || !shown.ink.intersects(other.ink) ||
                    shown.widget->isAncestorOf(other.widget) ||
                    other.widget->isAncestorOf(shown.widget))
                    continue;
                const Pair pair{typeid(*window).name(), labelIndex(window, shown.widget),
                                labelIndex(window, other.widget)};
                if (designing)
                    designedOverlaps.insert(pair);
                else if (!designedOverlaps.contains(pair))
                    fault(window,
                          QStringLiteral("\"%1\" lies over \"%2\"").arg(shown.text, other.text));
            }
        }
        for (const QTableView* table : window->findChildren<QTableView*>()) {
            const QHeaderView* header = table->horizontalHeader();
            const QFontMetrics metrics(table->font());
            for (int column = 0; column < table->model()->columnCount(); ++column) {
                const QString text =
                    table->model()->index(0, column).data(Qt::DisplayRole).toString();
                // The grid's first row is its heading.
                if (!text.isEmpty() &&
                    metrics.horizontalAdvance(text) > header->sectionSize(column))
                    fault(window, QStringLiteral("column \"%1\" is cut").arg(text));
            }
        }
    }
};

} // namespace

class FittingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyTextFits_data();
    void everyTextFits();
    void cleanupTestCase() { installLanguage(QStringLiteral("ja")); }
};

void FittingTest::everyTextFits_data()
{
    QTest::addColumn<QString>("language");
    for (const QString& language : shippedLanguages())
        QTest::newRow(qPrintable(language)) << language;
}

void FittingTest::everyTextFits()
{
    QFETCH(QString, language);
    QVERIFY(installLanguage(language));
    GameFixture f(7);
    FitWatcher watcher;
    // shippedLanguages() lists Japanese first.
    watcher.designing = language == u"ja";
    qApp->installEventFilter(&watcher);
    f.dialogs.whenShown = [&watcher] { watcher.lookAtEveryWindow(); };

    // The longest texts each screen can show: level 10, typed answers.
    f.selectUser(QStringLiteral("さくら"));
    playSingle(f, TestKind::Panel, 10, {wrongAnswer()});
    playSingle(f, TestKind::LR, 10, {wrongAnswer(QStringLiteral("88888888"))});
    playSingle(f, TestKind::NMemory, 10, {wrongAnswer(QStringLiteral("88888888"))});
    playSingle(f, TestKind::Stop, 10, {stoppedAt(-13), stoppedAt(250)});
    playSingle(f, TestKind::Reflex, 0, {after(-1), after(99)});
    playSingle(f, TestKind::Box, 0, {after(99000, false)});
    playSingle(f, TestKind::Shape, 0, {after(99000, false)});
    probe(f.window<TForm1>()).overallButton().click();
    playStages(f, 7);
    dismissDialog(f);
    watcher.lookAtEveryWindow();
    probe(f.window<TForm15>()).backButton().click();

    f.game->open(Game::Window::Records);
    probe(f.window<TForm13>()).overallButton().click();
    watcher.lookAtEveryWindow();
    for (const TestDef& test : kTests) {
        probe(f.window<TForm13>()).testButton(test.kind).click();
        watcher.lookAtEveryWindow();
        f.game->openProgress(test);
        watcher.lookAtEveryWindow();
        f.game->modal.top()->Close();
    }
    qApp->removeEventFilter(&watcher);
    QVERIFY(!QTest::currentTestFailed());
    QVERIFY2(watcher.faults.empty(),
             qPrintable(QStringList(watcher.faults.begin(), watcher.faults.end()).join(u'\n')));
}

QTEST_MAIN(FittingTest)
#include "tst_fitting.moc"
