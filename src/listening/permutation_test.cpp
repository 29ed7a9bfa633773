#include "listening/permutation_test.h"

#include <cmath>
#include <numeric>
#include <random>

namespace murmelix {

namespace {

// Relabellings of n clips with k in the first group; past `cap` it stops counting.
uint64_t choose(uint64_t n, uint64_t k, uint64_t cap) {
    uint64_t result = 1;
    for (uint64_t i = 1; i <= k; ++i) {
        result = result * (n - k + i) / i;
        if (result > cap) {
            return cap + 1;
        }
    }
    return result;
}

double difference(const std::vector<double>& values, const std::vector<bool>& inFirst,
                  size_t firstCount) {
    double first = 0;
    double second = 0;
    for (size_t i = 0; i < values.size(); ++i) {
        (inFirst[i] ? first : second) += values[i];
    }
    return first / static_cast<double>(firstCount) -
           second / static_cast<double>(values.size() - firstCount);
}

// Counts the relabellings at least as far apart as `observed`, trying every one.
uint64_t countExact(const std::vector<double>& values, size_t k, double observed, uint64_t& total) {
    const size_t n = values.size();
    std::vector<size_t> chosen(k);
    std::iota(chosen.begin(), chosen.end(), 0);
    uint64_t extreme = 0;
    total = 0;
    for (;;) {
        std::vector<bool> inFirst(n, false);
        for (const size_t c : chosen) {
            inFirst[c] = true;
        }
        extreme += std::abs(difference(values, inFirst, k)) >= observed ? 1 : 0;
        ++total;
        size_t i = k;
        while (i > 0 && chosen[i - 1] == n - k + i - 1) {
            --i;
        }
        if (i == 0) {
            return extreme;
        }
        ++chosen[i - 1];
        for (size_t j = i; j < k; ++j) {
            chosen[j] = chosen[j - 1] + 1;
        }
    }
}

uint64_t countSampled(const std::vector<double>& values, size_t k, double observed, uint64_t seed) {
    std::mt19937_64 random(seed);
    std::vector<size_t> order(values.size());
    std::iota(order.begin(), order.end(), 0);
    uint64_t extreme = 0;
    for (int s = 0; s < PermutationTest::kSampled; ++s) {
        // Fisher-Yates with the standard engine: the same draws on every machine.
        for (size_t i = order.size(); i > 1; --i) {
            std::swap(order[i - 1], order[random() % i]);
        }
        std::vector<bool> inFirst(values.size(), false);
        for (size_t i = 0; i < k; ++i) {
            inFirst[order[i]] = true;
        }
        extreme += std::abs(difference(values, inFirst, k)) >= observed ? 1 : 0;
    }
    return extreme;
}

}  // namespace

std::optional<ListeningResults::Comparison> PermutationTest::compare(
    const std::vector<double>& first, const std::vector<double>& second, uint64_t seed) {
    if (first.empty() || second.empty()) {
        return std::nullopt;
    }
    std::vector<double> values = first;
    values.insert(values.end(), second.begin(), second.end());
    std::vector<bool> labels(values.size(), false);
    std::fill(labels.begin(), labels.begin() + static_cast<long>(first.size()), true);
    ListeningResults::Comparison out;
    out.difference = difference(values, labels, first.size());
    // Sums in another order differ in their last bits: those count as the same difference.
    const double observed = std::abs(out.difference) - 1e-12;
    const uint64_t n = values.size();
    if (choose(n, first.size(), kExactUpTo) <= kExactUpTo) {
        uint64_t total = 0;
        const uint64_t extreme = countExact(values, first.size(), observed, total);
        out.exact = true;
        out.relabellings = static_cast<int>(total);
        out.pValue = static_cast<double>(extreme) / static_cast<double>(total);
    } else {
        const uint64_t extreme = countSampled(values, first.size(), observed, seed);
        out.relabellings = kSampled;
        out.pValue = static_cast<double>(extreme + 1) / (kSampled + 1);
    }
    return out;
}

}  // namespace murmelix
