// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "art/paint.h"

#include "art/art.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QRadialGradient>
#include <QStringList>
#include <QTransform>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <vector>

namespace qx::art {

namespace {
// Proportional Japanese gothic fonts, closest in looks and metrics first.
const QStringList kStandIns = {
    QStringLiteral("IPAPGothic"),          QStringLiteral("IPAGothic"),
    QStringLiteral("TakaoPGothic"),        QStringLiteral("VL PGothic"),
    QStringLiteral("Noto Sans CJK JP"),    QStringLiteral("Source Han Sans JP"),
    QStringLiteral("Droid Sans Fallback"),
};
} // namespace

QString installScreenFont()
{
    static const QString family = [] {
        const QString designed = QStringLiteral("ＭＳ Ｐゴシック");
        QFont::insertSubstitutions(designed, kStandIns);
        // The stand-ins have no bold face, and Qt thickens glyphs for bold
        // only below 64 pixels: large bold digits would come out regular.
        qputenv("QT_NO_SYNTHESIZED_BOLD_LIMIT", "1");
        return designed;
    }();
    return family;
}

bool japaneseFontInstalled()
{
    // Every stand-in is a Japanese font, and asking for one family is quick;
    // only without them are all fonts searched for Japanese, which takes a
    // noticeable part of the start-up.
    for (const QString& family : kStandIns) {
        if (QFontDatabase::hasFamily(family))
            return true;
    }
    return !QFontDatabase::families(QFontDatabase::Japanese).isEmpty();
}

} // namespace qx::art

namespace qx::art::paint {

namespace {

// Text is set at this size and then scaled, so fitting is exact and
// independent of hinting.
constexpr int kReferencePixels = 100;
constexpr qreal kLinePitch = 1.14;

// Synthetic bold does not reach glyph outlines, so lettering is thickened by
// a stroke of this share of the line height.
constexpr qreal kEmboldenShare = 0.045;

constexpr int kBlurPasses = 3;

// One pass of a box blur along `count` values `stride` apart; values outside
// the picture count as transparent.
void boxBlur(std::vector<int>& values, std::vector<int>& scratch, int start, int count, int stride,
             int radius)
{
    const int window = 2 * radius + 1;
    int sum = 0;
    for (int i = 0; i <= radius && i < count; ++i)
        sum += values[start + i * stride];
    for (int i = 0; i < count; ++i) {
        scratch[i] = sum / window;
        if (i + radius + 1 < count)
            sum += values[start + (i + radius + 1) * stride];
        if (i - radius >= 0)
            sum -= values[start + (i - radius) * stride];
    }
    for (int i = 0; i < count; ++i)
        values[start + i * stride] = scratch[i];
}

} // namespace

QImage canvas(QSize size, const QColor& fill)
{
    const qreal ratio = PixelRatio::current();
    QImage image(QSize(qCeil(size.width() * ratio), qCeil(size.height() * ratio)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(fill);
    return image;
}

void prepare(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::TextAntialiasing);
}

QFont gameFont(int pixelSize)
{
    QFont font(installScreenFont());
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QLinearGradient verticalGradient(const QRectF& rect, const QColor& top, const QColor& bottom)
{
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

QImage shadowOf(const QImage& layer, int blur, const QColor& color)
{
    const QImage source = layer.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int width = source.width();
    const int height = source.height();
    std::vector<int> alpha(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < width; ++x)
            alpha[static_cast<std::size_t>(y) * width + x] = qAlpha(line[x]);
    }
    // The blur is a length in designed pixels, like every other.
    blur = qRound(blur * layer.devicePixelRatio());
    if (blur > 0) {
        std::vector<int> scratch(static_cast<std::size_t>(std::max(width, height)));
        for (int pass = 0; pass < kBlurPasses; ++pass) {
            for (int y = 0; y < height; ++y)
                boxBlur(alpha, scratch, y * width, width, 1, blur);
            for (int x = 0; x < width; ++x)
                boxBlur(alpha, scratch, x, height, width, blur);
        }
    }
    QImage shadow(source.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(shadow.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int a = alpha[static_cast<std::size_t>(y) * width + x] * color.alpha() / 255;
            line[x] = qPremultiply(qRgba(color.red(), color.green(), color.blue(), a));
        }
    }
    shadow.setDevicePixelRatio(layer.devicePixelRatio());
    return shadow;
}

void withShadow(QPainter& painter, const Shadow& shadow, const std::function<void(QPainter&)>& draw)
{
    const QPaintDevice& device = *painter.device();
    const qreal ratio = device.devicePixelRatioF();
    QImage layer = canvas(QSize(qRound(device.width() / ratio), qRound(device.height() / ratio)));
    {
        QPainter layerPainter(&layer);
        prepare(layerPainter);
        draw(layerPainter);
    }
    if (shadow.color.alpha() > 0)
        painter.drawImage(shadow.offset, shadowOf(layer, shadow.blur, shadow.color));
    painter.drawImage(QPointF(0, 0), layer);
}

QPainterPath fittedText(const QString& text, const QRectF& box, qreal* lineHeight)
{
    const QFont font = gameFont(kReferencePixels);
    const QStringList lines = text.split(QLatin1Char('\n'));
    QPainterPath set;
    set.setFillRule(Qt::WindingFill);
    qreal widest = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QPainterPath line;
        line.addText(0, 0, font, lines[i]);
        const QRectF bounds = line.boundingRect();
        line.translate(-bounds.center().x(), static_cast<qreal>(i) * kReferencePixels * kLinePitch);
        set.addPath(line);
        widest = std::max(widest, bounds.width());
    }
    if (set.isEmpty())
        return set;
    const qreal setHeight =
        kReferencePixels * (1 + static_cast<qreal>(lines.size() - 1) * kLinePitch);
    const qreal scale = std::min(box.width() / widest, box.height() / setHeight);
    const QPointF middle = set.boundingRect().center();
    QTransform placement;
    placement.translate(box.center().x(), box.center().y());
    placement.scale(scale, scale);
    placement.translate(-middle.x(), -middle.y());
    if (lineHeight)
        *lineHeight = kReferencePixels * scale;
    QPainterPath placed = placement.map(set);
    placed.setFillRule(Qt::WindingFill);
    return placed;
}

void drawLetterPath(QPainter& painter, const QPainterPath& path, qreal lineHeight,
                    const Lettering& style)
{
    const qreal rim = std::max(1.2, lineHeight * style.rimShare);
    const qreal embolden = lineHeight * kEmboldenShare;
    const qreal outline = std::max(1.0, rim * 0.35);
    const QBrush fill(verticalGradient(path.boundingRect(), style.top, style.bottom));
    withShadow(painter, style.shadow, [&](QPainter& p) {
        if (style.outline.alpha() > 0)
            p.strokePath(path, QPen(style.outline, 2 * (rim + outline) + embolden, Qt::SolidLine,
                                    Qt::RoundCap, Qt::RoundJoin));
        p.strokePath(
            path, QPen(style.rim, 2 * rim + embolden, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.strokePath(path, QPen(fill, embolden, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.fillPath(path, fill);
    });
}

void drawLettering(QPainter& painter, const QString& text, const QRectF& box,
                   const Lettering& style)
{
    const qreal lines = static_cast<qreal>(text.count(QLatin1Char('\n')) + 1);
    const qreal rimEstimate = box.height() / lines * style.rimShare;
    const qreal outlineEstimate = style.outline.alpha() > 0 ? rimEstimate * 0.35 : 0;
    const qreal inset = rimEstimate + outlineEstimate + 1;
    qreal lineHeight = 0;
    const QPainterPath path =
        fittedText(text, box.adjusted(inset, inset, -inset, -inset), &lineHeight);
    drawLetterPath(painter, path, lineHeight, style);
}

QPainterPath pillPath(const QRectF& rect)
{
    QPainterPath path;
    const qreal radius = std::min(rect.width(), rect.height()) / 2;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QPainterPath starPath(const QPointF& centre, qreal outer, qreal inner, int points,
                      qreal rotationDegrees)
{
    QPainterPath path;
    const int corners = 2 * points;
    for (int i = 0; i < corners; ++i) {
        const qreal angle = (rotationDegrees + 180.0 * i / points) * std::numbers::pi / 180;
        const qreal radius = i % 2 == 0 ? outer : inner;
        const QPointF corner = centre + QPointF(std::cos(angle), std::sin(angle)) * radius;
        if (i == 0)
            path.moveTo(corner);
        else
            path.lineTo(corner);
    }
    path.closeSubpath();
    return path;
}

QPainterPath cloudPath(const QRectF& rect)
{
    struct Puff {
        qreal x, y, w, h;
    };
    // Puffs as shares of the cloud's box: two small ones at the sides, two
    // big ones on top and a flat base.
    static constexpr Puff kPuffs[] = {
        {0.00, 0.42, 0.34, 0.58}, {0.16, 0.14, 0.40, 0.80}, {0.40, 0.00, 0.38, 0.84},
        {0.66, 0.34, 0.34, 0.66}, {0.12, 0.55, 0.76, 0.45},
    };
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const Puff& puff : kPuffs)
        path.addEllipse(QRectF(rect.x() + puff.x * rect.width(), rect.y() + puff.y * rect.height(),
                               puff.w * rect.width(), puff.h * rect.height()));
    return path.simplified();
}

void drawGloss(QPainter& painter, const QPainterPath& shape, qreal opacity)
{
    const QRectF bounds = shape.boundingRect();
    const qreal inset = std::min(bounds.width(), bounds.height()) * 0.08;
    const QRectF upper(bounds.left() + inset, bounds.top() + inset * 0.6,
                       bounds.width() - 2 * inset, bounds.height() * 0.46);
    const QPainterPath sheen = shape.intersected(pillPath(upper));
    QColor bright(Qt::white);
    bright.setAlphaF(static_cast<float>(opacity));
    QColor faint(Qt::white);
    faint.setAlphaF(static_cast<float>(opacity * 0.15));
    painter.fillPath(sheen, verticalGradient(upper, bright, faint));
}

void drawBubble(QPainter& painter, const QPointF& centre, qreal radius, qreal opacity)
{
    painter.save();
    painter.setOpacity(opacity);
    QRadialGradient body(centre, radius);
    body.setColorAt(0, QColor(255, 255, 255, 25));
    body.setColorAt(0.8, QColor(255, 255, 255, 70));
    body.setColorAt(1, QColor(255, 255, 255, 150));
    painter.setPen(QPen(QColor(255, 255, 255, 190), std::max(1.0, radius * 0.06)));
    painter.setBrush(body);
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 220));
    painter.translate(centre + QPointF(-radius * 0.38, -radius * 0.42));
    painter.rotate(-35);
    painter.drawEllipse(QPointF(0, 0), radius * 0.28, radius * 0.14);
    painter.restore();
}

void drawSparkle(QPainter& painter, const QPointF& centre, qreal radius, const QColor& color)
{
    painter.fillPath(starPath(centre, radius, radius * 0.22, 4), color);
}

void drawSmilingStar(QPainter& painter, const QPointF& centre, qreal outer)
{
    const QPainterPath shape = starPath(centre + QPointF(0, outer * 0.08), outer, outer * 0.52);
    const qreal edge = std::max(1.0, outer * 0.07);
    QRadialGradient glow(centre - QPointF(outer * 0.2, outer * 0.3), outer);
    glow.setColorAt(0, palette::kSunTop);
    glow.setColorAt(1, palette::kSunBottom);
    painter.fillPath(shape, glow);
    drawGloss(painter, shape, 0.5);
    painter.strokePath(shape,
                       QPen(palette::kSunEdge, edge, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    constexpr qreal kSmallestFace = 16;
    if (outer < kSmallestFace)
        return;
    const QPointF face = centre + QPointF(0, outer * 0.12);
    const qreal eye = outer * 0.07;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette::kCartoonLine);
    painter.drawEllipse(face + QPointF(-outer * 0.17, -outer * 0.05), eye, eye * 1.4);
    painter.drawEllipse(face + QPointF(outer * 0.17, -outer * 0.05), eye, eye * 1.4);
    painter.setBrush(palette::kBlush);
    painter.drawEllipse(face + QPointF(-outer * 0.3, outer * 0.12), eye * 1.8, eye);
    painter.drawEllipse(face + QPointF(outer * 0.3, outer * 0.12), eye * 1.8, eye);
    painter.restore();
    QPainterPath smile;
    smile.moveTo(face + QPointF(-outer * 0.1, outer * 0.1));
    smile.quadTo(face + QPointF(0, outer * 0.22), face + QPointF(outer * 0.1, outer * 0.1));
    painter.strokePath(smile, QPen(palette::kCartoonLine, eye * 0.8, Qt::SolidLine, Qt::RoundCap));
}

qreal Dice::between(qreal low, qreal high)
{
    state_ = state_ * 1664525u + 1013904223u;
    return low + (high - low) * static_cast<qreal>(state_ >> 8) / static_cast<qreal>(1u << 24);
}

int Dice::below(int count)
{
    return std::min(count - 1, static_cast<int>(between(0, count)));
}

namespace {

QHash<QString, QImage>& rememberedPictures()
{
    static QHash<QString, QImage> pictures;
    return pictures;
}

QString& drawnPicturesFolder()
{
    static QString folder;
    return folder;
}

} // namespace

namespace {

QImage drawnAhead(const QString& key)
{
    const QString& folder = drawnPicturesFolder();
    if (folder.isEmpty())
        return {};
    return readPicture(drawnPictureFile(folder, key));
}

} // namespace

QImage remembered(const QString& plainKey, const std::function<QImage()>& draw)
{
    const qreal ratio = PixelRatio::current();
    const QString key =
        ratio == 1 ? plainKey : plainKey + QStringLiteral("@%1").arg(ratio, 0, 'g', 4);
    QHash<QString, QImage>& pictures = rememberedPictures();
    auto it = pictures.constFind(key);
    if (it == pictures.constEnd()) {
        QImage picture = drawnAhead(key);
        picture.setDevicePixelRatio(ratio);
        it = pictures.insert(key, picture.isNull() ? draw() : std::move(picture));
    }
    return *it;
}

} // namespace qx::art::paint

namespace qx::art {

bool saveDrawnPictures(const QString& folder)
{
    if (!QDir().mkpath(folder))
        return false;
    const QHash<QString, QImage>& pictures = paint::rememberedPictures();
    for (auto it = pictures.constBegin(); it != pictures.constEnd(); ++it) {
        if (!paint::writePicture(paint::drawnPictureFile(folder, it.key()), it.value()))
            return false;
    }
    return true;
}

void useDrawnPictures(const QString& folder)
{
    paint::drawnPicturesFolder() = folder;
}

namespace {
// Drawing happens on the user-interface thread only, but tools and tests may
// draw from others.
thread_local qreal t_pixelRatio = 1;
} // namespace

PixelRatio::PixelRatio(qreal ratio) : m_outer(t_pixelRatio)
{
    t_pixelRatio = ratio > 0 ? ratio : 1;
}

PixelRatio::~PixelRatio()
{
    t_pixelRatio = m_outer;
}

qreal PixelRatio::current()
{
    return t_pixelRatio;
}

} // namespace qx::art
