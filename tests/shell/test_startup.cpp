// The start-up decision, the settings and the closing check, with the real
// roster and the settings in temporary XDG folders.
#include "datamodule.h"
#include "rosterfixture.h"
#include "tform1.h"
#include "tform7.h"

#include <QLineEdit>

namespace {

QByteArray dataSetWithRadius(const char *radius) {
    return QByteArray("#Tarvel 0.9\r\n[DataBegin\r\nSphere_radius=") + radius +
           "\r\nOuter_radius=40\r\nInner_radius=20\r\n[TableStart\r\n0, 20\r\n]TableEnd\r\n]"
           "DataEnd\r\n";
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

    RosterFixture roster;
    ScriptedDialogs &answers() { return *roster.dialogs; }
    QString userFile() const { return roster.userFolder() + QStringLiteral("/ModelData"); }

    // The first tick decides; a hidden main window makes the next one check.
    void decide() { Splash->Timer1Timer(); }
    void closeMainWindowAndTick() {
        Form7->hide();
        Splash->Timer1Timer();
    }

private slots:
    void init() { roster.start(); }
    void cleanup() { roster.stop(); }

    void withoutSettingsTheEndAsksToStore_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void withoutSettingsTheEndAsksToStore() {
        QFETCH(bool, yes);
        QVERIFY(Splash->isVisible() && !Form1->isVisible());
        decide();
        QVERIFY(Form1->isVisible());
        QVERIFY(!Form7->isVisible());
        QVERIFY(!Splash->isVisible());

        answers().answers = {yes};
        Form1->hide();
        Splash->Timer1Timer();
        QCOMPARE(answers().asked, QStringList{QStringLiteral("Save Settings?")});
        QVERIFY(programEnding());
        QCOMPARE(QFile::exists(userFile()), yes);
    }

    void storedSettingsAreLoaded_data() {
        QTest::addColumn<bool>("user");
        QTest::addColumn<bool>("machine");
        QTest::addColumn<QString>("shown");
        QTest::newRow("user") << true << false << "75";
        QTest::newRow("machine-wide only") << false << true << "90";
        QTest::newRow("user before machine-wide") << true << true << "75";
    }
    void storedSettingsAreLoaded() {
        QFETCH(bool, user);
        QFETCH(bool, machine);
        QFETCH(QString, shown);
        if (user)
            roster.storeSettings(dataSetWithRadius("75"));
        if (machine)
            roster.storeSettings(dataSetWithRadius("90"), true);
        decide();
        QVERIFY(Form7->isVisible());
        QCOMPARE(Form7->Edit_Radius->text(), shown);

        // Quit stores the user's own settings; the end then asks nothing.
        Form7->Edit_Radius->setText(QStringLiteral("80"));
        Form7->ToolButton3Click();
        QVERIFY(!Form7->isVisible());
        Splash->Timer1Timer();
        QVERIFY(answers().asked.isEmpty());
        QVERIFY(programEnding());
        QFile stored(userFile());
        QVERIFY(stored.open(QIODevice::ReadOnly));
        QVERIFY(stored.readAll().contains("Sphere_radius=80\r\n"));
    }

    void folderWithoutDataSetStartsWithCreationValues() {
        QDir().mkpath(roster.userFolder());
        decide();
        QVERIFY(Form7->isVisible());
        QCOMPARE(Form7->Edit_Radius->text(), QStringLiteral("60"));
        closeMainWindowAndTick();
        QVERIFY(answers().asked.isEmpty());
        QVERIFY(programEnding());
    }

    // An unreadable stored data set is reported once; the decision is not
    // taken again at the next tick.
    void unreadableSettingsAreReportedOnce() {
        roster.storeSettings("[DataBegin\r\nSphere_radius=abc\r\n");
        decide();
        QCOMPARE(answers().told.size(), std::size_t(1));
        QVERIFY(Form7->isVisible());
        QCOMPARE(Form7->Edit_Radius->text(), QStringLiteral("60"));
        Splash->Timer1Timer();
        QCOMPARE(answers().told.size(), std::size_t(1));
        QVERIFY(!programEnding());
    }

    // A store that fails is reported and ends nothing: the data set stays on screen.
    void failedStoreKeepsTheProgramRunning() {
        QFile blocker(roster.path(QStringLiteral("config")));
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
        blocker.close();
        decide(); // no settings: the wizard, which hands over to the main window
        Form1->hide();
        Form7->Model = DataModule1;
        Form7->show();
        Form7->ToolButton3Click();
        QVERIFY(answers().toldText(QStringLiteral("Registry Error")));
        QVERIFY(Form7->isVisible());

        answers().answers = {true};
        closeMainWindowAndTick();
        QVERIFY(!programEnding());
        QVERIFY(Form7->isVisible());
        QCOMPARE(answers().asked.size(), qsizetype(1));
    }

    void openWindowsKeepTheProgramRunning() {
        decide();
        Splash->Timer1Timer();
        Form7->ClosingCheck();
        QVERIFY(!programEnding());
        QVERIFY(answers().asked.isEmpty());
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
