#include "Navigator.h"

#include "Table.h"
#include "TableError.h"

#include <QHBoxLayout>
#include <QToolButton>

Navigator::Navigator(Table& table, QWidget* parent) : QWidget(parent), table_(table) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    const struct {
        const char* name;
        QString glyph;
        QString hint;
    } kButtons[4] = {{"NavFirst", QStringLiteral("|◀"), QStringLiteral("Primeiro registro")},
                     {"NavPrior", QStringLiteral("◀"), QStringLiteral("Registro anterior")},
                     {"NavNext", QStringLiteral("▶"), QStringLiteral("Próximo registro")},
                     {"NavLast", QStringLiteral("▶|"), QStringLiteral("Último registro")}};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(kButtons[i].name));
        b->setText(kButtons[i].glyph);
        b->setToolTip(kButtons[i].hint);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRaise(false);
        b->setMinimumWidth(30);
        row->addWidget(b);
        buttons_[i] = b;
        connect(b, &QToolButton::clicked, this, [this, i] { press(static_cast<Button>(i)); });
    }
}

QToolButton* Navigator::button(Button b) const {
    return buttons_[static_cast<int>(b)];
}

void Navigator::press(Button b) {
    if (moveGuard_ && !moveGuard_())
        return;
    try {
        switch (b) {
        case Button::First:
            table_.first();
            break;
        case Button::Prior:
            table_.prior();
            break;
        case Button::Next:
            table_.next();
            break;
        case Button::Last:
            table_.last();
            break;
        }
    } catch (const TableError& e) {
        if (onError_)
            onError_(e.message());
        return;
    }
    emit moved(b);
}
