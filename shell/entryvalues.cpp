#include "entryvalues.h"

#include "errors.h"
#include "numbertext.h"

#include <QLabel>
#include <QLineEdit>

std::vector<float> entryValues(std::initializer_list<std::pair<QLineEdit *, QLabel *>> entries) {
    std::vector<float> values;
    for (const auto &[edit, label] : entries) {
        try {
            values.push_back(static_cast<float>(
                tarvel::parseNumber(edit->text().toStdString(), tarvel::localeDecimalSeparator())));
        } catch (const tarvel::Error &failure) {
            edit->setFocus();
            throw tarvel::Error(label->text().trimmed().toStdString() + ": " + failure.what());
        }
    }
    return values;
}
