#include "PriceDialog.h"

#include "BetPrice.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PriceDialog::PriceDialog(Centavos current, Prompter& messages, QWidget* parent)
    : QDialog(parent), messages_(messages), price_(current) {
    setObjectName(QStringLiteral("PriceDialog"));
    setWindowTitle(betPriceTitle());
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("Quanto custa uma aposta simples (um jogo de 6 dezenas).\n"
                                            "Um jogo de mais dezenas custa esse preço vezes as apostas "
                                            "de 6 dezenas que ele contém."),
                             this);
    layout->addWidget(intro);
    auto* row = new QHBoxLayout;
    auto* caption = new QLabel(QStringLiteral("Preço (R$):"), this);
    EditPreco = new QLineEdit(FormatMoney(current), this);
    EditPreco->setObjectName(QStringLiteral("EditPreco"));
    caption->setBuddy(EditPreco);
    row->addWidget(caption);
    row->addWidget(EditPreco);
    layout->addLayout(row);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* save = new QPushButton(QStringLiteral("Salva"), this);
    save->setObjectName(QStringLiteral("ButtonSalvaPreco"));
    save->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancela"), this);
    cancel->setObjectName(QStringLiteral("ButtonCancelaPreco"));
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(save, &QPushButton::clicked, this, &PriceDialog::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    EditPreco->selectAll();
}

void PriceDialog::save() {
    const auto typed = ReadTypedBetPrice(EditPreco->text());
    if (const auto* refusal = std::get_if<Message>(&typed)) {
        messages_.inform(*refusal);
        EditPreco->setFocus();
        EditPreco->selectAll();
        return;
    }
    price_ = std::get<Centavos>(typed);
    accept();
}
