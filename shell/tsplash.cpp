#include "tsplash.h"

#include "application.h"
#include "datamodule.h"
#include "dialogseam.h"
#include "jpegimage.h"
#include "roster.h"
#include "settingsstore.h"
#include "tform7.h"

#include <QLabel>
#include <QPixmap>
#include <QTimer>

#include <exception>
#include <utility>

namespace {
constexpr int kTickMs = 3000;
}

TSplash::TSplash(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Starting Tarvel"));
    resize(241, 417);
    Image1 = new QLabel(this);
    Image1->setScaledContents(true);
    Image1->setPixmap(QPixmap::fromImage(tarvel::grainPicture()));
    Image1->setGeometry(rect());

    Timer1 = new QTimer(this);
    Timer1->setInterval(kTickMs);
    connect(Timer1, &QTimer::timeout, this, guarded([this] { Timer1Timer(); }));
    Timer1->start();
}

void TSplash::Timer1Timer() {
    if (!isVisible())
        ClosingCheck();
    else
        StartUpDecision();
}

// Taken once: the splash hides first, so a box shown while loading cannot lead
// to a second decision at the next tick.
void TSplash::StartUpDecision() {
    hide();
    std::exception_ptr failure;
    if (tarvel::SettingsStore::fromEnvironment().exists()) {
        Form7->Model = DataModule1;
        try {
            Form7->LoadSettings();
        } catch (...) {
            failure = std::current_exception(); // the main window keeps its creation values
        }
        Form7->show();
        if (IntroPage)
            IntroPage->hide();
    } else if (IntroPage) {
        IntroPage->show();
        Form7->hide();
    } else {
        Form7->Model = DataModule1;
        Form7->show();
    }
    if (failure)
        showException(failure);
    if (!StartFile.isEmpty())
        OpenStartFile();
}

// Over the stored data set, which stays as it was when the file is refused;
// with no settings yet, a refused file leaves the start as it would be
// without one.
void TSplash::OpenStartFile() {
    const QString name = std::exchange(StartFile, QString());
    Form7->Model = DataModule1;
    try {
        if (!Form7->OpenDataSetFile(name))
            return;
    } catch (...) {
        showException(std::current_exception());
        return;
    }
    Form7->show();
    if (IntroPage)
        IntroPage->hide();
}

bool TSplash::AnyPageVisible() const {
    for (const QWidget *page : Pages)
        if (page && page->isVisible())
            return true;
    return false;
}

void TSplash::ClosingCheck() {
    // The question below opens a box, which deactivates windows and lets the
    // timer tick: neither may start a second check meanwhile.
    if (checking_ || programEnding() || AnyPageVisible())
        return;
    checking_ = true;
    Timer1->stop();
    bool stored = true;
    try {
        if (!tarvel::SettingsStore::fromEnvironment().exists() &&
            dialogs().ask(nullptr, QStringLiteral("Closing"), QStringLiteral("Save Settings?")))
            stored = Form7->SaveSettings();
    } catch (...) {
        stored = false;
        showException(std::current_exception());
    }
    checking_ = false;
    if (!stored) {
        // Nothing is lost: the data set is still in the main window.
        Form7->show();
        Timer1->start();
        return;
    }
    endProgram();
}
