#pragma once

#include <QFrame>

class QLabel;

// One cell of the number board: the number in the centre (D), its weight at the top (w), the
// times it was drawn at the bottom left (Q) and the draws since it last came out at the bottom
// right (U). A press anywhere on the cell, its labels included, is a press on the number.
class NumberCell : public QFrame {
    Q_OBJECT

public:
    NumberCell(int number, QWidget* parent);

    int number() const { return number_; }
    void setBackground(quint32 rgb);
    void setTexts(const QString& weight, const QString& timesDrawn, const QString& absence);
    void setNumberColor(quint32 rgb);
    QLabel* numberLabel() const { return d_; }
    QLabel* weightLabel() const { return w_; }
    QLabel* timesDrawnLabel() const { return q_; }
    QLabel* absenceLabel() const { return u_; }

signals:
    void pressed(int number, Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent* e) override;

private:
    int number_;
    QLabel* d_;
    QLabel* w_;
    QLabel* q_;
    QLabel* u_;
};
