#include "NumberStatistics.h"

#include "NamedColors.h"

#include <QLocale>
#include <algorithm>

bool isCompleteDraw(const DrawNumbers& d) {
    std::array<bool, NumberStatistics::kNumbers + 1> seen{};
    for (const int x : d) {
        if (x < 1 || x > NumberStatistics::kNumbers || seen[static_cast<std::size_t>(x)])
            return false;
        seen[static_cast<std::size_t>(x)] = true;
    }
    return true;
}

int weightClass(const WeightLimits& limits, double weight) {
    const auto& l = limits.limit;
    if (weight < l[0])
        return 1;
    if (weight < l[1])
        return 2;
    if (weight <= l[2])
        return 3;
    if (weight < l[3])
        return 4;
    return 5;
}

quint32 classColor(int weightClass) {
    static constexpr std::array<quint32, 5> colors{clRed, clFuchsia, clBlue, clMaroon, clBlack};
    return colors[static_cast<std::size_t>(std::clamp(weightClass, 1, 5) - 1)];
}

quint32 WeightClassColor(const WeightLimits& limits, double weight) {
    return classColor(weightClass(limits, weight));
}

WeightLimits weightLimits(std::span<const double> weights) {
    double min = 2000.0;
    double max = 0.0;
    for (const double w : weights) {
        min = std::min(min, w);
        max = std::max(max, w);
    }
    if (weights.empty())
        min = max = 0.0;
    const double step = (max - min) / 5.0;
    return {{min + 1.0 * step, min + 1.5 * step, min + 2.4 * step, min + 3.0 * step}};
}

QString NumberStatistics::weightText(int n) const {
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(of(n).weight, 'f', 2);
}

QString NumberStatistics::mediaText() const {
    return QStringLiteral("Média por dezena = %1").arg(lastConcurso / 10);
}

QString NumberStatistics::classCountText(int weightClass) const {
    return QString::number(classCounts[static_cast<std::size_t>(std::clamp(weightClass, 1, 5) - 1)]);
}

void classifyWeights(NumberStatistics& s) {
    std::array<double, NumberStatistics::kNumbers> weights{};
    for (std::size_t i = 0; i < weights.size(); ++i)
        weights[i] = s.numbers[i].weight;
    s.limits = weightLimits(weights);
    s.classCounts.fill(0);
    for (const double w : weights)
        ++s.classCounts[static_cast<std::size_t>(weightClass(s.limits, w) - 1)];
}

NumberStatistics tallyDraws(std::span<const DrawNumbers> draws) {
    NumberStatistics s;
    auto& nums = s.numbers;
    for (const DrawNumbers& d : draws) {
        if (!isCompleteDraw(d)) {
            ++s.drawsSkipped;
            continue;
        }
        std::array<bool, NumberStatistics::kNumbers> drawn{};
        for (const int x : d)
            drawn[static_cast<std::size_t>(x - 1)] = true;
        for (std::size_t i = 0; i < nums.size(); ++i) {
            NumberCounts& c = nums[i];
            ++c.absence;
            if (!drawn[i]) {
                c.lastAbsence = c.absence;
                c.longestAbsence = std::max(c.longestAbsence, c.lastAbsence);
            }
            c.weight *= 0.95;
        }
        for (const int x : d) {
            NumberCounts& c = nums[static_cast<std::size_t>(x - 1)];
            c.absence = 0;
            ++c.timesDrawn;
            c.weight += 1.0;
        }
    }
    s.drawsCounted = static_cast<int>(draws.size()) - s.drawsSkipped;
    classifyWeights(s);
    return s;
}
