#pragma once

#include <QPlainTextEdit>

// A multi-line plain text box for the program's free texts (the annotation,
// the intro text). Tab moves on to the next control instead of typing a tab,
// and a paste or drop that offers no text is ignored: Qt 6.4's text control
// reads the first format of the offered data without checking that there is
// one, so pasting from a clipboard that nobody holds (after login, or after
// the program that copied has quit) would end the program.
class TextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget *parent = nullptr);
    explicit TextBox(const QString &text, QWidget *parent = nullptr);

protected:
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
};
