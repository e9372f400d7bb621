#pragma once

#include "fpoint.h"

#include <QWidget>

#include <array>
#include <vector>

class QLabel;
class QPushButton;
class QToolButton;
class TDataModule1;
class Txygraph;
class TForm5;

// "Thermal History": the user picks one of four sample histories, reshapes it
// by dragging, adding and deleting points, may look at it as bars, and goes on
// to the age calculation on this page's curve.
class TForm4 : public QWidget {
    Q_OBJECT

public:
    explicit TForm4(QWidget *parent = nullptr);

    Txygraph *xygraph1;
    QLabel *Label1, *Label2;
    std::array<QToolButton *, 4> SpeedButtons; // SpeedButton1..SpeedButton4
    QPushButton *Button3;                      // "< Back"
    QPushButton *Button2;                      // "> Next"
    QPushButton *Button1;                      // "Cancel"

    // The curve as drawn, kept while the graph shows bars; slot 0 holds no
    // point, so LineCount is the number of points + 1 (0 before the first copy).
    std::vector<float> LineTime;
    std::vector<float> LineTemp;
    int LineCount = 0;

    // Set when the roster is created.
    TDataModule1 *Model = nullptr; // the data set the history goes into
    QWidget *GrainPage = nullptr;
    TForm5 *GammaPage = nullptr;
    QWidget *ResultPage = nullptr;
    Txygraph *ResultGraph = nullptr;

    void SpeedButtonClick(int sample); // SpeedButton1Click .. SpeedButton4Click: 0..3
    // The user dragged, added or deleted a point of the curve.
    void CurveEdited();
    void ShowBarsClick();
    void EditLinesClick();
    void StoreLines();
    // The copy kept by the last StoreLines, as points in order.
    std::vector<FPOINT> StoredLine() const;
    void Button2Click();
    void Button3Click();
    void Button1Click();

private:
    void pasteHistory(); // the menu's "Paste" and Ctrl+V
    void EnterEditingMode();
};
