#pragma once

#include <QWidget>

#include <functional>

class QPushButton;
class Txygraph;

// "Calculated Age": the wizard's last page. Shows the curve that the age
// calculation page drew into its graph; "Done" goes on to the main window,
// "< Back" returns to the thermal history for editing.
class TForm6 : public QWidget {
    Q_OBJECT

public:
    explicit TForm6(QWidget *parent = nullptr);

    Txygraph *xygraph1;
    QPushButton *Button1; // "Done"
    QPushButton *Button3; // "< Back"

    // Set when the roster is created.
    std::function<void()> Done;          // hands the wizard's data set to the main window
    std::function<void()> BackToEditing; // the thermal history page, back in editing mode

    void Button1Click();
    void Button3Click();
};
