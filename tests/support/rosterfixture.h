#pragma once

#include "application.h"
#include "roster.h"
#include "scripteddialogs.h"
#include "tform7.h"
#include "tsplash.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

// The whole roster of windows with the settings in temporary XDG folders and
// the dialogs answered by a script. The splash's 3-second timer is stopped:
// tests call its handler when they mean a tick.
struct RosterFixture {
    std::unique_ptr<QTemporaryDir> home; // new for every test
    std::unique_ptr<ScriptedDialogs> dialogs;

    QString path(const QString &name) const { return home->filePath(name); }
    QString userFolder() const { return path(QStringLiteral("config/Morvik/tarvel")); }
    QString machineFolder() const { return path(QStringLiteral("xdg/Morvik/tarvel")); }

    void start() {
        home = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", path(QStringLiteral("config")).toUtf8());
        qputenv("XDG_CONFIG_DIRS", path(QStringLiteral("xdg")).toUtf8());
        resetProgramEnding();
        dialogs = std::make_unique<ScriptedDialogs>();
        installCalculationErrorBox();
        CreateRoster();
        Splash->Timer1->stop();
    }

    // The main window on the data module, shown and active, as after a start
    // with stored settings.
    void showMainWindow() const {
        Form7->Model = DataModule1;
        Form7->show();
        Form7->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Form7));
    }

    void stop() {
        DestroyRoster();
        dialogs.reset();
        resetProgramEnding();
    }

    // Stores a data set where the program looks for the user's (or the
    // machine-wide) settings.
    void storeSettings(const QByteArray &bytes, bool machineWide = false) const {
        const QString folder = machineWide ? machineFolder() : userFolder();
        QDir().mkpath(folder);
        QFile file(folder + QStringLiteral("/ModelData"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};
