#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The modal dialog "Model Constants": the number of eigenvalues, the
// activation energy and D0 of DataModule1. OK stores all three or, when an
// entry holds no number, throws the conversion error and changes nothing; the
// dialog then stays open.
class TForm8 : public QDialog {
    Q_OBJECT
public:
    explicit TForm8(QWidget *parent = nullptr);

    QLabel *Label5;
    QLabel *Label6;
    QLabel *Label7;
    QLineEdit *Edit_NEigen;
    QLineEdit *Edit_AEnergy;
    QLineEdit *Edit_D0;
    QPushButton *Button1; // OK
    QPushButton *Button2; // Cancel

    // Fills the edits from the model; run every time the dialog is shown.
    void FormActivate();
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent *event) override;
};
