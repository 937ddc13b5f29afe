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

void Image::keyPressEvent(QKeyEvent* event)
{
    if (m_keyboardFocus && event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        click();
        return;
    }
    // Every other key, ENTER among them, goes on to the form.
    QWidget::keyPressEvent(event);
}

void Image::focusInEvent(QFocusEvent* event)
{
    m_keyboardFocus =
        event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    update();
    QWidget::focusInEvent(event);
}

void Image::focusOutEvent(QFocusEvent* event)
{
    m_keyboardFocus = false;
    update();
    QWidget::focusOutEvent(event);
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

void Image::paintEvent(QPaintEvent*)
{
    const QImage& shown = picture();
    if (shown.isNull())
        return;
    QPainter painter(this);
    if (m_stretch)
        painter.drawImage(rect(), shown);
    else
        painter.drawImage(0, 0, shown);
    if (m_keyboardFocus && hasFocus()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(255, 160, 0), 3));
        painter.setBrush(Qt::NoBrush);
        const qreal radius = std::min(width(), height()) / 2.0;
        painter.drawRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), radius, radius);
    }
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
    if (!m_raised)
        return;
    const QRect r = rect().adjusted(0, 0, -1, -1);
    painter.setPen(m_color.lighter(140));
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(m_color.darker(160));
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}

void Panel::mousePressEvent(QMouseEvent*)
{
    if (OnMouseDown)
        dispatchOn(this, OnMouseDown);
}

void Panel::mouseReleaseEvent(QMouseEvent*)
{
    if (OnMouseUp)
        dispatchOn(this, OnMouseUp);
}

} // namespace qx
