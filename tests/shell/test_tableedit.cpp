#include "tableedit.h"

#include "errors.h"
#include "exactnumbers.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {

ThermalCurve threePoints() {
    ThermalCurve curve;
    curve.Append(123456.0f, 0.5f);
    curve.Append(12.345678f, 99.99999f);
    curve.Append(-0.001f, 1.0e-7f);
    return curve;
}

QString cell(const TTableEdit &d, int row, int column) {
    return d.StringGrid1->item(row, column)->text();
}

} // namespace

// The dialog driven through its handlers.
class TestTableEdit : public QObject {
    Q_OBJECT
private slots:
    void fillShowsFiveDigits();
    void untouchedCellsKeepExactValues();
    void failingCellIsSelected_data();
    void failingCellIsSelected();
    void emptyCurveAndCancelGiveNothing();
    void rowsInsertedDeletedAndPasted();
};

void TestTableEdit::fillShowsFiveDigits() {
    TTableEdit d;
    d.Fill(threePoints());
    QCOMPARE(d.StringGrid1->rowCount(), 3);
    QCOMPARE(d.StringGrid1->horizontalHeaderItem(0)->text(), "Time");
    QCOMPARE(d.StringGrid1->horizontalHeaderItem(1)->text(), "Temp");
    QCOMPARE(cell(d, 0, 0), "1.2346E5");
    QCOMPARE(cell(d, 0, 1), "0.5");
    QCOMPARE(cell(d, 1, 0), "12.346");
    QCOMPARE(cell(d, 1, 1), "100");
}

void TestTableEdit::untouchedCellsKeepExactValues() {
    const ThermalCurve curve = threePoints();
    TTableEdit d;
    d.Fill(curve);
    d.show();
    // Change one time; its row's temperature and the other rows stay exact.
    d.StringGrid1->item(1, 0)->setText(" 15.25 ");
    d.OKBtnClick();
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QVERIFY(d.Points().has_value());
    const auto &points = *d.Points();
    QCOMPARE(points.size(), std::size_t(3));
    QCOMPARE(exactly(points[1].time), exactly(15.25f));
    for (std::size_t i = 0; i < 3; ++i) {
        if (i != 1)
            QCOMPARE(exactly(points[i].time), exactly(curve.Time[i + 1]));
        QCOMPARE(exactly(points[i].temp), exactly(curve.Temp[i + 1]));
    }
    // A text typed back to what was shown is the same as no change.
    d.Fill(curve);
    d.StringGrid1->item(1, 0)->setText("x");
    d.StringGrid1->item(1, 0)->setText("12.346");
    d.OKBtnClick();
    QCOMPARE(exactly(d.Points()->at(1).time), exactly(12.345678f));
}

void TestTableEdit::failingCellIsSelected_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::newRow("first time") << 0 << 0 << "";
    QTest::newRow("last temperature") << 2 << 1 << "12,5";
    QTest::newRow("beyond single precision") << 1 << 1 << "1e39";
}

// All or nothing: no result, the dialog stays open, the failing cell is
// current and every typed text is still there.
void TestTableEdit::failingCellIsSelected() {
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, text);
    TTableEdit d;
    d.Fill(threePoints());
    d.show();
    d.StringGrid1->item(0, 1)->setText("7");
    d.StringGrid1->item(row, column)->setText(text);
    try {
        d.OKBtnClick();
        QFAIL("OK accepted a cell without a number");
    } catch (const tarvel::ConversionError &e) {
        QVERIFY2(QString(e.what()).contains("'" + text + "'"), e.what());
    }
    QVERIFY(d.isVisible());
    QVERIFY(!d.Points().has_value());
    QCOMPARE(d.StringGrid1->currentRow(), row);
    QCOMPARE(d.StringGrid1->currentColumn(), column);
    QVERIFY(d.StringGrid1->item(row, column)->isSelected());
    QCOMPARE(cell(d, row, column), text);
    if (row != 0 || column != 1)
        QCOMPARE(cell(d, 0, 1), "7");
    // Corrected, OK goes through.
    d.StringGrid1->item(row, column)->setText("3");
    d.OKBtnClick();
    QVERIFY(d.Points().has_value());
}

void TestTableEdit::emptyCurveAndCancelGiveNothing() {
    TTableEdit d;
    d.Fill(threePoints());
    d.show();
    d.OKBtnClick();
    QVERIFY(d.Points().has_value());

    // Filling again forgets the earlier result; Cancel gives none.
    d.Fill(threePoints());
    d.show();
    d.StringGrid1->item(0, 0)->setText("5");
    d.CancelBtnClick();
    QCOMPARE(d.result(), int(QDialog::Rejected));
    QVERIFY(!d.Points().has_value());

    d.Fill(ThermalCurve());
    QCOMPARE(d.StringGrid1->rowCount(), 0);
    d.show();
    d.OKBtnClick();
    QVERIFY(!d.isVisible());
    QVERIFY(!d.Points().has_value());
}

// Rows change through the buttons and Ctrl+V on the grid; what the user did
// not touch stays exact wherever its row moved.
void TestTableEdit::rowsInsertedDeletedAndPasted() {
    const ThermalCurve curve = threePoints();
    TTableEdit d;
    d.Fill(curve);
    d.show();
    d.StringGrid1->setCurrentCell(0, 0);
    QTest::mouseClick(d.deleteButton, Qt::LeftButton);
    QCOMPARE(d.StringGrid1->rowCount(), 2);
    d.StringGrid1->setCurrentCell(1, 0);
    QTest::mouseClick(d.insertButton, Qt::LeftButton);
    QCOMPARE(d.StringGrid1->rowCount(), 3);
    QCOMPARE(cell(d, 1, 0), QString()); // the new row, above the old last one

    // An inserted row left empty is refused, naming its row; nothing applied.
    QVERIFY_THROWS_EXCEPTION(tarvel::CellConversionError, d.OKBtnClick());
    QCOMPARE(d.StringGrid1->currentRow(), 1);
    QVERIFY(!d.Points().has_value());

    // A block pasted at the empty row fills it and the rows below, adding one.
    QGuiApplication::clipboard()->setText("time\ttemp\n40\t-5.5\n50;60\n70,80\n");
    d.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    d.StringGrid1->setFocus();
    QTest::keyClick(d.StringGrid1, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(d.StringGrid1->rowCount(), 4);
    d.OKBtnClick();
    const auto &points = *d.Points();
    QCOMPARE(points.size(), std::size_t(4));
    QCOMPARE(exactly(points[0].time), exactly(curve.Time[2])); // untouched, moved up
    QCOMPARE(exactly(points[0].temp), exactly(curve.Temp[2]));
    QCOMPARE(exactly(points[1].temp), exactly(-5.5f));
    QCOMPARE(exactly(points[2].time), exactly(50.0f)); // pasted over the old last row
    QCOMPARE(exactly(points[3].temp), exactly(80.0f));

    // A block with a row of three cells changes nothing.
    d.Fill(curve);
    QGuiApplication::clipboard()->setText("1\t2\n3\t4\t5\n");
    QVERIFY_THROWS_EXCEPTION(tarvel::Error, d.pasteBlock(QGuiApplication::clipboard()->text()));
    QCOMPARE(d.StringGrid1->rowCount(), 3);
    QCOMPARE(cell(d, 0, 0), QString::fromStdString(tarvel::CurveTable(curve, '.').texts(0)[0]));
}

QTEST_MAIN(TestTableEdit)
#include "test_tableedit.moc"
