#pragma once

#include <QString>

#include <exception>
#include <functional>

class QDialog;
class QWidget;

// How a graph asks the user something and shows a failure of one of its
// commands. The graph control sits below the program's dialog seam, so the
// program points these at it (and tests at their answers); until a host sets
// them the plain Qt dialogs are used.
struct GraphDialogs {
    // A file to write, or an empty text when the user cancels. The dialog adds
    // `defaultSuffix` to a name without one and asks before replacing a file.
    std::function<QString(QWidget *parent, const QString &filter, const QString &defaultSuffix)>
        chooseSaveFile;
    // Shows `dialog` modally and returns its result (QDialog::Accepted or Rejected).
    std::function<int(QDialog &dialog)> execModal;
    // Shows the failure that stopped a menu command or a dialog's button.
    std::function<void(const std::exception_ptr &failure)> showFailure;
};

// The hooks in use; each one left empty falls back to the Qt dialogs.
GraphDialogs &graphDialogs();

// The hooks or their fallbacks.
QString chooseGraphSaveFile(QWidget *parent, const QString &filter, const QString &defaultSuffix);
int execGraphModal(QDialog &dialog);
void showGraphFailure(const std::exception_ptr &failure);

// `handler` as a slot whose exception stops at the slot's edge and is shown
// by showGraphFailure, before it could unwind through Qt's signal code.
template <typename Handler> auto graphGuarded(Handler handler) {
    return [handler = std::move(handler)](auto &&...) {
        try {
            handler();
        } catch (...) {
            showGraphFailure(std::current_exception());
        }
    };
}
