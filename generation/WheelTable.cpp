#include "WheelTable.h"

#include "WheelGuarantee.h"

#include <bit>
#include <cstring>

namespace {

// One wheel: its shape and its games, k characters each, one character per position
// ('0'-'9' for 0-9, 'a'-'z' for 10-35, 'A'-'Z' for 36-61).
struct Entry {
    WheelShape shape;
    const char* games;
};

#include "WheelTableData.inc"

int positionOf(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 36;
    return -1;
}

std::vector<WheelMask> decode(const Entry& e) {
    std::vector<WheelMask> games;
    const std::size_t length = std::strlen(e.games);
    const auto k = static_cast<std::size_t>(e.shape.k);
    if (k == 0 || length % k != 0)
        return {};
    for (std::size_t at = 0; at < length; at += k) {
        WheelMask g = 0;
        for (std::size_t i = 0; i < k; ++i) {
            const int p = positionOf(e.games[at + i]);
            if (p < 0 || p >= e.shape.v)
                return {};
            g |= WheelMask{1} << p;
        }
        if (std::popcount(g) != e.shape.k)
            return {};
        games.push_back(g);
    }
    return games;
}

} // namespace

std::vector<WheelMask> StoredWheel(const WheelShape& shape) {
    for (const Entry& e : kStoredWheels) {
        if (!(e.shape == shape))
            continue;
        std::vector<WheelMask> games = decode(e);
        const WheelMask all = shape.v >= 64 ? ~WheelMask{0} : (WheelMask{1} << shape.v) - 1;
        if (games.empty() || !CheckWheel(all, games, shape.t, shape.m).holds)
            return {};
        return games;
    }
    return {};
}

std::vector<WheelShape> StoredWheelShapes() {
    std::vector<WheelShape> shapes;
    for (const Entry& e : kStoredWheels)
        if (e.shape.v > 0)
            shapes.push_back(e.shape);
    return shapes;
}
