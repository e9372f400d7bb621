#pragma once

class QLabel;
class QString;
class QLineEdit;
class TDataModule1;
class TShape;

// The four edits in which the main window and the grain parameters page take
// the grain's radii and the emission distance, with their captions.
struct GrainEdits {
    QLineEdit *radius, *outer, *inner, *emission;
    QLabel *radiusCaption, *outerCaption, *innerCaption, *emissionCaption;
};

// The grain edits of a window that names them as both grain windows do.
template <typename Window> GrainEdits grainEditsOf(const Window &window) {
    return {window.Edit_Radius,
            window.Edit_Outer_Radius,
            window.Edit_Inner_Radius,
            window.Edit_Emission_Dist,
            window.Label1,
            window.Label2,
            window.Label3,
            window.Label4};
}

// Checks the four entries (SphereRadius >= OuterRadius > InnerRadius >= 0, an
// emission distance of at least 0; decimals with "." or the locale's
// separator) and redraws the zone's circles to scale inside `sphere`; a
// circle the check did not reach keeps its size. Gives the sentence for the
// rule the entries break, empty when they pass.
QString drawGrainToScale(const GrainEdits &edits, const TShape &sphere, TShape &outer,
                         TShape &inner);

// Converts all four entries, with "." or the locale's decimal separator,
// before it stores any in the model's grain and emission distance, so a bad
// entry changes nothing: it gets the focus and its conversion error is
// thrown, led by its caption ("Emission distance: 'abc' is not a valid ...").
void storeGrainEdits(const GrainEdits &edits, TDataModule1 &model);
