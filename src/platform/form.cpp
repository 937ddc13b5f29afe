// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/form.h"

#include "platform/dispatch.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace qx {

namespace {

// Brings a window to the front where the platform has a window stack.
void bringToFront(QWidget* window)
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    window->raise();
    window->activateWindow();
}

// The X server's connection, or none on other window systems.
xcb_connection_t* x11Connection()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// On X11 Qt gives a window without a caption the application's name as its
// title; a form without a caption is to have no title at all.
void clearX11Title(QWidget* window)
{
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return;
    const char* name = "_NET_WM_NAME";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 1, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr);
    if (!atom)
        return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    if (atom->atom != XCB_ATOM_NONE)
        xcb_delete_property(connection, id, atom->atom);
    xcb_delete_property(connection, id, XCB_ATOM_WM_NAME);
    std::free(atom);
    xcb_flush(connection);
}

// Qt writes WM_TRANSIENT_FOR on X11 only for dialog-type windows, and clears
// it on the others as it maps them; the screens are ordinary windows with a
// minimise box, so their tie is written here once they are shown.
void tieX11Transient(QWidget* window, QWidget* covered)
{
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return;
    const auto coveredId = static_cast<xcb_window_t>(covered->winId());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
                        static_cast<xcb_window_t>(window->winId()), XCB_ATOM_WM_TRANSIENT_FOR,
                        XCB_ATOM_WINDOW, 32, 1, &coveredId);
    xcb_flush(connection);
}

// Keeps input away from forms that a modal form covers, whatever the window
// system does about modality.
class InputGuard final : public QObject {
public:
    explicit InputGuard(const ModalStack& stack) : m_stack(stack) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
            break;
        default:
            return false;
        }
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget)
            return false;
        const auto* form = dynamic_cast<const Form*>(widget->window());
        return form && m_stack.guards(form) && !m_stack.acceptsInput(form);
    }

private:
    const ModalStack& m_stack;
};

// A form is a window to screen readers, named by its caption (a frame on
// AT-SPI); the stage dialog is a dialog, so that they read out its texts when
// it opens. Asked each time: a form may be met before it has its flags.
class FormAccessible final : public QAccessibleWidget {
public:
    explicit FormAccessible(QWidget* form) : QAccessibleWidget(form) {}
    QAccessible::Role role() const override
    {
        return widget()->windowType() == Qt::Dialog ? QAccessible::Dialog : QAccessible::Window;
    }
};

QAccessibleInterface* formAccessible(const QString&, QObject* object)
{
    auto* form = dynamic_cast<Form*>(object);
    return form ? new FormAccessible(form) : nullptr;
}

} // namespace

ModalStack::ModalStack(Dispatcher& dispatcher) : m_dispatcher(dispatcher)
{
    // Each stack guards its own forms, so that a second game (in a test)
    // neither doubles the guard nor takes it away from the first.
    if (qApp) {
        m_guard = std::make_unique<InputGuard>(*this);
        qApp->installEventFilter(m_guard.get());
    }
    m_dispatcher.setAfterHandlers([this] { settle(); });
}

bool ModalStack::guards(const Form* form) const
{
    return &form->m_stack == this;
}

ModalStack::~ModalStack()
{
    m_dispatcher.setAfterHandlers({});
    if (m_guard && qApp)
        qApp->removeEventFilter(m_guard.get());
}

bool ModalStack::contains(const Form* form) const
{
    return std::any_of(m_stack.begin(), m_stack.end(),
                       [form](const Entry& e) { return e.form == form; });
}

bool ModalStack::acceptsInput(const Form* form) const
{
    if (form == m_modelessOpener && m_modeless && m_modeless->isVisible())
        return false;
    if (form == top())
        return true;
    if (form == m_main)
        return m_stack.empty();
    return !contains(form) && form->isVisible();
}

Form* ModalStack::front() const
{
    if (m_modeless && m_modeless->isVisible())
        return m_modeless;
    return top() ? top() : m_main;
}

void ModalStack::push(Form* form, std::function<void()> onReturn)
{
    m_stack.push_back({form, std::move(onReturn)});
}

void ModalStack::settle()
{
    if (m_settling)
        return;
    m_settling = true;
    while (!m_stack.empty() && m_stack.back().form->m_closeRequested) {
        Entry entry = m_stack.back();
        entry.form->finishClose();
        m_stack.pop_back();
        if (entry.onReturn)
            m_dispatcher.run(entry.onReturn);
        m_activatePending = true;
    }
    if (m_activatePending) {
        m_activatePending = false;
        activateTop();
    }
    m_settling = false;
}

void ModalStack::activateTop()
{
    Form* form = top() ? top() : m_main;
    if (!form || !form->isVisible())
        return;
    bringToFront(form);
    m_dispatcher.run([form] { form->FormActivate(); });
}

Form::Form(ModalStack& stack, const QString& caption) : m_stack(stack)
{
    static const bool accessible = [] {
        QAccessible::installFactory(formAccessible);
        return true;
    }();
    Q_UNUSED(accessible)
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMinimizeButtonHint);
    setWindowTitle(caption);
    setFixedSize(600, 480);
    setFocusPolicy(Qt::StrongFocus);
}

void Form::setDesignPosition(QPoint position)
{
    m_hasDesignPosition = true;
    m_designPosition = position;
}

void Form::place()
{
    if (m_hasDesignPosition) {
        move(m_designPosition);
        return;
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void Form::prepareWindow()
{
    // The window system's window exists from here on, so that it can be tied
    // to its opener and stripped of a title before it is mapped.
    winId();
    if (windowTitle().isEmpty())
        clearX11Title(this);
}

void Form::ShowModal(std::function<void()> onReturn)
{
    m_closeRequested = false;
    // Tied to the form it covers, and modal to it, so that window managers
    // keep it above that form, and activating the covered form (a taskbar
    // click, Alt+Tab) brings this one forward instead of hiding it.
    Form* covered = m_stack.top() ? m_stack.top() : m_stack.m_main;
    m_stack.push(this, std::move(onReturn));
    place();
    if (covered && covered != this)
        setWindowModality(Qt::WindowModal);
    prepareWindow();
    if (covered && covered != this) {
        covered->winId();
        windowHandle()->setTransientParent(covered->windowHandle());
    }
    show();
    // After show(): mapping an ordinary window, Qt clears the property.
    if (covered && covered != this)
        tieX11Transient(this, covered);
    bringToFront(this);
    setFocus();
    m_stack.m_dispatcher.run([this] { FormActivate(); });
}

void Form::Show(Form* opener)
{
    place();
    prepareWindow();
    if (opener) {
        opener->winId();
        windowHandle()->setTransientParent(opener->windowHandle());
    }
    if (this != m_stack.m_main) {
        m_stack.m_modeless = this;
        m_stack.m_modelessOpener = opener;
    }
    show();
    bringToFront(this);
    setFocus();
    m_stack.m_dispatcher.run([this] { FormActivate(); });
}

void Form::Close()
{
    if (this == m_stack.m_main) {
        m_stack.m_dispatcher.run([this] { FormCloseQuery(); });
        if (m_stack.m_quit)
            m_stack.m_quit();
        return;
    }
    if (m_stack.contains(this)) {
        m_closeRequested = true;
        return;
    }
    if (isVisible()) {
        // A form that a close handler opened on top has been activated already.
        const Form* before = m_stack.top();
        finishClose();
        if (m_stack.top() == before)
            m_stack.m_activatePending = true;
    }
}

void Form::finishClose()
{
    m_closeRequested = false;
    m_closing = true;
    m_stack.m_dispatcher.run([this] { FormCloseQuery(); });
    hide();
    m_closing = false;
}

void Form::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (!m_closing && m_stack.acceptsInput(this))
        m_stack.m_dispatcher.run([this] { Close(); });
}

void Form::keyPressEvent(QKeyEvent* event)
{
    QString text = event->text();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        text = QStringLiteral("\r");
    if (!KeyPreview || text.isEmpty()) {
        QWidget::keyPressEvent(event);
        return;
    }
    QChar key = text.at(0);
    dispatchKey(event, [this, &key] { FormKeyPress(key); });
}

void Form::dispatchKey(const QKeyEvent* event, const std::function<void()>& handler)
{
    m_keyTimestamp = event->timestamp();
    m_stack.m_dispatcher.run(handler);
    m_keyTimestamp = 0;
}

void dispatchOn(const QWidget* control, const std::function<void()>& handler)
{
    if (const auto* form = dynamic_cast<const Form*>(control->window()))
        form->m_stack.dispatcher().run(handler);
    else
        handler();
}

} // namespace qx
