#pragma once

#include "axesentry.h"

#include <QDialog>

#include <optional>

class QLineEdit;
class QPushButton;

// The modal dialog "Axes": the two ends of both axes in four edits. OK
// converts all four and closes only when every one is a number and both axes
// keep an upper end above their lower end; otherwise it throws the error
// naming the edit, selects that edit and stays open, and nothing is taken.
class AxesDialog : public QDialog {
    Q_OBJECT
public:
    explicit AxesDialog(QWidget *parent = nullptr);

    QLineEdit *xFrom;
    QLineEdit *xTo;
    QLineEdit *yFrom;
    QLineEdit *yTo;
    QPushButton *okButton;
    QPushButton *cancelButton;

    // Fills the edits and forgets any earlier result.
    void setWindow(const axesentry::Window &window);
    // After OK: the window the edits gave; nothing after Cancel.
    const std::optional<axesentry::Window> &chosenWindow() const { return chosen_; }

    void okClick();

private:
    QLineEdit *editOf(axesentry::Edit edit) const;

    std::optional<axesentry::Window> chosen_;
};
