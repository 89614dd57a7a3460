#include "BetPrice.h"
#include "GamePrice.h"
#include "GamesArea.h"
#include "MenuLayout.h"
#include "MessageBoxes.h"
#include "PriceDialog.h"
#include "Table.h"
#include "Tables.h"

#include <QPushButton>

// The price of a simple bet: the player's, kept in "Preco.cds"; every cost the window shows (the
// games summary, the check report) is made of it.
void GamesArea::buildPrice() {
    using namespace MenuLayout;
    // Beside the summary's caption, whose cost lines it changes.
    ButtonPreco =
        button(ctx_.window, "ButtonPreco", QStringLiteral("Preço da aposta..."), {246, 356, 120, 20});
    QFont bf = ButtonPreco->font();
    bf.setPixelSize(10);
    ButtonPreco->setFont(bf);
    connect(ButtonPreco, &QPushButton::clicked, this, [this] { ButtonPrecoClick(); });
}

void GamesArea::LoadBetPriceInForce() {
    // A folder without a price of its own, or a price file that cannot be read, uses the default.
    SetSimpleBetPrice(kDefaultBetPrice);
    guarded([this] { SetSimpleBetPrice(LoadBetPrice(folder_)); });
}

void GamesArea::ButtonPrecoClick() {
    PriceDialog dialog(SimpleBetPrice(), *services_.messages, ctx_.window);
    if (dialog.exec() != QDialog::Accepted || dialog.price() == SimpleBetPrice())
        return;
    guarded([&] {
        StoreBetPrice(folder_, dialog.price());
        SetSimpleBetPrice(dialog.price());
        if (tables_.TableCar.isOpen())
            RefreshGamesSummary();
    });
}
