#pragma once

#include "curvetable.h"

#include <QDialog>

#include <optional>
#include <vector>

class QPushButton;
class QTableWidget;

// The modal dialog that shows a thermal curve as a table of times and
// temperatures and lets the user change the values (not the number of points).
// The table's heading row ("Time", "Temp") and its empty fixed first column are
// the grid's header views, so point i of the curve is row i - 1 and its time
// and temperature are columns 0 and 1 of StringGrid1.
//
// The main window fills it with Fill, shows it modally and, after OK, draws
// Points() into its graph when there are any.
class TTableEdit : public QDialog {
    Q_OBJECT
public:
    explicit TTableEdit(QWidget *parent = nullptr);

    QTableWidget *StringGrid1;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;

    // Shows the curve's points with 5 significant digits and forgets any earlier result.
    void Fill(const ThermalCurve &curve);

    // After OK: the table's points (exact values where the user changed nothing).
    // Nothing after Cancel, and nothing after OK on an empty curve.
    const std::optional<std::vector<tarvel::TablePoint>> &Points() const { return Result; }

    // Converts every cell first. A cell that holds no number is selected and its
    // conversion error thrown (CellConversionError); the dialog stays open with
    // the user's typing.
    void OKBtnClick();
    void CancelBtnClick();

    // Every way of closing without OK (Cancel, Esc, the title bar) leaves no result.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    tarvel::CurveTable Table;
    std::optional<std::vector<tarvel::TablePoint>> Result;
};
