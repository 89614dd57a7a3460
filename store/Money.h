#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <optional>

// Amounts of money in whole centavos: sums over millions of games and prizes of hundreds of
// millions of reais stay exact, which a double does not promise.
using Centavos = qint64;

// How a text of money may be written.
enum class MoneyText {
    // What a player types under the Brazilian settings: "6,00", "6", "6,5", "1.714.650,23",
    // "R$ 6,00"; a dot only groups thousands.
    Typed,
    // What a results file holds: the typed forms, "R$1.714.650,23" and "R$ 1.151,65" as the lottery
    // writes them, and plain numbers as a spreadsheet's number cell or a JSON number gives them
    // ("1714650.23", "45000", "1.7146502300000001E6"); a number that is not a whole number of
    // centavos (beyond the rounding of its binary form) is refused.
    File,
};

// The amount a text gives, or nothing when it is not an amount of reais with at most two
// decimals: empty, signs, letters, misplaced or partial thousands groups ("1.15,00", "1.1515"),
// two decimal separators, more than two decimals, or beyond a hundred trillion reais. Blanks (the
// non-breaking one too) around the text and after "R$" are allowed. Zero is an amount.
std::optional<Centavos> ParseMoney(QStringView text, MoneyText form = MoneyText::File);

// A number (a JSON number, a spreadsheet's cell) as centavos, under the rules of MoneyText::File.
std::optional<Centavos> MoneyOfNumber(double reais);

// An amount of centavos with the pattern "##,##0.00" and the separators of the default locale
// (1.714.650,23 under the Brazilian settings); the thousands are always grouped.
QString FormatMoney(Centavos cents);

// The amount as a file stores it, without grouping and with a dot: "1714650.23", "-6.00". ParseMoney
// reads a non-negative one back.
QString MoneyFileText(Centavos cents);
