#pragma once

#include <QString>

class QWidget;

namespace tarvel {
class SettingsStore;
}

// The About box: the program's version and licence, and where it keeps the
// data set between runs.
struct AboutText {
    QString caption, text, detail;
};
AboutText aboutTarvel(const tarvel::SettingsStore &store);

// Shows it through the dialog seam, with the settings store of this session.
void showAboutTarvel(QWidget *parent);
