#include "settingsstore.h"

#include "errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <utility>

namespace tarvel {

namespace {

const QString kKeyPath = QStringLiteral("Morvik/tarvel");
const QString kValueName = QStringLiteral("ModelData");

// The XDG rules: an unset or empty variable takes the default, and relative
// paths are ignored.
QStringList absolutePaths(const QByteArray &variable) {
    QStringList paths;
    const QString value = QString::fromLocal8Bit(qgetenv(variable.constData()));
    for (const QString &path : value.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(path))
            paths << QDir::cleanPath(path);
    return paths;
}

std::optional<QByteArray> readWhole(const QString &fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const qint64 announced = file.size();
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() < announced)
        return std::nullopt;
    return bytes;
}

} // namespace

SettingsStore SettingsStore::fromEnvironment() {
    QStringList home = absolutePaths("XDG_CONFIG_HOME");
    QString user = home.isEmpty() ? QDir::homePath() + QStringLiteral("/.config") : home.first();
    QStringList machine = absolutePaths("XDG_CONFIG_DIRS");
    if (machine.isEmpty())
        machine << QStringLiteral("/etc/xdg");
    return SettingsStore(std::move(user), std::move(machine));
}

SettingsStore::SettingsStore(QString userConfig, QStringList machineConfigs)
    : UserConfig(std::move(userConfig)), MachineConfigs(std::move(machineConfigs)) {}

QString SettingsStore::userFolder() const {
    return UserConfig + QLatin1Char('/') + kKeyPath;
}

QString SettingsStore::userFile() const {
    return userFolder() + QLatin1Char('/') + kValueName;
}

QStringList SettingsStore::machineFolders() const {
    QStringList folders;
    for (const QString &config : MachineConfigs)
        folders << config + QLatin1Char('/') + kKeyPath;
    return folders;
}

bool SettingsStore::exists() const {
    if (QFileInfo(userFolder()).isDir())
        return true;
    for (const QString &folder : machineFolders())
        if (QFileInfo(folder).isDir())
            return true;
    return false;
}

std::optional<QByteArray> SettingsStore::load() const {
    // The user's own store comes first: a machine-wide data set must never hide
    // what the user stored.
    if (QFileInfo(userFolder()).isDir())
        return readWhole(userFile());
    for (const QString &folder : machineFolders())
        if (QFileInfo(folder).isDir())
            return readWhole(folder + QLatin1Char('/') + kValueName);
    return std::nullopt;
}

void SettingsStore::store(const QByteArray &bytes) const {
    const QString fileName = userFile();
    auto fail = [&](const QString &reason) {
        throw Error(QStringLiteral("The settings could not be stored in %1: %2.")
                        .arg(QDir::toNativeSeparators(fileName), reason)
                        .toStdString());
    };
    if (!QDir().mkpath(userFolder()))
        fail(QStringLiteral("the folder %1 could not be created")
                 .arg(QDir::toNativeSeparators(userFolder())));
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        fail(file.errorString());
    if (file.write(bytes) != bytes.size())
        fail(file.errorString());
    if (!file.commit())
        fail(file.errorString());
}

} // namespace tarvel
