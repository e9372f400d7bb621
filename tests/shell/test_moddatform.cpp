#include "moddatform.h"

#include "application.h"
#include "datamodule.h"
#include "errors.h"
#include "exactnumbers.h"
#include "scripteddialogs.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

#include <cmath>

// The dialog driven through its handlers, on the global data module.
class TestModDatForm : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void showingFillsAndCancelKeeps();
    void okStoresEntries_data();
    void okStoresEntries();
    void badEntryChangesNothing_data();
    void badEntryChangesNothing();
    void typedCountBelowTheFewestKeepsTheDialogOpen();
    void methodChosenWithTheMouse();
    void presetsFillAndDamageSetsThemAside();

private:
    TDataModule1 Model;
    TForm8 *Form = nullptr;
};

void TestModDatForm::init() {
    Model = TDataModule1();
    Form = new TForm8;
    Form->Model = &Model;
}

void TestModDatForm::cleanup() {
    delete Form;
}

void TestModDatForm::showingFillsAndCancelKeeps() {
    Form->show();
    QCOMPARE(Form->Edit_NEigen->text(), "20");
    QCOMPARE(Form->Edit_AEnergy->text(), "36200");
    // The single-precision D0 widened to double, 15 significant digits.
    const QString d0 = QString::number(double(1807.8f), 'g', 15);
    QCOMPARE(Form->Edit_D0->text(), d0);

    Form->Edit_NEigen->setText("42");
    Form->Edit_D0->setText("7");
    Form->Button2Click();
    QCOMPARE(Form->result(), int(QDialog::Rejected));
    QCOMPARE(Model.ModelData.Neigen, 20);
    // The next showing reads the model again, also after a change elsewhere.
    Model.ModelData.Neigen = 33;
    Form->show();
    QCOMPARE(Form->Edit_NEigen->text(), "33");
    QCOMPARE(Form->Edit_D0->text(), d0);
}

void TestModDatForm::okStoresEntries_data() {
    QTest::addColumn<QString>("neigen");
    QTest::addColumn<int>("stored");
    QTest::newRow("above 150 falls back to 100") << "151" << 100;
    QTest::newRow("150 as entered") << "150" << 150;
    QTest::newRow("between 100 and 150 as entered") << " 120 " << 120;
    QTest::newRow("fraction truncated") << "20.9" << 20;
    QTest::newRow("huge") << "1e30" << 100;
}

void TestModDatForm::okStoresEntries() {
    QFETCH(QString, neigen);
    QFETCH(int, stored);
    Form->show();
    Form->Edit_NEigen->setText(neigen);
    Form->Edit_AEnergy->setText("40000.5");
    Form->Edit_D0->setText("-2.5E-3");
    Form->Button1Click();
    QCOMPARE(Form->result(), int(QDialog::Accepted));
    QVERIFY(!Form->isVisible());
    QCOMPARE(Model.ModelData.Neigen, stored);
    QCOMPARE(exactly(Model.ModelData.Activation_energy), exactly(40000.5f));
    QCOMPARE(exactly(Model.ModelData.D0), exactly(-2.5e-3f));
    QCOMPARE(exactly(Model.ModelData.Emission_dist), exactly(TModelData().Emission_dist));
}

void TestModDatForm::badEntryChangesNothing_data() {
    QTest::addColumn<QString>("neigen");
    QTest::addColumn<QString>("energy");
    QTest::addColumn<QString>("d0");
    QTest::newRow("bad count") << "x20"
                               << "40000"
                               << "5";
    QTest::newRow("bad energy after a good count") << "50"
                                                   << "4,5"
                                                   << "5";
    QTest::newRow("bad D0 after two good ones") << "50"
                                                << "40000"
                                                << "";
    QTest::newRow("energy beyond single precision") << "50"
                                                    << "1e39"
                                                    << "5";
    QTest::newRow("count beyond 32 bits") << "-1e20"
                                          << "40000"
                                          << "5";
    QTest::newRow("count the calculation refuses") << "-3.7"
                                                   << "40000"
                                                   << "5";
}

// All or nothing: a failing entry stores none of the three and the dialog stays open.
void TestModDatForm::badEntryChangesNothing() {
    QFETCH(QString, neigen);
    QFETCH(QString, energy);
    QFETCH(QString, d0);
    Form->show();
    Form->Edit_NEigen->setText(neigen);
    Form->Edit_AEnergy->setText(energy);
    Form->Edit_D0->setText(d0);
    QVERIFY_THROWS_EXCEPTION(tarvel::Error, Form->Button1Click());
    QVERIFY(Form->isVisible());
    QCOMPARE(Model.ModelData.Neigen, 20);
    QCOMPARE(exactly(Model.ModelData.Activation_energy), exactly(36200.0f));
    QCOMPARE(exactly(Model.ModelData.D0), exactly(1807.8f));
    // The typing is still there to correct.
    QCOMPARE(Form->Edit_AEnergy->text(), energy);
}

// Typed and confirmed with the keyboard: the note appears while typing, Enter
// on a count of 4 brings up the refusal and changes nothing; corrected, it is taken.
void TestModDatForm::typedCountBelowTheFewestKeepsTheDialogOpen() {
    ScriptedDialogs answers;
    Form->show();
    QApplication::setActiveWindow(Form);
    QVERIFY(Form->eigenvalueNote->text().isEmpty());
    Form->Edit_NEigen->setFocus();
    QTest::keyClick(Form->Edit_NEigen, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(Form->Edit_NEigen, QStringLiteral("4"));
    QVERIFY(!Form->eigenvalueNote->text().isEmpty());
    QTest::keyClick(Form->Edit_NEigen, Qt::Key_Return);
    QCOMPARE(answers.told.size(), std::size_t(1));
    QVERIFY(Form->isVisible());
    QVERIFY(Form->result() != QDialog::Accepted);
    QCOMPARE(Model.ModelData.Neigen, 20);
    QCOMPARE(exactly(Model.ModelData.D0), exactly(1807.8f));

    QTest::keyClick(Form->Edit_NEigen, Qt::Key_Backspace);
    QTest::keyClicks(Form->Edit_NEigen, QStringLiteral("40"));
    QVERIFY(Form->eigenvalueNote->text().isEmpty());
    QTest::keyClick(Form->Edit_NEigen, Qt::Key_Return);
    QCOMPARE(answers.told.size(), std::size_t(1));
    QCOMPARE(Form->result(), int(QDialog::Accepted));
    QCOMPARE(Model.ModelData.Neigen, 40);
}

// The method goes with the other constants: Cancel and a refused entry keep
// it, OK stores it, and the next showing reads it from the data set.
void TestModDatForm::methodChosenWithTheMouse() {
    ScriptedDialogs answers;
    Form->show();
    QVERIFY(Form->RadioButton_Fast->isChecked());
    QTest::mouseClick(Form->RadioButton_Precise, Qt::LeftButton);
    QVERIFY(Form->RadioButton_Precise->isChecked());
    QTest::mouseClick(Form->Button2, Qt::LeftButton);
    QCOMPARE(Model.ModelData.Method, ModelMethod::Fast);

    Form->show();
    QVERIFY(Form->RadioButton_Fast->isChecked());
    QTest::mouseClick(Form->RadioButton_Precise, Qt::LeftButton);
    Form->Edit_D0->setText("none");
    QTest::mouseClick(Form->Button1, Qt::LeftButton);
    QCOMPARE(answers.told.size(), std::size_t(1));
    QCOMPARE(Model.ModelData.Method, ModelMethod::Fast);
    Form->Edit_D0->setText("5");
    QTest::mouseClick(Form->Button1, Qt::LeftButton);
    QCOMPARE(Form->result(), int(QDialog::Accepted));
    QCOMPARE(Model.ModelData.Method, ModelMethod::Precise);
    QCOMPARE(exactly(Model.ModelData.D0), exactly(5.0f));

    Form->show();
    QVERIFY(Form->RadioButton_Precise->isChecked());
}

// The application's own object, whose one handler shows what a handler throws.
// A published preset chosen from the list fills Ea and D0 for OK to store;
// under a radiation-damage kinetics the two are not used, and say so.
void TestModDatForm::presetsFillAndDamageSetsThemAside() {
    Form->show();
    QVERIFY(Form->kineticsNote->text().isEmpty());
    Form->arrheniusPreset->setFocus();
    QTest::keyClick(Form->arrheniusPreset, Qt::Key_Down); // the first: apatite
    QTest::mouseClick(Form->Button1, Qt::LeftButton);
    QCOMPARE(Form->result(), int(QDialog::Accepted));
    // 138 kJ/mol in cal/mol, as the entry shows it and the model stores it.
    QVERIFY(std::fabs(Model.ModelData.Activation_energy - 138000.0 / 4.184) < 0.01);
    QCOMPARE(exactly(Model.ModelData.D0), exactly(50.0f));

    Model.ModelData.Kinetics = ModelKinetics::Zrdaam;
    Form->show();
    QVERIFY(!Form->Edit_AEnergy->isEnabled() && !Form->Edit_D0->isEnabled());
    QVERIFY(Form->kineticsNote->text().contains(QStringLiteral("ZRDAAM")));
    QTest::mouseClick(Form->Button1, Qt::LeftButton);
    QCOMPARE(Model.ModelData.Kinetics, ModelKinetics::Zrdaam); // kept, with D0 and Ea
    QCOMPARE(exactly(Model.ModelData.D0), exactly(50.0f));
}

int main(int argc, char **argv) {
    TarvelApplication app(argc, argv);
    TestModDatForm test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_moddatform.moc"
