// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Windows of the game, with the life the screens expect: created once, shown
// modally so that open screens nest like calls, or shown without modality (the
// stage dialog).
//
// ShowModal() returns at once and runs its continuation when the form closes.
// Close() on a modal form only marks it to close; it really closes (running
// FormCloseQuery, then its continuation) once everything opened above it has
// closed and the current handler has returned. A form becomes the active one
// when it is shown modally, when the form above it closes and when a
// non-modal form over it hides; FormActivate runs each time.

#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace qx {

class Dispatcher;
class Form;

class ModalStack {
public:
    explicit ModalStack(Dispatcher& dispatcher);
    ~ModalStack();
    ModalStack(const ModalStack&) = delete;
    ModalStack& operator=(const ModalStack&) = delete;

    Dispatcher& dispatcher() const { return m_dispatcher; }
    Form* top() const { return m_stack.empty() ? nullptr : m_stack.back().form; }
    // Whether the form was made on this stack.
    bool guards(const Form* form) const;
    // The form in front, which owns the boxes the game shows: a visible
    // non-modal form, else the top modal form, else the main form.
    Form* front() const;
    bool contains(const Form* form) const;
    int depth() const { return static_cast<int>(m_stack.size()); }
    // Whether input may reach this form: the top modal form, the visible
    // non-modal forms, or the main form when nothing modal is open; never the
    // form that opened a non-modal form still showing, which waits for it
    // however the window system brought it to the front.
    bool acceptsInput(const Form* form) const;

    // Closing the main form ends the program.
    void setMainForm(Form* form) { m_main = form; }
    void setQuit(std::function<void()> quit) { m_quit = std::move(quit); }

private:
    friend class Form;
    struct Entry {
        Form* form;
        std::function<void()> onReturn;
    };
    void push(Form* form, std::function<void()> onReturn);
    void settle();
    void activateTop();

    Dispatcher& m_dispatcher;
    std::vector<Entry> m_stack;
    Form* m_main = nullptr;
    Form* m_modeless = nullptr; // the non-modal form shown last
    Form* m_modelessOpener = nullptr;
    std::function<void()> m_quit;
    // Keeps input from the forms this stack covers.
    std::unique_ptr<QObject> m_guard;
    bool m_activatePending = false;
    bool m_settling = false;
};

class Form : public QWidget {
public:
    Form(ModalStack& stack, const QString& caption);

    void ShowModal(std::function<void()> onReturn = {});
    // Shows the form without modality, kept by the window system above the
    // form that opens it, also when that form is activated again.
    void Show(Form* opener = nullptr);
    void Close();
    bool closeRequested() const { return m_closeRequested; }

    // Fixed design position on the screen instead of centring.
    void setDesignPosition(QPoint position);

    // Forms that see keys first; the stop and Reflex screens use it as their
    // armed flag, so FormKeyPress runs only while it is on.
    bool KeyPreview = false;

    virtual void FormActivate() {}
    virtual void FormCloseQuery() {}
    // key is the character typed; setting it to 0 swallows it.
    virtual void FormKeyPress(QChar& key) { Q_UNUSED(key) }

protected:
    ModalStack& modalStack() const { return m_stack; }
    // The window system's stamp of the key a key handler is handling, in
    // milliseconds (Clock::eventTimeNs reads it); 0 outside a key press.
    std::uint64_t keyTimestamp() const { return m_keyTimestamp; }
    // Runs a key handler with the key's stamp at hand.
    void dispatchKey(const QKeyEvent* event, const std::function<void()>& handler);
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class ModalStack;
    friend void dispatchOn(const QWidget* control, const std::function<void()>& handler);
    void place();
    void prepareWindow();
    void finishClose();

    ModalStack& m_stack;
    bool m_closeRequested = false;
    bool m_closing = false;
    bool m_hasDesignPosition = false;
    std::uint64_t m_keyTimestamp = 0;
    QPoint m_designPosition;
};

// Runs a control's handler through the dispatcher of the form the control is
// on; a control on no form of the game runs it as it is.
void dispatchOn(const QWidget* control, const std::function<void()>& handler);

} // namespace qx
