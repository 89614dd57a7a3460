#pragma once

#include <QString>
#include <optional>

// Texts read as the values of number fields (typed by the player, or given to a locate).
namespace ValueParsing {
// A whole number that fits in 32 bits, blanks around it allowed; nothing otherwise.
std::optional<qint32> integer(const QString& text);
// A number in the player's format ("1,5") or the file's ("1.5"); nothing otherwise.
std::optional<double> real(const QString& text);
} // namespace ValueParsing
