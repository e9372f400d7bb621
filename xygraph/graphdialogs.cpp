#include "graphdialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

#include <new>

GraphDialogs &graphDialogs() {
    static GraphDialogs hooks;
    return hooks;
}

QString chooseGraphSaveFile(QWidget *parent, const QString &filter, const QString &defaultSuffix) {
    if (graphDialogs().chooseSaveFile)
        return graphDialogs().chooseSaveFile(parent, filter, defaultSuffix);
    QFileDialog dialog(parent, QString(), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

int execGraphModal(QDialog &dialog) {
    if (graphDialogs().execModal)
        return graphDialogs().execModal(dialog);
    return dialog.exec();
}

void showGraphFailure(const std::exception_ptr &failure) {
    if (graphDialogs().showFailure) {
        graphDialogs().showFailure(failure);
        return;
    }
    QString message;
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc &) {
        message = QStringLiteral("There is not enough memory to complete the command.");
    } catch (const std::exception &e) {
        message = QString::fromUtf8(e.what());
    } catch (...) {
        message = QStringLiteral("The command stopped with an unknown failure.");
    }
    QMessageBox::warning(nullptr, QStringLiteral("Tarvel"), message);
}
