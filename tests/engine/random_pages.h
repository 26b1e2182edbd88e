// Random pages, option sets and tag lists built from what breaks page optimizers.
#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "engine/engine_data.h"
#include "options/option_set.h"

namespace qm::test {

struct RandomCase {
    std::string page; // raw bytes, never a NUL
    TOptionSet options;
    EngineData data;
};

class RandomPages {
public:
    explicit RandomPages(std::uint64_t seed)
        : random_(seed)
    {
    }

    RandomCase next();

    std::string page(std::size_t pieces);
    TOptionSet options();
    EngineData data();

private:
    std::size_t below(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_); }
    bool chance(int percent) { return below(100) < static_cast<std::size_t>(percent); }
    template<class T, std::size_t N> const T& pick(const T (&items)[N]) { return items[below(N)]; }

    void piece(std::string& out);
    std::string word();
    std::string spaces();
    std::string tag();
    std::string attribute();
    std::string quotedValue();
    std::string tagText();
    std::string oddBytes();

    std::mt19937_64 random_;
};

// C++ source for a failing case, to paste into a regular test.
std::string DescribeCase(const RandomCase& c);

} // namespace qm::test
