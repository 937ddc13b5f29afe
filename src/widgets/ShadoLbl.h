// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A text label that paints its caption three times: a shadow copy, a
// highlight copy over it and the text on top, each copy shifted by its own
// offset. It can also paint a colour gradient behind the text, colour the text
// character by character in two or three colours, shorten a caption that does
// not fit with an ellipsis, and compose its picture off-screen.
//
// Characters are counted as Shift-JIS counts them: a character that code page
// 932 writes in two bytes is one character, and the three-colour gradient
// splits the caption at half its length in bytes.
//
// Apart from the painting, the label behaves like a framework label: AutoSize
// fits it to its caption, the font comes from QWidget::setFont, and the
// background colour is the parent's window colour until setColor() gives one.
// A new label is opaque, as a framework label is; the screens make theirs
// transparent with styleScreenLabel().
//
// Screen readers see a label named by its caption (without the accelerator
// marks), and hear of each new caption as a change of that name.

#include <QColor>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class QImage;
class QPainter;

// One offset copy of the text.
class TShadow {
public:
    TShadow() = default;
    TShadow(const TShadow&) = delete;
    TShadow& operator=(const TShadow&) = delete;

    bool Visible() const { return m_visible; }
    void setVisible(bool visible);
    QColor Color() const { return m_color; }
    void setColor(QColor color);
    // Pixels, positive to the right.
    int OffsetLeft() const { return m_offsetLeft; }
    void setOffsetLeft(int offset);
    // Pixels, positive downwards.
    int OffsetTop() const { return m_offsetTop; }
    void setOffsetTop(int offset);

    // Called after any of the four values has changed.
    void setOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }
    // Copies the four values and calls OnChange once.
    void Assign(const TShadow& source);

private:
    void changed();

    bool m_visible = true;
    QColor m_color{192, 192, 192};
    int m_offsetLeft = 1;
    int m_offsetTop = 1;
    std::function<void()> m_onChange;
};

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout { tlTop, tlCenter, tlBottom };
enum class TEllipsis { elNone, elEnd, elPath };
enum class TTextGradation { tgNone, tg2Colors, tg3Colors };

class TShadowLabel : public QWidget {
    Q_OBJECT

public:
    explicit TShadowLabel(QWidget* parent);

    QString Caption() const { return m_caption; }
    void setCaption(const QString& caption);
    QColor FontColor() const { return m_fontColor; }
    void setFontColor(QColor color);
    // The background; the parent's window colour unless set.
    QColor Color() const;
    void setColor(QColor color);
    bool Transparent() const { return m_transparent; }
    void setTransparent(bool transparent);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool autoSize);
    TAlignment Alignment() const { return m_alignment; }
    void setAlignment(TAlignment alignment);
    TTextLayout Layout() const { return m_layout; }
    // The vertical place of the text; QWidget's own setLayout stays usable.
    void setLayout(TTextLayout layout);
    using QWidget::setLayout;
    bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool wordWrap);
    // Whether "&x" underlines x (and "&&" shows "&") rather than showing "&".
    bool ShowAccelChar() const { return m_showAccelChar; }
    void setShowAccelChar(bool show);

    TEllipsis Ellipsis() const { return m_ellipsis; }
    void setEllipsis(TEllipsis ellipsis);
    // Compose the picture off-screen; only an opaque label does.
    bool Flickerless() const { return m_flickerless; }
    void setFlickerless(bool flickerless);
    bool GradateVert() const { return m_gradateVert; }
    void setGradateVert(bool vertical);
    // A background gradient from GradationColor (top or left) to Color.
    bool Gradation() const { return m_gradation; }
    void setGradation(bool gradation);
    QColor GradationColor() const { return m_gradationColor; }
    void setGradationColor(QColor color);
    // The owned copies; a label never keeps a reference to another TShadow.
    TShadow* Highlight() { return &m_highlight; }
    const TShadow* Highlight() const { return &m_highlight; }
    void setHighlight(const TShadow* highlight);
    TShadow* Shadow() { return &m_shadow; }
    const TShadow* Shadow() const { return &m_shadow; }
    void setShadow(const TShadow* shadow);
    TTextGradation TextGradation() const { return m_textGradation; }
    void setTextGradation(TTextGradation gradation);
    QColor TextGradationColor() const { return m_textGradationColor; }
    void setTextGradationColor(QColor color);
    QColor TextMidColor() const { return m_textMidColor; }
    void setTextMidColor(QColor color);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct SjisChar;
    static std::vector<SjisChar> sjisChars(const QString& text);

    QString paintedCaption() const;
    int textFlags() const;
    QString fitted(const QString& text, int width) const;
    QRect textRect(const QString& text, int flags) const;
    void paintBackground(QPainter& painter) const;
    QImage offscreenBackground() const;
    void drawText(QPainter& painter, const QRect& rect, int flags, const QString& text,
                  QColor color) const;
    void drawRun(QPainter& painter, QRect& rect, int flags, const std::vector<SjisChar>& chars,
                 QColor from, QColor to) const;
    void drawGradedText(QPainter& painter, QRect rect, int flags,
                        const std::vector<SjisChar>& chars) const;
    void adjustBounds();

    QString m_caption;
    QColor m_fontColor = Qt::black;
    QColor m_color;
    bool m_transparent = false;
    bool m_autoSize = true;
    TAlignment m_alignment = TAlignment::taLeftJustify;
    TTextLayout m_layout = TTextLayout::tlTop;
    bool m_wordWrap = false;
    bool m_showAccelChar = true;
    TEllipsis m_ellipsis = TEllipsis::elNone;
    bool m_flickerless = true;
    bool m_gradateVert = false;
    bool m_gradation = false;
    QColor m_gradationColor{0, 0, 255};
    TShadow m_highlight;
    TShadow m_shadow;
    TTextGradation m_textGradation = TTextGradation::tgNone;
    QColor m_textGradationColor{128, 0, 0};
    QColor m_textMidColor{0, 0, 128};
};

// The look of every label on the game's screens: transparent, bold
// "ＭＳ Ｐゴシック" at pixelHeight, a black shadow shadowOffset pixels right
// and down, a white highlight one pixel left and up, no gradient.
void styleScreenLabel(TShadowLabel* label, int pixelHeight, QColor color, int shadowOffset = 2);
