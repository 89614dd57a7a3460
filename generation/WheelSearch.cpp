#include "WheelSearch.h"

#include "WheelSearchBits.h"
#include "WheelTable.h"

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <random>

qint64 Binomial(int n, int r) {
    if (r < 0 || n < 0 || r > n)
        return 0;
    r = std::min(r, n - r);
    qint64 c = 1;
    for (int i = 1; i <= r; ++i)
        c = c * (n - r + i) / i; // each partial product is itself a binomial: exact
    return c;
}

qint64 SchonheimBound(int v, int k, int t) {
    if (t <= 0 || v < t)
        return t <= 0 ? 1 : 0;
    qint64 b = 1;
    for (int i = t - 1; i >= 0; --i) {
        const qint64 num = static_cast<qint64>(v - i) * b;
        const qint64 den = k - i;
        b = (num + den - 1) / den;
    }
    return b;
}

qint64 WheelLowerBound(const WheelShape& s) {
    if (s.m == s.t)
        return SchonheimBound(s.v, s.k, s.t);
    qint64 perGame = 0;
    for (int j = s.t; j <= std::min(s.k, s.m); ++j)
        perGame += Binomial(s.k, j) * Binomial(s.v - s.k, s.m - j);
    const qint64 sets = Binomial(s.v, s.m);
    return perGame > 0 ? (sets + perGame - 1) / perGame : 0;
}

namespace {

using namespace WheelSearchBits;

// The i-th (0-based) set bit of a mask drawn at random.
int randomElement(Rng& rng, WheelMask s) {
    auto skip = below(rng, static_cast<std::size_t>(std::popcount(s)));
    while (skip-- > 0)
        s &= s - 1;
    return std::countr_zero(s);
}

// Calls f(base | subset) for every r-subset of the n positions in `elems`.
template <typename F> void forCombinations(const int* elems, int n, int r, WheelMask base, F&& f) {
    if (r == 0) {
        f(base);
        return;
    }
    if (r > n)
        return;
    std::array<int, 16> idx;
    std::array<WheelMask, 17> prefix;
    prefix[0] = base;
    for (int j = 0; j < r; ++j) {
        idx[static_cast<std::size_t>(j)] = j;
        prefix[static_cast<std::size_t>(j + 1)] = prefix[static_cast<std::size_t>(j)] | bit(elems[j]);
    }
    const auto rs = static_cast<std::size_t>(r);
    for (;;) {
        f(prefix[rs]);
        int j = r - 1;
        while (j >= 0 && idx[static_cast<std::size_t>(j)] == n - r + j)
            --j;
        if (j < 0)
            return;
        ++idx[static_cast<std::size_t>(j)];
        for (int l = j; l < r; ++l) {
            const auto L = static_cast<std::size_t>(l);
            if (l > j)
                idx[L] = idx[L - 1] + 1;
            prefix[L + 1] = prefix[L] | bit(elems[idx[L]]);
        }
    }
}

int positionsOf(WheelMask s, int* out) {
    int n = 0;
    while (s) {
        out[n++] = std::countr_zero(s);
        s &= s - 1;
    }
    return n;
}

// The coverage of the t-sets and the m-sets by a list of blocks, kept up to date move by move.
// cov counts, for each t-set, the blocks that hold it; hits counts, for each m-set, its t-subsets
// held by some block (an m-set meets a block in t numbers exactly when one of its t-subsets lies in
// the block), with the high bit marking an m-set already in the list of candidates to repair.
class Cover {
public:
    explicit Cover(const WheelShape& s)
        : v_(s.v), k_(s.k), t_(s.t), m_(s.m), full_(s.v >= 64 ? ~WheelMask{0} : bit(s.v) - 1) {
        for (int n = 0; n <= 64; ++n)
            for (int r = 0; r <= 6; ++r)
                binom_[static_cast<std::size_t>(n)][static_cast<std::size_t>(r)] =
                    static_cast<std::uint32_t>(std::min<qint64>(Binomial(n, r), 0xFFFFFFFF));
        cov_.assign(static_cast<std::size_t>(Binomial(v_, t_)), 0);
        hits_.assign(static_cast<std::size_t>(Binomial(v_, m_)), 0);
        uncovered_ = static_cast<qint64>(hits_.size());
        // Every m-set starts unmet; the list is filled lazily from the scan when first needed.
    }

    qint64 uncovered() const { return uncovered_; }
    const std::vector<WheelMask>& blocks() const { return blocks_; }
    int t() const { return t_; }

    std::uint32_t rank(WheelMask s) const {
        std::uint32_t r = 0;
        std::size_t i = 1;
        while (s) {
            r += binom_[static_cast<std::size_t>(std::countr_zero(s))][i++];
            s &= s - 1;
        }
        return r;
    }

    WheelMask unrank(std::uint32_t r, int size) const {
        WheelMask s = 0;
        int p = v_ - 1;
        for (int i = size; i >= 1; --i) {
            const auto I = static_cast<std::size_t>(i);
            while (binom_[static_cast<std::size_t>(p)][I] > r)
                --p;
            r -= binom_[static_cast<std::size_t>(p)][I];
            s |= bit(p);
            --p;
        }
        return s;
    }

    void addBlock(WheelMask b) {
        const std::size_t i = blocks_.size();
        blocks_.push_back(b);
        if (i / 64 >= words_) {
            ++words_;
            for (auto& h : holders_)
                h.push_back(0);
        }
        mark(b, i, true);
        forSubsets(b, [this](WheelMask tset) { increment(tset); });
    }

    // Removes block i (the last block takes its place).
    void removeBlock(std::size_t i) {
        const WheelMask b = blocks_[i];
        const std::size_t last = blocks_.size() - 1;
        mark(b, i, false);
        if (i != last) {
            mark(blocks_[last], last, false);
            mark(blocks_[last], i, true);
        }
        blocks_[i] = blocks_.back();
        blocks_.pop_back();
        forSubsets(b, [this](WheelMask tset) { decrement(tset); });
    }

    // Block i loses position x and gains position y.
    void move(std::size_t i, int x, int y) {
        const WheelMask b = blocks_[i];
        const WheelMask rest = b & ~bit(x);
        forSubsetsWith(rest, x, [this](WheelMask tset) { decrement(tset); });
        forSubsetsWith(rest, y, [this](WheelMask tset) { increment(tset); });
        blocks_[i] = rest | bit(y);
        mark(bit(x), i, false);
        mark(bit(y), i, true);
    }

    // How many blocks meet `target` in exactly `want` positions, marked in matches_: the count of
    // each block is added up bit-sliced, 64 blocks at a time, from the holders of the positions.
    std::size_t computeMatches(WheelMask target, int want) {
        std::array<int, 64> p;
        const int n = positionsOf(target, p.data());
        const auto w0 = static_cast<WheelMask>(want & 1) * ~WheelMask{0};
        const auto w1 = static_cast<WheelMask>((want >> 1) & 1) * ~WheelMask{0};
        const auto w2 = static_cast<WheelMask>((want >> 2) & 1) * ~WheelMask{0};
        const auto w3 = static_cast<WheelMask>((want >> 3) & 1) * ~WheelMask{0};
        matches_.resize(words_);
        std::size_t total = 0;
        const std::size_t count = blocks_.size();
        for (std::size_t w = 0; w < words_; ++w) {
            WheelMask c0 = 0, c1 = 0, c2 = 0, c3 = 0;
            for (int j = 0; j < n; ++j) {
                const WheelMask x = holders_[static_cast<std::size_t>(p[static_cast<std::size_t>(j)])][w];
                const WheelMask a0 = c0 & x;
                c0 ^= x;
                const WheelMask a1 = c1 & a0;
                c1 ^= a0;
                const WheelMask a2 = c2 & a1;
                c2 ^= a1;
                c3 |= a2;
            }
            WheelMask eq = ~(c0 ^ w0) & ~(c1 ^ w1) & ~(c2 ^ w2) & ~(c3 ^ w3);
            const std::size_t first = w * 64;
            if (count - first < 64)
                eq &= bit(static_cast<int>(count - first)) - 1;
            matches_[w] = eq;
            total += static_cast<std::size_t>(std::popcount(eq));
        }
        return total;
    }

    // A block meeting `target` in exactly `want` positions, drawn uniformly among all such blocks;
    // blocks_.size() when there is none.
    std::size_t blockMeeting(WheelMask target, int want, Rng& rng) {
        const std::size_t count = blocks_.size();
        const std::size_t total = computeMatches(target, want);
        if (total == 0)
            return count;
        std::size_t r = below(rng, total);
        for (std::size_t w = 0;; ++w) {
            const auto here = static_cast<std::size_t>(std::popcount(matches_[w]));
            if (r < here) {
                WheelMask eq = matches_[w];
                while (r-- > 0)
                    eq &= eq - 1;
                return w * 64 + static_cast<std::size_t>(std::countr_zero(eq));
            }
            r -= here;
        }
    }

    // The change of the cost that move(i, x, y) would make, without making it: exact for m = t.
    qint64 coveringDelta(std::size_t i, int x, int y) const {
        const WheelMask rest = blocks_[i] & ~bit(x);
        qint64 d = 0;
        forSubsetsWith(rest, x, [&](WheelMask tset) { d += cov_[rank(tset)] == 1 ? 1 : 0; });
        forSubsetsWith(rest, y, [&](WheelMask tset) { d -= cov_[rank(tset)] == 0 ? 1 : 0; });
        return d;
    }

    // The same change weighted: each t-set counts its weight.
    qint64 weightedDelta(std::size_t i, int x, int y) const {
        const WheelMask rest = blocks_[i] & ~bit(x);
        qint64 d = 0;
        forSubsetsWith(rest, x, [&](WheelMask tset) {
            const auto r = rank(tset);
            d += cov_[r] == 1 ? weight_[r] : 0;
        });
        forSubsetsWith(rest, y, [&](WheelMask tset) {
            const auto r = rank(tset);
            d -= cov_[r] == 0 ? weight_[r] : 0;
        });
        return d;
    }

    // For block i and the position y coming in: for each position x of the block, the weighted
    // change of letting x go for y, written to delta[x]. One pass over the t-sets and the
    // (t - 1)-sets of the block serves every x.
    void weightedDeltas(std::size_t i, int y, std::array<qint64, 64>& delta) const {
        const WheelMask b = blocks_[i];
        for (WheelMask p = b; p; p &= p - 1)
            delta[static_cast<std::size_t>(std::countr_zero(p))] = 0;
        forSubsets(b, [&](WheelMask tset) {
            const auto r = rank(tset);
            if (cov_[r] == 1)
                for (WheelMask p = tset; p; p &= p - 1)
                    delta[static_cast<std::size_t>(std::countr_zero(p))] += weight_[r];
        });
        std::array<int, 64> e;
        const int n = positionsOf(b, e.data());
        forCombinations(e.data(), n, t_ - 1, bit(y), [&](WheelMask tset) {
            const auto r = rank(tset);
            if (cov_[r] != 0)
                return;
            // Gained unless x is one of the t - 1 positions of the block in it.
            const qint64 w = weight_[r];
            for (WheelMask p = b & ~tset; p; p &= p - 1)
                delta[static_cast<std::size_t>(std::countr_zero(p))] -= w;
        });
    }

    void replaceBlocks(const std::vector<WheelMask>& blocks) {
        while (!blocks_.empty())
            removeBlock(blocks_.size() - 1);
        for (const WheelMask b : blocks)
            addBlock(b);
    }

    void useWeights() { weight_.assign(cov_.size(), 1); }

    // Every unmet set weighs one more (m = t: the m-sets are the t-sets).
    void bumpUnmet() {

        for (std::size_t j = 0; j < list_.size();) {
            const std::uint32_t r = list_[j];
            if ((hits_[r] & kCount) == 0) {
                ++weight_[r];
                ++j;
            } else {
                hits_[r] = static_cast<std::uint8_t>(hits_[r] & kCount);
                list_[j] = list_.back();
                list_.pop_back();
            }
        }
    }

    // Calls f(i) for every block i meeting `target` in exactly `want` positions.
    template <typename F> void forBlocksMeeting(WheelMask target, int want, F&& f) {
        if (computeMatches(target, want) == 0)
            return;
        for (std::size_t w = 0; w < words_; ++w)
            for (WheelMask eq = matches_[w]; eq; eq &= eq - 1)
                f(w * 64 + static_cast<std::size_t>(std::countr_zero(eq)));
    }

    // The t-sets of block i that no other block holds.
    int uniqueSets(std::size_t i) const {
        int n = 0;
        forSubsets(blocks_[i], [&](WheelMask tset) { n += cov_[rank(tset)] == 1 ? 1 : 0; });
        return n;
    }

    // An unmet m-set drawn from the candidates; 0 when every m-set is met.
    WheelMask randomUnmet(Rng& rng) {
        if (uncovered_ == 0)
            return 0;
        if (!listFilled_) {
            for (std::size_t r = 0; r < hits_.size(); ++r)
                if (hits_[r] == 0) {
                    hits_[r] = kListed;
                    list_.push_back(static_cast<std::uint32_t>(r));
                }
            listFilled_ = true;
        }
        for (;;) {
            const std::size_t j = below(rng, list_.size());
            const std::uint32_t r = list_[j];
            if ((hits_[r] & kCount) == 0)
                return unrank(r, m_);
            hits_[r] = static_cast<std::uint8_t>(hits_[r] & kCount);
            list_[j] = list_.back();
            list_.pop_back();
        }
    }

    // The first unmet m-set at or after rank `from` in rank order, for the greedy start.
    std::optional<std::uint32_t> firstUnmet(std::uint32_t from) const {
        for (std::size_t r = from; r < hits_.size(); ++r)
            if ((hits_[r] & kCount) == 0)
                return static_cast<std::uint32_t>(r);
        return std::nullopt;
    }

    // How many t-sets holding y and t - 1 positions of `partial` no block holds yet.
    int newSets(WheelMask partial, int y) const {
        int n = 0;
        forSubsetsWith(partial, y, [&](WheelMask tset) { n += cov_[rank(tset)] == 0 ? 1 : 0; });
        return n;
    }

    WheelMask full() const { return full_; }

private:
    static constexpr std::uint8_t kListed = 0x80;

    void mark(WheelMask positions, std::size_t block, bool on) {
        const WheelMask b = bit(static_cast<int>(block % 64));
        for (; positions; positions &= positions - 1) {
            WheelMask& word = holders_[static_cast<std::size_t>(std::countr_zero(positions))][block / 64];
            word = on ? word | b : word & ~b;
        }
    }

    static constexpr std::uint8_t kCount = 0x7F;

    template <typename F> void forSubsets(WheelMask b, F&& f) const {
        std::array<int, 64> e; // filled up to the count positionsOf answers
        const int n = positionsOf(b, e.data());
        forCombinations(e.data(), n, t_, 0, f);
    }

    // Every t-set made of y and t - 1 positions of `rest`.
    template <typename F> void forSubsetsWith(WheelMask rest, int y, F&& f) const {
        std::array<int, 64> e; // filled up to the count positionsOf answers
        const int n = positionsOf(rest, e.data());
        forCombinations(e.data(), n, t_ - 1, bit(y), f);
    }

    template <typename F> void forSupersets(WheelMask tset, F&& f) const {
        if (m_ == t_) {
            f(rank(tset));
            return;
        }
        std::array<int, 64> e; // filled up to the count positionsOf answers
        const int n = positionsOf(full_ & ~tset, e.data());
        forCombinations(e.data(), n, m_ - t_, tset, [&](WheelMask mset) { f(rank(mset)); });
    }

    void increment(WheelMask tset) {
        if (cov_[rank(tset)]++ != 0)
            return;
        forSupersets(tset, [this](std::uint32_t r) {
            if ((hits_[r] & kCount) == 0)
                --uncovered_;
            ++hits_[r];
        });
    }

    void decrement(WheelMask tset) {
        if (--cov_[rank(tset)] != 0)
            return;
        forSupersets(tset, [this](std::uint32_t r) {
            --hits_[r];
            if ((hits_[r] & kCount) == 0) {
                ++uncovered_;
                if (listFilled_ && !(hits_[r] & kListed)) {
                    hits_[r] |= kListed;
                    list_.push_back(r);
                }
            }
        });
    }

    int v_, k_, t_, m_;
    WheelMask full_;
    std::array<std::array<std::uint32_t, 7>, 65> binom_{};
    std::vector<std::uint16_t> cov_;
    std::vector<std::uint32_t> weight_;

    std::vector<std::uint8_t> hits_;
    std::vector<std::uint32_t> list_;
    bool listFilled_ = false;
    qint64 uncovered_ = 0;
    std::vector<WheelMask> blocks_;
    // holders_[p]: the blocks holding position p, one bit per block.
    std::array<std::vector<WheelMask>, 64> holders_;
    std::size_t words_ = 0;
    std::vector<WheelMask> matches_;
};

// The greedy start: for the first unmet m-set, a block holding t of its positions, filled up one
// position at a time with the one that holds the most t-sets no block holds yet (ties at random).
void greedyCover(Cover& c, const WheelShape& s, Rng& rng, const std::function<bool()>& tick) {
    std::uint32_t from = 0;
    std::array<int, 64> e; // filled up to the count positionsOf answers
    while (const auto r = c.firstUnmet(from)) {
        from = *r;
        const WheelMask mset = c.unrank(*r, s.m);
        // Its t positions: the first t, then the block grows from them.
        WheelMask block = 0;
        const int n = positionsOf(mset, e.data());
        (void)n;
        for (int i = 0; i < s.t; ++i)
            block |= bit(e[static_cast<std::size_t>(i)]);
        while (std::popcount(block) < s.k) {
            int best = -1;
            int bestGain = -1;
            int ties = 0;
            for (WheelMask out = c.full() & ~block; out; out &= out - 1) {
                const int y = std::countr_zero(out);
                const int gain = c.newSets(block, y);
                if (gain > bestGain) {
                    bestGain = gain;
                    best = y;
                    ties = 1;
                } else if (gain == bestGain && below(rng, static_cast<std::size_t>(++ties)) == 0) {
                    best = y;
                }
            }
            block |= bit(best);
        }
        c.addBlock(block);
        if (!tick())
            return;
    }
}

// Removes every block whose removal leaves every m-set met, those holding the fewest t-sets of
// their own first.
void dropRedundant(Cover& c, bool covering) {
    for (bool removed = true; removed;) {
        removed = false;
        for (std::size_t i = c.blocks().size(); i-- > 0;) {
            if (c.uniqueSets(i) > 0) {
                if (covering)
                    continue; // it alone holds a t-set: needed
                // A block holding a t-set alone may still be redundant for a lotto design.
                const WheelMask b = c.blocks()[i];
                c.removeBlock(i);
                if (c.uncovered() == 0) {
                    removed = true;
                    continue;
                }
                c.addBlock(b);
                continue;
            }
            c.removeBlock(i);
            removed = true;
        }
    }
}

std::vector<WheelMask> distinct(std::vector<WheelMask> games) {
    std::sort(games.begin(), games.end());
    games.erase(std::unique(games.begin(), games.end()), games.end());
    return games;
}

} // namespace

WheelSearchResult SearchWheel(const WheelShape& s, const WheelSearchOptions& options, Progress& progress) {
    WheelSearchResult result;
    const auto start = Clock::now();
    const auto elapsedMs = [&] {
        return static_cast<qint64>(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
    };
    const WheelMask full = s.v >= 64 ? ~WheelMask{0} : bit(s.v) - 1;
    if (s.k >= s.v) {
        result.games = {full};
        result.greedyGames = 1;
        result.optimal = true;
        return result;
    }
    Rng rng(options.seed);
    Cover c(s);
    bool stop = false;
    std::size_t best = 0;
    const auto tick = [&] {
        if (!progress.report(std::min(elapsedMs(), options.timeLimitMs), options.timeLimitMs,
                             static_cast<qint64>(best)))
            stop = true;
        return !stop;
    };
    greedyCover(c, s, rng, tick);
    if (stop) {
        // Cancelled before the first cover was complete: there is no wheel to offer.
        result.cancelled = true;
        result.seconds = static_cast<double>(elapsedMs()) / 1000.0;
        return result;
    }
    result.greedyGames = static_cast<int>(c.blocks().size());
    dropRedundant(c, s.m == s.t);
    std::vector<WheelMask> proven = distinct(c.blocks());
    // A wheel found beforehand, when there is one for the shape and it is smaller, is where the
    // search goes on from.
    if (std::vector<WheelMask> stored = StoredWheel(s); !stored.empty() && stored.size() < proven.size()) {
        proven = std::move(stored);
        c.replaceBlocks(proven);
    }
    best = proven.size();
    const qint64 lower = WheelLowerBound(s);

    const bool covering = s.m == s.t;
    // Two schedules, taken in turn after each failed run at one count: a cool one that keeps the
    // structure of the last cover (it starts where a move leaving one more m-set unmet is taken
    // about one time in thirty, and cools slowly), and a hot, short one that reshapes it. A run
    // ends when the cover is complete or the temperature has frozen.
    struct Schedule {
        double start, cooling;
        qint64 stepsPerGame;
    };
    constexpr Schedule kCool{0.3, 0.98, 30};
    constexpr Schedule kHot{0.6, 0.99, 4};
    constexpr double kFrozen = 0.03;
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const auto accept = [&](qint64 delta, double temperature) {
        return delta <= 0 || unit(rng) < std::exp(-static_cast<double>(delta) / temperature);
    };
    // For a covering, a weighted local search: every t-set weighs 1 at first, and whenever no move
    // of the best kind lowers the weight left unmet, every unmet set weighs one more, so the sets
    // that stay hard pull the search towards them. Each move is the best of all those that meet
    // the target (a number that just left a game may not come back to it for kTenure moves); a
    // run at one count ends after kMovesPerGame moves per game.
    const bool weighted = covering;
    constexpr qint64 kMovesPerGame = 3000;
    constexpr qint64 kTenure = 3;
    std::vector<qint64> tabuIn;
    std::array<qint64, 64> deltas{};
    qint64 iteration = 0;
    if (weighted)
        c.useWeights();
    // The first runs are the hot annealing's, until one fails: it is quick, for the small shapes
    // it is often the whole search, and it finds designs such as the Steiner system S(5, 6, 12)
    // that the weighted search misses. A lotto design then alternates the cool and the hot
    // schedule after each failed run; a covering goes on with the weighted search.
    bool quickFirst = true;
    int failures = 0;
    while (!stop && static_cast<qint64>(best) > lower && failures < options.failuresToStop &&
           elapsedMs() < options.timeLimitMs) {
        // One game fewer: the one holding the fewest t-sets of its own goes.
        if (c.uncovered() == 0) {
            std::size_t worst = 0;
            int fewest = 1 << 30;
            for (std::size_t i = 0; i < c.blocks().size(); ++i)
                if (const int u = c.uniqueSets(i); u < fewest) {
                    fewest = u;
                    worst = i;
                }
            c.removeBlock(worst);
        }
        const std::size_t b = c.blocks().size();
        if (weighted && !quickFirst) {
            tabuIn.assign(b * 64, 0);
            const qint64 budget = static_cast<qint64>(b) * kMovesPerGame;
            for (qint64 step = 0; step < budget && c.uncovered() > 0; ++step) {
                if ((step & 1023) == 0 && (!tick() || elapsedMs() >= options.timeLimitMs))
                    break;
                ++result.moves;
                ++iteration;
                const WheelMask target = c.randomUnmet(rng);
                qint64 bestD = std::numeric_limits<qint64>::max();
                std::size_t bi = b, ri = b;
                int bx = -1, by = -1, rx = -1, ry = -1, ties = 0, seen = 0;
                c.forBlocksMeeting(target, s.t - 1, [&](std::size_t i) {
                    const WheelMask bl = c.blocks()[i];
                    const int yy = std::countr_zero(target & ~bl);
                    const bool forbidden = tabuIn[i * 64 + static_cast<std::size_t>(yy)] > iteration;
                    if (!forbidden)
                        c.weightedDeltas(i, yy, deltas);
                    for (WheelMask out = bl & ~target; out; out &= out - 1) {
                        const int xx = std::countr_zero(out);
                        if (below(rng, static_cast<std::size_t>(++seen)) == 0) {
                            ri = i;
                            rx = xx;
                            ry = yy;
                        }
                        if (forbidden)
                            continue;
                        const qint64 d = deltas[static_cast<std::size_t>(xx)];
                        if (d < bestD) {
                            bestD = d;
                            bi = i;
                            bx = xx;
                            by = yy;
                            ties = 1;
                        } else if (d == bestD && below(rng, static_cast<std::size_t>(++ties)) == 0) {
                            bi = i;
                            bx = xx;
                            by = yy;
                        }
                    }
                });
                if (ri == b) {
                    const std::size_t i = below(rng, b);
                    const WheelMask bl = c.blocks()[i];
                    c.move(i, randomElement(rng, bl & ~target), randomElement(rng, target & ~bl));
                    continue;
                }
                if (bi == b) {
                    bi = ri;
                    bx = rx;
                    by = ry;
                }
                c.move(bi, bx, by);
                tabuIn[bi * 64 + static_cast<std::size_t>(bx)] = iteration + kTenure;
                if (bestD >= 0)
                    c.bumpUnmet();
            }
        } else {
            const Schedule& schedule = quickFirst || (failures / 2) % 2 != 0 ? kHot : kCool;
            const qint64 steps = std::max<qint64>(200, static_cast<qint64>(b) * schedule.stepsPerGame);
            for (double temperature = schedule.start;
                 c.uncovered() > 0 && temperature > kFrozen && tick() && elapsedMs() < options.timeLimitMs;
                 temperature *= schedule.cooling) {
                for (qint64 step = 0; step < steps && c.uncovered() > 0; ++step) {
                    // A move of a lotto design over many numbers may take a millisecond: the
                    // window hears from the search often enough to stay responsive.
                    if ((step & 63) == 63 && (!tick() || elapsedMs() >= options.timeLimitMs))
                        break;
                    ++result.moves;
                    // An unmet m-set, and a game meeting it in t - 1 numbers (any game when none
                    // does): one number of the game that is not in the set makes way for one that is.
                    const WheelMask target = c.randomUnmet(rng);
                    std::size_t chosen = c.blockMeeting(target, s.t - 1, rng);
                    if (chosen == b)
                        chosen = below(rng, b);
                    const WheelMask block = c.blocks()[chosen];
                    const int y = randomElement(rng, target & ~block);
                    if (covering) {
                        // The number to give up: the one whose loss leaves the fewest t-sets unmet.
                        int x = -1;
                        qint64 delta = 0;
                        for (WheelMask out = block & ~target; out; out &= out - 1) {
                            const int candidate = std::countr_zero(out);
                            const qint64 d = c.coveringDelta(chosen, candidate, y);
                            if (x < 0 || d < delta) {
                                delta = d;
                                x = candidate;
                            }
                        }
                        if (accept(delta, temperature))
                            c.move(chosen, x, y);
                    } else {
                        const int x = randomElement(rng, block & ~target);
                        const qint64 before = c.uncovered();
                        c.move(chosen, x, y);
                        if (!accept(c.uncovered() - before, temperature))
                            c.move(chosen, y, x);
                    }
                }
            }
        }
        if (c.uncovered() == 0) {
            std::vector<WheelMask> found = distinct(c.blocks());
            if (found.size() < best && CheckWheel(full, found, s.t, s.m).holds) {
                proven = std::move(found);
                best = proven.size();
                failures = 0;
                tick();
            }
        } else if (quickFirst) {
            quickFirst = false;
        } else {
            ++failures;
        }
    }
    result.games = std::move(proven);
    result.cancelled = stop;
    result.optimal = static_cast<qint64>(result.games.size()) <= lower;
    result.seconds = static_cast<double>(elapsedMs()) / 1000.0;
    return result;
}
