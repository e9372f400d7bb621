#include "application.h"

#include "calcerrors.h"
#include "dialogseam.h"
#include "errors.h"

#include <QIcon>
#include <QMetaObject>
#include <QPointer>
#include <QThread>

#include <atomic>
#include <new>
#include <string>

namespace {

std::atomic<bool> ending{false};

QString messageOf(const std::exception_ptr &failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc &) {
        return QStringLiteral("There is not enough memory to complete the command.");
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("The command stopped with an unknown failure.");
    }
}

} // namespace

TarvelApplication::TarvelApplication(int &argc, char **argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Tarvel"));
    setOrganizationName(QStringLiteral("Morvik"));
    setWindowIcon(QIcon(QStringLiteral(":/tarvel/desktop/tarvel.svg")));
    // The desktop entry this program belongs to, for the panel's icon and name.
    setDesktopFileName(QStringLiteral("org.morvik.tarvel"));
    setQuitOnLastWindowClosed(false); // the closing check decides when the program ends
}

TarvelApplication::~TarvelApplication() {
    SetCalculationErrorReporter({});
}

bool TarvelApplication::notify(QObject *receiver, QEvent *event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        showException(std::current_exception());
        return true;
    }
}

void showError(const QString &message) {
    dialogs().tell(QApplication::activeWindow(), QStringLiteral("Tarvel"), message);
}

void showErrorLater(QObject *context, const QString &message) {
    QMetaObject::invokeMethod(
        context, [message] { showError(message); }, Qt::QueuedConnection);
}

void showException(const std::exception_ptr &failure) {
    showError(messageOf(failure));
}

void installCalculationErrorBox() {
    SetCalculationErrorReporter([](const std::string &message) {
        const QString reason = QString::fromStdString(message);
        auto show = [reason] {
            dialogs().tell(QApplication::activeWindow(), QStringLiteral("Error"),
                           QStringLiteral("Oops"), reason);
        };
        if (QThread::currentThread() == qApp->thread())
            show();
        else
            QMetaObject::invokeMethod(qApp, show, Qt::QueuedConnection);
    });
}

void endProgram() {
    ending = true;
    QCoreApplication::exit(0);
}

bool programEnding() {
    return ending;
}

void resetProgramEnding() {
    ending = false;
}
