#include "NumberChip.h"

#include "NamedColors.h"

#include <QMouseEvent>

NumberChip::NumberChip(int number, QWidget* parent) : QLabel(parent), number_(number) {
    setObjectName(QStringLiteral("g%1").arg(number));
    setText(QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0')));
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignCenter);
    setFixedSize(kWidth, kHeight);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setLineWidth(1);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(11);
    f.setBold(true);
    setFont(f);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor::fromRgb(clYellow));
    p.setColor(QPalette::WindowText, QColor::fromRgb(clBlack));
    setPalette(p);
    setToolTip(QStringLiteral("Clique e arraste entre os grupos"));
    setCursor(Qt::PointingHandCursor);
    hide();
}

void NumberChip::setTextColor(quint32 rgb) {
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor::fromRgb(clYellow));
    p.setColor(QPalette::WindowText, QColor::fromRgb(rgb));
    setPalette(p);
}

void NumberChip::beginDrag() {
    raise();
    grabMouse();
}

void NumberChip::endDrag() {
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
}

void NumberChip::mousePressEvent(QMouseEvent* e) {
    e->accept();
    emit pressed(number_, e->position().toPoint());
}

void NumberChip::mouseMoveEvent(QMouseEvent* e) {
    e->accept();
    emit moved(number_, e->position().toPoint());
}

void NumberChip::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
    emit released(number_, e->position().toPoint());
}
