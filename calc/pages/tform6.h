#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class Txygraph;

// "Calculated Age": the wizard's last page. Shows the curve that the age
// calculation page drew into its graph, with the age at the last point in a
// line above it; "Done" goes on to the main window, "< Back" returns to the
// thermal history for editing.
class TForm6 : public QWidget {
    Q_OBJECT

public:
    explicit TForm6(QWidget *parent = nullptr);

    QLabel *ResultLine; // the age at the last point, as the main window says it
    Txygraph *xygraph1;
    QPushButton *Button1; // "Done"
    QPushButton *Button3; // "< Back"

    // Set when the roster is created.
    std::function<void()> Done;          // hands the wizard's data set to the main window
    std::function<void()> BackToEditing; // the thermal history page, back in editing mode
    // The line's text for the run the graph shows, asked for whenever the page shows.
    std::function<QString()> ResultText;

    void Button1Click();
    void Button3Click();

protected:
    void showEvent(QShowEvent *event) override;
};
