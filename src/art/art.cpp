// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "art/art.h"

#include "art/paint.h"

#include <QFontMetricsF>
#include <QTransform>

#include <algorithm>
#include <array>

namespace qx::art {

using namespace paint;

namespace {

// One colour per letter of the logo, in order.
const std::array<QColor, 8> kLogoColours = {
    QColor(0x3d, 0x8f, 0xf0), QColor(0xff, 0x98, 0x3a), QColor(0x35, 0xc2, 0x74),
    QColor(0xff, 0x6b, 0xa2), QColor(0xff, 0xbf, 0x2f), QColor(0x95, 0x78, 0xf0),
    QColor(0x2c, 0xb4, 0xe6), QColor(0xff, 0x75, 0x66),
};
// Letters hop up and down and lean alternately.
const std::array<qreal, 4> kLogoHop = {0.00, -0.07, 0.03, -0.04};
const std::array<qreal, 4> kLogoLean = {-6, 5, -3, 7};
constexpr int kLogoReferencePixels = 100;
constexpr qreal kLogoKerning = 0.96;
constexpr qreal kLogoRimShare = 0.11;
constexpr qreal kLogoOutlineShare = 0.045;

constexpr QSize kMarkerSize{25, 28};
constexpr QSize kStageSize{137, 33};

// STAGE 1 to 7, warm to cool.
const std::array<QColor, 7> kStageColours = {
    QColor(0xff, 0x7b, 0x7b), QColor(0xff, 0xa2, 0x4c), QColor(0xf0, 0xbe, 0x2a),
    QColor(0x52, 0xc6, 0x6e), QColor(0x2b, 0xbd, 0xb2), QColor(0x4a, 0x9b, 0xf0),
    QColor(0xa0, 0x7c, 0xf0),
};

// Rainbow bands from the outside in.
const std::array<QColor, 6> kRainbowBands = {
    QColor(0xff, 0x8f, 0xa3), QColor(0xff, 0xb8, 0x6e), QColor(0xff, 0xe0, 0x76),
    QColor(0x96, 0xe2, 0x98), QColor(0x8a, 0xcb, 0xf6), QColor(0xb9, 0xa2, 0xf0),
};

QColor withAlpha(QColor color, int alpha)
{
    color.setAlpha(alpha);
    return color;
}

// The letters of the logo at the reference size, each turned and lifted.
std::array<QPainterPath, 8> logoLetters()
{
    const QFont font = gameFont(kLogoReferencePixels);
    const QFontMetricsF metrics(font);
    std::array<QPainterPath, 8> letters;
    qreal x = 0;
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const QString letter = logoWord().mid(static_cast<qsizetype>(i), 1);
        QPainterPath glyph;
        glyph.addText(x, 0, font, letter);
        const QPointF pivot = glyph.boundingRect().center();
        QTransform turn;
        turn.translate(pivot.x(), pivot.y() + kLogoHop[i % kLogoHop.size()] * kLogoReferencePixels);
        turn.rotate(kLogoLean[i % kLogoLean.size()]);
        turn.translate(-pivot.x(), -pivot.y());
        letters[i] = turn.map(glyph);
        letters[i].setFillRule(Qt::WindingFill);
        x += metrics.horizontalAdvance(letter) * kLogoKerning;
    }
    return letters;
}

} // namespace

QString logoWord()
{
    return QStringLiteral("Quiravex");
}

static QImage drawLogo(QSize size)
{
    QImage image = canvas(size);
    QPainter painter(&image);
    prepare(painter);

    std::array<QPainterPath, 8> letters = logoLetters();
    QPainterPath word;
    word.setFillRule(Qt::WindingFill);
    for (const QPainterPath& letter : letters)
        word.addPath(letter);

    // Fit the word with room for its rim, outline and shadow.
    const QRectF wordBounds = word.boundingRect();
    const qreal rimAllowance =
        (kLogoRimShare + kLogoOutlineShare) * kLogoReferencePixels + kLogoReferencePixels * 0.05;
    const qreal scale = std::min((size.width() - 3) / (wordBounds.width() + 2 * rimAllowance),
                                 (size.height() - 3) / (wordBounds.height() + 2 * rimAllowance));
    QTransform placement;
    placement.translate(size.width() / 2.0 - 1, size.height() / 2.0 - 1);
    placement.scale(scale, scale);
    placement.translate(-wordBounds.center().x(), -wordBounds.center().y());
    word = placement.map(word);
    for (QPainterPath& letter : letters)
        letter = placement.map(letter);

    const qreal lineHeight = kLogoReferencePixels * scale;
    const qreal rim = lineHeight * kLogoRimShare;
    const qreal outline = lineHeight * kLogoOutlineShare;
    const qreal drop = std::max(1.5, lineHeight * 0.05);
    withShadow(
        painter, Shadow{{drop, drop}, static_cast<int>(drop), palette::kShadow}, [&](QPainter& p) {
            p.strokePath(word, QPen(palette::kNavy, 2 * (rim + outline), Qt::SolidLine,
                                    Qt::RoundCap, Qt::RoundJoin));
            p.strokePath(word,
                         QPen(Qt::white, 2 * rim, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            for (std::size_t i = 0; i < letters.size(); ++i) {
                const QColor colour = kLogoColours[i];
                const QBrush fill(
                    verticalGradient(letters[i].boundingRect(), colour.lighter(135), colour));
                p.strokePath(letters[i], QPen(fill, lineHeight * 0.05, Qt::SolidLine, Qt::RoundCap,
                                              Qt::RoundJoin));
                p.fillPath(letters[i], fill);
                drawGloss(p, letters[i], 0.45);
            }
        });
    return image;
}

static QImage drawButton(const QString& label, QSize size)
{
    QImage image = canvas(size);
    QPainter painter(&image);
    prepare(painter);

    const qreal height = size.height();
    const qreal drop = std::max(2.0, height * 0.07);
    const QRectF body(1, 1, size.width() - 2, height - 2 - drop);
    const QPainterPath pill = pillPath(body);
    withShadow(
        painter, Shadow{{0, drop}, static_cast<int>(drop), palette::kShadow}, [&](QPainter& p) {
            p.fillPath(pill, verticalGradient(body, palette::kButtonTop, palette::kButtonBottom));
            drawGloss(p, pill, 0.75);
            p.strokePath(pill, QPen(palette::kButtonEdge, std::max(1.0, height * 0.035)));
        });

    const qreal padX = body.height() * 0.32;
    const qreal padY = body.height() * 0.06;
    Lettering lettering;
    lettering.top = Qt::white;
    lettering.bottom = QColor(0xe4, 0xf3, 0xff);
    lettering.rim = palette::kNavy;
    lettering.rimShare = 0.1;
    lettering.shadow = Shadow{{0, 1}, 1, QColor(0x0c, 0x2a, 0x5c, 0x70)};
    drawLettering(painter, label, body.adjusted(padX, padY, -padX, -padY), lettering);
    return image;
}

// The rounded ribbon of a banner with its text, filling `area`.
static void drawRibbon(QPainter& painter, const QString& text, QSizeF area)
{
    const qreal drop = 2;
    const QRectF ribbon(1.5, 1.5, area.width() - 3, area.height() - 3 - drop);
    const qreal radius = std::min(ribbon.height() * 0.4, 16.0);
    QPainterPath shape;
    shape.addRoundedRect(ribbon, radius, radius);
    withShadow(painter, Shadow{{0, drop}, 2, QColor(0x1f, 0x3f, 0x6b, 0x40)}, [&](QPainter& p) {
        p.fillPath(shape, verticalGradient(ribbon, QColor(255, 255, 255, 235),
                                           QColor(0xe6, 0xf5, 0xff, 215)));
        p.strokePath(shape, QPen(QColor(0x9c, 0xd2, 0xf5), 1.5));
    });
    const qreal padX = std::min(radius * 0.8, 10.0);
    drawLettering(painter, text, ribbon.adjusted(padX, 1, -padX, -1));
}

static QImage drawBanner(const QString& text, QSize size)
{
    QImage image = canvas(size);
    QPainter painter(&image);
    prepare(painter);
    drawRibbon(painter, text, size);
    return image;
}

// The caption sits in a band at the bottom left, apart from the ribbon.
static QImage drawFieldBanner(const QString& text, const QString& caption, QSize size)
{
    constexpr qreal kCaptionBand = 44;
    constexpr qreal kCaptionWidth = 100;
    constexpr qreal kGap = 6;
    QImage image = canvas(size);
    QPainter painter(&image);
    prepare(painter);
    drawRibbon(painter, text, QSizeF(size.width(), size.height() - kCaptionBand - kGap));
    drawLettering(painter, caption,
                  QRectF(0, size.height() - kCaptionBand, kCaptionWidth, kCaptionBand));
    return image;
}

QImage marker()
{
    QImage image = canvas(kMarkerSize);
    QPainter painter(&image);
    prepare(painter);

    QPainterPath arrow;
    arrow.moveTo(3, 3);
    arrow.lineTo(21.5, 13.5);
    arrow.lineTo(3, 24);
    arrow.closeSubpath();
    withShadow(painter, Shadow{{1, 1.5}, 1, palette::kShadow}, [&](QPainter& p) {
        p.fillPath(arrow,
                   verticalGradient(arrow.boundingRect(), palette::kSunTop, palette::kSunBottom));
        drawGloss(p, arrow, 0.55);
        p.strokePath(arrow, QPen(palette::kSunEdge, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    });
    return image;
}

QImage star(QSize size)
{
    QImage image = canvas(size);
    QPainter painter(&image);
    prepare(painter);

    const qreal radius = std::min(size.width(), size.height()) / 2.0;
    const qreal margin = std::max(2.0, radius * 0.12);
    const QPointF centre(size.width() / 2.0 - margin * 0.2, size.height() / 2.0);
    const qreal outer = radius - margin;
    withShadow(
        painter,
        Shadow{{margin * 0.3, margin * 0.4}, static_cast<int>(margin * 0.4), palette::kShadow},
        [&](QPainter& p) { drawSmilingStar(p, centre, outer); });
    return image;
}

QImage rainbow(QSize size)
{
    QImage image = canvas(size);
    QPainter painter(&image);
    prepare(painter);

    const qreal width = size.width();
    const qreal height = size.height();
    const qreal cloudHeight = std::min(height * 0.32, width * 0.2);
    const qreal baseY = height - cloudHeight * 0.55;
    const qreal outer = std::min(width / 2 - cloudHeight * 0.3, baseY - 2);
    const qreal band = outer * 0.5 / static_cast<qreal>(kRainbowBands.size());
    const QPointF centre(width / 2, baseY);

    withShadow(painter, Shadow{{0, 2}, 2, QColor(0x1f, 0x3f, 0x6b, 0x38)}, [&](QPainter& p) {
        for (std::size_t i = 0; i < kRainbowBands.size(); ++i) {
            const qreal radius = outer - band * (static_cast<qreal>(i) + 0.5);
            QPainterPath arc;
            const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
            arc.arcMoveTo(circle, 180);
            arc.arcTo(circle, 180, -180);
            p.strokePath(arc, QPen(kRainbowBands[i], band + 0.6, Qt::SolidLine, Qt::FlatCap));
        }
        // A light sheen along the top of the arc.
        const qreal sheenRadius = outer - band * 0.5;
        const QRectF sheenCircle(centre.x() - sheenRadius, centre.y() - sheenRadius,
                                 2 * sheenRadius, 2 * sheenRadius);
        QPainterPath sheen;
        sheen.arcMoveTo(sheenCircle, 150);
        sheen.arcTo(sheenCircle, 150, -60);
        p.strokePath(sheen,
                     QPen(QColor(255, 255, 255, 110), band * 0.35, Qt::SolidLine, Qt::RoundCap));

        const qreal cloudWidth = cloudHeight * 1.7;
        const qreal foot = outer - band * kRainbowBands.size() / 2;
        for (const qreal side : {-1.0, 1.0}) {
            const QPointF cloudCentre(centre.x() + side * foot, baseY);
            const QRectF rect(cloudCentre.x() - cloudWidth / 2, cloudCentre.y() - cloudHeight / 2,
                              cloudWidth, cloudHeight);
            const QPainterPath cloud = cloudPath(rect);
            p.fillPath(cloud, verticalGradient(rect, Qt::white, QColor(0xe2, 0xf1, 0xfb)));
            p.strokePath(cloud, QPen(QColor(0xa9, 0xd4, 0xf0), std::max(1.0, cloudHeight * 0.04)));
        }
    });
    return image;
}

QImage stage(int n)
{
    const QColor base = kStageColours[static_cast<std::size_t>(((n - 1) % 7 + 7) % 7)];
    QImage image = canvas(kStageSize, base);
    QPainter painter(&image);
    prepare(painter);

    const QRectF whole(QPointF(0, 0), kStageSize);
    painter.fillRect(whole, verticalGradient(whole, base.lighter(128), base.darker(108)));
    // Soft diagonal stripes give the badge some texture.
    painter.save();
    painter.setClipRect(whole);
    painter.setPen(QPen(QColor(255, 255, 255, 34), 6));
    for (int x = -kStageSize.height(); x < kStageSize.width(); x += 16)
        painter.drawLine(QPointF(x, kStageSize.height()), QPointF(x + kStageSize.height(), 0));
    painter.restore();

    QPainterPath frame;
    const QRectF inner = whole.adjusted(2.5, 2.5, -2.5, -2.5);
    frame.addRoundedRect(inner, 7, 7);
    drawGloss(painter, frame, 0.45);
    painter.strokePath(frame, QPen(QColor(255, 255, 255, 210), 1.5));
    for (const qreal x : {13.0, kStageSize.width() - 13.0})
        drawSparkle(painter, QPointF(x, kStageSize.height() / 2.0), 6, QColor(255, 255, 255, 230));

    Lettering lettering;
    lettering.top = Qt::white;
    lettering.bottom = QColor(0xff, 0xf8, 0xe8);
    lettering.rim = base.darker(165);
    lettering.rimShare = 0.12;
    lettering.shadow = Shadow{{0, 1}, 1, withAlpha(base.darker(250), 0x70)};
    drawLettering(painter, QStringLiteral("STAGE %1").arg(n), QRectF(22, 3, 93, 27), lettering);
    painter.end();
    return image.convertToFormat(QImage::Format_RGB32);
}

namespace {
QString sizeKey(QSize size)
{
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}
} // namespace

QImage logo(QSize size)
{
    return remembered(QStringLiteral("logo/") + sizeKey(size), [size] { return drawLogo(size); });
}

QImage button(const QString& label, QSize size)
{
    return remembered(QStringLiteral("button/") + sizeKey(size) + QLatin1Char('/') + label,
                      [&] { return drawButton(label, size); });
}

QImage banner(const QString& text, QSize size)
{
    return remembered(QStringLiteral("banner/") + sizeKey(size) + QLatin1Char('/') + text,
                      [&] { return drawBanner(text, size); });
}

QImage fieldBanner(const QString& text, const QString& caption, QSize size)
{
    return remembered(QStringLiteral("fieldbanner/") + sizeKey(size) + QLatin1Char('/') + text +
                          QLatin1Char('/') + caption,
                      [&] { return drawFieldBanner(text, caption, size); });
}

} // namespace qx::art
