#include "WheelOrbitSearch.h"

#include "WheelGuarantee.h"
#include "WheelSearchBits.h"

#include <QStringList>
#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <cmath>
#include <limits>
#include <random>
#include <set>

namespace {

using namespace WheelSearchBits;

// Ranks of the r-subsets of 0..v-1 in the combinatorial number system.
class Ranker {
public:
    Ranker() {
        for (int n = 0; n <= 64; ++n)
            for (int r = 0; r <= 16; ++r)
                binom_[static_cast<std::size_t>(n)][static_cast<std::size_t>(r)] =
                    static_cast<std::size_t>(std::max<qint64>(0, Binomial(n, r)));
    }
    std::size_t rank(WheelMask s) const {
        std::size_t r = 0;
        std::size_t i = 1;
        for (; s; s &= s - 1)
            r += binom_[static_cast<std::size_t>(std::countr_zero(s))][i++];
        return r;
    }

private:
    std::array<std::array<std::size_t, 17>, 65> binom_{};
};

WheelMask apply(const std::vector<int>& g, WheelMask s) {
    WheelMask out = 0;
    for (; s; s &= s - 1)
        out |= bit(g[static_cast<std::size_t>(std::countr_zero(s))]);
    return out;
}

// The distinct images of s under the group, smallest first.
std::vector<WheelMask> orbitOf(const std::vector<std::vector<int>>& elements, WheelMask s) {
    std::vector<WheelMask> images;
    images.reserve(elements.size());
    for (const auto& g : elements)
        images.push_back(apply(g, s));
    std::sort(images.begin(), images.end());
    images.erase(std::unique(images.begin(), images.end()), images.end());
    return images;
}

// Calls f(mask) for every r-subset of 0..v-1 (v < 64), in increasing order of the masks
// (Gosper's step).
template <typename F> void forAllSets(int v, int r, F&& f) {
    if (r > v)
        return;
    if (r == 0) {
        f(WheelMask{0});
        return;
    }
    const WheelMask limit = bit(v);
    for (WheelMask s = bit(r) - 1; s < limit;) {
        f(s);
        const WheelMask c = s & (~s + 1);
        const WheelMask n = s + c;
        s = (((n ^ s) >> 2) / c) | n;
    }
}

template <typename F> void forSubsets(WheelMask b, int r, F&& f) {
    std::array<int, 64> e{};
    int n = 0;
    for (WheelMask s = b; s; s &= s - 1)
        e[static_cast<std::size_t>(n++)] = std::countr_zero(s);
    forAllSets(n, r, [&](WheelMask local) {
        WheelMask s = 0;
        for (WheelMask l = local; l; l &= l - 1)
            s |= bit(e[static_cast<std::size_t>(std::countr_zero(l))]);
        f(s);
    });
}

// An indexed set of small integers: add, remove and draw at random in constant time.
class IndexSet {
public:
    explicit IndexSet(std::size_t n) : at_(n, npos) {}
    void add(std::size_t x) {
        if (at_[x] != npos)
            return;
        at_[x] = items_.size();
        items_.push_back(x);
    }
    void remove(std::size_t x) {
        const std::size_t i = at_[x];
        if (i == npos)
            return;
        items_[i] = items_.back();
        at_[items_[i]] = i;
        items_.pop_back();
        at_[x] = npos;
    }
    bool contains(std::size_t x) const { return at_[x] != npos; }
    bool empty() const { return items_.empty(); }
    std::size_t size() const { return items_.size(); }
    std::size_t random(Rng& rng) const { return items_[below(rng, items_.size())]; }
    const std::vector<std::size_t>& items() const { return items_; }

private:
    static constexpr std::size_t npos = ~std::size_t{0};
    std::vector<std::size_t> at_;
    std::vector<std::size_t> items_;
};

// The field of q = p^e elements (q <= 64), each an integer whose base-p digits are its coefficients
// over GF(p), modulo the first monic polynomial of degree e (in the order of its coefficients read
// as a base-p number) of which x is a primitive element: then x^n runs over every nonzero element.
struct FiniteField {
    int p = 0;
    int e = 0;
    int q = 0;
    std::vector<int> low; // x^e as a combination of 1, x, ..., x^(e-1)

    int add(int a, int b) const {
        int out = 0;
        for (int place = 1, i = 0; i < e; ++i, place *= p)
            out += ((a / place % p + b / place % p) % p) * place;
        return out;
    }
    int timesX(int a) const {
        const int top = a / (q / p);
        int out = (a % (q / p)) * p;
        for (int place = 1, i = 0; i < e; ++i, place *= p)
            out = out - (out / place % p) * place +
                  ((out / place % p + top * low[static_cast<std::size_t>(i)]) % p) * place;
        return out;
    }
};

// The field for q, or none (e = 0) when q is not a prime power up to 64.
FiniteField fieldOf(int q) {
    FiniteField f;
    if (q < 2 || q > 64)
        return f;
    int p = 2;
    while (q % p != 0)
        ++p;
    int e = 0;
    for (int r = q; r > 1; r /= p) {
        if (r % p != 0)
            return f;
        ++e;
    }
    for (int code = 0; code < q; ++code) {
        FiniteField c{p, e, q, {}};
        for (int i = 0, r = code; i < e; ++i, r /= p)
            c.low.push_back((p - r % p) % p); // x^e = -(c0 + c1 x + ...)
        int a = 1;
        int order = 0;
        do {
            a = c.timesX(a);
            ++order;
        } while (a != 1 && a != 0 && order < q);
        if (a == 1 && order == q - 1)
            return c;
    }
    return f;
}
} // namespace

std::vector<std::vector<int>> GroupElements(const WheelGroup& group) {
    const auto v = static_cast<std::size_t>(group.v);
    std::vector<int> identity(v);
    for (std::size_t i = 0; i < v; ++i)
        identity[i] = static_cast<int>(i);
    for (const auto& g : group.generators) {
        if (g.size() != v)
            return {};
        std::vector<int> sorted = g;
        std::sort(sorted.begin(), sorted.end());
        if (sorted != identity)
            return {};
    }
    std::vector<std::vector<int>> elements{identity};
    std::set<std::vector<int>> seen{identity};
    for (std::size_t i = 0; i < elements.size() && elements.size() <= 100000; ++i) {
        for (const auto& g : group.generators) {
            std::vector<int> h(v);
            for (std::size_t p = 0; p < v; ++p)
                h[p] = g[static_cast<std::size_t>(elements[i][p])];
            if (seen.insert(h).second)
                elements.push_back(std::move(h));
        }
    }
    return elements;
}

WheelGroupParse ParseWheelGroup(int v, const QString& text) {
    WheelGroupParse out;
    out.group.v = v;
    const auto fail = [&](const QString& why) {
        out.group.generators.clear();
        out.error = why;
        return out;
    };
    for (const QString& part : text.split(u',', Qt::SkipEmptyParts)) {
        std::vector<int> g(static_cast<std::size_t>(v));
        for (int i = 0; i < v; ++i)
            g[static_cast<std::size_t>(i)] = i;
        QString cycles = part.trimmed();
        // "q^", "q^n" or "q^f": the additive group of the field of q elements on the positions
        // 0..q-1 (one generator per coordinate), the multiplication by x^n (x a primitive
        // element), or the field's automorphism a -> a^p.
        // Cycles may follow ("16^5+3": a 3-cycle on the positions 16..18 at the same time).
        int next = 0;
        if (const qsizetype caret = cycles.indexOf(u'^'); caret >= 0) {
            bool okQ = false, okN = true;
            const int q = cycles.left(caret).toInt(&okQ);
            const qsizetype plus = cycles.indexOf(u'+');
            const QString power = cycles.mid(caret + 1, plus < 0 ? -1 : plus - caret - 1);
            const QString rest = plus < 0 ? QString() : cycles.mid(plus + 1);
            const bool frobenius = power == QStringLiteral("f");
            const int n = power.isEmpty() ? -1 : frobenius ? 1 : power.toInt(&okN);
            const FiniteField field = okQ ? fieldOf(q) : FiniteField{};
            if (!okQ || !okN || field.e == 0 || n < -1)
                return fail(QStringLiteral("Corpo inválido em \"%1\".").arg(part));
            if (q > v)
                return fail(QStringLiteral("Os ciclos de \"%1\" passam de %2 posições.").arg(part).arg(v));
            if (frobenius) {
                // a -> a^p, through the powers of x: 0 stays, x^i goes to x^(i p).
                std::vector<int> xPower(static_cast<std::size_t>(q - 1));
                for (int i = 0, a = 1; i < q - 1; ++i, a = field.timesX(a))
                    xPower[static_cast<std::size_t>(i)] = a;
                g[0] = 0;
                for (int i = 0; i < q - 1; ++i)
                    g[static_cast<std::size_t>(xPower[static_cast<std::size_t>(i)])] =
                        xPower[static_cast<std::size_t>(i * field.p % (q - 1))];
            } else if (n < 0) {
                if (!rest.isEmpty())
                    return fail(QStringLiteral("Corpo inválido em \"%1\".").arg(part));
                for (int i = 0, unit = 1; i < field.e; ++i, unit *= field.p) {
                    for (int a = 0; a < q; ++a)
                        g[static_cast<std::size_t>(a)] = field.add(a, unit);
                    out.group.generators.push_back(g);
                }
            } else {
                for (int a = 0; a < q; ++a) {
                    int image = a;
                    for (int i = 0; i < n; ++i)
                        image = field.timesX(image);
                    g[static_cast<std::size_t>(a)] = image;
                }
            }
            if (n < 0)
                continue;
            cycles = rest;
            next = q;
        }
        int multiplier = 0;
        if (const qsizetype star = cycles.indexOf(u'*'); star >= 0) {
            bool ok = false;
            multiplier = cycles.mid(star + 1).toInt(&ok);
            cycles = cycles.left(star);
            if (!ok || multiplier < 1)
                return fail(QStringLiteral("Multiplicador inválido em \"%1\".").arg(part));
        }
        for (const QString& piece : cycles.split(u'+', Qt::SkipEmptyParts)) {
            const QStringList lengthCount = piece.split(u'x');
            bool ok1 = false, ok2 = true;
            const int length = lengthCount[0].toInt(&ok1);
            const int count = lengthCount.size() > 1 ? lengthCount[1].toInt(&ok2) : 1;
            if (!ok1 || !ok2 || length < 1 || count < 1 || lengthCount.size() > 2)
                return fail(QStringLiteral("Ciclo inválido em \"%1\".").arg(part));
            for (int c = 0; c < count; ++c) {
                if (next + length > v)
                    return fail(
                        QStringLiteral("Os ciclos de \"%1\" passam de %2 posições.").arg(part).arg(v));
                for (int i = 0; i < length; ++i) {
                    const int image = multiplier > 0 ? (i * multiplier) % length : (i + 1) % length;
                    g[static_cast<std::size_t>(next + i)] = next + image;
                }
                next += length;
            }
        }
        if (multiplier > 0 && GroupElements(WheelGroup{v, {g}}).empty())
            return fail(QStringLiteral("\"%1\" não é uma permutação.").arg(part));
        out.group.generators.push_back(std::move(g));
    }
    if (out.group.generators.empty())
        return fail(QStringLiteral("Nenhum gerador em \"%1\".").arg(text));
    return out;
}

WheelOrbitResult SearchOrbitWheel(const WheelShape& s, const WheelGroup& group,
                                  const WheelOrbitOptions& options, Progress& progress) {
    WheelOrbitResult result;
    const auto start = Clock::now();
    const auto elapsedMs = [&] {
        return static_cast<qint64>(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
    };
    const std::vector<std::vector<int>> elements = GroupElements(group);
    if (elements.empty() || group.v != s.v || s.v >= 64 || s.m != s.t || s.t < 1 || s.k < s.t || s.k > s.v)
        return result;
    result.groupOrder = static_cast<int>(elements.size());
    const Ranker ranker;

    // The orbits of the t-sets: an id for each t-set, by rank.
    std::vector<std::uint32_t> setOrbit(static_cast<std::size_t>(Binomial(s.v, s.t)), ~std::uint32_t{0});
    std::uint32_t setOrbits = 0;
    std::vector<std::vector<WheelMask>> setImages; // every t-set of each orbit
    forAllSets(s.v, s.t, [&](WheelMask tset) {
        if (setOrbit[ranker.rank(tset)] != ~std::uint32_t{0})
            return;
        setImages.push_back(orbitOf(elements, tset));
        for (const WheelMask image : setImages.back())
            setOrbit[ranker.rank(image)] = setOrbits;
        ++setOrbits;
    });
    // The orbits of the k-sets: a representative, the size, and the t-set orbits it holds (a
    // union of whole orbits holds every t-set of an orbit as soon as it holds one).
    std::vector<WheelMask> rep;
    std::vector<int> size;
    std::vector<std::vector<std::uint32_t>> holds;
    // The orbit of each k-set, by rank.
    std::vector<std::uint32_t> gameOrbit(static_cast<std::size_t>(Binomial(s.v, s.k)), ~std::uint32_t{0});
    {
        forAllSets(s.v, s.k, [&](WheelMask game) {
            if (gameOrbit[ranker.rank(game)] != ~std::uint32_t{0})
                return;
            const std::vector<WheelMask> orbit = orbitOf(elements, game);
            for (const WheelMask image : orbit)
                gameOrbit[ranker.rank(image)] = static_cast<std::uint32_t>(rep.size());
            std::vector<std::uint32_t> h;
            forSubsets(game, s.t, [&](WheelMask tset) { h.push_back(setOrbit[ranker.rank(tset)]); });
            std::sort(h.begin(), h.end());
            h.erase(std::unique(h.begin(), h.end()), h.end());
            rep.push_back(game);
            size.push_back(static_cast<int>(orbit.size()));
            holds.push_back(std::move(h));
        });
    }
    const std::size_t gameOrbits = rep.size();
    result.gameOrbits = static_cast<int>(gameOrbits);
    result.setOrbits = static_cast<int>(setOrbits);
    std::vector<std::vector<std::uint32_t>> heldBy(setOrbits);
    for (std::size_t j = 0; j < gameOrbits; ++j)
        for (const std::uint32_t o : holds[j])
            heldBy[o].push_back(static_cast<std::uint32_t>(j));

    Rng rng(options.seed);
    std::vector<int> cov(setOrbits, 0);
    // The chosen orbits holding each t-set orbit, xor-ed together: while one orbit alone holds
    // it, that is its index.
    std::vector<std::size_t> holderXor(setOrbits, 0);
    IndexSet uncovered(setOrbits);
    for (std::size_t o = 0; o < setOrbits; ++o)
        uncovered.add(o);
    IndexSet chosen(gameOrbits);
    int total = 0;
    const auto add = [&](std::size_t j) {
        chosen.add(j);
        total += size[j];
        for (const std::uint32_t o : holds[j]) {
            holderXor[o] ^= j;
            if (cov[o]++ == 0)
                uncovered.remove(o);
        }
    };
    const auto remove = [&](std::size_t j) {
        chosen.remove(j);
        total -= size[j];
        for (const std::uint32_t o : holds[j]) {
            holderXor[o] ^= j;
            if (--cov[o] == 0)
                uncovered.add(o);
        }
    };
    const auto gain = [&](std::size_t j) {
        int n = 0;
        for (const std::uint32_t o : holds[j])
            n += cov[o] == 0 ? 1 : 0;
        return n;
    };

    // Greedy: the orbit covering the most new t-set orbits per game, ties drawn at random.
    while (!uncovered.empty()) {
        double bestRate = -1.0;
        std::size_t best = 0;
        int ties = 0;
        for (const std::uint32_t j : heldBy[uncovered.random(rng)]) {
            const double rate = static_cast<double>(gain(j)) / size[j];
            if (rate > bestRate) {
                bestRate = rate;
                best = j;
                ties = 1;
            } else if (rate == bestRate && below(rng, static_cast<std::size_t>(++ties)) == 0) {
                best = j;
            }
        }
        add(best);
    }

    const WheelMask full = s.v >= 64 ? ~WheelMask{0} : bit(s.v) - 1;
    int bestTotal = 0;
    const auto prove = [&] {
        std::vector<WheelMask> games;
        for (const std::size_t j : chosen.items())
            for (const WheelMask g : orbitOf(elements, rep[j]))
                games.push_back(g);
        std::sort(games.begin(), games.end());
        if (CheckWheel(full, games, s.t, s.m).holds) {
            result.games = std::move(games);
            result.orbits = static_cast<int>(chosen.size());
            bestTotal = total;
        }
    };
    prove();

    // A weighted local search at one budget of games: every orbit of t-sets weighs 1 at first,
    // and whenever no swap lowers the weight left uncovered, every uncovered orbit weighs one
    // more, so the orbits that stay hard pull the search towards them. Each move takes an
    // uncovered orbit of t-sets and makes the best swap over every orbit of games holding it
    // and every chosen orbit that can make room for it; an orbit just given up may not come back
    // for kTenure moves.
    constexpr qint64 kTenure = 2;
    std::vector<qint64> weight(setOrbits, 1);
    std::vector<qint64> tabuUntil(gameOrbits, 0);
    const auto weightedGain = [&](std::size_t j) {
        qint64 n = 0;
        for (const std::uint32_t o : holds[j])
            n += cov[o] == 0 ? weight[o] : 0;
        return n;
    };
    const auto weightedLoss = [&](std::size_t j) {
        qint64 n = 0;
        for (const std::uint32_t o : holds[j])
            n += cov[o] == 1 ? weight[o] : 0;
        return n;
    };
    bool stop = false;
    qint64 iteration = 0;
    std::vector<std::pair<qint64, std::size_t>> byLoss;
    std::vector<qint64> lossOf(gameOrbits, 0);
    std::vector<qint64> reduction(gameOrbits, 0);
    std::vector<std::size_t> touched;
    while (!stop && bestTotal > options.stopAt && elapsedMs() < options.timeLimitMs) {
        if (uncovered.empty()) {
            // One game fewer than the best: the orbits whose loss uncovers the least go.
            const int budget = bestTotal - 1;
            while (total > budget) {
                std::size_t worst = chosen.items().front();
                qint64 fewest = std::numeric_limits<qint64>::max();
                for (const std::size_t j : chosen.items())
                    if (const qint64 l = weightedLoss(j) * 64 / size[j]; l < fewest) {
                        fewest = l;
                        worst = j;
                    }
                remove(worst);
            }
        }
        const int budget = bestTotal - 1;
        while (!uncovered.empty()) {
            if ((iteration & 1023) == 0 && (!progress.report(std::min(elapsedMs(), options.timeLimitMs),
                                                             options.timeLimitMs, bestTotal) ||
                                            elapsedMs() >= options.timeLimitMs)) {
                stop = true;
                break;
            }
            ++iteration;
            ++result.moves;
            const std::size_t target = uncovered.random(rng);
            // The weight each chosen orbit holds alone, smallest first; bringing orbit j in
            // lowers it by the weight of j's t-set orbits that i alone holds.
            byLoss.clear();
            for (const std::size_t i : chosen.items())
                byLoss.emplace_back(weightedLoss(i), i);
            std::shuffle(byLoss.begin(), byLoss.end(), rng);
            std::stable_sort(byLoss.begin(), byLoss.end(),
                             [](const auto& x, const auto& y) { return x.first < y.first; });
            for (const auto& [l, i] : byLoss)
                lossOf[i] = l;
            qint64 bestDelta = std::numeric_limits<qint64>::max();
            std::size_t bestIn = gameOrbits, bestOut = gameOrbits;
            int ties = 0;
            const auto consider = [&](qint64 d, std::size_t in, std::size_t out) {
                if (d < bestDelta) {
                    bestDelta = d;
                    bestIn = in;
                    bestOut = out;
                    ties = 1;
                } else if (d == bestDelta && below(rng, static_cast<std::size_t>(++ties)) == 0) {
                    bestIn = in;
                    bestOut = out;
                }
            };
            // First the moves of one number: a chosen orbit whose representative meets a t-set of
            // the target orbit in t - 1 numbers gives up one number outside that t-set for the
            // one it lacks, which makes another orbit.
            for (const std::size_t i : chosen.items()) {
                const WheelMask r = rep[i];
                for (const WheelMask tset : setImages[target]) {
                    const WheelMask lack = tset & ~r;
                    if (std::popcount(lack) != 1)
                        continue;
                    for (WheelMask out = r & ~tset; out; out &= out - 1) {
                        const WheelMask moved = (r & ~(out & (~out + 1))) | lack;
                        const std::size_t j = gameOrbit[ranker.rank(moved)];
                        if (chosen.contains(j) || tabuUntil[j] > iteration ||
                            total + size[j] - size[i] > budget)
                            continue;
                        qint64 d = lossOf[i];
                        for (const std::uint32_t o : holds[j]) {
                            if (cov[o] == 0)
                                d -= weight[o];
                            else if (cov[o] == 1 && holderXor[o] == i)
                                d -= weight[o];
                        }
                        consider(d, j, i);
                    }
                }
            }
            // And any orbit holding the target for any chosen one (only when no move of one number
            // exists, when the options ask for moves of one number first).
            for (const std::uint32_t j : heldBy[target]) {
                if (options.numberMovesFirst && bestIn != gameOrbits)
                    break;
                if (chosen.contains(j) || tabuUntil[j] > iteration)
                    continue;
                const qint64 g = weightedGain(j);
                if (total + size[j] <= budget) {
                    consider(-g, j, gameOrbits); // room left: nothing given up
                    continue;
                }
                touched.clear();
                for (const std::uint32_t o : holds[j])
                    if (cov[o] == 1) {
                        const std::size_t i = holderXor[o];
                        if (reduction[i] == 0)
                            touched.push_back(i);
                        reduction[i] += weight[o];
                    }
                for (const std::size_t i : touched)
                    if (total + size[j] - size[i] <= budget)
                        consider(lossOf[i] - reduction[i] - g, j, i);
                // The orbit holding the least alone among those j leaves as they are.
                for (const auto& [l, i] : byLoss) {
                    if (l - g > bestDelta)
                        break;
                    if (reduction[i] != 0 || total + size[j] - size[i] > budget)
                        continue;
                    consider(l - g, j, i);
                    break;
                }
                for (const std::size_t i : touched)
                    reduction[i] = 0;
            }
            if (bestIn == gameOrbits)
                continue;
            add(bestIn);
            if (bestOut != gameOrbits) {
                remove(bestOut);
                tabuUntil[bestOut] = iteration + kTenure;
            }
            if (bestDelta >= 0)
                for (const std::size_t o : uncovered.items())
                    ++weight[o];
        }
        if (uncovered.empty() && total < bestTotal)
            prove();
    }
    result.seconds = static_cast<double>(elapsedMs()) / 1000.0;
    return result;
}
