// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/progressview.h"

#include "platform/clock.h"
#include "rules/csvexport.h"
#include "rules/progress.h"
#include "widgets/ProgressChart.h"

using namespace qx;

namespace {

QString figureText(progress::Measure measure, std::optional<int> value)
{
    if (!value)
        return QStringLiteral("―");
    if (measure == progress::Measure::Accuracy)
        return ProgressScreen::tr("レベル%1").arg(*value);
    return progress::secondsText(*value);
}

QString windowText(progress::Measure measure, std::optional<int> value)
{
    if (!value)
        return QStringLiteral("―");
    if (measure == progress::Measure::Accuracy)
        return ProgressScreen::tr("正解 %1%").arg(*value);
    return progress::secondsText(*value);
}

} // namespace

QString qx::timingText(const Lateness& lateness)
{
    const std::optional<int> ms = lateness.p99Ms();
    if (!ms)
        return ProgressScreen::tr("計測精度：未計測（時間を計るテストのあとに出ます）");
    return ProgressScreen::tr("計測精度：±%1 ms").arg(*ms);
}

ProgressScreen::ProgressScreen(Game& game) : Screen(game, tr("成績の推移"))
{
    addBackground(art::Scene::Screen);
    addLogo(QRect(0, 0, 265, 49));
    m_title = new Image(this, QRect(300, 2, 290, 50));
    m_chart = new ProgressChart(this);
    m_chart->setGeometry(12, 60, 400, 330);
    m_figures = addLabel(QPoint(424, 64), 15, true, QColor(30, 60, 120));
    m_figures->setFixedWidth(170);
    m_figures->setWordWrap(true);
    m_timing = addLabel(QPoint(16, 396), 15, true, QColor(30, 60, 120));
    m_damaged = addLabel(QPoint(424, 360), 13, false, QColor(160, 60, 40));
    m_export = addButton(tr("書き出し"), QRect(236, 430, 153, 43), [this] { exportResults(); });
    m_back = addButton(tr("もどる"), QRect(440, 430, 137, 43), [this] { Close(); });
}

void ProgressScreen::showTest(const TestDef& test)
{
    const Measure measure = test.measure;
    progress::Progress read =
        progress::readProgress(test, services().records.resultPath(session().user(), test.file()),
                               services().clock.today());
    m_chart->setDays(measure, std::move(read.days));
    const progress::Summary& summary = read.summary;

    const QString title = tr("%1の成績").arg(test.shownTitle());
    m_title->setPicture([title, size = m_title->size()] { return art::banner(title, size); });
    m_title->setAccessibleName(title);
    QStringList lines{
        tr("回数：%1").arg(summary.results),
        (measure == progress::Measure::Accuracy ? tr("正解した最高：%1") : tr("ベスト：%1"))
            .arg(figureText(measure, summary.best)),
        tr("中央値：%1").arg(figureText(measure, summary.median)),
        tr("この7日：%1").arg(windowText(measure, summary.last7)),
        tr("その前の30日：%1").arg(windowText(measure, summary.previous30)),
        tr("最長連続正解：%1回").arg(summary.longestRightRun),
    };
    if (test.kind == TestKind::Reflex)
        lines.append(tr("フライング：%1回").arg(summary.falseStarts));
    m_figures->setText(lines.join(u'\n'));
    m_figures->adjustSize();
    m_timing->setText(timingText(game().dispatcher.lateness()));
    m_timing->adjustSize();
    m_damaged->setText(read.damaged > 0 ? tr("読めない行：%1").arg(read.damaged) : QString());
    m_damaged->adjustSize();
}

void ProgressScreen::exportResults()
{
    const QString folder = services().dialogs.chooseFolder(tr("書き出し先のフォルダ"));
    if (folder.isEmpty())
        return;
    const csv::Export done = csv::exportUser(services().records, session().user(), folder);
    if (!done.error.isEmpty()) {
        services().dialogs.message(done.error);
        return;
    }
    services().dialogs.message(
        tr("%1 つのファイルに書き出しました：%2").arg(done.written.size()).arg(folder));
}
