#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// "Demonstration Intro": the first page of the wizard, with the grain picture
// and a short introduction.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    explicit TForm1(QWidget *parent = nullptr);

    QLabel *Image1;
    QPlainTextEdit *Memo1;
    QPushButton *Button2; // "> Next"
    QPushButton *Button1; // "Cancel"

    QWidget *GrainPage = nullptr; // set when the roster is created

    void Button2Click();
    void Button1Click();
};
