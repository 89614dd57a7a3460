#pragma once

#include <QAbstractButton>
#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

// Small builders for the main window's absolutely placed controls: each one gets its name (the
// name tests and the composed-name lookups find it by), its text and its place in pixels.
namespace MenuLayout {

enum Style { Plain = 0, Bold = 1, Wrap = 2, Centered = 4 };

inline QLabel* label(QWidget* parent, const char* name, const QString& text, QRect at, int style = Plain) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(at);
    if (style & Bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    if (style & Wrap) {
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    if (style & Centered)
        l->setAlignment(Qt::AlignCenter);
    l->setTextFormat(Qt::PlainText);
    return l;
}

inline QPushButton* button(QWidget* parent, const char* name, const QString& text, QRect at) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(at);
    return b;
}

inline QLineEdit* edit(QWidget* parent, const char* name, QRect at, const QString& text = {}) {
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(QLatin1String(name));
    e->setGeometry(at);
    return e;
}

inline QRadioButton* radio(QWidget* parent, const char* name, const QString& text, QRect at) {
    auto* r = new QRadioButton(text, parent);
    r->setObjectName(QLatin1String(name));
    // Only the indicator and the caption take a click, so the button is no wider than they are.
    at.setWidth(std::min(at.width(), r->sizeHint().width()));
    r->setGeometry(at);
    return r;
}

// A raised panel; hidden ones open over other parts of the window, so they paint their background.
inline QFrame* panel(QWidget* parent, const char* name, QRect at, bool visible = true) {
    auto* p = new QFrame(parent);
    p->setObjectName(QLatin1String(name));
    p->setGeometry(at);
    p->setFrameShape(QFrame::Panel);
    p->setFrameShadow(QFrame::Raised);
    p->setAutoFillBackground(true);
    p->setVisible(visible);
    return p;
}

// A choice of an exclusive group cannot be unchecked directly; a choice opens, or is left after
// its run, with none of its options marked, so that any of them can be chosen again.
inline void clearChoice(QButtonGroup* group) {
    if (!group)
        return;
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(false);
    group->setExclusive(true);
}

} // namespace MenuLayout
