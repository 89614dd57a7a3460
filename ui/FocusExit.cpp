#include "FocusExit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QWidget>

void FocusExit::watch(QWidget* field, std::function<void()> exit, std::function<bool()> quiet) {
    field->installEventFilter(new FocusExit(field, std::move(exit), std::move(quiet)));
}

FocusExit::FocusExit(QWidget* field, std::function<void()> exit, std::function<bool()> quiet)
    : QObject(field), exit_(std::move(exit)), quiet_(std::move(quiet)) {}

bool FocusExit::isLeaving(const QWidget* field, const QFocusEvent* e) {
    switch (e->reason()) {
    case Qt::ActiveWindowFocusReason: // another window took the activation
    case Qt::PopupFocusReason:        // a context menu or another popup opened
    case Qt::MenuBarFocusReason:
    case Qt::NoFocusReason:
        return false;
    default:
        break;
    }
    // By the time the field hears of it, the focus already belongs to its new owner; a focus that
    // went nowhere, or to another window, is no move within this window.
    const QWidget* next = QApplication::focusWidget();
    return next && next != field && next->window() == field->window() && field->window()->isVisible();
}

bool FocusExit::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::FocusOut && !(quiet_ && quiet_())) {
        if (const auto* field = qobject_cast<QWidget*>(watched);
            field && isLeaving(field, static_cast<QFocusEvent*>(e)))
            exit_();
    }
    return QObject::eventFilter(watched, e);
}
