#pragma once

#include <QWidget>
#include <functional>

class Table;
class QToolButton;

// The four buttons first, prior, next and last over a table. They never take the focus, so a
// field being typed in keeps it; moving posts the pending row first, as every move does.
class Navigator : public QWidget {
    Q_OBJECT

public:
    enum class Button { First, Prior, Next, Last };

    Navigator(Table& table, QWidget* parent = nullptr);
    void setErrorHandler(std::function<void(const QString&)> handler) { onError_ = std::move(handler); }
    // Asked before a button moves the cursor; false leaves the cursor where it is.
    void setMoveGuard(std::function<bool()> guard) { moveGuard_ = std::move(guard); }
    QToolButton* button(Button b) const;
    void press(Button b);

signals:
    // After a button has moved the table's cursor.
    void moved(Button b);

private:
    Table& table_;
    QToolButton* buttons_[4] = {};
    std::function<void(const QString&)> onError_;
    std::function<bool()> moveGuard_;
};
