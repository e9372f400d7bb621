#pragma once

#include "parentsdata.h"

#include <QDialog>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TDataModule1;

// The modal dialog "Parents": the grain's uranium, thorium and samarium
// (whole-grain, present-day, ppm), the stopping distance of each parent's
// alpha particles (µm) and the kinetics of the helium's diffusion, with the
// minerals' presets (a mineral proposes its distances and its damage model).
// Concentrations above 0 make the data set's helium come from these parents
// instead of from one emission distance. OK stores all seven and the kinetics
// or, when one entry is refused, throws naming it and changes nothing; the
// dialog then stays open.
class ParentsDialog : public QDialog {
    Q_OBJECT
public:
    explicit ParentsDialog(QWidget *parent = nullptr);

    TDataModule1 *Model = nullptr; // set before the dialog is shown

    // U, Th, Sm, then the stopping distances of 238U, 235U, 232Th, 147Sm.
    std::array<QLineEdit *, 7> edits{};
    QComboBox *mineral;  // the presets, and "Other" for distances of no preset
    QComboBox *kinetics; // kKineticsChoices, in their order
    QPushButton *okButton;
    QPushButton *cancelButton;

    // Fills the entries from the model; run before the dialog is shown.
    void FormActivate();
    // The parents the seven entries give, each read with the locale's
    // separator or "."; throws tarvel::Error naming the first entry refused.
    TParentsData entries() const;
    ModelKinetics chosenKinetics() const;
    void okClick();

private:
    void showValues(const TParentsData &parents);
    void showKinetics(ModelKinetics chosen);
    void presetChosen(int index);
    void stoppingTyped();
};
