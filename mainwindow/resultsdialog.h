#pragma once

#include "resultrows.h"

#include <QDialog>

class QPushButton;
class QTableView;

// "Results": every point of a result in a read-only table, with "Copy" (the
// table as text for a spreadsheet) and "Export CSV..." (the numbers exactly, as
// tarvel-calc writes them).
class ResultsDialog : public QDialog {
    Q_OBJECT

public:
    explicit ResultsDialog(resultrows::Table table, QWidget *parent = nullptr);

    QTableView *Table;
    QPushButton *CopyButton;
    QPushButton *ExportButton;
    QPushButton *CloseButton;

    void CopyClick();
    // Throws tarvel::Error naming the file when it cannot be written; a file
    // that existed is then left as it was.
    void ExportClick();

private:
    const resultrows::Table *table_; // held by the table's model
};
