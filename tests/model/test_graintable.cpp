// A sample's grains read from and written to their lines and CSV files.
#include "errors.h"
#include "graintable.h"

#include <QtTest>

class TestGrainTable : public QObject {
    Q_OBJECT
private slots:
    void linesAndFilesRoundTrip();
    void badGrainsAreRefusedByLine();
};

void TestGrainTable::linesAndFilesRoundTrip() {
    const tarvel::GrainRecord measured{"A-1 (rim)", 62.5, 10.1, 40, 0.1, 45.25, 2.5};
    const tarvel::GrainRecord predicted{"B2", 1e-3 / 3, 7, 0, 0, {}, {}};
    for (const auto &g : {measured, predicted})
        QCOMPARE(tarvel::parseGrainLine(tarvel::grainLine(g)), g);
    QCOMPARE(tarvel::parseGrainLine(" B2 ,  3e2,7,0,0,, "),
             (tarvel::GrainRecord{"B2", 300, 7, 0, 0, {}, {}}));
    QCOMPARE(measured.eU(), 10.1 + 0.238 * 40 + 0.0012 * 0.1);

    const std::string csv = tarvel::grainCsv({measured, predicted});
    QCOMPARE(tarvel::readGrainCsv(csv), (std::vector<tarvel::GrainRecord>{measured, predicted}));
    QVERIFY(tarvel::readGrainCsv("grain, radius, U_ppm, Th_ppm, Sm_ppm, raw_age, raw_age_sd\r\n")
                .empty());
}

void TestGrainTable::badGrainsAreRefusedByLine() {
    const char *header = "grain,radius,U_ppm,Th_ppm,Sm_ppm,raw_age,raw_age_sd\n";
    const char *bad[] = {
        "g,60,1,1,1,5\n",     // six fields
        "g,0,1,1,1,,\n",      // no radius
        "g,60,-1,1,1,,\n",    // a negative concentration
        "g,60,0,0,0,,\n",     // no parent at all
        "g,60,1,1,1,5,\n",    // an age without its uncertainty
        "g,60,1,1,1,5,0\n",   // an uncertainty of 0
        "g,60,1,1,1,,2\n",    // an uncertainty without an age
        "g,60,1,x,1,,\n",     // not a number
        "a=b,60,1,1,1,,\n",   // "=" in the name
        "a\rb,60,1,1,1,,\n",  // a control character in the name
        ",60,1,1,1,,\n",      // no name
        "g,60,1,1e999,1,,\n", // out of range
    };
    for (const char *line : bad) {
        const std::string text = std::string(header) + "ok,60,1,1,1,,\n\n" + line;
        try {
            tarvel::readGrainCsv(text);
            QFAIL(line);
        } catch (const tarvel::Error &e) {
            QVERIFY2(std::string(e.what()).rfind("Line 4:", 0) == 0, e.what());
        }
    }
    QVERIFY_THROWS_EXCEPTION(tarvel::Error, tarvel::readGrainCsv("name,r\nok,60,1,1,1,,\n"));
    QVERIFY_THROWS_EXCEPTION(tarvel::Error, tarvel::readGrainCsv(""));
}

QTEST_GUILESS_MAIN(TestGrainTable)
#include "test_graintable.moc"
