// The start-up decision, the settings and the closing check, with the real
// roster and the settings in temporary XDG folders.
#include "commandline.h"
#include "datamodule.h"
#include "rosterfixture.h"
#include "tform1.h"
#include "tform7.h"

#include <QLineEdit>

#include <sstream>

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

    // A FILE on the command line opens as Open opens it, once the start is
    // decided; a file that holds no data set is refused in the window, and the
    // stored data set stays as it was.
    void startFileOpensAsOpenDoes_data() {
        QTest::addColumn<bool>("stored");
        QTest::addColumn<bool>("good");
        QTest::newRow("over stored settings") << true << true;
        QTest::newRow("at the first start") << false << true;
        QTest::newRow("refused over stored settings") << true << false;
        QTest::newRow("refused at the first start") << false << false;
    }
    void startFileOpensAsOpenDoes() {
        QFETCH(bool, stored);
        QFETCH(bool, good);
        if (stored)
            roster.storeSettings(dataSetWithRadius("75"));
        const QString file = roster.path(QStringLiteral("given.txt"));
        QFile given(file);
        QVERIFY(given.open(QIODevice::WriteOnly));
        given.write(good ? dataSetWithRadius("33") : QByteArray("some notes\nNeigen=5\n"));
        given.close();
        Splash->StartFile = file;
        decide();
        QCOMPARE(answers().told.size(), std::size_t(good ? 0 : 1));
        if (good) {
            QVERIFY(Form7->isVisible() && !Form1->isVisible());
            QCOMPARE(Form7->Edit_Radius->text(), QStringLiteral("33"));
            QVERIFY(Form7->windowTitle().startsWith(QStringLiteral("given.txt")));
        } else if (stored) {
            QVERIFY(Form7->isVisible());
            QCOMPARE(Form7->Edit_Radius->text(), QStringLiteral("75"));
        } else {
            QVERIFY(Form1->isVisible() && !Form7->isVisible()); // the wizard, as without FILE
        }
        if (stored) {
            QFile settings(userFile());
            QVERIFY(settings.open(QIODevice::ReadOnly));
            QCOMPARE(settings.readAll(), dataSetWithRadius("75"));
        }
    }

    void commandLineTakesOneFile_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("status"); // -1: none, the program starts
        QTest::newRow("none") << QStringList{} << "" << -1;
        QTest::newRow("a file") << QStringList{"a.txt"} << "a.txt" << -1;
        QTest::newRow("after --, a name like an option")
            << QStringList{"--", "-a.txt"} << "-a.txt" << -1;
        QTest::newRow("two files") << QStringList{"a.txt", "b.txt"} << "" << 2;
        QTest::newRow("an unknown option") << QStringList{"--frobnicate"} << "" << 2;
    }
    void commandLineTakesOneFile() {
        QFETCH(QStringList, args);
        QFETCH(QString, file);
        QFETCH(int, status);
        std::vector<QByteArray> bytes{QByteArray("tarvel")};
        for (const QString &a : args)
            bytes.push_back(a.toLocal8Bit());
        std::vector<const char *> argv;
        for (const QByteArray &b : bytes)
            argv.push_back(b.constData());
        std::ostringstream err;
        const LeftoverArguments read = readLeftoverArguments(int(argv.size()), argv.data(), err);
        QCOMPARE(read.status.value_or(-1), status);
        if (!read.status)
            QCOMPARE(QString::fromStdString(read.file), file);
        QCOMPARE(err.str().empty(), !read.status.has_value());
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
