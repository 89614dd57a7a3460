#pragma once

#include "Money.h"

#include <QDialog>

class QLineEdit;
class Prompter;

// "Preço da aposta simples", reached from the games area: the price of one 6-number bet, typed as
// "6,00", which every cost the program shows is made of. "Salva" takes a positive amount of reais
// with at most two decimals and closes; anything else is refused with a message and the dialog
// stays open on the typed text. "Cancela" keeps the price as it was. The dialog only holds the
// price; the caller stores it.
class PriceDialog : public QDialog {
    Q_OBJECT

public:
    PriceDialog(Centavos current, Prompter& messages, QWidget* parent = nullptr);

    // The price accepted by "Salva" (the starting one until then).
    Centavos price() const { return price_; }

private:
    void save();

    Prompter& messages_;
    Centavos price_;
    QLineEdit* EditPreco = nullptr;
};
