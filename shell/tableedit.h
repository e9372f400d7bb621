#pragma once

#include "curvetable.h"

#include <QDialog>

#include <optional>
#include <vector>

class QPushButton;
class QTableWidget;

// The modal dialog that shows a thermal curve as a table of times and
// temperatures and lets the user change the values, insert and delete rows and
// paste a block of two columns copied from a spreadsheet (Ctrl+V or "Paste").
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
    QPushButton *insertButton; // an empty row above the current one
    QPushButton *deleteButton; // the selected rows
    QPushButton *pasteButton;  // the clipboard's block, from the current row on

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
    void insertRow();
    void deleteRows();
    // The rows of `text` (see tarvel::pastedRows) into the table: every row
    // when the whole table is selected or empty, else from the current row
    // on, adding rows at the end as needed. Throws, changing nothing, when
    // the text is no such block.
    void pasteBlock(const QString &text);

    // Every way of closing without OK (Cancel, Esc, the title bar) leaves no result.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setRow(int row, const tarvel::TableRowTexts &texts, int source);

    tarvel::CurveTable Table;
    std::optional<std::vector<tarvel::TablePoint>> Result;
};
