#pragma once

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLabel;
class TDataModule1;
class QLineEdit;
class QPushButton;
class QRadioButton;
class ParentsDialog;

// The modal dialog "Model Constants": the number of eigenvalues, the
// activation energy, D0 and the age method of the data set `Model`. OK stores all four or, when an
// entry holds no number or the count is one every calculation refuses, throws
// the error and changes nothing; the dialog then stays open. Beside the count
// a note says, while it is typed, when it will not be stored as typed.
class TForm8 : public QDialog {
    Q_OBJECT
public:
    explicit TForm8(QWidget *parent = nullptr);

    TDataModule1 *Model = nullptr; // set before the dialog is shown
    // "Parents...": the grain's U, Th and Sm, stored by that dialog's own OK.
    ParentsDialog *ParentsPage = nullptr;

    QLabel *Label5;
    QLabel *Label6;
    QLabel *Label7;
    QLineEdit *Edit_NEigen;
    QLineEdit *Edit_AEnergy;
    QLineEdit *Edit_D0;
    QLabel *Label8; // "Method"
    QRadioButton *RadioButton_Fast;
    QRadioButton *RadioButton_Precise;
    QLabel *eigenvalueNote; // empty while the count is taken as typed
    QPushButton *Button1;   // OK
    QPushButton *Button2;   // Cancel
    QPushButton *parentsButton;
    // Published Arrhenius constants that fill the two entries.
    QComboBox *arrheniusPreset;
    // Says when the data set's kinetics (set in "Parents...") does not use
    // D0 and Ea; the two entries and the presets are then disabled.
    QLabel *kineticsNote;

    // Fills the edits from the model; run every time the dialog is shown.
    void FormActivate();
    void Button1Click();
    void Button2Click();
    void Edit_NEigenChange();
    void presetChosen(int index);
    void showKinetics();

private:
    QButtonGroup *methodGroup;

protected:
    void showEvent(QShowEvent *event) override;
};
