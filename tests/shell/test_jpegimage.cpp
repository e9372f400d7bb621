#include "jpegimage.h"

#include "errors.h"

#include <QBuffer>
#include <QFile>
#include <QtTest>

class TestJpegImage : public QObject {
    Q_OBJECT
private slots:
    void grainPictureDecodes();
    void matchesAnotherDecoder();
    void badBytesThrow_data();
    void badBytesThrow();
};

void TestJpegImage::grainPictureDecodes() {
    const QImage &picture = tarvel::grainPicture();
    QCOMPARE(picture.size(), QSize(119, 213));
    QCOMPARE(picture.format(), QImage::Format_Grayscale8);
    // A light grain on a dark background: the middle is much brighter than a corner.
    QVERIFY(qGray(picture.pixel(59, 106)) > qGray(picture.pixel(2, 2)) + 60);
}

// A colour picture written by Qt's own JPEG writer decodes to its luminance.
void TestJpegImage::matchesAnotherDecoder() {
    QImage colour(40, 24, QImage::Format_RGB32);
    for (int y = 0; y < colour.height(); ++y)
        for (int x = 0; x < colour.width(); ++x)
            colour.setPixel(x, y, qRgb(x * 6, 255 - y * 10, (x * y) % 256));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(colour.save(&buffer, "JPG", 100));

    const QImage decoded = tarvel::decodeJpeg(bytes);
    const QImage reference = QImage::fromData(bytes, "JPG");
    QCOMPARE(decoded.size(), colour.size());
    // JPEG's luminance weights, applied to the reference decoder's colours.
    auto luma = [](QRgb c) { return 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c); };
    double worst = 0;
    for (int y = 0; y < colour.height(); ++y)
        for (int x = 0; x < colour.width(); ++x)
            worst =
                std::max(worst, std::abs(qGray(decoded.pixel(x, y)) - luma(reference.pixel(x, y))));
    QVERIFY2(worst <= 3, qPrintable(QString("largest difference %1").arg(worst)));
}

void TestJpegImage::badBytesThrow_data() {
    QFile file(":/tarvel/grain.jpg");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray good = file.readAll();
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not a picture") << QByteArray("#Tarvel 0.9\r\n[DataBegin\r\n");
    QTest::newRow("cut short") << good.left(good.size() / 2);
    QByteArray scrambled = good;
    for (qsizetype i = 200; i < scrambled.size() - 2; i += 7)
        scrambled[i] = char(0xff);
    QTest::newRow("scrambled") << scrambled;
}

// Damaged data is reported as an error instead of ending the program.
void TestJpegImage::badBytesThrow() {
    QFETCH(QByteArray, bytes);
    QVERIFY_THROWS_EXCEPTION(tarvel::Error, tarvel::decodeJpeg(bytes));
}

QTEST_GUILESS_MAIN(TestJpegImage)
#include "test_jpegimage.moc"
