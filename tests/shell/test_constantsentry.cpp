// What the model constants dialog makes of a typed number of eigenvalues: the
// count it stores, the note it shows beside the entry, and the refusal of a
// count that every age calculation would refuse, in the calculation's words.
#include "constantsentry.h"

#include "agecalculation.h"
#include "errors.h"

#include <QtTest>

#include <optional>

namespace {

// What the age calculation itself says about `terms` eigenvalues on a sound
// grain and history; nothing when it takes them.
std::optional<std::string> calculationRefusal(std::int32_t terms) {
    const std::vector<double> times{0.0, 0.0, 10.0};
    const std::vector<double> temps{0.0, 20.0, 20.0};
    AgeInput input;
    input.sphereRadius = 60;
    input.outerRadius = 40;
    input.innerRadius = 20;
    input.terms = terms;
    input.activationEnergy = 36200;
    input.d0 = 1807.8L;
    input.coefficients.assign(static_cast<std::size_t>(std::max(terms, 0)) + 1, 0.1);
    input.times = times;
    input.temps = temps;
    try {
        calculateAges(input, AgeMethod::Fast);
    } catch (const tarvel::Error &e) {
        return std::string(e.what());
    }
    return std::nullopt;
}

} // namespace

class TestConstantsEntry : public QObject {
    Q_OBJECT
private slots:
    void eigenvalueEntry_data();
    void eigenvalueEntry();
};

void TestConstantsEntry::eigenvalueEntry_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<int>("count"); // stored, or the whole number refused
    // Empty: no note. Otherwise the note is shown and names this number (the
    // count used, or the fewest taken when the entry is refused).
    QTest::addColumn<QString>("noteNames");
    QTest::newRow("taken as typed") << "20" << false << 20 << "";
    QTest::newRow("the fewest taken") << "5" << false << 5 << "";
    QTest::newRow("above 150") << "151" << false << 100 << "100";
    QTest::newRow("fraction") << "20.9" << false << 20 << "20";
    QTest::newRow("fraction of 150") << "150.5" << false << 150 << "150";
    QTest::newRow("one too few") << "4" << true << 4 << "5";
    QTest::newRow("fraction below the fewest") << "4.9" << true << 4 << "5";
    QTest::newRow("negative") << "-3" << true << -3 << "5";
    QTest::newRow("no number yet") << "1e" << true << 0 << "";
}

void TestConstantsEntry::eigenvalueEntry() {
    QFETCH(QString, typed);
    QFETCH(bool, refused);
    QFETCH(int, count);
    QFETCH(QString, noteNames);
    const std::string text = typed.toStdString();

    const QString note = QString::fromStdString(tarvel::eigenvalueNote(text, '.'));
    if (noteNames.isEmpty())
        QCOMPARE(note, QString());
    else
        QVERIFY2(note.contains(noteNames), qPrintable(note));

    const TModelData before;
    if (!refused) {
        const TModelData after = tarvel::applyConstantsTexts(before, {text, "36200", "1"}, '.');
        QCOMPARE(after.Neigen, count);
        QVERIFY(!calculationRefusal(after.Neigen));
        return;
    }
    try {
        tarvel::applyConstantsTexts(before, {text, "36200", "1"}, '.');
        QFAIL("the entry was taken");
    } catch (const tarvel::ConversionError &) {
        QVERIFY(noteNames.isEmpty()); // no number: OK names the text instead
    } catch (const tarvel::Error &e) {
        // A count the calculation refuses, refused in the calculation's words.
        const auto refusal = calculationRefusal(count);
        QVERIFY(refusal);
        QCOMPARE(QString::fromUtf8(e.what()), QString::fromStdString(*refusal));
    }
}

QTEST_APPLESS_MAIN(TestConstantsEntry)
#include "test_constantsentry.moc"
