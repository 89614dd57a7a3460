#pragma once

#include "Money.h"
#include "Prompter.h"

#include <QString>
#include <variant>

// The player's price of a simple bet, kept in the file "Preco.cds" of the working folder.

// The stored price; kDefaultBetPrice (6,00) when the folder has no price or its value cannot be
// read as a positive amount. Throws TableError when the file cannot be read.
Centavos LoadBetPrice(const QString& folder);

// Stores the price durably (the file is complete on disk when this returns). Throws TableError
// when it cannot be written; the old file is then kept.
void StoreBetPrice(const QString& folder, Centavos price);

// A price typed by the player ("6,00", "4,5", "R$ 5,00"): a positive amount of reais with at most
// two decimals, or the message that refuses it.
std::variant<Centavos, Message> ReadTypedBetPrice(const QString& typed);

// The title of the price's dialog and messages: "Preço da aposta simples".
QString betPriceTitle();
