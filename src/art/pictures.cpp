// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "art/art.h"

#include "art/paint.h"

#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace qx::art {

using namespace paint;

namespace {

constexpr QSize kReflexSize{264, 225};
constexpr qreal kCartoonLineWidth = 2.2;

constexpr QSize kStopwatchSize{433, 417};
// The game draws the clock digits into this rectangle.
const QRect kStopwatchDisplay(QPoint(72, 112), QPoint(349, 315));
const QRectF kStopwatchBody(10, 56, 401, 354);
constexpr qreal kStopwatchCorner = 130;
// How far the side buttons reach out from the middle of the body.
constexpr qreal kStopwatchSideButtonReach = 238;

constexpr QSize kBrickEllipseSize{553, 305};
constexpr qreal kBrickHeight = 22;
constexpr qreal kBrickLength = 58;
constexpr qreal kMortar = 3;

const QColor kBearYellow(0xff, 0xd6, 0x4a);
const QColor kBearYellowLight(0xff, 0xe9, 0x8c);
const QColor kBearInner(0xf0, 0xa2, 0x3a);
const QColor kBearLine(0x7a, 0x4a, 0x1e);
const QColor kBrownHair(0x8a, 0x58, 0x38);
const QColor kRedHair(0xe2, 0x4a, 0x3a);
const QColor kRedHairDeep(0xbe, 0x2e, 0x28);
const QColor kMouth(0xb0, 0x30, 0x4a);
const QColor kTongue(0xff, 0x86, 0x96);

void outlined(QPainter& painter, const QPainterPath& path, const QBrush& fill,
              const QColor& line = palette::kCartoonLine, qreal width = kCartoonLineWidth)
{
    painter.fillPath(path, fill);
    painter.strokePath(path, QPen(line, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

QPainterPath ellipse(const QPointF& centre, qreal rx, qreal ry)
{
    QPainterPath path;
    path.addEllipse(centre, rx, ry);
    return path;
}

// An arm or leg: a thick rounded stroke with a cartoon outline.
void limb(QPainter& painter, const QPainterPath& path, const QColor& colour, qreal thickness)
{
    painter.strokePath(path, QPen(palette::kCartoonLine, thickness + 2 * kCartoonLineWidth,
                                  Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.strokePath(path, QPen(colour, thickness, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

// A happy face: dot eyes, a smile and rosy cheeks.
void smileyFace(QPainter& painter, const QPointF& centre, qreal size)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette::kCartoonLine);
    for (const qreal side : {-1.0, 1.0})
        painter.drawEllipse(centre + QPointF(side * size * 0.32, -size * 0.1), size * 0.09,
                            size * 0.12);
    painter.setBrush(Qt::white);
    for (const qreal side : {-1.0, 1.0})
        painter.drawEllipse(centre + QPointF(side * size * 0.32 + size * 0.03, -size * 0.15),
                            size * 0.035, size * 0.035);
    painter.setBrush(palette::kBlush);
    for (const qreal side : {-1.0, 1.0})
        painter.drawEllipse(centre + QPointF(side * size * 0.5, size * 0.15), size * 0.14,
                            size * 0.08);
    QPainterPath smile;
    smile.moveTo(centre + QPointF(-size * 0.2, size * 0.14));
    smile.quadTo(centre + QPointF(0, size * 0.42), centre + QPointF(size * 0.2, size * 0.14));
    painter.strokePath(smile, QPen(palette::kCartoonLine, std::max(1.5, size * 0.07), Qt::SolidLine,
                                   Qt::RoundCap));
}

struct Figure {
    QPointF feet;
    qreal height;
    QColor body;
    bool waving;
};

// A round-headed cartoon person standing on `feet`.
void drawFigure(QPainter& painter, const Figure& figure, const QColor& head)
{
    const qreal h = figure.height;
    const qreal bodyWidth = h * 0.46;
    const QRectF body(figure.feet.x() - bodyWidth / 2, figure.feet.y() - h * 0.58, bodyWidth,
                      h * 0.58);
    const QPointF shoulder(figure.feet.x(), body.top() + h * 0.1);
    const qreal armLength = h * 0.3;
    for (const qreal side : {-1.0, 1.0}) {
        QPainterPath arm;
        arm.moveTo(shoulder + QPointF(side * bodyWidth * 0.35, 0));
        const qreal lift = figure.waving ? -armLength * 0.9 : armLength * 0.8;
        arm.lineTo(shoulder + QPointF(side * (bodyWidth * 0.35 + armLength * 0.6), lift));
        limb(painter, arm, figure.body.lighter(110), h * 0.08);
    }
    QPainterPath torso;
    torso.addRoundedRect(body, bodyWidth * 0.45, bodyWidth * 0.45);
    outlined(painter, torso, verticalGradient(body, figure.body.lighter(115), figure.body));
    const qreal headRadius = h * 0.22;
    const QPointF headCentre(figure.feet.x(), body.top() - headRadius * 0.75);
    outlined(painter, ellipse(headCentre, headRadius, headRadius),
             verticalGradient(QRectF(0, headCentre.y() - headRadius, 1, 2 * headRadius),
                              head.lighter(108), head));
    smileyFace(painter, headCentre + QPointF(0, headRadius * 0.1), headRadius);
}

void paintCrowd(QPainter& painter)
{
    const QRectF area(QPointF(0, 0), kReflexSize);
    QRadialGradient light(QPointF(132, 90), 200);
    light.setColorAt(0, QColor(0xf4, 0xf4, 0xf6));
    light.setColorAt(1, QColor(0xc6, 0xc8, 0xce));
    painter.fillRect(area, light);
    painter.fillPath(ellipse(QPointF(132, 206), 128, 22), QColor(0xa8, 0xaa, 0xb1, 0x90));

    const QColor head(0xdc, 0xdd, 0xe1);
    const std::array<Figure, 3> back = {{
        {{60, 168}, 100, QColor(0x9c, 0x9e, 0xa6), false},
        {{132, 160}, 108, QColor(0x86, 0x89, 0x91), true},
        {{204, 168}, 100, QColor(0xa9, 0xab, 0xb2), false},
    }};
    const std::array<Figure, 2> front = {{
        {{94, 214}, 118, QColor(0x76, 0x79, 0x82), true},
        {{172, 214}, 114, QColor(0xb4, 0xb6, 0xbc), false},
    }};
    for (const Figure& figure : back)
        drawFigure(painter, figure, head.darker(106));
    for (const Figure& figure : front)
        drawFigure(painter, figure, head);
}

void paintBearHoodGirl(QPainter& painter)
{
    const QRectF area(QPointF(0, 0), kReflexSize);
    QRadialGradient warm(QPointF(132, 110), 190);
    warm.setColorAt(0, QColor(0xff, 0xf2, 0xf5));
    warm.setColorAt(1, QColor(0xff, 0xc9, 0xd6));
    painter.fillRect(area, warm);
    Dice dice(11);
    for (int i = 0; i < 6; ++i) {
        const qreal side = i % 2 == 0 ? dice.between(10, 40) : dice.between(224, 254);
        drawSparkle(painter, QPointF(side, dice.between(90, 210)), dice.between(5, 9),
                    QColor(255, 255, 255, 220));
    }

    const QBrush yellow(verticalGradient(area, kBearYellowLight, kBearYellow));
    QPainterPath shoulders;
    shoulders.addRoundedRect(QRectF(46, 192, 172, 70), 34, 34);
    outlined(painter, shoulders, yellow, kBearLine);

    for (const qreal x : {64.0, 200.0}) {
        outlined(painter, ellipse(QPointF(x, 48), 28, 28), yellow, kBearLine);
        painter.fillPath(ellipse(QPointF(x, 50), 15, 15), kBearInner);
    }
    const QPainterPath hood = ellipse(QPointF(132, 118), 98, 88);
    outlined(painter, hood, yellow, kBearLine, 2.6);
    drawGloss(painter, hood, 0.3);

    const QPainterPath face = ellipse(QPointF(132, 132), 68, 62);
    outlined(painter, face, palette::kSkin, kBearLine);
    // A fringe of brown hair with a wavy lower edge.
    QPainterPath fringe;
    fringe.moveTo(56, 70);
    fringe.lineTo(208, 70);
    fringe.lineTo(208, 104);
    fringe.quadTo(190, 94, 176, 110);
    fringe.quadTo(160, 92, 140, 106);
    fringe.quadTo(122, 90, 104, 106);
    fringe.quadTo(88, 92, 72, 110);
    fringe.lineTo(56, 104);
    fringe.closeSubpath();
    const QPainterPath hair = fringe.intersected(face);
    outlined(painter, hair, kBrownHair, kBearLine);
    painter.strokePath(face, QPen(kBearLine, 2.4));

    // Eyes shut tight with laughter.
    for (const qreal x : {104.0, 160.0}) {
        QPainterPath eye;
        eye.moveTo(x - 12, 134);
        eye.quadTo(x, 118, x + 12, 134);
        painter.strokePath(eye, QPen(palette::kCartoonLine, 4, Qt::SolidLine, Qt::RoundCap));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette::kBlush);
    painter.drawEllipse(QPointF(86, 152), 13, 8);
    painter.drawEllipse(QPointF(178, 152), 13, 8);

    QPainterPath mouth;
    mouth.moveTo(108, 148);
    mouth.quadTo(132, 154, 156, 148);
    mouth.cubicTo(156, 178, 108, 178, 108, 148);
    mouth.closeSubpath();
    painter.fillPath(mouth, kMouth);
    painter.save();
    painter.setClipPath(mouth);
    painter.fillPath(ellipse(QPointF(132, 176), 16, 10), kTongue);
    painter.restore();
    painter.strokePath(
        mouth, QPen(palette::kCartoonLine, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));

    // Little laugh lines beside the head.
    for (const qreal side : {-1.0, 1.0}) {
        for (int i = 0; i < 3; ++i) {
            const QPointF from(132 + side * (112 + i * 2), 96 + i * 16);
            QPainterPath line;
            line.moveTo(from);
            line.lineTo(from + QPointF(side * 12, -5 + i * 5));
            painter.strokePath(line, QPen(kBearLine, 3, Qt::SolidLine, Qt::RoundCap));
        }
    }
}

void paintRedHairedGirl(QPainter& painter)
{
    const QRectF area(QPointF(0, 0), kReflexSize);
    QLinearGradient sky =
        verticalGradient(area, QColor(0xbf, 0xe6, 0xfb), QColor(0xe4, 0xf8, 0xee));
    painter.fillRect(area, sky);
    painter.fillPath(cloudPath(QRectF(18, 20, 64, 30)), QColor(255, 255, 255, 230));
    painter.fillPath(cloudPath(QRectF(190, 36, 56, 26)), QColor(255, 255, 255, 230));
    QPainterPath meadow;
    meadow.moveTo(0, 186);
    meadow.quadTo(132, 168, 264, 186);
    meadow.lineTo(264, 225);
    meadow.lineTo(0, 225);
    meadow.closeSubpath();
    painter.fillPath(meadow,
                     verticalGradient(meadow.boundingRect(), palette::kHill, palette::kHillDeep));
    Dice dice(5);
    for (int i = 0; i < 7; ++i) {
        const QPointF at(i % 2 == 0 ? dice.between(10, 90) : dice.between(176, 254),
                         dice.between(196, 218));
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        for (int petal = 0; petal < 5; ++petal) {
            const qreal angle = petal * 2 * std::numbers::pi / 5;
            painter.drawEllipse(at + QPointF(std::cos(angle), std::sin(angle)) * 3.5, 3, 3);
        }
        painter.setBrush(QColor(0xff, 0xd2, 0x4a));
        painter.drawEllipse(at, 2.4, 2.4);
    }
    painter.fillPath(ellipse(QPointF(132, 212), 44, 7), QColor(0x3f, 0x8f, 0x5c, 0x60));

    // Hair behind the head, falling to the shoulders.
    QPainterPath backHair;
    backHair.addRoundedRect(QRectF(88, 30, 88, 88), 40, 40);
    outlined(painter, backHair, verticalGradient(backHair.boundingRect(), kRedHair, kRedHairDeep));

    for (const qreal x : {122.0, 142.0}) {
        QPainterPath leg;
        leg.moveTo(x, 160);
        leg.lineTo(x, 196);
        limb(painter, leg, palette::kSkin, 9);
        QPainterPath sock;
        sock.moveTo(x, 188);
        sock.lineTo(x, 198);
        painter.strokePath(sock, QPen(Qt::white, 9, Qt::SolidLine, Qt::FlatCap));
        outlined(painter, ellipse(QPointF(x + (x < 132 ? -3 : 3), 203), 10, 6),
                 QColor(0xc0, 0x3a, 0x52));
    }
    QPainterPath leftArm;
    leftArm.moveTo(112, 112);
    leftArm.quadTo(98, 130, 96, 150);
    limb(painter, leftArm, palette::kSkin, 9);
    QPainterPath rightArm;
    rightArm.moveTo(152, 112);
    rightArm.quadTo(170, 104, 178, 84);
    limb(painter, rightArm, palette::kSkin, 9);

    QPainterPath dress;
    dress.moveTo(116, 102);
    dress.lineTo(148, 102);
    dress.quadTo(160, 130, 172, 166);
    dress.quadTo(132, 174, 92, 166);
    dress.quadTo(104, 130, 116, 102);
    dress.closeSubpath();
    outlined(
        painter, dress,
        verticalGradient(dress.boundingRect(), QColor(0x8c, 0xcc, 0xff), QColor(0x4a, 0x9c, 0xec)));
    QPainterPath hem;
    hem.moveTo(98, 158);
    hem.quadTo(132, 166, 166, 158);
    painter.strokePath(hem, QPen(QColor(255, 255, 255, 200), 3, Qt::DotLine, Qt::RoundCap));
    QPainterPath collar;
    collar.moveTo(118, 102);
    collar.quadTo(124, 114, 132, 106);
    collar.quadTo(140, 114, 146, 102);
    collar.closeSubpath();
    outlined(painter, collar, Qt::white);

    const QPointF headCentre(132, 66);
    const QPainterPath head = ellipse(headCentre, 34, 33);
    outlined(painter, head, palette::kSkin);
    QPainterPath bangs;
    bangs.moveTo(90, 20);
    bangs.lineTo(176, 20);
    bangs.lineTo(176, 66);
    bangs.quadTo(160, 50, 150, 58);
    bangs.quadTo(142, 44, 130, 56);
    bangs.quadTo(118, 44, 108, 58);
    bangs.quadTo(100, 50, 90, 66);
    bangs.closeSubpath();
    outlined(painter, bangs.intersected(head.united(ellipse(headCentre, 36, 35))),
             verticalGradient(QRectF(0, 30, 1, 36), kRedHair.lighter(110), kRedHair));
    painter.strokePath(head, QPen(palette::kCartoonLine, kCartoonLineWidth));
    smileyFace(painter, headCentre + QPointF(0, 8), 34);

    // A bow in her hair.
    const QPointF bow(160, 38);
    for (const qreal side : {-1.0, 1.0}) {
        QPainterPath loop;
        loop.moveTo(bow);
        loop.lineTo(bow + QPointF(side * 13, -9));
        loop.lineTo(bow + QPointF(side * 13, 9));
        loop.closeSubpath();
        outlined(painter, loop, QColor(0xff, 0xd2, 0x4a));
    }
    outlined(painter, ellipse(bow, 4, 4), QColor(0xff, 0xb8, 0x2e));
}

void paintStopwatch(QPainter& painter)
{
    const qreal middle = kStopwatchDisplay.center().x() + 0.5;
    const QColor metalLight(0xf2, 0xf5, 0xfa);
    const QColor metalDark(0xa9, 0xb4, 0xc4);
    const QColor metalLine(0x5a, 0x68, 0x80);
    const QColor casing(0xff, 0x8a, 0x7a);
    const QColor casingDeep(0xe2, 0x55, 0x58);

    withShadow(painter, Shadow{{6, 8}, 6, palette::kShadow}, [&](QPainter& p) {
        // Crown and its stem on top, two side buttons at the shoulders.
        for (const qreal angle : {-38.0, 38.0}) {
            p.save();
            p.translate(middle, kStopwatchBody.center().y());
            p.rotate(angle);
            QPainterPath side;
            side.addRoundedRect(QRectF(-16, -kStopwatchSideButtonReach, 32, 36), 6, 6);
            outlined(p, side, verticalGradient(side.boundingRect(), metalLight, metalDark),
                     metalLine, 2.5);
            p.restore();
        }
        QPainterPath stem;
        stem.addRect(QRectF(middle - 16, 30, 32, 34));
        outlined(p, stem, verticalGradient(stem.boundingRect(), metalLight, metalDark), metalLine,
                 2.5);
        QPainterPath crown;
        crown.addRoundedRect(QRectF(middle - 40, 6, 80, 28), 12, 12);
        outlined(p, crown, verticalGradient(crown.boundingRect(), metalLight, metalDark), metalLine,
                 2.5);
        drawGloss(p, crown, 0.7);

        QPainterPath body;
        body.addRoundedRect(kStopwatchBody, kStopwatchCorner, kStopwatchCorner);
        outlined(p, body, verticalGradient(kStopwatchBody, casing, casingDeep),
                 QColor(0x8c, 0x2c, 0x38), 3);
        drawGloss(p, body, 0.35);

        const QRectF plate = kStopwatchBody.adjusted(20, 20, -20, -20);
        QPainterPath face;
        face.addRoundedRect(plate, kStopwatchCorner - 20, kStopwatchCorner - 20);
        outlined(p, face,
                 verticalGradient(plate, QColor(0xff, 0xfc, 0xf4), QColor(0xff, 0xec, 0xd2)),
                 QColor(0xc8, 0x6a, 0x5c), 2);

        const QRectF bezel = QRectF(kStopwatchDisplay).adjusted(-12, -12, 13, 13);
        QPainterPath frame;
        frame.addRoundedRect(bezel, 18, 18);
        outlined(p, frame,
                 verticalGradient(bezel, QColor(0x5c, 0x77, 0x9c), QColor(0x34, 0x48, 0x66)),
                 QColor(0x24, 0x33, 0x4a), 2);
        p.fillRect(QRect(kStopwatchDisplay.topLeft(), kStopwatchDisplay.size() + QSize(1, 1)),
                   Qt::white);

        // Tick dots around the face, left and right of the display.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xe0, 0x8a, 0x7c));
        for (int i = 0; i < 5; ++i) {
            const qreal y = bezel.top() + 30 + i * (bezel.height() - 60) / 4;
            p.drawEllipse(QPointF(bezel.left() - 15, y), 3.5, 3.5);
            p.drawEllipse(QPointF(bezel.right() + 15, y), 3.5, 3.5);
        }
    });
    drawLettering(painter, QStringLiteral("STOP WATCH"),
                  QRectF(middle - 90, kStopwatchDisplay.bottom() + 26, 180, 36));
}

// Rows of staggered bricks in slightly varied terracotta.
void paintBricks(QPainter& painter, const QRectF& area)
{
    const std::array<QColor, 4> tones = {QColor(0xe8, 0x8e, 0x6a), QColor(0xdc, 0x7c, 0x5c),
                                         QColor(0xf0, 0xa0, 0x78), QColor(0xe2, 0x86, 0x66)};
    Dice dice(3);
    painter.fillRect(area, QColor(0xf6, 0xe6, 0xd6));
    int row = 0;
    for (qreal y = area.top(); y < area.bottom(); y += kBrickHeight, ++row) {
        const qreal offset = row % 2 == 0 ? 0 : -kBrickLength / 2;
        for (qreal x = area.left() + offset; x < area.right(); x += kBrickLength) {
            const QRectF brick(x + kMortar / 2, y + kMortar / 2, kBrickLength - kMortar,
                               kBrickHeight - kMortar);
            const QColor tone = tones[static_cast<std::size_t>(dice.below(4))];
            QPainterPath shape;
            shape.addRoundedRect(brick, 3, 3);
            painter.fillPath(shape, verticalGradient(brick, tone.lighter(110), tone.darker(104)));
            painter.fillRect(QRectF(brick.left() + 3, brick.top() + 1.5, brick.width() - 6, 2),
                             QColor(255, 255, 255, 70));
        }
    }
}

void paintBrickEllipse(QPainter& painter)
{
    const QRectF oval(4, 4, kBrickEllipseSize.width() - 12, kBrickEllipseSize.height() - 12);
    const QPainterPath outline = ellipse(oval.center(), oval.width() / 2, oval.height() / 2);
    withShadow(painter, Shadow{{3, 4}, 3, palette::kShadow}, [&](QPainter& p) {
        p.save();
        p.setClipPath(outline);
        paintBricks(p, oval);
        QRadialGradient rounding(oval.center(), oval.width() / 2);
        rounding.setColorAt(0, QColor(255, 255, 255, 40));
        rounding.setColorAt(0.7, QColor(255, 255, 255, 0));
        rounding.setColorAt(1, QColor(0x6a, 0x2c, 0x1c, 80));
        p.setTransform(QTransform()
                           .translate(oval.center().x(), oval.center().y())
                           .scale(1, oval.height() / oval.width())
                           .translate(-oval.center().x(), -oval.center().y()));
        p.fillRect(
            QRectF(oval.left(), oval.center().y() - oval.width() / 2, oval.width(), oval.width()),
            rounding);
        p.restore();
        p.strokePath(outline, QPen(QColor(0x7a, 0x3a, 0x28), 3));
    });
}

} // namespace

QImage reflexPicture(int index)
{
    QImage image = canvas(kReflexSize, Qt::white);
    QPainter painter(&image);
    prepare(painter);
    switch (index) {
    case 0:
        paintCrowd(painter);
        break;
    case 1:
        paintBearHoodGirl(painter);
        break;
    default:
        paintRedHairedGirl(painter);
        break;
    }
    painter.end();
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage stopwatch()
{
    QImage image = canvas(kStopwatchSize);
    QPainter painter(&image);
    prepare(painter);
    paintStopwatch(painter);
    return image;
}

QImage brickEllipse()
{
    QImage image = canvas(kBrickEllipseSize);
    QPainter painter(&image);
    prepare(painter);
    paintBrickEllipse(painter);
    return image;
}

} // namespace qx::art
