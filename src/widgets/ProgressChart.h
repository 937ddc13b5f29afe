// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A test's results over time, a day at a time: for the tests that score
// right or wrong, the share of right answers as bars and the level played as
// a line; for the timed ones the median as a line and the best as dots. Days
// are placed by their date, so days without play leave a gap.

#include "rules/progress.h"

#include <QWidget>

#include <vector>

class ProgressChart final : public QWidget {
public:
    explicit ProgressChart(QWidget* parent);

    void setDays(qx::progress::Measure measure, std::vector<qx::progress::Day> days);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintAccuracy(QPainter& painter, const QRectF& plot) const;
    void paintTimes(QPainter& painter, const QRectF& plot) const;
    qreal xOf(const QDate& day, const QRectF& plot) const;
    // What the chart says instead when it has nothing to draw; empty when it
    // has.
    QString emptyText() const;

    qx::progress::Measure m_measure = qx::progress::Measure::Accuracy;
    std::vector<qx::progress::Day> m_days;
};
