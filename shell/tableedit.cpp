#include "tableedit.h"

#include "application.h"
#include "numbertext.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace {

constexpr int kClientWidth = 313;
constexpr int kClientHeight = 214;
constexpr int kGridWidth = 297;
constexpr int kGridHeight = 161;
constexpr int kButtonWidth = 75;
// Where a row's item keeps the table row it was filled from (-1: none), so
// that untouched values stay exact whatever rows were inserted or deleted.
constexpr int kSourceRole = Qt::UserRole;

int sourceOf(const QTableWidgetItem *item) {
    const QVariant source = item ? item->data(kSourceRole) : QVariant();
    return source.isValid() ? source.toInt() : -1;
}

} // namespace

TTableEdit::TTableEdit(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    setWindowTitle(QStringLiteral("Thermal History")); // what the table holds
    setModal(true);

    StringGrid1 = new QTableWidget(0, 2, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setHorizontalHeaderLabels({QStringLiteral("Time"), QStringLiteral("Temp")});
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setDefaultSectionSize(StringGrid1->fontMetrics().height() + 8);
    StringGrid1->verticalHeader()->setFixedWidth(StringGrid1->fontMetrics().height() + 8);
    StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid1->setShowGrid(true);
    StringGrid1->setMinimumSize(kGridWidth, kGridHeight);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    OKBtn->setDefault(true);
    for (QPushButton *button : {OKBtn, CancelBtn})
        button->setMinimumWidth(kButtonWidth);

    insertButton = new QPushButton(QStringLiteral("Insert Row"), this);
    deleteButton = new QPushButton(QStringLiteral("Delete Row"), this);
    pasteButton = new QPushButton(QStringLiteral("Paste"), this);
    insertButton->setToolTip(QStringLiteral("An empty row above the current one"));
    deleteButton->setToolTip(QStringLiteral("Deletes the selected rows"));
    pasteButton->setToolTip(
        QStringLiteral("Two columns copied from a spreadsheet, from the current row on (Ctrl+V)"));
    auto *rowButtons = new QHBoxLayout;
    for (QPushButton *button : {insertButton, deleteButton, pasteButton}) {
        button->setAutoDefault(false); // Enter stays with OK
        rowButtons->addWidget(button);
    }

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    buttons->addStretch(1);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->addWidget(StringGrid1, 1);
    outer->addLayout(rowButtons);
    outer->addLayout(buttons);
    resize(kClientWidth, kClientHeight);

    connect(OKBtn, &QPushButton::clicked, this, guarded([this] { OKBtnClick(); }));
    connect(CancelBtn, &QPushButton::clicked, this, guarded([this] { CancelBtnClick(); }));
    connect(insertButton, &QPushButton::clicked, this, guarded([this] { insertRow(); }));
    connect(deleteButton, &QPushButton::clicked, this, guarded([this] { deleteRows(); }));
    const auto paste = guarded([this] { pasteBlock(QGuiApplication::clipboard()->text()); });
    connect(pasteButton, &QPushButton::clicked, this, paste);
    // On the grid, not in a cell being edited: its editor pastes text itself.
    auto *pasteKeys =
        new QShortcut(QKeySequence::Paste, StringGrid1, nullptr, nullptr, Qt::WidgetShortcut);
    connect(pasteKeys, &QShortcut::activated, this, paste);
}

void TTableEdit::setRow(int row, const tarvel::TableRowTexts &texts, int source) {
    for (int column = 0; column < 2; ++column) {
        auto *item =
            new QTableWidgetItem(QString::fromStdString(texts[static_cast<std::size_t>(column)]));
        item->setData(kSourceRole, source);
        StringGrid1->setItem(row, column, item);
    }
}

void TTableEdit::insertRow() {
    const int at = std::max(StringGrid1->currentRow(), 0);
    StringGrid1->insertRow(std::min(at, StringGrid1->rowCount()));
    setRow(at, {}, -1);
    StringGrid1->setVerticalHeaderItem(at, new QTableWidgetItem(QString()));
    StringGrid1->setCurrentCell(at, 0);
}

void TTableEdit::deleteRows() {
    std::vector<int> rows;
    for (const QTableWidgetSelectionRange &range : StringGrid1->selectedRanges())
        for (int row = range.topRow(); row <= range.bottomRow(); ++row)
            rows.push_back(row);
    if (rows.empty() && StringGrid1->currentRow() >= 0)
        rows.push_back(StringGrid1->currentRow());
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (int row : rows)
        StringGrid1->removeRow(row);
    if (StringGrid1->rowCount() > 0)
        StringGrid1->setCurrentCell(
            std::min(rows.empty() ? 0 : rows.back(), StringGrid1->rowCount() - 1), 0);
}

void TTableEdit::pasteBlock(const QString &text) {
    const tarvel::PastedBlock block =
        tarvel::pastedRows(text.toStdString(), tarvel::localeDecimalSeparator());
    const int rows = StringGrid1->rowCount();
    bool everything = rows == 0;
    for (const QTableWidgetSelectionRange &range : StringGrid1->selectedRanges())
        everything = everything || (range.rowCount() == rows && range.columnCount() == 2);
    const int first = everything ? 0 : std::max(StringGrid1->currentRow(), 0);
    const int count = static_cast<int>(block.rows.size());
    StringGrid1->setRowCount(everything ? count : std::max(rows, first + count));
    for (int i = 0; i < count; ++i) {
        const int row = first + i;
        const int source = !everything && row < rows ? sourceOf(StringGrid1->item(row, 0)) : -1;
        setRow(row, block.rows[static_cast<std::size_t>(i)], source);
        StringGrid1->setVerticalHeaderItem(row, new QTableWidgetItem(QString()));
    }
    StringGrid1->setCurrentCell(first, 0);
}

void TTableEdit::Fill(const ThermalCurve &curve) {
    Result.reset();
    Table = tarvel::CurveTable(curve, tarvel::localeDecimalSeparator());
    StringGrid1->clearContents();
    StringGrid1->setRowCount(Table.rowCount());
    QStringList noLabels;
    for (int row = 0; row < Table.rowCount(); ++row) {
        noLabels << QString();
        setRow(row, Table.texts(row), row);
    }
    StringGrid1->setVerticalHeaderLabels(noLabels);
    if (Table.rowCount() > 0)
        StringGrid1->setCurrentCell(0, 0);
}

void TTableEdit::OKBtnClick() {
    std::vector<tarvel::TableRowTexts> cells(static_cast<std::size_t>(StringGrid1->rowCount()));
    std::vector<int> sources(cells.size(), -1);
    for (int row = 0; row < StringGrid1->rowCount(); ++row)
        for (int column = 0; column < 2; ++column) {
            const QTableWidgetItem *item = StringGrid1->item(row, column);
            cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] =
                item ? item->text().toStdString() : std::string();
            if (column == 0)
                sources[static_cast<std::size_t>(row)] = sourceOf(item);
        }
    if (cells.empty()) { // nothing to apply
        accept();
        return;
    }
    try {
        Result = Table.points(cells, sources);
    } catch (const tarvel::CellConversionError &e) {
        // Show the user where the problem is, then let the error be reported.
        StringGrid1->setCurrentCell(e.Row, e.Column);
        StringGrid1->setFocus();
        throw;
    }
    accept();
}

void TTableEdit::CancelBtnClick() {
    reject();
}

void TTableEdit::reject() {
    Result.reset();
    QDialog::reject();
}

void TTableEdit::showEvent(QShowEvent *event) {
    if (!event->spontaneous())
        if (const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen())
            move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    QDialog::showEvent(event);
}
