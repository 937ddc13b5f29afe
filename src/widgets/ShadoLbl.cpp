// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/ShadoLbl.h"

#include "platform/controls.h"
#include "rules/textcodec.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <vector>

namespace {

// The colour of a disabled label's shadow copy.
const QColor kDisabledShadow(128, 128, 128);

// Each component is trunc(from + (to - from) * t).
QColor blend(QColor from, QColor to, double t)
{
    const auto mix = [t](int a, int b) { return static_cast<int>(a + (b - a) * t); };
    return QColor(mix(from.red(), to.red()), mix(from.green(), to.green()),
                  mix(from.blue(), to.blue()));
}

// Fills a 32-bit image with a gradient from `from` (top or left) to `to`
// (bottom or right). Each row's or column's colour is computed once and
// replicated; an image one pixel tall (or wide) takes its start colour.
void fillGradient(QImage& image, QColor from, QColor to, bool vertical)
{
    const int width = image.width();
    const int height = image.height();
    if (vertical) {
        for (int y = 0; y < height; ++y) {
            const double t = height > 1 ? static_cast<double>(y) / (height - 1) : 0.0;
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            std::fill(line, line + width, blend(from, to, t).rgb());
        }
        return;
    }
    auto* first = reinterpret_cast<QRgb*>(image.scanLine(0));
    for (int x = 0; x < width; ++x) {
        const double t = width > 1 ? static_cast<double>(x) / (width - 1) : 0.0;
        first[x] = blend(from, to, t).rgb();
    }
    for (int y = 1; y < height; ++y)
        std::copy(first, first + width, reinterpret_cast<QRgb*>(image.scanLine(y)));
}

// A path keeps as much as it can after its last separator.
QString elidePath(const QFontMetrics& metrics, const QString& line, int width, int flags)
{
    const qsizetype separator =
        std::max(line.lastIndexOf(QLatin1Char('\\')), line.lastIndexOf(QLatin1Char('/')));
    if (separator < 0)
        return metrics.elidedText(line, Qt::ElideMiddle, width, flags);
    const QString tail = line.mid(separator);
    const int headWidth = width - metrics.horizontalAdvance(tail);
    if (headWidth <= metrics.horizontalAdvance(QStringLiteral("...")))
        return metrics.elidedText(line, Qt::ElideLeft, width, flags);
    return metrics.elidedText(line.left(separator), Qt::ElideRight, headWidth, flags) + tail;
}

// To screen readers the label is what it paints: a text, with the words of its
// caption.
class ShadowLabelAccessible final : public QAccessibleWidget {
public:
    explicit ShadowLabelAccessible(TShadowLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    {
    }
    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        const auto* label = static_cast<const TShadowLabel*>(widget());
        return label->ShowAccelChar() ? withoutAccelMarks(label->Caption()) : label->Caption();
    }

private:
    // What the player sees: "&x" shows x, "&&" shows "&".
    static QString withoutAccelMarks(const QString& caption)
    {
        QString words;
        words.reserve(caption.size());
        for (qsizetype i = 0; i < caption.size(); ++i) {
            if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size())
                ++i;
            words += caption.at(i);
        }
        return words;
    }
};

QAccessibleInterface* shadowLabelAccessible(const QString&, QObject* object)
{
    auto* label = qobject_cast<TShadowLabel*>(object);
    return label ? new ShadowLabelAccessible(label) : nullptr;
}

} // namespace

// One character of a caption as code page 932 counts it: one byte, or a lead
// byte and a trail byte. A character the code page cannot hold is written as
// '?', one byte.
struct TShadowLabel::SjisChar {
    QString text;
    int bytes;
};

std::vector<TShadowLabel::SjisChar> TShadowLabel::sjisChars(const QString& text)
{
    const QByteArray encoded = qx::cp932::encode(text);
    std::vector<SjisChar> chars;
    qsizetype position = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype units = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const bool lead = position < encoded.size() &&
                          qx::cp932::isLeadByte(static_cast<unsigned char>(encoded.at(position)));
        chars.push_back({text.mid(i, units), lead ? 2 : 1});
        position += lead ? 2 : 1;
        i += units;
    }
    return chars;
}

void TShadow::setVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    changed();
}

void TShadow::setColor(QColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    changed();
}

void TShadow::setOffsetLeft(int offset)
{
    if (offset == m_offsetLeft)
        return;
    m_offsetLeft = offset;
    changed();
}

void TShadow::setOffsetTop(int offset)
{
    if (offset == m_offsetTop)
        return;
    m_offsetTop = offset;
    changed();
}

void TShadow::Assign(const TShadow& source)
{
    m_visible = source.m_visible;
    m_color = source.m_color;
    m_offsetLeft = source.m_offsetLeft;
    m_offsetTop = source.m_offsetTop;
    changed();
}

void TShadow::changed()
{
    if (m_onChange)
        m_onChange();
}

TShadowLabel::TShadowLabel(QWidget* parent) : QWidget(parent)
{
    static const bool accessible = [] {
        QAccessible::installFactory(shadowLabelAccessible);
        return true;
    }();
    Q_UNUSED(accessible)
    m_highlight.setColor(Qt::white);
    m_highlight.setOffsetLeft(-1);
    m_highlight.setOffsetTop(-1);
    m_highlight.setOnChange([this] { update(); });
    m_shadow.setOnChange([this] { update(); });
    setAttribute(Qt::WA_OpaquePaintEvent, !m_transparent);
    adjustBounds();
}

void TShadowLabel::setCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    adjustBounds();
    update();
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void TShadowLabel::setFontColor(QColor color)
{
    if (color == m_fontColor)
        return;
    m_fontColor = color;
    update();
}

QColor TShadowLabel::Color() const
{
    return m_color.isValid() ? m_color : palette().color(QPalette::Window);
}

void TShadowLabel::setColor(QColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void TShadowLabel::setTransparent(bool transparent)
{
    if (transparent == m_transparent)
        return;
    m_transparent = transparent;
    setAttribute(Qt::WA_OpaquePaintEvent, !transparent);
    update();
}

void TShadowLabel::setAutoSize(bool autoSize)
{
    if (autoSize == m_autoSize)
        return;
    m_autoSize = autoSize;
    adjustBounds();
}

void TShadowLabel::setAlignment(TAlignment alignment)
{
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    update();
}

void TShadowLabel::setLayout(TTextLayout layout)
{
    if (layout == m_layout)
        return;
    m_layout = layout;
    update();
}

void TShadowLabel::setWordWrap(bool wordWrap)
{
    if (wordWrap == m_wordWrap)
        return;
    m_wordWrap = wordWrap;
    adjustBounds();
    update();
}

void TShadowLabel::setShowAccelChar(bool show)
{
    if (show == m_showAccelChar)
        return;
    m_showAccelChar = show;
    adjustBounds();
    update();
}

void TShadowLabel::setEllipsis(TEllipsis ellipsis)
{
    if (ellipsis == m_ellipsis)
        return;
    m_ellipsis = ellipsis;
    update();
}

void TShadowLabel::setFlickerless(bool flickerless)
{
    m_flickerless = flickerless;
}

void TShadowLabel::setGradateVert(bool vertical)
{
    if (vertical == m_gradateVert)
        return;
    m_gradateVert = vertical;
    update();
}

void TShadowLabel::setGradation(bool gradation)
{
    if (gradation == m_gradation)
        return;
    m_gradation = gradation;
    update();
}

void TShadowLabel::setGradationColor(QColor color)
{
    if (color == m_gradationColor)
        return;
    m_gradationColor = color;
    update();
}

void TShadowLabel::setHighlight(const TShadow* highlight)
{
    if (highlight)
        m_highlight.Assign(*highlight);
}

void TShadowLabel::setShadow(const TShadow* shadow)
{
    if (shadow)
        m_shadow.Assign(*shadow);
}

void TShadowLabel::setTextGradation(TTextGradation gradation)
{
    if (gradation == m_textGradation)
        return;
    m_textGradation = gradation;
    update();
}

void TShadowLabel::setTextGradationColor(QColor color)
{
    if (color == m_textGradationColor)
        return;
    m_textGradationColor = color;
    if (m_textGradation != TTextGradation::tgNone)
        update();
}

void TShadowLabel::setTextMidColor(QColor color)
{
    if (color == m_textMidColor)
        return;
    m_textMidColor = color;
    if (m_textGradation == TTextGradation::tg3Colors)
        update();
}

QSize TShadowLabel::sizeHint() const
{
    const QRect bounds(0, 0, m_wordWrap ? width() : QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    return QFontMetrics(font()).boundingRect(bounds, textFlags(), paintedCaption()).size();
}

void TShadowLabel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        adjustBounds();
    QWidget::changeEvent(event);
}

// A framework label fits itself to its caption; a right-aligned one keeps its
// right edge.
void TShadowLabel::adjustBounds()
{
    if (!m_autoSize)
        return;
    const QSize size = sizeHint();
    int left = x();
    if (m_alignment == TAlignment::taRightJustify)
        left += width() - size.width();
    setGeometry(left, y(), size.width(), size.height());
    updateGeometry();
}

// An empty caption (or a lone accelerator mark) would measure as no line at
// all; a space keeps the label one line tall.
QString TShadowLabel::paintedCaption() const
{
    if (m_caption.isEmpty() || (m_showAccelChar && m_caption == QLatin1String("&")))
        return m_caption + QLatin1Char(' ');
    return m_caption;
}

int TShadowLabel::textFlags() const
{
    int flags = Qt::AlignTop | Qt::TextExpandTabs;
    switch (m_alignment) {
    case TAlignment::taLeftJustify:
        flags |= Qt::AlignLeft;
        break;
    case TAlignment::taRightJustify:
        flags |= Qt::AlignRight;
        break;
    case TAlignment::taCenter:
        flags |= Qt::AlignHCenter;
        break;
    }
    if (m_wordWrap)
        flags |= Qt::TextWordWrap;
    if (m_showAccelChar)
        flags |= Qt::TextShowMnemonic;
    return flags;
}

// The ellipsis shortens each line that is too wide; a wrapped caption breaks
// its lines to fit instead.
QString TShadowLabel::fitted(const QString& text, int width) const
{
    if (m_ellipsis == TEllipsis::elNone || m_wordWrap)
        return text;
    const QFontMetrics metrics(font());
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        const int flags = m_showAccelChar ? Qt::TextShowMnemonic : 0;
        line = m_ellipsis == TEllipsis::elEnd
                   ? metrics.elidedText(line, Qt::ElideRight, width, flags)
                   : elidePath(metrics, line, width, flags);
    }
    return lines.join(QLatin1Char('\n'));
}

// The client rectangle moved down by the layout: the text's height is
// measured with the drawing flags.
QRect TShadowLabel::textRect(const QString& text, int flags) const
{
    const int textHeight =
        QFontMetrics(font()).boundingRect(rect(), flags, fitted(text, width())).height();
    switch (m_layout) {
    case TTextLayout::tlTop:
        return rect();
    case TTextLayout::tlCenter:
        return rect().translated(0, (height() - textHeight) / 2);
    case TTextLayout::tlBottom:
        return rect().translated(0, height() - textHeight);
    }
    return rect();
}

// Without the off-screen bitmap the gradient is computed on a strip (one
// pixel wide, or a twentieth of the height) and stretched.
void TShadowLabel::paintBackground(QPainter& painter) const
{
    if (!m_gradation) {
        painter.fillRect(rect(), Color());
        return;
    }
    QImage strip(m_gradateVert ? QSize(1, height()) : QSize(width(), height() / 20 + 1),
                 QImage::Format_RGB32);
    fillGradient(strip, m_gradationColor, Color(), m_gradateVert);
    painter.drawImage(rect(), strip);
}

QImage TShadowLabel::offscreenBackground() const
{
    const qreal ratio = devicePixelRatioF();
    QImage image(size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    if (m_gradation)
        fillGradient(image, m_gradationColor, Color(), m_gradateVert);
    else
        image.fill(Color());
    return image;
}

void TShadowLabel::drawText(QPainter& painter, const QRect& rect, int flags, const QString& text,
                            QColor color) const
{
    painter.setPen(color);
    painter.drawText(rect, flags, fitted(text, rect.width()));
}

// Each character is drawn by its own call with the label's flags, in what is
// left of the text rectangle.
void TShadowLabel::drawRun(QPainter& painter, QRect& rect, int flags,
                           const std::vector<SjisChar>& chars, QColor from, QColor to) const
{
    const QFontMetrics metrics = painter.fontMetrics();
    const auto count = static_cast<double>(chars.size());
    for (std::size_t k = 0; k < chars.size(); ++k) {
        const double t = chars.size() > 1 ? static_cast<double>(k) / (count - 1) : 0.0;
        const int nextLeft = rect.left() + metrics.horizontalAdvance(chars[k].text);
        drawText(painter, rect, flags, chars[k].text, blend(from, to, t));
        rect.setLeft(nextLeft);
    }
}

// Two colours run from the font colour to TextGradationColor over the whole
// text. Three colours split it at half its length in bytes, never inside a
// character: font colour to TextMidColor, then on to TextGradationColor.
void TShadowLabel::drawGradedText(QPainter& painter, QRect rect, int flags,
                                  const std::vector<SjisChar>& chars) const
{
    if (m_textGradation == TTextGradation::tg2Colors || chars.size() == 2) {
        drawRun(painter, rect, flags, chars, m_fontColor, m_textGradationColor);
        return;
    }
    int length = 0;
    for (const SjisChar& c : chars)
        length += c.bytes;
    const int half = length / 2;
    std::vector<SjisChar> first;
    std::vector<SjisChar> rest;
    int position = 0;
    for (const SjisChar& c : chars) {
        (position < half ? first : rest).push_back(c);
        position += c.bytes;
    }
    drawRun(painter, rect, flags, first, m_fontColor, m_textMidColor);
    if (rest.size() == 1)
        drawText(painter, rect, flags, rest.front().text, m_textGradationColor);
    else
        drawRun(painter, rect, flags, rest, m_textMidColor, m_textGradationColor);
}

void TShadowLabel::paintEvent(QPaintEvent*)
{
    if (rect().isEmpty())
        return;
    const QString text = paintedCaption();
    const int flags = textFlags();

    // An opaque label composes its picture, background included, off-screen
    // and copies it in one transfer.
    const bool offscreen = m_flickerless && !m_transparent;
    QImage buffer;
    QPainter painter;
    if (offscreen) {
        buffer = offscreenBackground();
        painter.begin(&buffer);
    } else {
        painter.begin(this);
        if (!m_transparent)
            paintBackground(painter);
    }
    painter.setFont(font());
    const QRect area = textRect(text, flags);

    // The label's own Enabled switch decides, as for a framework label: a
    // disabled parent does not grey it.
    const bool enabled = !testAttribute(Qt::WA_ForceDisabled);
    const QColor textColor =
        enabled ? m_fontColor : palette().color(QPalette::Active, QPalette::Dark);
    const QColor shadowColor = enabled ? m_shadow.Color() : kDisabledShadow;
    const QColor highlightColor =
        enabled ? m_highlight.Color() : palette().color(QPalette::Active, QPalette::Light);

    if (m_shadow.Visible())
        drawText(painter, area.translated(m_shadow.OffsetLeft(), m_shadow.OffsetTop()), flags, text,
                 shadowColor);
    if (m_highlight.Visible())
        drawText(painter, area.translated(m_highlight.OffsetLeft(), m_highlight.OffsetTop()), flags,
                 text, highlightColor);

    const std::vector<SjisChar> chars = sjisChars(text);
    if (m_textGradation != TTextGradation::tgNone && chars.size() >= 2)
        drawGradedText(painter, area, flags, chars);
    else
        drawText(painter, area, flags, text, textColor);

    if (offscreen) {
        painter.end();
        QPainter(this).drawImage(QPoint(0, 0), buffer);
    }
}

void styleScreenLabel(TShadowLabel* label, int pixelHeight, QColor color, int shadowOffset)
{
    label->setTransparent(true);
    label->setFont(qx::gameFont(pixelHeight, true));
    label->setFontColor(color);
    TShadow* shadow = label->Shadow();
    shadow->setVisible(true);
    shadow->setColor(Qt::black);
    shadow->setOffsetLeft(shadowOffset);
    shadow->setOffsetTop(shadowOffset);
    TShadow* highlight = label->Highlight();
    highlight->setVisible(true);
    highlight->setColor(Qt::white);
    highlight->setOffsetLeft(-1);
    highlight->setOffsetTop(-1);
    label->setGradation(false);
    label->setTextGradation(TTextGradation::tgNone);
    label->setEllipsis(TEllipsis::elNone);
}
