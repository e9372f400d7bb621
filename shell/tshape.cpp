#include "tshape.h"

#include <QPainter>

TShape::TShape(QWidget *parent, const QBrush &fill, Qt::PenStyle outline)
    : QWidget(parent), fill_(fill), pen_(Qt::black, 1, outline) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TShape::paintEvent(QPaintEvent *) {
    if (width() < 1 || height() < 1)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(pen_);
    painter.setBrush(fill_);
    painter.drawEllipse(QRectF(0.5, 0.5, width() - 1.0, height() - 1.0));
}
