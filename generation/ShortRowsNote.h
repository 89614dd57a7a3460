#pragma once

#include <QString>

class DistributionEditor;

// The note the editor shows under its rows before the games are made: which rows hold numbers but
// too few to be a game (under 6), which "Gera os jogos" passes over, and why. Empty when every row
// with numbers becomes a game.
QString ShortRowsNote(const DistributionEditor& editor);
