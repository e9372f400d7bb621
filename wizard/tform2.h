#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class GrainPanel;
class TDataModule1;
class TShape;

// "Grain parameters": the wizard's first working page. The three circles show
// the grain and its emission zone to scale while the user types; "> Next"
// stores the geometry and starts the geometry calculation.
class TForm2 : public QWidget {
    Q_OBJECT

public:
    explicit TForm2(QWidget *parent = nullptr);

    // The grain's edits, circles and warning; the names below point into it.
    GrainPanel *grainPanel;
    TShape *Shape1, *Shape2, *Shape3;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label6;
    QLineEdit *Edit_Radius, *Edit_Outer_Radius, *Edit_Inner_Radius, *Edit_Emission_Dist;
    QPushButton *Button3; // "< Back"
    QPushButton *Button2; // "> Next"
    QPushButton *Button1; // "Cancel"

    // Set when the roster is created.
    QWidget *IntroPage = nullptr;
    TDataModule1 *Model = nullptr; // the data set the page stores the grain in
    QWidget *GeometryPage = nullptr;

    void Edit_RadiusChange();
    void Edit_RadiusExit();
    void Button2Click();
    void Button3Click();
    void Button1Click();

protected:
    // A data set whose helium comes from its parents uses no emission distance.
    void showEvent(QShowEvent *event) override;
};
