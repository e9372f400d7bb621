#pragma once

#include "modelrecords.h"

#include <cstdint>
#include <string>

// What the model constants dialog decides, without widgets: the texts it shows
// and the constants its three entries give.
namespace tarvel {

struct ConstantsTexts {
    std::string Neigen;            // a decimal whole number
    std::string Activation_energy; // general format, 15 digits
    std::string D0;
};

ConstantsTexts constantsTexts(const TModelData &constants, char decimalSeparator);

// The number of eigenvalues an entry gives: truncated toward zero, and a count
// above 150 becomes 100. Throws tarvel::Error when the whole number does not
// fit 32 bits.
std::int32_t eigenvalueCount(double entered, const std::string &text);

// What the dialog says beside the count while it is typed: how the entry is
// changed when it is not stored as typed (above 150, or not a whole number),
// or that OK will refuse it (fewer than the calculation takes). Empty when the
// entry is stored as typed, and while it is no number at all: OK names that.
std::string eigenvalueNote(const std::string &text, char decimalSeparator);

// `constants` with the three entries applied. Every entry is converted before
// anything is returned, so an entry that fails (ConversionError naming its
// text, or the calculation's refusal of a count below kFewestEigenvalues; the
// first in the dialog's order) leaves the caller's constants as they were.
// The emission distance is not edited here and is kept.
TModelData applyConstantsTexts(const TModelData &constants, const ConstantsTexts &texts,
                               char decimalSeparator);

} // namespace tarvel
