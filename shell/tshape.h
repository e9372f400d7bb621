#pragma once

#include <QBrush>
#include <QPen>
#include <QWidget>

// A circle that fills its square: the pictures of the grain and its emission
// zone drawn to scale on the main window and the grain parameters page.
class TShape : public QWidget {
public:
    TShape(QWidget *parent, const QBrush &fill, Qt::PenStyle outline);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QBrush fill_;
    QPen pen_;
};
