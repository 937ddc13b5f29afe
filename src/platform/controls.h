#pragma once

// The small controls the screens are built from, with the behaviour the
// screens expect of them: pictures that take clicks, pictures with a canvas to
// draw on, and coloured panels.

#include <QFrame>
#include <QImage>
#include <QWidget>

#include <functional>

namespace qx {

// A picture, optionally stretched to the control; it can be drawn on through
// canvas(). Clicks and mouse moves go to OnClick and OnMouseMove; a disabled
// picture ignores both.
class Image : public QWidget {
public:
    explicit Image(QWidget* parent, QRect geometry = {});

    void setPicture(const QImage& picture);
    // A picture drawn the first time it is needed, so that windows built at
    // start-up paint their pictures only when they are first shown.
    void setPicture(std::function<QImage()> draw);
    void clearPicture();
    const QImage& picture() const;
    bool hasPicture() const { return m_draw || !m_picture.isNull(); }
    // The picture as a canvas of the control's size; creates a white one when
    // there is none.
    QImage& canvas();
    void setStretch(bool stretch) { m_stretch = stretch; }
    // Hand cursor: for pictures that act as buttons.
    void setHandCursor();
    // A picture that acts as a button, for screen readers: the role of a
    // button named by the text painted on it, pressed by their press action.
    // The keyboard reaches it with Tab and presses it with Space; ENTER stays
    // the form's. Any other picture given an accessible name
    // (setAccessibleName) is a picture of those words, a text to screen
    // readers; unnamed pictures are decoration.
    void setButtonName(const QString& name);
    bool isButton() const { return m_button; }

    // Runs OnClick as a release of the mouse over the picture would.
    void click();

    int Tag = 0;
    std::function<void()> OnClick;
    std::function<void()> OnMouseMove;
    // Runs when a paint of the picture is done; the window system gets it
    // straight after, so this is when it reaches the screen.
    std::function<void()> OnPainted;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    mutable QImage m_picture;
    mutable std::function<QImage()> m_draw;
    bool m_stretch = false;
    bool m_pressed = false;
    bool m_button = false;
    // Focus that the keyboard brought: shown, and Space presses the button.
    // Focus a window gives its first button when it opens is neither, so
    // that a stray Space cannot press a button the player did not choose.
    bool m_keyboardFocus = false;
};

// A flat coloured panel; the panel test's grid cells take presses and releases.
class Panel : public QFrame {
public:
    explicit Panel(QWidget* parent, QRect geometry, QColor color);
    void setColor(QColor color);
    QColor color() const { return m_color; }
    // A raised edge: light at the top left, dark at the bottom right.
    void setRaised(bool raised);

    int Tag = 0;
    std::function<void()> OnMouseDown;
    std::function<void()> OnMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QColor m_color;
    bool m_raised = false;
};

// The font every screen writes in.
QFont gameFont(int pixelHeight, bool bold = false);
// Maps the font the screens name to the one installed here.
void installFontSubstitution();
// Lets screen readers see picture buttons as buttons and pictures of text as
// text; once, with the application.
void installAccessibility();

} // namespace qx
