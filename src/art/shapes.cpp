// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "art/art.h"

#include "art/paint.h"

#include <QPainterPathStroker>

#include <cmath>
#include <initializer_list>
#include <numbers>

namespace qx::art {

using namespace paint;

namespace {

constexpr int kShapeSide = 49;
// The shape itself; the rest of the square holds its shadow.
const QRectF kShapeBox(4, 3, 38, 38);
constexpr qreal kRingThickness = 8;
constexpr qreal kOutlineWidth = 2;
// Pixels fainter than this are left as key colour, so no pale halo surrounds
// the shape when it is drawn on a coloured button.
constexpr int kKeyAlphaThreshold = 40;
// Near the white of the screens, so the antialiased rim blends into them.
constexpr QRgb kKeyColour = 0xfff8fcff;

constexpr qreal kCubeFace = 74;
// How far the back of the cube lies to the right and up from its front.
const QPointF kCubeDepth(30, -22);
const QPointF kCubeFrontTopLeft(2, 24);

QPainterPath ring(const QPainterPath& outer, const QPainterPath& inner)
{
    QPainterPath path = outer;
    path.addPath(inner);
    path.setFillRule(Qt::OddEvenFill);
    return path;
}

QPainterPath ellipseRing(const QPointF& centre, qreal radius, qreal thickness)
{
    QPainterPath outer;
    outer.addEllipse(centre, radius, radius);
    QPainterPath inner;
    inner.addEllipse(centre, radius - thickness, radius - thickness);
    return ring(outer, inner);
}

QPainterPath polygonPath(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    path.closeSubpath();
    return path;
}

QPainterPath squareOutline(const QRectF& box)
{
    QPainterPath outer;
    outer.addRoundedRect(box, 3, 3);
    QPainterPath inner;
    inner.addRect(box.adjusted(kRingThickness, kRingThickness, -kRingThickness, -kRingThickness));
    return ring(outer, inner);
}

QPainterPath diamond(const QRectF& box)
{
    return polygonPath(
        {QPointF(box.center().x(), box.top()), QPointF(box.right(), box.center().y()),
         QPointF(box.center().x(), box.bottom()), QPointF(box.left(), box.center().y())});
}

QPainterPath diagonalBar(const QRectF& box)
{
    constexpr qreal kHalfWidth = 6;
    const QPointF along(std::numbers::sqrt2 / 2, std::numbers::sqrt2 / 2);
    const QPointF across(along.y(), -along.x());
    const QPointF start = box.topLeft() + along * kHalfWidth;
    const QPointF end = box.bottomRight() - along * kHalfWidth;
    return polygonPath({start + across * kHalfWidth, end + across * kHalfWidth,
                        end - across * kHalfWidth, start - across * kHalfWidth});
}

QPainterPath triangle(const QRectF& box)
{
    return polygonPath({QPointF(box.center().x(), box.top()), box.bottomRight(), box.bottomLeft()});
}

// A triangle outline of even thickness: the inner triangle is the outer one
// shrunk about its incentre.
QPainterPath triangleOutline(const QRectF& box)
{
    const QPointF apex(box.center().x(), box.top());
    const QPointF right = box.bottomRight();
    const QPointF left = box.bottomLeft();
    const auto length = [](const QPointF& a, const QPointF& b) {
        return std::hypot(a.x() - b.x(), a.y() - b.y());
    };
    const qreal opposite[] = {length(right, left), length(apex, left), length(apex, right)};
    const qreal perimeter = opposite[0] + opposite[1] + opposite[2];
    const QPointF incentre =
        (apex * opposite[0] + right * opposite[1] + left * opposite[2]) / perimeter;
    const qreal area = std::abs((right.x() - apex.x()) * (left.y() - apex.y()) -
                                (left.x() - apex.x()) * (right.y() - apex.y())) /
                       2;
    const qreal inradius = 2 * area / perimeter;
    const qreal shrink = (inradius - kRingThickness) / inradius;
    const auto inward = [&](const QPointF& p) { return incentre + (p - incentre) * shrink; };
    return ring(polygonPath({apex, right, left}),
                polygonPath({inward(apex), inward(right), inward(left)}));
}

// An "@": a small ring with a stem that curls into a wide open ring.
QPainterPath atSign(const QRectF& box)
{
    constexpr qreal kStroke = 5.5;
    const QPointF centre = box.center();
    const qreal outer = box.width() / 2 - kStroke / 2;
    const qreal inner = outer * 0.36;
    const QPointF innerCentre = centre + QPointF(-outer * 0.08, 0);
    const qreal stemX = innerCentre.x() + inner;

    QPainterPath line;
    line.moveTo(stemX, innerCentre.y() - inner - 1);
    line.lineTo(stemX, innerCentre.y() + inner * 0.6);
    line.quadTo(stemX, innerCentre.y() + inner * 1.5, stemX + inner * 0.9,
                innerCentre.y() + inner * 1.2);
    line.quadTo(centre.x() + outer, centre.y() + inner * 0.6, centre.x() + outer, centre.y());
    const QRectF outerCircle(centre.x() - outer, centre.y() - outer, 2 * outer, 2 * outer);
    line.arcTo(outerCircle, 0, 300);
    QPainterPath innerCircle;
    innerCircle.addEllipse(innerCentre, inner, inner);
    line.addPath(innerCircle);

    QPainterPathStroker stroker;
    stroker.setWidth(kStroke);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    QPainterPath sign = stroker.createStroke(line);
    sign.setFillRule(Qt::WindingFill);
    return sign.simplified();
}

QPainterPath upArrow(const QRectF& box)
{
    const qreal middle = box.center().x();
    const qreal headBottom = box.top() + box.height() * 0.5;
    constexpr qreal kShaftHalf = 6.5;
    return polygonPath({QPointF(middle, box.top()), QPointF(box.right(), headBottom),
                        QPointF(middle + kShaftHalf, headBottom),
                        QPointF(middle + kShaftHalf, box.bottom()),
                        QPointF(middle - kShaftHalf, box.bottom()),
                        QPointF(middle - kShaftHalf, headBottom), QPointF(box.left(), headBottom)});
}

QPainterPath shapePath(int n)
{
    switch (n) {
    case 1:
        return squareOutline(kShapeBox.adjusted(2, 2, -2, -2));
    case 2:
        return diamond(kShapeBox);
    case 3:
        return diagonalBar(kShapeBox);
    case 4:
        return ellipseRing(kShapeBox.center(), kShapeBox.width() / 2, kRingThickness);
    case 5: {
        QPainterPath both = ellipseRing(kShapeBox.center(), kShapeBox.width() / 2, 6);
        both.addPath(ellipseRing(kShapeBox.center(), kShapeBox.width() / 3.4, 5.5));
        return both;
    }
    case 6:
        return triangle(kShapeBox);
    case 7:
        return triangleOutline(kShapeBox);
    case 8:
        return atSign(kShapeBox);
    default:
        return upArrow(kShapeBox);
    }
}

// Flattens a transparent picture onto the key colour. Faint pixels become key
// colour outright.
QImage keyed(const QImage& picture)
{
    QImage flat(picture.size(), QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(flat.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = from[x];
            const int alpha = qAlpha(pixel);
            if (alpha < kKeyAlphaThreshold) {
                to[x] = kKeyColour;
                continue;
            }
            const int rest = 255 - alpha;
            to[x] = qRgb(qRed(pixel) + qRed(kKeyColour) * rest / 255,
                         qGreen(pixel) + qGreen(kKeyColour) * rest / 255,
                         qBlue(pixel) + qBlue(kKeyColour) * rest / 255);
        }
    }
    flat.setDevicePixelRatio(picture.devicePixelRatio());
    return flat;
}

} // namespace

QRgb shapeKeyColor()
{
    return kKeyColour;
}

QImage shape(int n)
{
    QImage picture = canvas(QSize(kShapeSide, kShapeSide));
    QPainter painter(&picture);
    prepare(painter);
    const QPainterPath path = shapePath(n);
    withShadow(painter, Shadow{{2.5, 2.5}, 1, QColor(0x0b, 0x3c, 0x44, 0x80)}, [&](QPainter& p) {
        p.fillPath(path,
                   verticalGradient(kShapeBox, palette::kTurquoiseTop, palette::kTurquoiseBottom));
        drawGloss(p, path, 0.45);
        p.strokePath(path, QPen(palette::kTurquoiseEdge, kOutlineWidth, Qt::SolidLine, Qt::RoundCap,
                                Qt::RoundJoin));
    });
    painter.end();
    return keyed(picture);
}

namespace {

QImage drawCube()
{
    QImage image = canvas(kCubeSize);
    QPainter painter(&image);
    prepare(painter);

    const QRectF front(kCubeFrontTopLeft, QSizeF(kCubeFace, kCubeFace));
    const QPainterPath frontFace =
        polygonPath({front.topLeft(), front.topRight(), front.bottomRight(), front.bottomLeft()});
    const QPainterPath topFace = polygonPath({front.topLeft(), front.topLeft() + kCubeDepth,
                                              front.topRight() + kCubeDepth, front.topRight()});
    const QPainterPath sideFace =
        polygonPath({front.topRight(), front.topRight() + kCubeDepth,
                     front.bottomRight() + kCubeDepth, front.bottomRight()});

    painter.fillPath(frontFace,
                     verticalGradient(front, QColor(0x7c, 0xe6, 0xf8), QColor(0x2c, 0xc0, 0xe4)));
    painter.fillPath(topFace, verticalGradient(topFace.boundingRect(), QColor(0xd4, 0xfa, 0xff),
                                               QColor(0x9c, 0xec, 0xfb)));
    painter.fillPath(sideFace, verticalGradient(sideFace.boundingRect(), QColor(0x34, 0xb4, 0xd8),
                                                QColor(0x18, 0x8a, 0xb4)));
    // A soft shine on the front face and a light bevel along its upper edges.
    drawGloss(painter, frontFace, 0.35);
    QPainterPath bevel;
    bevel.moveTo(front.bottomLeft() + QPointF(3, -3));
    bevel.lineTo(front.topLeft() + QPointF(3, 3));
    bevel.lineTo(front.topRight() + QPointF(-3, 3));
    painter.strokePath(bevel, QPen(QColor(255, 255, 255, 150), 1.5));

    const QPen edge(QColor(0x0f, 0x4a, 0x63), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    for (const QPainterPath& face : {topFace, sideFace, frontFace})
        painter.strokePath(face, edge);
    return image;
}

} // namespace

QImage cube()
{
    return remembered(QStringLiteral("cube"), drawCube);
}

} // namespace qx::art
