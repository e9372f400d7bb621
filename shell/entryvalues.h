#pragma once

#include <initializer_list>
#include <utility>
#include <vector>

class QLabel;
class QLineEdit;

// The numbers typed into a window's edits, each converted with the locale's
// decimal separator and held in single precision as the model keeps them.
// All are converted before the caller stores any, so a bad entry changes
// nothing: the first that fails gets the focus and throws the conversion error
// led by its caption ("Emission distance: 'abc' is not a valid ...").
std::vector<float> entryValues(std::initializer_list<std::pair<QLineEdit *, QLabel *>> entries);
