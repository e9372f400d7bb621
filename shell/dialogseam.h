#pragma once

#include <QString>

#include <functional>

class QDialog;
class QPrinter;
class QWidget;

// Every message box, file dialog and modal window of the program goes through
// this seam, so that tests can answer them without a person at the screen.
// The windows call dialogs(); the program runs with the Qt implementation and
// a test installs its own with setDialogs.
class DialogSeam {
public:
    virtual ~DialogSeam() = default;

    // A box with one OK button. `detail`, when not empty, is shown below the text.
    virtual void tell(QWidget *parent, const QString &caption, const QString &text,
                      const QString &detail = {}) = 0;
    // A box with Yes and No; true for Yes.
    virtual bool ask(QWidget *parent, const QString &caption, const QString &text) = 0;
    // What to do with changes that would be replaced: a box with Save, Discard
    // and Cancel (Escape and closing the box cancel).
    enum class SaveChoice { Save, Discard, Cancel };
    virtual SaveChoice askToSave(QWidget *parent, const QString &caption, const QString &text) = 0;
    // A file to read, or an empty text when the user cancels.
    virtual QString chooseOpenFile(QWidget *parent, const QString &filter) = 0;
    // A file to write, or an empty text when the user cancels. The dialog adds
    // `defaultSuffix` to a name without one and asks before replacing a file.
    virtual QString chooseSaveFile(QWidget *parent, const QString &filter,
                                   const QString &defaultSuffix) = 0;
    // Shows `dialog` modally and returns its result (QDialog::Accepted or Rejected).
    virtual int execModal(QDialog &dialog) = 0;
    // The print dialog: sets up `printer` as the user chooses (a printer or a
    // PDF file); false when the user cancels.
    virtual bool choosePrinter(QWidget *parent, QPrinter &printer) = 0;
    // A print preview of what `paint` draws on a printer, from which the user
    // can print it on `printer`.
    virtual void showPrintPreview(QWidget *parent, QPrinter &printer,
                                  std::function<void(QPrinter &)> paint) = 0;
};

// The seam in use; the Qt dialogs unless a test installed another.
DialogSeam &dialogs();
// Installs `seam` (not owned); nullptr restores the Qt dialogs.
void setDialogs(DialogSeam *seam);
