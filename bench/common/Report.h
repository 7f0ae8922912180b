#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace zelvo::bench {

using Clock = std::chrono::steady_clock;

[[nodiscard]] inline double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

[[nodiscard]] inline double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// The median of the ratios of the runs paired round by round: a slow spell that lasts a round
// stretches both runs of the pair, where it would shift only one of two separate medians.
[[nodiscard]] inline double medianPairedRatio(const std::vector<double>& ours,
                                              const std::vector<double>& baseline)
{
    std::vector<double> ratios;
    for (std::size_t i = 0; i < ours.size() && i < baseline.size(); ++i) {
        if (baseline[i] > 0.0)
            ratios.push_back(ours[i] / baseline[i]);
    }
    return median(ratios);
}

// Runs ours and the baseline alternately, so that a slow spell on a shared machine hits both;
// one untimed round of each first warms caches and lazily loaded code.
struct Samples
{
    std::vector<double> ours;
    std::vector<double> baseline;
};
[[nodiscard]] inline Samples interleave(int rounds, const std::function<double()>& ours,
                                        const std::function<double()>& baseline)
{
    (void)ours();
    (void)baseline();
    Samples samples;
    for (int round = 0; round < rounds; ++round) {
        // Alternate which one goes first as well.
        if (round % 2 == 0) {
            samples.ours.push_back(ours());
            samples.baseline.push_back(baseline());
        } else {
            samples.baseline.push_back(baseline());
            samples.ours.push_back(ours());
        }
    }
    return samples;
}

// One line of a table: our median beside the baseline's, their ratio, and the ratio aimed at.
struct Row
{
    std::string figure;
    double ours;
    double baseline;
    double target; // 0: shown for reference, no target
    // The ratio to show and check; below zero, ours over baseline.
    double ratio = -1.0;
    // The target bounds the ratio, or else our figure itself (strictly below it).
    bool targetIsRatio = true;
};

class Table
{
public:
    Table(std::string title, std::string unit, int rounds)
        : m_title(std::move(title)), m_unit(std::move(unit)), m_rounds(rounds)
    {
    }

    void add(Row row) { m_rows.push_back(std::move(row)); }
    void add(const std::string& figure, const Samples& samples, double targetRatio)
    {
        add({figure, median(samples.ours), median(samples.baseline), targetRatio});
    }
    // The medians of both, and as the ratio the median of the round-by-round ratios.
    void addPaired(const std::string& figure, const Samples& samples, double targetRatio)
    {
        Row row{figure, median(samples.ours), median(samples.baseline), targetRatio};
        row.ratio = medianPairedRatio(samples.ours, samples.baseline);
        add(std::move(row));
    }

    // Prints the table; the result is false when a target was missed.
    bool print() const
    {
        bool allMet = true;
        std::printf("\n== %s ==\n", m_title.c_str());
        if (m_rounds > 0)
            std::printf("medians of %d runs each, in %s\n", m_rounds, m_unit.c_str());
        else
            std::printf("in %s\n", m_unit.c_str());
        std::printf("%-44s %12s %12s %8s %12s  %s\n", "figure", "ours", "baseline", "ratio",
                    "target", "");
        for (const Row& row : m_rows) {
            const double ratio = row.ratio >= 0.0     ? row.ratio
                                 : row.baseline > 0.0 ? row.ours / row.baseline
                                                      : 0.0;
            const char* verdict = "";
            std::string target = "-";
            if (row.target > 0.0) {
                const bool met = row.targetIsRatio ? ratio <= row.target : row.ours < row.target;
                allMet = allMet && met;
                verdict = met ? "met" : "MISSED";
                target = row.targetIsRatio ? "<= " + format(row.target, 2)
                                           : "ours < " + format(row.target, 0);
            }
            std::printf("%-44s %12s %12s %8s %12s  %s\n", row.figure.c_str(),
                        format(row.ours, 3).c_str(), format(row.baseline, 3).c_str(),
                        format(ratio, 3).c_str(), target.c_str(), verdict);
        }
        std::fflush(stdout);
        return allMet;
    }

private:
    [[nodiscard]] static std::string format(double value, int decimals)
    {
        char text[64];
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
        return text;
    }

    std::string m_title;
    std::string m_unit;
    int m_rounds;
    std::vector<Row> m_rows;
};

} // namespace zelvo::bench
