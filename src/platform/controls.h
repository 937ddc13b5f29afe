// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The small controls the screens are built from, with the behaviour the
// screens expect of them: pictures that take clicks, pictures with a canvas to
// draw on, and coloured panels.

#include <QFrame>
#include <QImage>
#include <QWidget>

#include <functional>
#include <vector>

class QFocusEvent;

namespace qx {

// Focus that the keyboard brought to a picture button or a panel: it shows a
// ring, and Space presses the control. Focus a window gives its first control
// when it opens is neither, so that a stray Space cannot press a control the
// player did not choose. A window that goes to the back and comes again gives
// the control back the focus it had. A control disabled while it has the focus
// hands it to its window, never on to the next control (which may be one that
// leaves the screen), and takes it back when it is enabled again, if nothing
// else has taken it meanwhile.
class KeyboardFocus {
public:
    explicit KeyboardFocus(QWidget* control) : m_control(control) {}

    // Whether the control has focus that the keyboard brought.
    bool shown() const { return m_keyboard && m_control->hasFocus(); }
    void focusIn(const QFocusEvent* event);
    void focusOut(const QFocusEvent* event);
    // For the control's focusNextPrevChild(): true when the control is losing
    // the focus because it is disabled or hidden, and has handed it over.
    bool handOver();
    // For the control's changeEvent(), on QEvent::EnabledChange.
    void enabledChanged();
    // The ring round the control, its corners of the radius given; a pill or
    // a circle when none is.
    void paintRing(QPainter& painter, qreal radius = -1) const;

private:
    QWidget* m_control;
    bool m_keyboard = false;
    // The next focus-in is the keyboard's focus coming back.
    bool m_resumes = false;
    // Disabled while it had the keyboard's focus: takes it back when enabled.
    bool m_returns = false;
};

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
    // Drawn greyed while disabled: for controls added to the designed
    // screens, whose own disabled buttons look as usual.
    void setShowsDisabled(bool shows);

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
    bool focusNextPrevChild(bool next) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    mutable QImage m_picture;
    mutable std::function<QImage()> m_draw;
    bool m_stretch = false;
    bool m_pressed = false;
    bool m_button = false;
    bool m_showsDisabled = false;
    KeyboardFocus m_focus{this};
};

// A flat coloured panel; the panel test's grid cells take presses and
// releases, of the mouse or, once the keyboard has brought them the focus, of
// Space.
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
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void changeEvent(QEvent* event) override;

private:
    void press();
    void release();

    QColor m_color;
    bool m_raised = false;
    bool m_keyPressed = false;
    KeyboardFocus m_focus{this};
};

// Controls that the keyboard reaches as one stop of the Tab chain, the panel
// test's grid and the shape test's answers, in rows of `columns`: Tab enters
// at the control chosen last (the first at the start), the arrow keys move to
// an enabled neighbour, Tab leaves. ENTER presses a control as Space does: the
// screens that use it give ENTER no other meaning.
void arrangeAsKeyboardGrid(const std::vector<QWidget*>& cells, int columns);

// The font every screen writes in.
QFont gameFont(int pixelHeight, bool bold = false);
// Maps the font the screens name to the one installed here.
void installFontSubstitution();
// Lets screen readers see picture buttons as buttons and pictures of text as
// text; once, with the application.
void installAccessibility();

} // namespace qx
