#include "settingsstore.h"

#include "errors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using tarvel::SettingsStore;

namespace {

// A user configuration folder and two machine-wide ones in a temporary place.
struct Folders {
    QTemporaryDir root;
    QString user() const { return root.filePath("home/.config"); }
    QString machine(int i) const { return root.filePath(QString("etc%1").arg(i)); }
    SettingsStore store() const { return SettingsStore(user(), {machine(1), machine(2)}); }

    static void put(const QString &config, const QByteArray *bytes) {
        const QString folder = config + "/Morvik/tarvel";
        QVERIFY(QDir().mkpath(folder));
        if (bytes) {
            QFile f(folder + "/ModelData");
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(*bytes);
        }
    }
};

const QByteArray kUserBytes("#Tarvel 0.9\r\n[DataBegin\r\nuser\r\n");
const QByteArray kMachineBytes("#Tarvel 0.9\r\n[DataBegin\r\nmachine\r\n");

} // namespace

class TestSettingsStore : public QObject {
    Q_OBJECT
private slots:
    void whichStoreIsRead_data();
    void whichStoreIsRead();
    void foldersFromEnvironment();
    void storeReplacesWholeFile();
    void failedStoreNamesTheFile_data();
    void failedStoreNamesTheFile();
};

void TestSettingsStore::whichStoreIsRead_data() {
    QTest::addColumn<int>("userState"); // 0 no folder, 1 folder only, 2 folder and file
    QTest::addColumn<int>("machineState");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("loaded"); // empty: nothing loaded

    QTest::newRow("nothing anywhere") << 0 << 0 << false << QByteArray();
    QTest::newRow("user only") << 2 << 0 << true << kUserBytes;
    QTest::newRow("user hides machine-wide") << 2 << 2 << true << kUserBytes;
    QTest::newRow("user folder without value") << 1 << 2 << true << QByteArray();
    QTest::newRow("machine-wide only") << 0 << 2 << true << kMachineBytes;
    QTest::newRow("machine-wide folder without value") << 0 << 1 << true << QByteArray();
}

void TestSettingsStore::whichStoreIsRead() {
    QFETCH(int, userState);
    QFETCH(int, machineState);
    QFETCH(bool, exists);
    QFETCH(QByteArray, loaded);
    Folders f;
    if (userState > 0)
        Folders::put(f.user(), userState == 2 ? &kUserBytes : nullptr);
    // The machine-wide data set sits in the second folder; the first is absent.
    if (machineState > 0)
        Folders::put(f.machine(2), machineState == 2 ? &kMachineBytes : nullptr);

    const SettingsStore store = f.store();
    QCOMPARE(store.exists(), exists);
    const auto bytes = store.load();
    QCOMPARE(bytes.has_value(), !loaded.isEmpty());
    if (bytes)
        QCOMPARE(*bytes, loaded);
}

void TestSettingsStore::foldersFromEnvironment() {
    Folders f;
    Folders::put(f.machine(1), &kMachineBytes);
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", f.root.filePath("home").toLocal8Bit());
    qunsetenv("XDG_CONFIG_HOME");
    // Relative entries do not count; the absolute one is used.
    qputenv("XDG_CONFIG_DIRS", ("relative/dir:" + f.machine(1)).toLocal8Bit());

    SettingsStore store = SettingsStore::fromEnvironment();
    QCOMPARE(store.load().value_or(QByteArray()), kMachineBytes);
    store.store(kUserBytes);
    QVERIFY(QFile::exists(f.user() + "/Morvik/tarvel/ModelData"));
    QCOMPARE(store.load().value_or(QByteArray()), kUserBytes);

    // An explicit XDG_CONFIG_HOME takes the user's store elsewhere.
    qputenv("XDG_CONFIG_HOME", f.root.filePath("elsewhere").toLocal8Bit());
    store = SettingsStore::fromEnvironment();
    QCOMPARE(store.userFolder(), f.root.filePath("elsewhere/Morvik/tarvel"));
    QCOMPARE(store.load().value_or(QByteArray()), kMachineBytes);

    qputenv("HOME", oldHome);
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_CONFIG_DIRS");
}

void TestSettingsStore::storeReplacesWholeFile() {
    Folders f;
    const SettingsStore store = f.store();
    QByteArray big(5000, 'x');
    store.store(big);
    // Bytes that are not text of any kind come back exactly, and a shorter data
    // set leaves nothing of the longer one behind.
    const QByteArray raw("#Tarvel 0.9\r\n\xe4\xf6\x00\xff\r\n]DataEnd\r\n", 27);
    store.store(raw);
    QCOMPARE(store.load().value_or(QByteArray()), raw);
    // Nothing but the value is left in the folder (no scratch files).
    QCOMPARE(QDir(store.userFolder()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{"ModelData"});
}

void TestSettingsStore::failedStoreNamesTheFile_data() {
    QTest::addColumn<QString>("blocker"); // made a plain file, or a folder, so storing fails
    QTest::addColumn<bool>("asFolder");
    QTest::newRow("config folder is a file") << "home/.config" << false;
    QTest::newRow("value is a folder") << "home/.config/Morvik/tarvel/ModelData" << true;
}

void TestSettingsStore::failedStoreNamesTheFile() {
    QFETCH(QString, blocker);
    QFETCH(bool, asFolder);
    Folders f;
    const QString path = f.root.filePath(blocker);
    if (asFolder) {
        QVERIFY(QDir().mkpath(path));
    } else {
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const SettingsStore store = f.store();
    try {
        store.store(kUserBytes);
        QFAIL("storing did not fail");
    } catch (const tarvel::Error &e) {
        QVERIFY2(QString::fromStdString(e.what()).contains(store.userFile()), e.what());
    }
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "test_settingsstore.moc"
