// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/controls.h"

#include "art/art.h"
#include "platform/form.h"

#include <QAccessibleWidget>
#include <QFocusEvent>
#include <QFont>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

#include <algorithm>

namespace qx {

void installFontSubstitution()
{
    art::installScreenFont();
}

QFont gameFont(int pixelHeight, bool bold)
{
    QFont font(art::installScreenFont());
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

Image::Image(QWidget* parent, QRect geometry) : QWidget(parent)
{
    if (geometry.isValid())
        setGeometry(geometry);
    setAttribute(Qt::WA_TranslucentBackground);
}

void Image::setPicture(const QImage& picture)
{
    m_draw = {};
    m_picture = picture;
    update();
}

void Image::setPicture(std::function<QImage()> draw)
{
    m_picture = QImage();
    m_draw = std::move(draw);
    update();
}

const QImage& Image::picture() const
{
    // Drawn for the screen the window is on, and again when it moves to one
    // of another pixel ratio.
    const qreal ratio = devicePixelRatioF();
    if (m_draw && (m_picture.isNull() || m_picture.devicePixelRatio() != ratio)) {
        const art::PixelRatio drawing(ratio);
        m_picture = m_draw();
    }
    return m_picture;
}

void Image::clearPicture()
{
    m_draw = {};
    m_picture = QImage();
    update();
}

QImage& Image::canvas()
{
    picture();
    // What is drawn on the canvas from now on is the picture.
    m_draw = {};
    const qreal ratio = devicePixelRatioF();
    const QSize pixels(qCeil(width() * ratio), qCeil(height() * ratio));
    if (m_picture.isNull() || m_picture.size() != pixels ||
        m_picture.format() != QImage::Format_RGB32) {
        QImage fresh(pixels, QImage::Format_RGB32);
        fresh.setDevicePixelRatio(ratio);
        fresh.fill(Qt::white);
        if (!m_picture.isNull()) {
            QPainter painter(&fresh);
            painter.drawImage(0, 0, m_picture);
        }
        m_picture = fresh;
    }
    update();
    return m_picture;
}

void Image::setHandCursor()
{
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
}

void Image::setButtonName(const QString& name)
{
    m_button = true;
    setAccessibleName(name);
    setFocusPolicy(Qt::TabFocus);
}

void KeyboardFocus::focusIn(const QFocusEvent* event)
{
    m_keyboard = event->reason() == Qt::TabFocusReason ||
                 event->reason() == Qt::BacktabFocusReason || m_resumes;
    m_resumes = false;
    m_control->update();
}

void KeyboardFocus::focusOut(const QFocusEvent* event)
{
    // A box or the stage dialog in front takes the focus for a while only.
    m_resumes = m_keyboard && event->reason() == Qt::ActiveWindowFocusReason;
    m_keyboard = false;
    m_control->update();
}

bool KeyboardFocus::handOver()
{
    if (m_control->isEnabled() && m_control->isVisible())
        return false;
    const bool keyboard = m_keyboard || m_resumes;
    QWidget* window = m_control->window();
    if (window != m_control)
        window->setFocus(Qt::OtherFocusReason);
    // A window in the back moves its focus without telling the control.
    m_keyboard = false;
    m_resumes = false;
    m_returns = keyboard && !m_control->isEnabled();
    m_control->update();
    return true;
}

void KeyboardFocus::enabledChanged()
{
    if (!m_returns || !m_control->isEnabled())
        return;
    m_returns = false;
    // Once the handler that enabled it is over: it may go on to disable the
    // control that has the focus now, and hand that to the window.
    QMetaObject::invokeMethod(
        m_control,
        [this] {
            const QWidget* window = m_control->window();
            const QWidget* focused = window->focusWidget();
            if (!m_control->isEnabled() || !m_control->isVisible() ||
                (focused && focused != window))
                return;
            m_resumes = true;
            m_control->setFocus(Qt::OtherFocusReason);
        },
        Qt::QueuedConnection);
}

void KeyboardFocus::paintRing(QPainter& painter, qreal radius) const
{
    if (!shown())
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(255, 160, 0), 3));
    painter.setBrush(Qt::NoBrush);
    const QRectF area = m_control->rect();
    if (radius < 0)
        radius = std::min(area.width(), area.height()) / 2.0;
    painter.drawRoundedRect(area.adjusted(1.5, 1.5, -1.5, -1.5), radius, radius);
}

void Image::setShowsDisabled(bool shows)
{
    m_showsDisabled = shows;
    update();
}

void Image::keyPressEvent(QKeyEvent* event)
{
    if (m_focus.shown() && event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        click();
        return;
    }
    // Every other key, ENTER among them, goes on to the form.
    QWidget::keyPressEvent(event);
}

void Image::focusInEvent(QFocusEvent* event)
{
    m_focus.focusIn(event);
    QWidget::focusInEvent(event);
}

void Image::focusOutEvent(QFocusEvent* event)
{
    m_focus.focusOut(event);
    QWidget::focusOutEvent(event);
}

bool Image::focusNextPrevChild(bool next)
{
    return m_focus.handOver() || QWidget::focusNextPrevChild(next);
}

void Image::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        m_focus.enabledChanged();
        if (m_showsDisabled)
            update();
    }
    QWidget::changeEvent(event);
}

namespace {

// Asked each time, since a picture is often named after screen readers first
// met it (a title that changes with the test, a clock that comes to rest).
class PictureAccessible final : public QAccessibleWidget {
public:
    explicit PictureAccessible(Image* image) : QAccessibleWidget(image) {}
    QAccessible::Role role() const override
    {
        if (image()->isButton())
            return QAccessible::Button;
        return image()->accessibleName().isEmpty() ? QAccessibleWidget::role()
                                                   : QAccessible::StaticText;
    }
    QStringList actionNames() const override
    {
        return image()->isButton() ? QStringList{pressAction()} : QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override
    {
        if (image()->isButton() && action == pressAction())
            image()->click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    Image* image() const { return static_cast<Image*>(widget()); }
};

QAccessibleInterface* pictureAccessible(const QString&, QObject* object)
{
    auto* image = dynamic_cast<Image*>(object);
    return image ? new PictureAccessible(image) : nullptr;
}

} // namespace

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(pictureAccessible);
        return true;
    }();
    Q_UNUSED(installed)
}

void Image::click()
{
    if (isEnabled() && OnClick)
        dispatchOn(this, OnClick);
}

namespace {

// A disabled control's picture: without colour, and faint.
QImage greyed(const QImage& picture)
{
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const int grey = 150 + qGray(row[x]) / 3;
            row[x] = qRgba(grey, grey, grey, qAlpha(row[x]) / 2);
        }
    }
    return out;
}

} // namespace

void Image::paintEvent(QPaintEvent*)
{
    const QImage& shown = picture();
    if (shown.isNull())
        return;
    QPainter painter(this);
    const QImage& drawn = m_showsDisabled && !isEnabled() ? greyed(shown) : shown;
    if (m_stretch)
        painter.drawImage(rect(), drawn);
    else
        painter.drawImage(0, 0, drawn);
    m_focus.paintRing(painter);
    painter.end();
    if (OnPainted)
        OnPainted();
}

void Image::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void Image::mouseReleaseEvent(QMouseEvent* event)
{
    const bool wasPressed = m_pressed;
    m_pressed = false;
    if (wasPressed && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint()))
        click();
}

void Image::mouseMoveEvent(QMouseEvent*)
{
    if (OnMouseMove)
        dispatchOn(this, OnMouseMove);
}

Panel::Panel(QWidget* parent, QRect geometry, QColor color) : QFrame(parent), m_color(color)
{
    setGeometry(geometry);
}

void Panel::setColor(QColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void Panel::setRaised(bool raised)
{
    m_raised = raised;
    update();
}

void Panel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_color);
    if (m_raised) {
        const QRect r = rect().adjusted(0, 0, -1, -1);
        painter.setPen(m_color.lighter(140));
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(m_color.darker(160));
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    }
    // Square as the panel is.
    m_focus.paintRing(painter, 6);
}

void Panel::mousePressEvent(QMouseEvent*)
{
    press();
}

void Panel::press()
{
    if (OnMouseDown)
        dispatchOn(this, OnMouseDown);
}

void Panel::mouseReleaseEvent(QMouseEvent*)
{
    release();
}

void Panel::release()
{
    if (OnMouseUp)
        dispatchOn(this, OnMouseUp);
}

void Panel::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space || !m_focus.shown()) {
        QFrame::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat() && !m_keyPressed) {
        m_keyPressed = true;
        press();
    }
}

void Panel::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space || event->isAutoRepeat() || !m_keyPressed) {
        QFrame::keyReleaseEvent(event);
        return;
    }
    m_keyPressed = false;
    release();
}

void Panel::focusInEvent(QFocusEvent* event)
{
    m_focus.focusIn(event);
    QFrame::focusInEvent(event);
}

void Panel::focusOutEvent(QFocusEvent* event)
{
    m_focus.focusOut(event);
    // A panel held down with Space and left is let go, as the mouse lets go
    // of a panel wherever it is released.
    if (m_keyPressed) {
        m_keyPressed = false;
        release();
    }
    QFrame::focusOutEvent(event);
}

bool Panel::focusNextPrevChild(bool next)
{
    return m_focus.handOver() || QFrame::focusNextPrevChild(next);
}

void Panel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
        m_focus.enabledChanged();
    QFrame::changeEvent(event);
}

namespace {

class KeyboardGrid final : public QObject {
public:
    KeyboardGrid(const std::vector<QWidget*>& cells, int columns)
        : QObject(cells.front()->parentWidget()), m_cells(cells), m_columns(columns)
    {
        for (QWidget* cell : m_cells)
            cell->installEventFilter(this);
        makeStop(m_cells.front());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* cell = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::FocusIn) {
            makeStop(cell);
            return false;
        }
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            QKeyEvent space(key->type(), Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "),
                            key->isAutoRepeat());
            QCoreApplication::sendEvent(cell, &space);
            return true;
        }
        if (event->type() != QEvent::KeyPress || key->modifiers() != Qt::NoModifier)
            return false;
        const int at = index(cell);
        int to = -1;
        switch (key->key()) {
        case Qt::Key_Left:
            to = at % m_columns > 0 ? at - 1 : -1;
            break;
        case Qt::Key_Right:
            to = at % m_columns < m_columns - 1 ? at + 1 : -1;
            break;
        case Qt::Key_Up:
            to = at - m_columns;
            break;
        case Qt::Key_Down:
            to = at + m_columns;
            break;
        default:
            return false;
        }
        if (to >= 0 && to < static_cast<int>(m_cells.size()) &&
            m_cells[static_cast<std::size_t>(to)]->isEnabled())
            m_cells[static_cast<std::size_t>(to)]->setFocus(Qt::TabFocusReason);
        return true;
    }

private:
    int index(const QWidget* cell) const
    {
        return static_cast<int>(std::find(m_cells.begin(), m_cells.end(), cell) - m_cells.begin());
    }

    // Only the cell chosen last is in the Tab chain.
    void makeStop(QWidget* stop) const
    {
        for (QWidget* cell : m_cells)
            cell->setFocusPolicy(cell == stop ? Qt::TabFocus : Qt::NoFocus);
    }

    std::vector<QWidget*> m_cells;
    int m_columns;
};

} // namespace

void arrangeAsKeyboardGrid(const std::vector<QWidget*>& cells, int columns)
{
    if (!cells.empty())
        new KeyboardGrid(cells, columns);
}

} // namespace qx
