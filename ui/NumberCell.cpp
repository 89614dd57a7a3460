#include "NumberCell.h"

#include <QLabel>
#include <QMouseEvent>

namespace {
QLabel* cellLabel(QWidget* parent, const QString& name, QRect at, int pixelSize, bool bold,
                  Qt::Alignment align, QColor color) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setGeometry(at);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    l->setFont(f);
    l->setAlignment(align);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, color);
    l->setPalette(p);
    // The cell takes the press whichever label it lands on.
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    return l;
}
} // namespace

NumberCell::NumberCell(int number, QWidget* parent) : QFrame(parent), number_(number) {
    const QString n = QString::number(number);
    setObjectName(QStringLiteral("p") + n);
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setAutoFillBackground(true);
    setFixedSize(36, 36);
    d_ = cellLabel(this, QStringLiteral("D") + n, {1, 8, 34, 18}, 17, true, Qt::AlignCenter, Qt::black);
    d_->setText(QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0')));
    w_ = cellLabel(this, QStringLiteral("w") + n, {1, 0, 34, 10}, 9, false, Qt::AlignRight | Qt::AlignTop,
                   Qt::black);
    q_ = cellLabel(this, QStringLiteral("Q") + n, {2, 25, 17, 10}, 9, false, Qt::AlignLeft | Qt::AlignBottom,
                   QColor(0, 128, 0));
    u_ = cellLabel(this, QStringLiteral("U") + n, {17, 25, 17, 10}, 9, false,
                   Qt::AlignRight | Qt::AlignBottom, QColor(0, 0, 128));
}

void NumberCell::setBackground(quint32 rgb) {
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor::fromRgb(rgb));
    setPalette(p);
}

void NumberCell::setTexts(const QString& weight, const QString& timesDrawn, const QString& absence) {
    w_->setText(weight);
    q_->setText(timesDrawn);
    u_->setText(absence);
}

void NumberCell::setNumberColor(quint32 rgb) {
    QPalette p = d_->palette();
    p.setColor(QPalette::WindowText, QColor::fromRgb(rgb));
    d_->setPalette(p);
}

void NumberCell::mousePressEvent(QMouseEvent* e) {
    emit pressed(number_, e->button());
    e->accept();
}
