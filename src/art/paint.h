// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Shared painting tools of the art library: the palette, the lettering and the
// soft shadows every picture is built from. Internal to src/art.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QSize>
#include <QString>

#include "art/picturefile.h"

#include <cstdint>
#include <functional>

namespace qx::art::paint {

namespace palette {
inline const QColor kSkyTop{0x7c, 0xc8, 0xf2};
inline const QColor kSkyMid{0xb4, 0xe4, 0xf6};
inline const QColor kMint{0xc6, 0xf1, 0xdc};
inline const QColor kHill{0x8e, 0xdc, 0xad};
inline const QColor kHillDeep{0x6c, 0xcb, 0x95};
inline const QColor kCream{0xff, 0xf6, 0xe0};
inline const QColor kCreamDeep{0xff, 0xe6, 0xbf};
inline const QColor kCloud{0xff, 0xff, 0xff};
inline const QColor kInkTop{0x3f, 0x97, 0xf0};
inline const QColor kInkBottom{0x1b, 0x56, 0xc4};
inline const QColor kNavy{0x17, 0x3c, 0x7a};
inline const QColor kShadow{0x1f, 0x3f, 0x6b, 0x70};
inline const QColor kButtonTop{0x8c, 0xda, 0xff};
inline const QColor kButtonBottom{0x2d, 0x8c, 0xe2};
inline const QColor kButtonEdge{0x1f, 0x63, 0xb3};
inline const QColor kSunTop{0xff, 0xf3, 0x9a};
inline const QColor kSunBottom{0xff, 0xb8, 0x2e};
inline const QColor kSunEdge{0xd9, 0x77, 0x12};
inline const QColor kTurquoiseTop{0x7a, 0xe8, 0xde};
inline const QColor kTurquoiseBottom{0x1c, 0xb0, 0xa8};
inline const QColor kTurquoiseEdge{0x0f, 0x4f, 0x57};
inline const QColor kSkin{0xff, 0xe0, 0xc8};
inline const QColor kBlush{0xff, 0x9a, 0xa8, 0x90};
inline const QColor kCartoonLine{0x5a, 0x33, 0x2a};
} // namespace palette

// Pictures are built on premultiplied ARGB and converted by the callers that
// need another format.
QImage canvas(QSize size, const QColor& fill = Qt::transparent);

// Antialiasing on, smooth scaling: the settings every picture is painted with.
void prepare(QPainter& painter);

// The game font at a pixel size, bold.
QFont gameFont(int pixelSize);

QLinearGradient verticalGradient(const QRectF& rect, const QColor& top, const QColor& bottom);

struct Shadow {
    QPointF offset;
    int blur = 0;
    QColor color = palette::kShadow;
};

// Paints `draw` onto the painter's device with a soft shadow beneath it. The
// painter must not be transformed; `draw` gets a painter on a fresh layer of
// the same size.
void withShadow(QPainter& painter, const Shadow& shadow,
                const std::function<void(QPainter&)>& draw);

// The alpha of `layer`, blurred, in `color`.
QImage shadowOf(const QImage& layer, int blur, const QColor& color);

struct Lettering {
    QColor top = palette::kInkTop;
    QColor bottom = palette::kInkBottom;
    QColor rim = Qt::white;
    // Rim width as a share of the line height.
    qreal rimShare = 0.13;
    // A thin dark line around the rim, for letters on busy or light grounds.
    QColor outline = Qt::transparent;
    Shadow shadow{{0, 1.5}, 2, palette::kShadow};
};

// The outlines of `text` (lines split at '\n'), centred in `box`, as large as
// fits. `lineHeight` receives the pixel size the text was set at.
QPainterPath fittedText(const QString& text, const QRectF& box, qreal* lineHeight = nullptr);

// Text centred in `box` in the game's lettering: gradient letters, a rim, a
// soft shadow.
void drawLettering(QPainter& painter, const QString& text, const QRectF& box,
                   const Lettering& style = {});

// Fills `path` with the gradient of `style` and its rim, assuming the letters
// were set at `lineHeight` pixels.
void drawLetterPath(QPainter& painter, const QPainterPath& path, qreal lineHeight,
                    const Lettering& style);

QPainterPath pillPath(const QRectF& rect);
QPainterPath starPath(const QPointF& centre, qreal outer, qreal inner, int points = 5,
                      qreal rotationDegrees = -90);
// A puffy cloud whose bounding box is `rect`.
QPainterPath cloudPath(const QRectF& rect);

// A white sheen over the upper part of `shape`.
void drawGloss(QPainter& painter, const QPainterPath& shape, qreal opacity = 0.6);

// A bubble: a faint disc with a bright rim and a highlight.
void drawBubble(QPainter& painter, const QPointF& centre, qreal radius, qreal opacity = 1);

// A four-pointed twinkle.
void drawSparkle(QPainter& painter, const QPointF& centre, qreal radius, const QColor& color);

// The main menu's star, its points `outer` from `centre`, with a smiling face
// once it is big enough to read. Vector only, so that it paints on any device.
void drawSmilingStar(QPainter& painter, const QPointF& centre, qreal outer);

// Deterministic pseudo-random numbers, so that every build draws the same
// pictures.
class Dice {
public:
    explicit Dice(std::uint32_t seed) : state_(seed) {}
    // Uniform in [low, high).
    qreal between(qreal low, qreal high);
    int below(int count);

private:
    std::uint32_t state_;
};

// Each picture is drawn once per key and shared after that: the screens show
// the same backgrounds, logo and buttons again and again, and a QImage shares
// its pixels with its copies. Drawing is deterministic, so the first drawing
// stands for every later one. A picture drawn ahead (useDrawnPictures) is
// read instead of drawn.
QImage remembered(const QString& key, const std::function<QImage()>& draw);

} // namespace qx::art::paint
