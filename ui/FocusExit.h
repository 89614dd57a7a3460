#pragma once

#include <QObject>
#include <functional>

class QFocusEvent;
class QWidget;

// The one rule for every exit check of an entry field: the check runs when the focus moves from
// the field to another control of the same window (a Tab, an Enter, a click on a control), and
// never when the window only loses the activation (the player switches to another application, or
// a message box or dialog of the program opens), when a popup such as the field's context menu
// opens, or while `quiet` answers true (the window is closing, the program is ending).
class FocusExit : public QObject {
public:
    // Runs `exit` each time `field` is left by the rule above; the watcher belongs to the field.
    static void watch(QWidget* field, std::function<void()> exit, std::function<bool()> quiet = {});
    // True when this focus-out event of `field` is a leaving of the field by the rule above (the
    // quiet condition aside).
    static bool isLeaving(const QWidget* field, const QFocusEvent* e);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    FocusExit(QWidget* field, std::function<void()> exit, std::function<bool()> quiet);

    std::function<void()> exit_;
    std::function<bool()> quiet_;
};
