#pragma once

#include <QLabel>

// One number chip of the drag editor: the number as two digits on a yellow face, 21 × 23 pixels.
// It only reports its mouse presses, moves and releases (positions relative to the chip) to the
// window, which feeds them to the editor model; the model decides where the chip stands.
class NumberChip : public QLabel {
    Q_OBJECT

public:
    static constexpr int kWidth = 21;
    static constexpr int kHeight = 23;

    NumberChip(int number, QWidget* parent);

    int number() const { return number_; }
    void setTextColor(quint32 rgb);
    // While a drag lasts the chip stands in front of the other chips and keeps the mouse, so that
    // it follows the pointer even where the pointer leaves it.
    void beginDrag();
    void endDrag();

signals:
    void pressed(int number, QPoint at);
    void moved(int number, QPoint at);
    void released(int number, QPoint at);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    int number_;
};
