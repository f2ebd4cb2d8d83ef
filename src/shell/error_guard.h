#pragma once
// The top-level error handler. Qt must never see an exception, so every handler that calls
// into the core runs its body through `guarded`: an error ends the body, is shown in the error
// box, and the handler goes on with what the caller does after a failure.

#include <exception>
#include <utility>

class QWidget;

namespace shell {

// Shows the error of the exception being handled (call only inside a catch block).
void show_current_error(QWidget* parent) noexcept;

// Runs `body`; true when it finished, false when it threw (the error has then been shown).
template <class Body>
bool guarded(QWidget* parent, Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
        return true;
    } catch (...) {
        show_current_error(parent);
        return false;
    }
}

}  // namespace shell
