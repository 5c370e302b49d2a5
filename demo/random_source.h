#pragma once
// The demo data's one source of chance: a seeded std::mt19937 with the few draws the
// generator needs. The draws are computed here rather than through the standard
// distributions, whose results differ between standard libraries, so that a seed gives
// the same database everywhere.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace demo {

class RandomSource {
public:
    explicit RandomSource(std::uint32_t seed) : engine_(seed) {}

    // A whole number from lo to hi, both included.
    long long between(long long lo, long long hi)
    {
        const auto span = static_cast<std::uint64_t>(hi - lo) + 1;
        return lo + static_cast<long long>(next64() % span);
    }

    // True with the given chance in percent.
    bool percent(int chance) { return between(0, 99) < chance; }

    // An index into `weights`, each chosen in proportion to its weight.
    std::size_t weighted(const std::vector<int>& weights)
    {
        long long total = 0;
        for (int w : weights)
            total += w;
        long long draw = between(0, total - 1);
        for (std::size_t i = 0; i < weights.size(); ++i) {
            if (draw < weights[i])
                return i;
            draw -= weights[i];
        }
        return weights.size() - 1;
    }

    template <class T> const T& pick(const std::vector<T>& items)
    {
        return items[static_cast<std::size_t>(between(0, static_cast<long long>(items.size()) - 1))];
    }

    // A string of `count` decimal digits.
    std::string digits(int count)
    {
        std::string out;
        for (int i = 0; i < count; ++i)
            out += static_cast<char>('0' + between(0, 9));
        return out;
    }

private:
    std::uint64_t next64() { return (static_cast<std::uint64_t>(engine_()) << 32) | engine_(); }

    std::mt19937 engine_;
};

} // namespace demo
