#pragma once

#include "Money.h"

#include <QString>
#include <array>
#include <optional>

// What the lottery paid in one draw, as its results files give it: for 6, 5 and 4 hits (the sena,
// the quina and the quadra, in that order) how many bets won and what each one received.
struct TierPayout {
    qint64 winners = 0;
    Centavos prize = 0; // per winning bet; 0,00 when nobody won the tier
    friend bool operator==(const TierPayout&, const TierPayout&) = default;
};
using DrawTiers = std::array<TierPayout, 3>; // [0] sena, [1] quina, [2] quadra

// The prizes of one draw that a results file brings: its date and its tiers. `tiers` is empty
// when a value of them could not be read (`unreadable`).
struct FilePrizes {
    QString date; // "1996-03-11"; empty when the file has no date or it cannot be read
    std::optional<DrawTiers> tiers;
    bool unreadable = false;
    friend bool operator==(const FilePrizes&, const FilePrizes&) = default;
};

// One row of "Premios.cds": a draw's date and tiers as the imports left them.
struct DrawPayout {
    int concurso = 0;
    QString date;
    std::optional<DrawTiers> tiers;
    friend bool operator==(const DrawPayout&, const DrawPayout&) = default;
};
