// The program's multi-line text box against a clipboard that offers nothing.
// Qt 6.4's text control ends the program when Ctrl+V meets clipboard data
// without a single format, which is what a desktop clipboard that nobody holds
// gives; the first case shows, in a child process, that the clipboard set up
// here does reproduce that fault with a bare QPlainTextEdit.
#include "textbox.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QProcess>
#include <QtTest>

#include <cstdio>
#include <cstring>

namespace {

const char *const kBarePasteArgument = "--paste-into-bare-text-edit";

// Ctrl+V into `box`, shown, active and focused, from a clipboard offering
// data without formats (or, with `emptied`, no data at all).
void pasteNothing(QPlainTextEdit &box, bool emptied) {
    box.show();
    QApplication::setActiveWindow(&box);
    box.setFocus();
    if (emptied)
        QApplication::clipboard()->clear();
    else
        QApplication::clipboard()->setMimeData(new QMimeData);
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
}

// The child process; the parent reads its output to tell a failure in the
// paste from one elsewhere.
int pasteIntoBareTextEdit() {
    QPlainTextEdit edit(QStringLiteral("kept"));
    std::puts("pasting");
    std::fflush(stdout);
    pasteNothing(edit, false);
    std::puts("pasted");
    return 0;
}

} // namespace

class TestTextBox : public QObject {
    Q_OBJECT
private slots:
    void bareTextEditFailsOnAClipboardWithoutFormats() {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {kBarePasteArgument});
        QVERIFY(child.waitForFinished(30000));
        const QByteArray said = child.readAllStandardOutput();
        QVERIFY(said.contains("pasting"));
        if (child.exitStatus() == QProcess::NormalExit)
            QSKIP("This Qt pastes a clipboard without formats safely.");
        QVERIFY(!said.contains("pasted"));
    }

    void pasteWithoutTextIsIgnoredAndTextIsPasted() {
        for (bool emptied : {false, true}) {
            TextBox box(QStringLiteral("kept"));
            pasteNothing(box, emptied);
            QCOMPARE(box.toPlainText(), QStringLiteral("kept"));
            QVERIFY(!box.canPaste());
        }
        TextBox box(QStringLiteral("kept"));
        box.moveCursor(QTextCursor::End);
        QApplication::clipboard()->setText(QStringLiteral(", zircon"));
        QVERIFY(box.canPaste());
        QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box.toPlainText(), QStringLiteral("kept, zircon"));
    }
};

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], kBarePasteArgument) == 0)
        return pasteIntoBareTextEdit();
    TestTextBox test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_textbox.moc"
