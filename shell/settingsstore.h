#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace tarvel {

// Where the stored data set lives between runs: the file "ModelData", holding
// exactly the bytes of a data file, in the folder Morvik/tarvel of the user's
// configuration folder (read and written) or of a machine-wide configuration
// folder (read only). Widget-free, so it is tested without a display.
class SettingsStore {
public:
    // The folders as the XDG variables give them when this is called:
    // $XDG_CONFIG_HOME (default ~/.config) and $XDG_CONFIG_DIRS (default /etc/xdg).
    static SettingsStore fromEnvironment();

    // userConfig: the user's configuration folder; machineConfigs: the
    // machine-wide ones, most important first.
    SettingsStore(QString userConfig, QStringList machineConfigs);

    QString userFolder() const;         // <user config>/Morvik/tarvel
    QString userFile() const;           // <user folder>/ModelData
    QStringList machineFolders() const; // <each machine config>/Morvik/tarvel

    // The settings exist when the user's folder or a machine-wide one exists,
    // with or without a "ModelData" file in it.
    bool exists() const;

    // The stored bytes: the user's when the user has a folder, else those of the
    // first machine-wide folder that exists. Nothing, silently, when that
    // folder holds no readable "ModelData" or the file cannot be read whole.
    std::optional<QByteArray> load() const;

    // Replaces the user's "ModelData" with `bytes`, creating the folders. The
    // file is written aside and renamed into place, so a failure never leaves
    // half a data set. Throws tarvel::Error naming the file and the reason.
    void store(const QByteArray &bytes) const;

private:
    QString UserConfig;
    QStringList MachineConfigs;
};

} // namespace tarvel
