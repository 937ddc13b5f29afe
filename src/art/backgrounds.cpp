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

constexpr QSize kBackgroundSize{600, 480};

// Pastel confetti, bunting and dot colours.
const std::array<QColor, 6> kPartyColours = {
    QColor(0xff, 0x9e, 0xbb), QColor(0xff, 0xd2, 0x5a), QColor(0x7f, 0xdf, 0xae),
    QColor(0x7c, 0xc4, 0xf2), QColor(0xc0, 0xa3, 0xf5), QColor(0xff, 0xb0, 0x68),
};

struct Circle {
    qreal x, y, r;
};

const std::array<Circle, 9> kMenuBubbles = {{
    {540, 300, 26},
    {500, 250, 11},
    {575, 215, 8},
    {60, 300, 20},
    {100, 262, 9},
    {30, 238, 6},
    {300, 70, 9},
    {250, 36, 6},
    {430, 120, 7},
}};

const std::array<QRectF, 4> kMenuClouds = {{
    {370, 40, 150, 68},
    {28, 150, 116, 52},
    {470, 168, 104, 46},
    {180, 96, 80, 34},
}};

const std::array<Circle, 7> kScreenBubbles = {{
    {560, 70, 24},
    {526, 30, 9},
    {40, 400, 22},
    {78, 440, 9},
    {36, 60, 12},
    {572, 410, 14},
    {548, 446, 6},
}};

QImage backgroundCanvas()
{
    return canvas(kBackgroundSize, Qt::white);
}

QRectF backgroundRect()
{
    return {QPointF(0, 0), kBackgroundSize};
}

void fillSky(QPainter& painter, const QColor& top, const QColor& middle, const QColor& bottom)
{
    const QRectF rect = backgroundRect();
    QLinearGradient sky = verticalGradient(rect, top, bottom);
    sky.setColorAt(0.55, middle);
    painter.fillRect(rect, sky);
}

// A round pool of light that keeps the screen's centre calm.
void drawGlow(QPainter& painter, const QPointF& centre, qreal radius, const QColor& color,
              qreal solidShare)
{
    QRadialGradient glow(centre, radius);
    glow.setColorAt(0, color);
    glow.setColorAt(solidShare, color);
    QColor clear = color;
    clear.setAlpha(0);
    glow.setColorAt(1, clear);
    painter.fillRect(backgroundRect(), glow);
}

void drawRays(QPainter& painter, const QPointF& origin, int count, const QColor& color)
{
    QRadialGradient fade(origin, kBackgroundSize.width() * 1.1);
    fade.setColorAt(0, color);
    QColor clear = color;
    clear.setAlpha(0);
    fade.setColorAt(1, clear);
    const qreal reach = kBackgroundSize.width() * 1.2;
    const qreal step = 180.0 / count;
    for (int i = 0; i < count; ++i) {
        const qreal from = (i * step) * std::numbers::pi / 180;
        const qreal to = (i * step + step / 2) * std::numbers::pi / 180;
        QPainterPath ray;
        ray.moveTo(origin);
        ray.lineTo(origin + QPointF(std::cos(from), std::sin(from)) * reach);
        ray.lineTo(origin + QPointF(std::cos(to), std::sin(to)) * reach);
        ray.closeSubpath();
        painter.fillPath(ray, fade);
    }
}

// Rolling hills along the bottom edge; `crest` is the height of the back hill.
void drawHills(QPainter& painter, qreal crest, qreal opacity)
{
    const qreal width = kBackgroundSize.width();
    const qreal bottom = kBackgroundSize.height();
    painter.save();
    painter.setOpacity(opacity);
    QPainterPath back;
    back.moveTo(0, crest + 18);
    back.cubicTo(120, crest - 22, 260, crest - 4, 340, crest + 14);
    back.cubicTo(420, crest + 30, 520, crest - 26, width, crest + 4);
    back.lineTo(width, bottom);
    back.lineTo(0, bottom);
    back.closeSubpath();
    const QRectF backArea = back.boundingRect();
    painter.fillPath(back, verticalGradient(backArea, palette::kHill.lighter(112), palette::kHill));

    QPainterPath front;
    front.moveTo(0, crest + 44);
    front.cubicTo(90, crest + 18, 200, crest + 30, 280, crest + 50);
    front.cubicTo(380, crest + 74, 480, crest + 26, width, crest + 40);
    front.lineTo(width, bottom);
    front.lineTo(0, bottom);
    front.closeSubpath();
    painter.fillPath(front,
                     verticalGradient(front.boundingRect(), palette::kHill, palette::kHillDeep));
    painter.strokePath(front, QPen(QColor(255, 255, 255, 90), 2));
    painter.restore();
}

void drawClouds(QPainter& painter, const std::array<QRectF, 4>& clouds)
{
    withShadow(painter, Shadow{{0, 4}, 4, QColor(0x3d, 0x7f, 0xb8, 0x40)}, [&](QPainter& p) {
        for (const QRectF& rect : clouds) {
            const QPainterPath cloud = cloudPath(rect);
            p.fillPath(cloud, verticalGradient(rect, QColor(255, 255, 255, 250),
                                               QColor(0xe6, 0xf4, 0xfc, 240)));
        }
    });
}

template <std::size_t N>
void drawBubbles(QPainter& painter, const std::array<Circle, N>& bubbles, qreal opacity)
{
    for (const Circle& bubble : bubbles)
        drawBubble(painter, QPointF(bubble.x, bubble.y), bubble.r, opacity);
}

void drawSparkles(QPainter& painter, Dice& dice, int count, const QRectF& area)
{
    for (int i = 0; i < count; ++i) {
        const QPointF at(dice.between(area.left(), area.right()),
                         dice.between(area.top(), area.bottom()));
        drawSparkle(painter, at, dice.between(4, 8), QColor(255, 255, 255, 200));
    }
}

// Confetti thins out towards the middle, where the screen's content sits.
void drawConfetti(QPainter& painter, Dice& dice, int count)
{
    const QPointF middle = backgroundRect().center();
    int placed = 0;
    while (placed < count) {
        const QPointF at(dice.between(0, kBackgroundSize.width()),
                         dice.between(0, kBackgroundSize.height()));
        const qreal dx = (at.x() - middle.x()) / (kBackgroundSize.width() / 2.0);
        const qreal dy = (at.y() - middle.y()) / (kBackgroundSize.height() / 2.0);
        const qreal reach = std::sqrt(dx * dx + dy * dy);
        if (dice.between(0, 1) > (reach - 0.45) * 2.2)
            continue;
        ++placed;
        const QColor colour = kPartyColours[static_cast<std::size_t>(
            dice.below(static_cast<int>(kPartyColours.size())))];
        painter.save();
        painter.translate(at);
        painter.rotate(dice.between(0, 360));
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        switch (dice.below(4)) {
        case 0:
            painter.drawRoundedRect(QRectF(-6, -2.5, 12, 5), 1.5, 1.5);
            break;
        case 1:
            painter.drawEllipse(QPointF(0, 0), 3.5, 3.5);
            break;
        case 2: {
            QPainterPath triangle;
            triangle.moveTo(0, -4.5);
            triangle.lineTo(4.5, 3.5);
            triangle.lineTo(-4.5, 3.5);
            triangle.closeSubpath();
            painter.drawPath(triangle);
            break;
        }
        default: {
            QPainterPath curl;
            curl.moveTo(-8, 0);
            curl.cubicTo(-4, -6, 0, 6, 4, 0);
            curl.quadTo(6, -3, 8, 0);
            painter.strokePath(curl, QPen(colour, 2.5, Qt::SolidLine, Qt::RoundCap));
            break;
        }
        }
        painter.restore();
    }
}

// Triangle flags hanging from a string across the top.
void drawBunting(QPainter& painter)
{
    const qreal width = kBackgroundSize.width();
    QPainterPath string;
    string.moveTo(-10, 10);
    string.quadTo(width / 2, 62, width + 10, 10);
    withShadow(painter, Shadow{{0, 2}, 2, QColor(0x80, 0x5a, 0x30, 0x40)}, [&](QPainter& p) {
        p.strokePath(string, QPen(QColor(0xc9, 0xa0, 0x78), 2));
        constexpr int kFlags = 13;
        for (int i = 0; i < kFlags; ++i) {
            const qreal t = (i + 0.5) / kFlags;
            const QPointF left = string.pointAtPercent(std::max(0.0, t - 0.028));
            const QPointF right = string.pointAtPercent(std::min(1.0, t + 0.028));
            const QPointF tip = (left + right) / 2 + QPointF(0, 30);
            QPainterPath flag;
            flag.moveTo(left);
            flag.lineTo(right);
            flag.lineTo(tip);
            flag.closeSubpath();
            const QColor colour = kPartyColours[static_cast<std::size_t>(i) % kPartyColours.size()];
            p.fillPath(flag, verticalGradient(flag.boundingRect(), colour.lighter(112), colour));
        }
    });
}

void drawPolkaDots(QPainter& painter, qreal opacity)
{
    painter.save();
    painter.setOpacity(opacity);
    painter.setPen(Qt::NoPen);
    constexpr int kSpacing = 40;
    int row = 0;
    for (int y = 20; y < kBackgroundSize.height() + kSpacing; y += kSpacing / 2, ++row) {
        const int shift = row % 2 == 0 ? 0 : kSpacing / 2;
        for (int x = shift; x < kBackgroundSize.width() + kSpacing; x += kSpacing) {
            painter.setBrush(
                kPartyColours[static_cast<std::size_t>(row + x / kSpacing) % kPartyColours.size()]);
            painter.drawEllipse(QPointF(x, y), 4, 4);
        }
    }
    painter.restore();
}

void paintMenu(QPainter& painter)
{
    fillSky(painter, palette::kSkyTop, palette::kSkyMid, palette::kMint);
    const QPointF sun(96, 30);
    drawRays(painter, sun + QPointF(0, -40), 12, QColor(255, 255, 255, 70));
    drawGlow(painter, sun, 180, QColor(255, 255, 240, 170), 0.15);
    drawClouds(painter, kMenuClouds);
    drawBubbles(painter, kMenuBubbles, 1);
    Dice dice(7);
    drawSparkles(painter, dice, 8, QRectF(20, 20, 560, 220));
    drawHills(painter, 390, 1);
}

void paintScreen(QPainter& painter)
{
    fillSky(painter, QColor(0xc3, 0xe7, 0xfa), QColor(0xde, 0xf2, 0xfb), QColor(0xd6, 0xf5, 0xe6));
    drawGlow(painter, QPointF(300, 240), 340, QColor::fromRgb(shapeKeyColor()), 0.42);
    drawHills(painter, 430, 0.45);
    drawBubbles(painter, kScreenBubbles, 0.8);
}

void paintDialog(QPainter& painter)
{
    fillSky(painter, palette::kCream, QColor(0xff, 0xf0, 0xd4), palette::kCreamDeep);
    drawPolkaDots(painter, 0.35);
    drawGlow(painter, QPointF(300, 250), 320, QColor(0xff, 0xfb, 0xf0), 0.4);
    drawBunting(painter);
}

void paintScore(QPainter& painter)
{
    fillSky(painter, palette::kCream, QColor(0xff, 0xef, 0xcf), palette::kCreamDeep);
    const QPointF middle = backgroundRect().center();
    painter.save();
    painter.translate(middle);
    painter.rotate(180);
    drawRays(painter, QPointF(0, 0), 10, QColor(0xff, 0xd8, 0x7a, 90));
    painter.rotate(180);
    drawRays(painter, QPointF(0, 0), 10, QColor(0xff, 0xd8, 0x7a, 90));
    painter.restore();
    drawGlow(painter, middle, 300, QColor(0xff, 0xfb, 0xf0), 0.35);
    Dice dice(2024);
    drawConfetti(painter, dice, 150);
}

} // namespace

static QImage drawBackground(Scene scene)
{
    QImage image = backgroundCanvas();
    QPainter painter(&image);
    prepare(painter);
    switch (scene) {
    case Scene::Menu:
        paintMenu(painter);
        break;
    case Scene::Screen:
        paintScreen(painter);
        break;
    case Scene::Dialog:
        paintDialog(painter);
        break;
    case Scene::Score:
        paintScore(painter);
        break;
    }
    painter.end();
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage background(Scene scene)
{
    return remembered(QStringLiteral("background/%1").arg(static_cast<int>(scene)),
                      [scene] { return drawBackground(scene); });
}

} // namespace qx::art
