// Myers' shortest edit over tokens, in linear space (the middle-snake bisection), with a budget.
#include "batch/model/text_diff.h"

#include <unordered_map>

namespace qm {
namespace {

enum class CharClass { Blank, Word, LineBreak, Mark };

CharClass ClassOf(unsigned char c)
{
    if (c == ' ' || c == '\t') return CharClass::Blank;
    if (c == '\n') return CharClass::LineBreak;
    // Bytes from 0x80 up are parts of UTF-8 letters: they belong to words.
    if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80)
        return CharClass::Word;
    return CharClass::Mark;
}

std::vector<std::string_view> Tokens(std::string_view text)
{
    std::vector<std::string_view> tokens;
    std::size_t start = 0;
    while (start < text.size()) {
        const CharClass kind = ClassOf(static_cast<unsigned char>(text[start]));
        std::size_t end = start + 1;
        if (kind == CharClass::Blank || kind == CharClass::Word)
            while (end < text.size() && ClassOf(static_cast<unsigned char>(text[end])) == kind) ++end;
        tokens.push_back(text.substr(start, end - start));
        start = end;
    }
    return tokens;
}

struct Edit {
    DiffKind kind;
    std::size_t token; // in the first sequence for Same and Removed, in the second for Added
};

class Differ {
public:
    Differ(const std::vector<int>& a, const std::vector<int>& b)
        : a_(a)
        , b_(b)
    {
    }

    std::vector<Edit> run()
    {
        diff(0, a_.size(), 0, b_.size());
        return std::move(edits_);
    }

private:
    // The work the bisection may do before the rest is given up as one replacement.
    static constexpr long long kBudget = 40'000'000;

    void same(std::size_t from, std::size_t to)
    {
        for (std::size_t i = from; i < to; ++i) edits_.push_back({DiffKind::Same, i});
    }
    void removed(std::size_t from, std::size_t to)
    {
        for (std::size_t i = from; i < to; ++i) edits_.push_back({DiffKind::Removed, i});
    }
    void added(std::size_t from, std::size_t to)
    {
        for (std::size_t i = from; i < to; ++i) edits_.push_back({DiffKind::Added, i});
    }

    void diff(std::size_t aLo, std::size_t aHi, std::size_t bLo, std::size_t bHi)
    {
        std::size_t prefix = 0;
        while (aLo + prefix < aHi && bLo + prefix < bHi && a_[aLo + prefix] == b_[bLo + prefix]) ++prefix;
        same(aLo, aLo + prefix);
        aLo += prefix;
        bLo += prefix;
        std::size_t suffix = 0;
        while (aHi - suffix > aLo && bHi - suffix > bLo && a_[aHi - suffix - 1] == b_[bHi - suffix - 1]) ++suffix;
        const std::size_t suffixStart = aHi - suffix;
        aHi -= suffix;
        bHi -= suffix;
        if (aLo == aHi) {
            added(bLo, bHi);
        } else if (bLo == bHi) {
            removed(aLo, aHi);
        } else {
            bisect(aLo, aHi, bLo, bHi);
        }
        same(suffixStart, suffixStart + suffix);
    }

    // Finds the middle of a shortest edit from both ends at once and splits there.
    void bisect(std::size_t aLo, std::size_t aHi, std::size_t bLo, std::size_t bHi)
    {
        const long long n = static_cast<long long>(aHi - aLo);
        const long long m = static_cast<long long>(bHi - bLo);
        const long long maxD = (n + m + 1) / 2;
        const long long offset = maxD;
        const long long length = 2 * maxD;
        std::vector<long long> forward(static_cast<std::size_t>(length + 2), -1);
        std::vector<long long> backward(static_cast<std::size_t>(length + 2), -1);
        forward[static_cast<std::size_t>(offset + 1)] = 0;
        backward[static_cast<std::size_t>(offset + 1)] = 0;
        const long long delta = n - m;
        const bool front = (delta % 2) != 0;
        long long k1start = 0, k1end = 0, k2start = 0, k2end = 0;
        auto A = [&](long long i) { return a_[aLo + static_cast<std::size_t>(i)]; };
        auto B = [&](long long i) { return b_[bLo + static_cast<std::size_t>(i)]; };
        for (long long d = 0; d < maxD; ++d) {
            spent_ += 2 * d + 2;
            if (spent_ > kBudget) break;
            for (long long k1 = -d + k1start; k1 <= d - k1end; k1 += 2) {
                const std::size_t k1Offset = static_cast<std::size_t>(offset + k1);
                long long x1 = (k1 == -d || (k1 != d && forward[k1Offset - 1] < forward[k1Offset + 1]))
                    ? forward[k1Offset + 1]
                    : forward[k1Offset - 1] + 1;
                long long y1 = x1 - k1;
                while (x1 < n && y1 < m && A(x1) == B(y1)) {
                    ++x1;
                    ++y1;
                }
                forward[k1Offset] = x1;
                if (x1 > n) {
                    k1end += 2;
                } else if (y1 > m) {
                    k1start += 2;
                } else if (front) {
                    const long long k2Offset = offset + delta - k1;
                    if (k2Offset >= 0 && k2Offset < length && backward[static_cast<std::size_t>(k2Offset)] != -1) {
                        const long long x2 = n - backward[static_cast<std::size_t>(k2Offset)];
                        if (x1 >= x2) return split(aLo, aHi, bLo, bHi, x1, y1);
                    }
                }
            }
            for (long long k2 = -d + k2start; k2 <= d - k2end; k2 += 2) {
                const std::size_t k2Offset = static_cast<std::size_t>(offset + k2);
                long long x2 = (k2 == -d || (k2 != d && backward[k2Offset - 1] < backward[k2Offset + 1]))
                    ? backward[k2Offset + 1]
                    : backward[k2Offset - 1] + 1;
                long long y2 = x2 - k2;
                while (x2 < n && y2 < m && A(n - x2 - 1) == B(m - y2 - 1)) {
                    ++x2;
                    ++y2;
                }
                backward[k2Offset] = x2;
                if (x2 > n) {
                    k2end += 2;
                } else if (y2 > m) {
                    k2start += 2;
                } else if (!front) {
                    const long long k1Offset = offset + delta - k2;
                    if (k1Offset >= 0 && k1Offset < length && forward[static_cast<std::size_t>(k1Offset)] != -1) {
                        const long long x1 = forward[static_cast<std::size_t>(k1Offset)];
                        const long long y1 = offset + x1 - k1Offset;
                        if (x1 >= n - x2) return split(aLo, aHi, bLo, bHi, x1, y1);
                    }
                }
            }
        }
        // Nothing in common found within the budget: one replacement.
        removed(aLo, aHi);
        added(bLo, bHi);
    }

    void split(std::size_t aLo, std::size_t aHi, std::size_t bLo, std::size_t bHi, long long x, long long y)
    {
        const std::size_t aMid = aLo + static_cast<std::size_t>(x);
        const std::size_t bMid = bLo + static_cast<std::size_t>(y);
        diff(aLo, aMid, bLo, bMid);
        diff(aMid, aHi, bMid, bHi);
    }

    const std::vector<int>& a_;
    const std::vector<int>& b_;
    std::vector<Edit> edits_;
    long long spent_ = 0;
};

} // namespace

std::vector<DiffRun> TextDifferences(std::string_view before, std::string_view after)
{
    const std::vector<std::string_view> beforeTokens = Tokens(before);
    const std::vector<std::string_view> afterTokens = Tokens(after);
    std::unordered_map<std::string_view, int> ids;
    auto idsOf = [&ids](const std::vector<std::string_view>& tokens) {
        std::vector<int> result;
        result.reserve(tokens.size());
        for (std::string_view token : tokens) result.push_back(ids.emplace(token, int(ids.size())).first->second);
        return result;
    };
    const std::vector<int> a = idsOf(beforeTokens);
    const std::vector<int> b = idsOf(afterTokens);

    std::vector<DiffRun> runs;
    for (const Edit& edit : Differ(a, b).run()) {
        const std::string_view text = edit.kind == DiffKind::Added ? afterTokens[edit.token] : beforeTokens[edit.token];
        if (runs.empty() || runs.back().kind != edit.kind)
            runs.push_back({edit.kind, std::string(text)});
        else
            runs.back().text += text;
    }
    return runs;
}

DiffSummary SummaryOf(const std::vector<DiffRun>& runs)
{
    DiffSummary summary;
    bool inChange = false;
    for (const DiffRun& run : runs) {
        if (run.kind == DiffKind::Same) {
            inChange = false;
            continue;
        }
        if (!inChange) ++summary.places;
        inChange = true;
        (run.kind == DiffKind::Removed ? summary.removedBytes : summary.addedBytes) += run.text.size();
    }
    return summary;
}

} // namespace qm
