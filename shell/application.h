#pragma once

#include <QApplication>

#include <exception>

// The desktop program's application object. Every event passes through
// notify, so an exception that leaves any event handler ends up here: it is
// shown in the standard error box and the rest of that handler is skipped.
// That is the last resort: Qt's own code is not written for exceptions, and
// one unwinding through it skips its clean-up, so the windows' handlers are
// connected through `guarded`, which stops the exception at their edge.
class TarvelApplication : public QApplication {
public:
    TarvelApplication(int &argc, char **argv);
    ~TarvelApplication() override;

    bool notify(QObject *receiver, QEvent *event) override;
};

// The standard error box for a failure with this message.
void showError(const QString &message);
// The box for a message once the current event is handled: for a table's
// refused cell, told after its editor has closed, so the cell shows its old
// text again under the box. `context` going away first drops it.
void showErrorLater(QObject *context, const QString &message);

// The same for an exception caught at the edge of an event handler.
void showException(const std::exception_ptr &failure);

// `handler` as a slot whose exception is shown in the standard error box at
// the slot's edge, before it could unwind through Qt's signal code. The rest
// of the handler is skipped, as with any exception. The signal's arguments
// are not passed on.
template <typename Handler> auto guarded(Handler handler) {
    return [handler = std::move(handler)](auto &&...) {
        try {
            handler();
        } catch (...) {
            showException(std::current_exception());
        }
    };
}

// Calculation failures arrive on worker threads; this carries each one to the
// GUI thread, where it is shown as the box "Oops" (caption "Error") with the
// reason below. The worker does not wait for the box, so a GUI thread that is
// itself waiting for the worker cannot dead-lock with it.
void installCalculationErrorBox();

// Ends the program: the event loop stops after the current handler. Windows
// that ask whether the program is ending (the closing check) see true from now on.
void endProgram();
bool programEnding();
// Tests start every case with a program that is not ending.
void resetProgramEnding();
