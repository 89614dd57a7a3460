#pragma once

#include <QtGlobal>

// The named colours the board and the weight classes are painted with, as 0xRRGGBB, so that the
// logic can say which colour a cell or a number takes without depending on the window layer.
inline constexpr quint32 clYellow = 0xFFFF00;
inline constexpr quint32 clSkyBlue = 0xA6CAF0;
inline constexpr quint32 clWhite = 0xFFFFFF;
inline constexpr quint32 clRed = 0xFF0000;
inline constexpr quint32 clFuchsia = 0xFF00FF;
inline constexpr quint32 clBlue = 0x0000FF;
inline constexpr quint32 clMaroon = 0x800000;
inline constexpr quint32 clBlack = 0x000000;
