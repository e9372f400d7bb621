#pragma once

#include "calculationpage.h"
#include "dialogseam.h"

#include <QDialog>
#include <QPrinter>
#include <QStringList>

#include <deque>
#include <functional>

// Answers the program's dialogs in tests. Boxes are recorded; questions take
// the next queued answer (No when none is queued); file dialogs return the
// names set here; calculation pages shown modally run their calculation to
// the end at once and act on its ending, without an event loop.
class ScriptedDialogs : public DialogSeam {
public:
    struct Box {
        QString caption, text, detail;
    };
    std::vector<Box> told;
    QStringList asked;
    std::deque<bool> answers;
    // Answers to askToSave, in order; Cancel when none is queued (nothing lost).
    std::deque<SaveChoice> saveChoices;
    QString openName, saveName;
    QStringList modalShown; // window titles, in order
    // What a modal dialog other than a calculation page does; Accepted by default.
    std::function<int(QDialog &)> onDialog;
    // What a modal calculation page does after its run started; by default the
    // run completes and the page collects it.
    std::function<void(CalculationPage &)> onPage;
    // The print dialog: with a file name set, the user chose to print to that
    // PDF file; empty, the user cancelled. Each time the dialog is shown counts.
    QString printFile;
    int printDialogs = 0;
    // The print preview: with a file name set, the preview draws into that
    // PDF file; each time it is shown counts.
    QString previewFile;
    int previews = 0;

    ScriptedDialogs() { setDialogs(this); }
    ~ScriptedDialogs() override { setDialogs(nullptr); }

    void tell(QWidget *, const QString &caption, const QString &text,
              const QString &detail) override {
        told.push_back({caption, text, detail});
    }
    bool ask(QWidget *, const QString &, const QString &text) override {
        asked << text;
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    SaveChoice askToSave(QWidget *, const QString &, const QString &text) override {
        asked << text;
        if (saveChoices.empty())
            return SaveChoice::Cancel;
        const SaveChoice choice = saveChoices.front();
        saveChoices.pop_front();
        return choice;
    }
    QString chooseOpenFile(QWidget *, const QString &) override { return openName; }
    QString chooseSaveFile(QWidget *, const QString &, const QString &) override {
        return saveName;
    }
    int execModal(QDialog &dialog) override {
        modalShown << dialog.windowTitle();
        dialog.setResult(QDialog::Rejected);
        dialog.setAttribute(Qt::WA_ShowModal, true);
        int result = QDialog::Rejected;
        if (auto *page = qobject_cast<CalculationPage *>(&dialog)) {
            page->FormActivate();
            if (onPage)
                onPage(*page);
            else
                page->WaitForRun();
            result = dialog.result();
        } else {
            result = onDialog ? onDialog(dialog) : int(QDialog::Accepted);
        }
        dialog.setAttribute(Qt::WA_ShowModal, false);
        return result;
    }

    bool choosePrinter(QWidget *, QPrinter &printer) override {
        ++printDialogs;
        if (printFile.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printFile);
        return true;
    }
    void showPrintPreview(QWidget *, QPrinter &printer,
                          std::function<void(QPrinter &)> paint) override {
        ++previews;
        if (previewFile.isEmpty())
            return;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(previewFile);
        paint(printer);
    }

    bool toldText(const QString &text) const {
        for (const Box &box : told)
            if (box.text == text)
                return true;
        return false;
    }
};
