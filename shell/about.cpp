#include "about.h"

#include "dialogseam.h"
#include "settingsstore.h"
#include "tarvelversion.h"

#include <QDir>

AboutText aboutTarvel(const tarvel::SettingsStore &store) {
    return {QStringLiteral("About Tarvel"),
            QStringLiteral("Tarvel %1").arg(QString::fromLatin1(tarvel::kVersion)),
            QStringLiteral("Models how much radiogenic daughter a spherical mineral grain "
                           "holds along a thermal history.\n\n"
                           "Licence: %1\n\n"
                           "The data set is kept between runs in\n%2")
                .arg(QString::fromLatin1(tarvel::kLicense),
                     QDir::toNativeSeparators(store.userFile()))};
}

void showAboutTarvel(QWidget *parent) {
    const AboutText about = aboutTarvel(tarvel::SettingsStore::fromEnvironment());
    dialogs().tell(parent, about.caption, about.text, about.detail);
}
