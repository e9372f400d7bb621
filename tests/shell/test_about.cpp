// "About Tarvel" from the main window's Help drop-down, answered by the
// scripted dialogs, with the settings in temporary XDG folders.
#include "rosterfixture.h"
#include "tarvelversion.h"
#include "tform7.h"

#include <QMenu>
#include <QToolBar>
#include <QToolButton>

class TestAbout : public QObject {
    Q_OBJECT

    RosterFixture roster;

private slots:
    void init() { roster.start(); }
    void cleanup() { roster.stop(); }

    void helpMenuShowsVersionLicenceAndSettingsFile() {
        Form7->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form7));
        auto *help =
            qobject_cast<QToolButton *>(Form7->ToolBar1->widgetForAction(Form7->helpAction));
        QVERIFY(help);
        // The drop-down runs its own event loop while it is open: the entry is
        // clicked from there.
        bool chosen = false;
        QTimer::singleShot(0, this, [&] {
            QMenu *menu = Form7->helpMenu;
            QTRY_VERIFY(menu->isVisible());
            QTest::mouseClick(menu, Qt::LeftButton, {},
                              menu->actionGeometry(Form7->aboutAction).center());
            chosen = true;
        });
        QTest::mouseClick(help, Qt::LeftButton);
        QTRY_VERIFY(chosen);

        const auto &told = roster.dialogs->told;
        QCOMPARE(told.size(), std::size_t(1));
        const QString shown = told.front().text + QLatin1Char('\n') + told.front().detail;
        QCOMPARE(told.front().caption, QStringLiteral("About Tarvel"));
        QVERIFY2(shown.contains(QLatin1String(tarvel::kVersion)), qPrintable(shown));
        QVERIFY2(shown.contains(QLatin1String(tarvel::kLicense)), qPrintable(shown));
        // Where this session's settings go: the fixture's own user folder.
        QVERIFY2(shown.contains(roster.userFolder() + QStringLiteral("/ModelData")),
                 qPrintable(shown));
    }
};

QTEST_MAIN(TestAbout)
#include "test_about.moc"
