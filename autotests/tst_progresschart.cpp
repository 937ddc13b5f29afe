// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The progress chart as the player sees it: lines over any span of days, a
// word instead of an empty axis, one day in the middle; and where the
// export's folder picker opens.

#include "platform/desktop.h"
#include "rules/progress.h"
#include "widgets/ProgressChart.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QPushButton>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>

using namespace qx::progress;

namespace {

// The size the chart screen gives its chart.
const QSize kChartSize(400, 330);
// The plot inside it, left of the level axis and above the dates.
const QRect kPlot(46, 28, 400 - 46 - 34, 330 - 28 - 30);

const QColor kLevelLine(245, 150, 40);
const QColor kMedianLine(40, 110, 220);

QImage render(Measure measure, std::vector<Day> days)
{
    ProgressChart chart(nullptr);
    chart.resize(kChartSize);
    chart.setDays(measure, std::move(days));
    QImage image(kChartSize, QImage::Format_ARGB32);
    image.fill(Qt::white);
    chart.render(&image);
    return image;
}

bool near(QRgb pixel, const QColor& colour)
{
    return std::abs(qRed(pixel) - colour.red()) < 40 &&
           std::abs(qGreen(pixel) - colour.green()) < 40 &&
           std::abs(qBlue(pixel) - colour.blue()) < 40;
}

// Days of daily play from 2024/01/01, each with the same figures.
std::vector<Day> dailyPlay(int count)
{
    std::vector<Day> days;
    for (int i = 0; i < count; ++i) {
        Day day;
        day.day = QDate(2024, 1, 1).addDays(i);
        day.results = 3;
        day.rightShare = 0.5;
        day.level = 5;
        day.median = 120;
        day.best = 90;
        days.push_back(day);
    }
    return days;
}

// The box of every pixel darker than the chart's pale panel: its lettering.
QRect ink(const QImage& image, const QRect& within)
{
    QRect box;
    for (int y = within.top(); y <= within.bottom(); ++y) {
        for (int x = within.left(); x <= within.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 150)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

} // namespace

class ProgressChartTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void linesSpanTheWholePlot_data();
    void linesSpanTheWholePlot();
    void nothingToDrawIsSaidInTheMiddle_data();
    void nothingToDrawIsSaidInTheMiddle();
    void oneDayHasItsDateUnderItsPoint();
    void folderPickerStartsInAFolderThatIsThere_data();
    void folderPickerStartsInAFolderThatIsThere();
};

void ProgressChartTest::linesSpanTheWholePlot_data()
{
    QTest::addColumn<Measure>("measure");
    QTest::addColumn<int>("days");
    const QList<std::pair<const char*, Measure>> measures{{"level line", Measure::Accuracy},
                                                          {"median line", Measure::Time},
                                                          {"stop line", Measure::Distance}};
    // The plot is 320 pixels wide: past that, days share pixel columns.
    for (const auto& [name, measure] : measures) {
        for (const int days : {300, 330, 3 * 365}) {
            QTest::addRow("%s, %d days", name, days) << measure << days;
        }
    }
}

// Years of daily play are one unbroken line from the first day to the last.
void ProgressChartTest::linesSpanTheWholePlot()
{
    QFETCH(Measure, measure);
    QFETCH(int, days);
    const QImage image = render(measure, dailyPlay(days));
    const QColor line = measure == Measure::Accuracy ? kLevelLine : kMedianLine;
    int columns = 0;
    for (int x = kPlot.left(); x <= kPlot.right(); ++x) {
        for (int y = kPlot.top(); y <= kPlot.bottom(); ++y) {
            if (near(image.pixel(x, y), line)) {
                ++columns;
                break;
            }
        }
    }
    QVERIFY2(
        columns >= kPlot.width() - 4,
        qPrintable(QStringLiteral("line over %1 of %2 columns").arg(columns).arg(kPlot.width())));
}

void ProgressChartTest::nothingToDrawIsSaidInTheMiddle_data()
{
    QTest::addColumn<Measure>("measure");
    QTest::addColumn<int>("days");
    QTest::newRow("no results") << Measure::Time << 0;
    QTest::newRow("every box answer wrong") << Measure::Time << 5;
}

// A time chart of days without a single time has no axis to show: an axis of
// 0 to 0.01 seconds would read as times that were never taken.
void ProgressChartTest::nothingToDrawIsSaidInTheMiddle()
{
    QFETCH(Measure, measure);
    QFETCH(int, days);
    std::vector<Day> played = dailyPlay(days);
    for (Day& day : played) {
        day.median.reset();
        day.best.reset();
    }
    const QImage image = render(measure, played);
    const QRect said = ink(image, image.rect().adjusted(4, 4, -4, -4));
    QVERIFY(!said.isEmpty());
    QVERIFY2(said.height() < 30 && std::abs(said.center().y() - image.height() / 2) < 15,
             qPrintable(
                 QStringLiteral("lettering at rows %1 to %2").arg(said.top()).arg(said.bottom())));
}

void ProgressChartTest::oneDayHasItsDateUnderItsPoint()
{
    const QImage image = render(Measure::Time, dailyPlay(1));
    // Under the plot, right of the time axis's "0".
    const QRect date = ink(image, QRect(kPlot.left(), kPlot.bottom() + 4, kPlot.width(), 22));
    QVERIFY(!date.isEmpty());
    QVERIFY2(std::abs(date.center().x() - kPlot.center().x()) <= 3,
             qPrintable(QStringLiteral("date at %1 to %2, point at %3")
                            .arg(date.left())
                            .arg(date.right())
                            .arg(kPlot.center().x())));
}

void ProgressChartTest::folderPickerStartsInAFolderThatIsThere_data()
{
    QTest::addColumn<bool>("documentsThere");
    QTest::newRow("documents folder") << true;
    QTest::newRow("no documents folder: home") << false;
}

// A picker that opens in a folder that is not there shows its name typed in
// and its button greyed.
void ProgressChartTest::folderPickerStartsInAFolderThatIsThere()
{
    QFETCH(bool, documentsThere);
    const QTemporaryDir home;
    const QByteArray previousHome = qgetenv("HOME");
    const QByteArray previousConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")).toLocal8Bit());
    const QString documents = home.filePath(QStringLiteral("Documents"));
    if (documentsThere)
        QVERIFY(QDir().mkpath(documents));

    QString opened;
    QStringList chosen;
    bool canChoose = false;
    QTimer::singleShot(0, [&] {
        auto* picker = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!picker)
            return;
        opened = picker->directory().absolutePath();
        chosen = picker->selectedFiles();
        const auto* buttons = picker->findChild<QDialogButtonBox*>();
        for (QAbstractButton* button : buttons->buttons()) {
            if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole)
                canChoose = button->isEnabled();
        }
        picker->reject();
    });
    qx::DesktopDialogs dialogs;
    QCOMPARE(dialogs.chooseFolder(QStringLiteral("書き出し先のフォルダ")), QString());
    qputenv("HOME", previousHome);
    qputenv("XDG_CONFIG_HOME", previousConfig);
    const QString start = documentsThere ? documents : home.path();
    QCOMPARE(opened, start);
    QCOMPARE(chosen, QStringList{start});
    QVERIFY(canChoose);
}

QTEST_MAIN(ProgressChartTest)
#include "tst_progresschart.moc"
