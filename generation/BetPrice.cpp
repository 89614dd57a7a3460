#include "BetPrice.h"

#include "GamePrice.h"
#include "Schemas.h"
#include "Table.h"

namespace {
void defineBetPriceTable(Table& t) {
    t.defineFields(Schemas::betPrice());
    t.setIndexFieldNames(QString());
}
} // namespace

QString betPriceTitle() {
    return QStringLiteral("Preço da aposta simples");
}

Centavos LoadBetPrice(const QString& folder) {
    Table t(QStringLiteral("TablePreco"), folder, Schemas::kBetPriceFile);
    defineBetPriceTable(t);
    if (!t.fileExists())
        return kDefaultBetPrice;
    t.open();
    std::optional<Centavos> price;
    if (t.rowCount() > 0)
        price = ParseMoney(t.rowAt(0).text(t.fieldIndex(u"Preco")));
    t.close();
    return price && *price > 0 ? *price : kDefaultBetPrice;
}

void StoreBetPrice(const QString& folder, Centavos price) {
    Table t(QStringLiteral("TablePreco"), folder, Schemas::kBetPriceFile);
    defineBetPriceTable(t);
    // A whole new file that takes the old one's place in one step, synced before the rename.
    t.create();
    t.insert();
    t.setText(0, MoneyFileText(price));
    t.post();
    t.commitChanges();
    t.close();
}

std::variant<Centavos, Message> ReadTypedBetPrice(const QString& typed) {
    const auto price = ParseMoney(typed, MoneyText::Typed);
    if (price && *price > 0)
        return *price;
    return Message{betPriceTitle(),
                   QStringLiteral("\"%1\" não é um preço válido. Digite um valor positivo em reais, com no "
                                  "máximo dois decimais, como 6,00.")
                       .arg(typed.trimmed())};
}
