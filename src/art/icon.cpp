// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "art/art.h"

#include "art/paint.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>

namespace qx::art {

using namespace paint;

namespace {

// Sizes at and below which a detail is left out: at 16 to 24 pixels the tile
// and the star are all that reads.
constexpr int kRainbowFrom = 32;
constexpr int kSceneryFrom = 64;

// Rainbow bands from the outside in, as on the main menu.
const std::array<QColor, 6> kBands = {
    QColor(0xff, 0x8f, 0xa3), QColor(0xff, 0xb8, 0x6e), QColor(0xff, 0xe0, 0x76),
    QColor(0x96, 0xe2, 0x98), QColor(0x8a, 0xcb, 0xf6), QColor(0xb9, 0xa2, 0xf0),
};

// A shadow in flat layers that each reach a little further and fade, soft
// without a raster blur.
void paintSoftShadow(QPainter& painter, const QPainterPath& shape, QPointF offset, qreal spread)
{
    constexpr int kLayers = 3;
    QColor colour = palette::kShadow;
    colour.setAlpha(palette::kShadow.alpha() / kLayers);
    for (int layer = 0; layer < kLayers; ++layer) {
        QPainterPathStroker stroker;
        stroker.setWidth(spread * (layer + 1) / kLayers * 2);
        stroker.setJoinStyle(Qt::RoundJoin);
        const QPainterPath grown = (shape + stroker.createStroke(shape)).translated(offset);
        painter.fillPath(grown, colour);
    }
}

void paintRainbow(QPainter& painter, const QPointF& centre, qreal outer, qreal bandWidth,
                  const QPainterPath& within)
{
    for (std::size_t i = 0; i < kBands.size(); ++i) {
        const qreal radius = outer - bandWidth * (static_cast<qreal>(i) + 0.5);
        const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
        QPainterPath arc;
        arc.arcMoveTo(circle, 180);
        arc.arcTo(circle, 180, -180);
        QPainterPathStroker stroker;
        stroker.setWidth(bandWidth + 0.4);
        stroker.setCapStyle(Qt::FlatCap);
        painter.fillPath(stroker.createStroke(arc).intersected(within), kBands[i]);
    }
}

void paintCloud(QPainter& painter, const QRectF& rect)
{
    const QPainterPath cloud = cloudPath(rect);
    painter.fillPath(cloud, verticalGradient(rect, Qt::white, QColor(0xe2, 0xf1, 0xfb)));
    painter.strokePath(cloud, QPen(QColor(0xa9, 0xd4, 0xf0), std::max(1.0, rect.height() * 0.05)));
}

} // namespace

void paintIcon(QPainter& painter, int size)
{
    prepare(painter);
    const qreal s = size;

    // The tile: a rounded square with room around it for its shadow, its
    // edge on whole pixels so that small sizes stay crisp.
    const qreal margin = std::max(1.0, std::round(s / 16));
    const qreal edge = std::max(1.0, std::round(s / 64));
    const qreal drop = size >= kRainbowFrom ? std::round(s / 48) : 0;
    const QRectF tileRect = QRectF(margin, margin, s - 2 * margin, s - 2 * margin - drop)
                                .adjusted(edge / 2, edge / 2, -edge / 2, -edge / 2);
    const qreal corner = tileRect.width() * 0.22;
    QPainterPath tile;
    tile.addRoundedRect(tileRect, corner, corner);

    if (drop > 0)
        paintSoftShadow(painter, tile, QPointF(0, drop), drop);

    painter.fillPath(tile, verticalGradient(tileRect, palette::kSkyTop, palette::kSkyMid));

    // Sun rays from the top left, as on the main menu.
    if (size >= kSceneryFrom) {
        const QPointF sun = tileRect.topLeft();
        QPainterPath rays;
        constexpr int kRays = 5;
        for (int i = 0; i < kRays; ++i) {
            const qreal from = 8 + i * 17.0;
            QPainterPath ray;
            ray.moveTo(sun);
            ray.arcTo(QRectF(sun.x() - 2 * s, sun.y() - 2 * s, 4 * s, 4 * s), -from, -7);
            ray.closeSubpath();
            rays.addPath(ray);
        }
        painter.fillPath(rays.intersected(tile), QColor(255, 255, 255, 60));
    }

    const qreal tileSize = tileRect.width();
    if (size >= kRainbowFrom) {
        const QPointF foot(tileRect.center().x(), tileRect.top() + tileRect.height() * 0.74);
        const qreal outer = tileSize * 0.44;
        paintRainbow(painter, foot, outer, outer * 0.58 / static_cast<qreal>(kBands.size()), tile);
    }

    // The hill the rainbow stands on.
    const QRectF hillRect(tileRect.left() - tileSize * 0.25, tileRect.top() + tileSize * 0.72,
                          tileSize * 1.5, tileSize * 0.7);
    QPainterPath hill;
    hill.addEllipse(hillRect);
    hill = hill.intersected(tile);
    painter.fillPath(hill, verticalGradient(hillRect, palette::kHill, palette::kHillDeep));

    if (size >= kSceneryFrom) {
        const qreal cloudHeight = tileSize * 0.17;
        const qreal cloudWidth = cloudHeight * 1.7;
        const qreal baseY = tileRect.top() + tileRect.height() * 0.74;
        for (const qreal x : {0.2, 0.8}) {
            const qreal centreX = tileRect.left() + tileSize * x;
            paintCloud(painter, QRectF(centreX - cloudWidth / 2, baseY - cloudHeight * 0.6,
                                       cloudWidth, cloudHeight));
        }
        drawSparkle(painter, tileRect.topLeft() + QPointF(tileSize * 0.8, tileSize * 0.16),
                    tileSize * 0.06, QColor(255, 255, 255, 230));
        drawSparkle(painter, tileRect.topLeft() + QPointF(tileSize * 0.17, tileSize * 0.3),
                    tileSize * 0.045, QColor(255, 255, 255, 200));
    }

    drawGloss(painter, tile, 0.3);
    painter.strokePath(tile, QPen(palette::kButtonEdge, edge));

    // The star, large enough to be the whole icon at the smallest sizes.
    const qreal outer = tileSize * (size >= kRainbowFrom ? 0.36 : 0.46);
    const QPointF centre(tileRect.center().x(),
                         tileRect.top() + tileRect.height() * (size >= kRainbowFrom ? 0.54 : 0.5));
    if (size >= kRainbowFrom) {
        const QPainterPath shape = starPath(centre + QPointF(0, outer * 0.08), outer, outer * 0.52);
        paintSoftShadow(painter, shape, QPointF(outer * 0.04, outer * 0.07), outer * 0.05);
    }
    drawSmilingStar(painter, centre, outer);
}

QImage icon(int size)
{
    QImage image = canvas(QSize(size, size));
    QPainter painter(&image);
    paintIcon(painter, size);
    painter.end();
    return image;
}

} // namespace qx::art
