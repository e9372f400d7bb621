#include "dialogseam.h"

#include "application.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {

class QtDialogs final : public DialogSeam {
public:
    void tell(QWidget *parent, const QString &caption, const QString &text,
              const QString &detail) override {
        QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
        if (!detail.isEmpty())
            box.setInformativeText(detail);
        box.exec();
    }

    bool ask(QWidget *parent, const QString &caption, const QString &text) override {
        return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No) ==
               QMessageBox::Yes;
    }

    SaveChoice askToSave(QWidget *parent, const QString &caption, const QString &text) override {
        switch (QMessageBox::question(
            parent, caption, text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
            QMessageBox::Save)) {
        case QMessageBox::Save:
            return SaveChoice::Save;
        case QMessageBox::Discard:
            return SaveChoice::Discard;
        default:
            return SaveChoice::Cancel;
        }
    }

    QString chooseOpenFile(QWidget *parent, const QString &filter) override {
        return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
    }

    QString chooseSaveFile(QWidget *parent, const QString &filter,
                           const QString &defaultSuffix) override {
        QFileDialog dialog(parent, QString(), QString(), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(defaultSuffix);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }

    int execModal(QDialog &dialog) override { return dialog.exec(); }

    bool choosePrinter(QWidget *parent, QPrinter &printer) override {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }

    void showPrintPreview(QWidget *parent, QPrinter &printer,
                          std::function<void(QPrinter &)> paint) override {
        QPrintPreviewDialog dialog(&printer, parent);
        // A failure (a printer that refuses the job) is shown here, over the
        // preview, rather than thrown through the preview's own code.
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&paint](QPrinter *target) {
            try {
                paint(*target);
            } catch (...) {
                showException(std::current_exception());
            }
        });
        dialog.exec();
    }
};

DialogSeam *installed = nullptr;

} // namespace

DialogSeam &dialogs() {
    static QtDialogs qtDialogs;
    return installed ? *installed : qtDialogs;
}

void setDialogs(DialogSeam *seam) {
    installed = seam;
}
