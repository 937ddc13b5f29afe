// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/ProgressChart.h"

#include "platform/controls.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <optional>

using namespace qx::progress;

namespace {

const QColor kPanel(255, 255, 255, 235);
const QColor kGridLine(210, 225, 240);
const QColor kAxisText(40, 70, 120);
const QColor kBars(120, 190, 250);
const QColor kLevelLine(245, 150, 40);
const QColor kMedianLine(40, 110, 220);
const QColor kBestDots(60, 180, 90);
constexpr qreal kMarginLeft = 46;
constexpr qreal kMarginRight = 34;
constexpr qreal kMarginTop = 28;
constexpr qreal kMarginBottom = 30;

QString dateText(const QDate& day)
{
    return day.toString(QStringLiteral("yyyy/MM/dd"));
}

// A round step for an axis from 0 to top, about five lines.
double niceStep(double top)
{
    const double raw = top / 5;
    const double magnitude = std::pow(10, std::floor(std::log10(raw)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (raw <= factor * magnitude)
            return factor * magnitude;
    }
    return 10 * magnitude;
}

// A line through the days' values; a day without play between two days, or
// a pixel column without one, breaks it. Years of days are more than the
// chart has pixels: the days of one pixel column make one point, their mean.
QPainterPath linePath(const std::vector<Day>& days, const QRectF& plot,
                      const std::function<qreal(const Day&)>& xOf,
                      const std::function<std::optional<qreal>(const Day&)>& yOf)
{
    QPainterPath path;
    const bool columns =
        static_cast<qreal>(days.front().day.daysTo(days.back().day)) > plot.width();
    int lastColumn = std::numeric_limits<int>::min();
    qreal sum = 0;
    int count = 0;
    const Day* previous = nullptr;
    // A path that has only moved to its first point still counts as empty,
    // so whether a point joins the one before is told by the columns alone.
    const auto flush = [&](int column, bool joined) {
        if (count == 0)
            return;
        const QPointF at(column, sum / count);
        if (joined)
            path.lineTo(at);
        else
            path.moveTo(at);
    };
    bool joined = false;
    for (const Day& day : days) {
        const std::optional<qreal> y = yOf(day);
        if (!y) {
            previous = nullptr;
            continue;
        }
        if (!columns) {
            const QPointF at(xOf(day), *y);
            if (previous && previous->day.daysTo(day.day) == 1)
                path.lineTo(at);
            else
                path.moveTo(at);
            previous = &day;
            continue;
        }
        const int column = static_cast<int>(std::floor(xOf(day)));
        if (column != lastColumn) {
            flush(lastColumn, joined);
            joined = column == lastColumn + 1 && count > 0;
            lastColumn = column;
            sum = 0;
            count = 0;
        }
        sum += *y;
        ++count;
    }
    if (columns)
        flush(lastColumn, joined);
    return path;
}

} // namespace

ProgressChart::ProgressChart(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void ProgressChart::setDays(Measure measure, std::vector<Day> days)
{
    m_measure = measure;
    m_days = std::move(days);
    update();
}

qreal ProgressChart::xOf(const QDate& day, const QRectF& plot) const
{
    const qint64 span = m_days.front().day.daysTo(m_days.back().day);
    if (span == 0)
        return plot.center().x();
    return plot.left() + plot.width() * static_cast<qreal>(m_days.front().day.daysTo(day)) /
                             static_cast<qreal>(span);
}

void ProgressChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kGridLine, 1.5));
    painter.setBrush(kPanel);
    painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 12, 12);
    painter.setFont(qx::gameFont(12, true));
    const QString nothingYet = emptyText();
    if (!nothingYet.isEmpty()) {
        painter.setPen(kAxisText);
        painter.drawText(rect(), Qt::AlignCenter, nothingYet);
        return;
    }
    const QRectF plot =
        QRectF(rect()).adjusted(kMarginLeft, kMarginTop, -kMarginRight, -kMarginBottom);
    if (m_measure == Measure::Accuracy)
        paintAccuracy(painter, plot);
    else
        paintTimes(painter, plot);
    painter.setPen(kAxisText);
    painter.setFont(qx::gameFont(11));
    const QRectF below(plot.left() - 30, plot.bottom() + 6, plot.width() + 60, 18);
    // A single day stands in the middle, and its date under it.
    if (m_days.size() == 1) {
        painter.drawText(below, Qt::AlignHCenter, dateText(m_days.front().day));
        return;
    }
    painter.drawText(below, Qt::AlignLeft, dateText(m_days.front().day));
    painter.drawText(below, Qt::AlignRight, dateText(m_days.back().day));
}

QString ProgressChart::emptyText() const
{
    if (m_days.empty())
        return QCoreApplication::translate("ProgressChart", "まだ記録がありません");
    // Every box answer wrong, every Reflex a false start: days, but no time to
    // draw an axis for.
    const bool anyTime = std::any_of(m_days.begin(), m_days.end(), [](const Day& day) {
        return day.median.has_value() || day.best.has_value();
    });
    if (m_measure != Measure::Accuracy && !anyTime)
        return QCoreApplication::translate("ProgressChart", "まだ時間の記録がありません");
    return {};
}

void ProgressChart::paintAccuracy(QPainter& painter, const QRectF& plot) const
{
    // Left: the share right, 0..100 %; right: the level, 1..10.
    painter.setFont(qx::gameFont(11));
    for (int percent = 0; percent <= 100; percent += 25) {
        const qreal y = plot.bottom() - plot.height() * percent / 100;
        painter.setPen(QPen(kGridLine, 1));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(kAxisText);
        painter.drawText(QRectF(0, y - 9, kMarginLeft - 6, 18), Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("%1%").arg(percent));
    }
    painter.setPen(kLevelLine);
    for (const int level : {1, 5, 10}) {
        const qreal y = plot.bottom() - plot.height() * level / 10;
        painter.drawText(QRectF(plot.right() + 4, y - 9, kMarginRight, 18),
                         Qt::AlignLeft | Qt::AlignVCenter, QString::number(level));
    }
    painter.setPen(kAxisText);
    painter.drawText(QRectF(plot.left(), 4, plot.width(), 20), Qt::AlignLeft,
                     QCoreApplication::translate("ProgressChart", "正解の割合"));
    painter.setPen(kLevelLine);
    painter.drawText(QRectF(plot.left(), 4, plot.width(), 20), Qt::AlignRight,
                     QCoreApplication::translate("ProgressChart", "レベル"));

    const qint64 span = std::max<qint64>(1, m_days.front().day.daysTo(m_days.back().day) + 1);
    const qreal barWidth = std::clamp(plot.width() / static_cast<qreal>(span) * 0.7, 1.0, 18.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kBars);
    // One bar a day, or, for more days than pixels, one a pixel column with
    // the mean of its days.
    std::map<int, std::pair<double, int>> columns;
    const bool perColumn = static_cast<qreal>(span) > plot.width();
    for (const Day& day : m_days) {
        if (perColumn) {
            auto& [sum, count] = columns[static_cast<int>(std::floor(xOf(day.day, plot)))];
            sum += day.rightShare;
            ++count;
            continue;
        }
        const qreal height = plot.height() * day.rightShare;
        painter.drawRect(
            QRectF(xOf(day.day, plot) - barWidth / 2, plot.bottom() - height, barWidth, height));
    }
    for (const auto& [column, share] : columns) {
        const qreal height = plot.height() * share.first / share.second;
        painter.drawRect(QRectF(column, plot.bottom() - height, 1, height));
    }
    const QPainterPath levels = linePath(
        m_days, plot, [&](const Day& day) { return xOf(day.day, plot); },
        [&](const Day& day) -> std::optional<qreal> {
            return plot.bottom() - plot.height() * day.level / 10;
        });
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kLevelLine, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(levels);
    if (m_days.size() < 200) {
        painter.setBrush(kLevelLine);
        for (const Day& day : m_days)
            painter.drawEllipse(
                QPointF(xOf(day.day, plot), plot.bottom() - plot.height() * day.level / 10), 3, 3);
    }
}

void ProgressChart::paintTimes(QPainter& painter, const QRectF& plot) const
{
    int top = 1;
    for (const Day& day : m_days)
        top = std::max({top, day.median.value_or(0), day.best.value_or(0)});
    const double step = niceStep(top / 100.0);
    const double axisTop = std::ceil(top / 100.0 / step) * step;
    painter.setFont(qx::gameFont(11));
    for (double seconds = 0; seconds <= axisTop + step / 2; seconds += step) {
        const qreal y = plot.bottom() - plot.height() * seconds / axisTop;
        painter.setPen(QPen(kGridLine, 1));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(kAxisText);
        painter.drawText(QRectF(0, y - 9, kMarginLeft - 6, 18), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(seconds, 'g', 3));
    }
    const auto yOf = [&](int hundredths) {
        return plot.bottom() - plot.height() * (hundredths / 100.0) / axisTop;
    };
    painter.setPen(kMedianLine);
    painter.drawText(
        QRectF(plot.left(), 4, plot.width(), 20), Qt::AlignLeft,
        m_measure == Measure::Distance
            ? QCoreApplication::translate("ProgressChart", "目標とのずれ（秒、中央値）")
            : QCoreApplication::translate("ProgressChart", "時間（秒、中央値）"));
    if (m_measure == Measure::Time) {
        painter.setPen(kBestDots);
        painter.drawText(QRectF(plot.left(), 4, plot.width(), 20), Qt::AlignRight,
                         QCoreApplication::translate("ProgressChart", "● ベスト"));
    }
    const QPainterPath medians = linePath(
        m_days, plot, [&](const Day& day) { return xOf(day.day, plot); },
        [&](const Day& day) -> std::optional<qreal> {
            if (!day.median)
                return std::nullopt;
            return yOf(*day.median);
        });
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kMedianLine, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(medians);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kMedianLine);
    if (m_days.size() < 200) {
        for (const Day& day : m_days) {
            if (day.median)
                painter.drawEllipse(QPointF(xOf(day.day, plot), yOf(*day.median)), 3, 3);
        }
    }
    if (m_measure == Measure::Time) {
        // The best of each pixel column: years of days are one dot a column.
        std::map<int, int> bestByColumn;
        for (const Day& day : m_days) {
            if (!day.best)
                continue;
            const int column = static_cast<int>(std::floor(xOf(day.day, plot)));
            const auto [it, added] = bestByColumn.emplace(column, *day.best);
            if (!added)
                it->second = std::min(it->second, *day.best);
        }
        painter.setBrush(kBestDots);
        for (const auto& [column, best] : bestByColumn)
            painter.drawEllipse(QPointF(column, yOf(best)), 3.5, 3.5);
    }
}
