#pragma once

// Every event handler of the game runs through dispatch(): an exception that
// escapes a handler ends that handler only and goes to the application's error
// report (a message box titled "Quiravex"), and the game goes on. When the
// outermost handler returns, work deferred until then runs (closing modal
// screens that were marked to close).

#include <QString>

#include <functional>
#include <stdexcept>

namespace qx {

// An error with the text shown to the player.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

void dispatch(const std::function<void()>& handler);

// Where error texts go; the application shows a message box, tests record.
void setErrorReport(std::function<void(const QString&)> report);
void reportError(const QString& message);

// Runs after the outermost dispatch() returns. Returns the one it replaces,
// so that an owner that goes away can put it back.
std::function<void()> setAfterDispatch(std::function<void()> settle);

} // namespace qx
