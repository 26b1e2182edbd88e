// The forward-sweep builder every pass writes through.
#include "engine/passes/rewriter.h"

#include "engine/passes/scan.h"

#include <algorithm>
#include <cstring>

namespace qm::passes {

Rewriter::Rewriter(Page& page, bool trackLessThan)
    : page_(page)
    , trackLessThan_(trackLessThan)
{
    source_ = std::move(page.text);
    in_ = source_;
}

void Rewriter::write()
{
    if (written_) return;
    out_ = TakeSpare(page_, source_.size() + source_.size() / 16 + 16);
    out_.append(in_.data(), r_);
    outFragments_.assign(
        page_.placeholders.begin(), page_.placeholders.begin() + static_cast<std::ptrdiff_t>(nextInputFragment_));
    written_ = true;
}

Rewriter::~Rewriter()
{
    if (!finished_) page_.text = std::move(source_);
}

void Rewriter::track() const
{
    const std::string_view text = out();
    const char* data = text.data();
    const std::size_t end = text.size();
    const std::size_t from = tracked_;
    tracked_ = end;
    if (!trackLessThan_) {
        for (std::size_t i = FindByte(data, from, end, '"'); i < end; i = FindByte(data, i + 1, end, '"')) {
            allOdd_ = !allOdd_;
            if (QuoteCounts(text, i)) inside_ = !inside_;
        }
        return;
    }
    for (std::size_t i = FindAny<'"', '<'>(data, from, end); i < end; i = FindAny<'"', '<'>(data, i + 1, end)) {
        if (data[i] == '"') {
            allOdd_ = !allOdd_;
            if (QuoteCounts(text, i)) inside_ = !inside_;
        } else {
            less_[allOdd_].push_back(static_cast<std::uint64_t>(i) << 1 | (inside_ ? 1 : 0));
        }
    }
}

std::size_t Rewriter::inputNuls(std::size_t from, std::size_t to) const
{
    std::size_t count = 0;
    const char* data = in_.data();
    for (const char* q = static_cast<const char*>(std::memchr(data + from, kPlaceholder, to - from)); q;
         q = static_cast<const char*>(std::memchr(q + 1, kPlaceholder, to - static_cast<std::size_t>(q + 1 - data)))) {
        ++count;
        if (static_cast<std::size_t>(q + 1 - data) >= to) break;
    }
    return count;
}

void Rewriter::copyTo(std::size_t end)
{
    if (end <= r_) return;
    std::size_t nuls = page_.placeholders.empty() ? 0 : inputNuls(r_, end);
    if (written_) {
        out_.append(in_.data() + r_, end - r_);
        for (std::size_t k = 0; k < nuls; ++k) outFragments_.push_back(page_.placeholders[nextInputFragment_ + k]);
    }
    nextInputFragment_ += nuls;
    r_ = end;
}

void Rewriter::skipTo(std::size_t end, std::vector<std::uint32_t>* dropped)
{
    if (end <= r_) return;
    write();
    if (!page_.placeholders.empty()) {
        std::size_t nuls = inputNuls(r_, end);
        for (std::size_t k = 0; k < nuls; ++k) {
            std::uint32_t id = page_.placeholders[nextInputFragment_++];
            if (dropped) dropped->push_back(id);
        }
    }
    r_ = end;
}

std::vector<std::uint32_t> Rewriter::inputFragments(std::size_t from, std::size_t to) const
{
    std::vector<std::uint32_t> ids;
    if (page_.placeholders.empty() || to <= from) return ids;
    std::size_t first = nextInputFragment_ + inputNuls(r_, from);
    std::size_t count = inputNuls(from, to);
    ids.assign(page_.placeholders.begin() + static_cast<std::ptrdiff_t>(first),
        page_.placeholders.begin() + static_cast<std::ptrdiff_t>(first + count));
    return ids;
}

void Rewriter::truncate(std::size_t size, std::vector<std::uint32_t>* dropped)
{
    write();
    const std::size_t end = out_.size();
    if (size >= end) return;
    // Quote states run back over the tracked part of the tail; the text before
    // it is unchanged, so each removed quote's own counting status is still what it was.
    if (tracked_ > size) {
        for (std::size_t i = FindByte(out_.data(), size, tracked_, '"'); i < tracked_;
             i = FindByte(out_.data(), i + 1, tracked_, '"')) {
            allOdd_ = !allOdd_;
            if (QuoteCounts(out_, i)) inside_ = !inside_;
        }
        tracked_ = size;
    }
    if (!outFragments_.empty()) {
        std::size_t nuls = 0;
        for (std::size_t i = size; i < end; ++i)
            if (out_[i] == kPlaceholder) ++nuls;
        std::size_t keep = outFragments_.size() - nuls;
        if (dropped)
            dropped->insert(
                dropped->end(), outFragments_.begin() + static_cast<std::ptrdiff_t>(keep), outFragments_.end());
        outFragments_.resize(keep);
    }
    for (auto& stack : less_)
        while (!stack.empty() && (stack.back() >> 1) >= size) stack.pop_back();
    out_.resize(size);
}

void Rewriter::putPlaceholder(std::uint32_t fragment)
{
    write();
    out_.push_back(kPlaceholder);
    outFragments_.push_back(fragment);
}

void Rewriter::putBack(std::string_view text, const std::uint32_t* fragments)
{
    write();
    out_.append(text);
    for (char c : text)
        if (c == kPlaceholder) outFragments_.push_back(*fragments++);
}

Rewriter::LessThan Rewriter::nearestLessThan() const
{
    track();
    auto entry = [](std::uint64_t packed, bool odd) {
        return LessThan {static_cast<std::size_t>(packed >> 1), odd, (packed & 1) != 0};
    };
    if (less_[0].empty()) return less_[1].empty() ? LessThan {} : entry(less_[1].back(), true);
    if (less_[1].empty()) return entry(less_[0].back(), false);
    return less_[0].back() > less_[1].back() ? entry(less_[0].back(), false) : entry(less_[1].back(), true);
}

std::size_t Rewriter::lessThanBelow(std::size_t limit, bool odd) const
{
    track();
    const auto& stack = less_[odd];
    for (auto it = stack.rbegin(); it != stack.rend(); ++it)
        if ((*it >> 1) < limit) return static_cast<std::size_t>(*it >> 1);
    return npos;
}

void Rewriter::finish()
{
    finished_ = true;
    if (!written_) {
        page_.text = std::move(source_);
        return;
    }
    copyRest();
    page_.text = std::move(out_);
    page_.spare = std::move(source_);
    page_.placeholders = std::move(outFragments_);
}

bool QuoteWalker::insideAt(std::size_t to)
{
    std::string_view in = w_.input();
    for (; at_ < to; ++at_) {
        if (in[at_] != '"') continue;
        if (!(before(at_, 1) == '\\' && before(at_, 2) != '\\')) inside_ = !inside_;
    }
    return inside_;
}

// The text before the read point is the rewriter's output.
char QuoteWalker::before(std::size_t i, std::size_t back) const
{
    const std::size_t start = w_.readPoint();
    if (i >= start + back) return w_.input()[i - back];
    std::size_t fromOut = back - (i - start);
    const std::string_view out = w_.out();
    return fromOut <= out.size() ? out[out.size() - fromOut] : ' ';
}

bool MatchesNoCase(std::string_view haystack, std::size_t at, std::string_view lowerNeedle)
{
    if (at + lowerNeedle.size() > haystack.size()) return false;
    for (std::size_t k = 0; k < lowerNeedle.size(); ++k)
        if (LowerAscii(haystack[at + k]) != lowerNeedle[k]) return false;
    return true;
}

std::size_t FindNoCase(std::string_view haystack, std::size_t from, std::string_view lowerNeedle)
{
    const std::size_t n = lowerNeedle.size();
    if (n == 0 || haystack.size() < n) return std::string_view::npos;
    const std::size_t last = haystack.size() - n;
    for (std::size_t i = from; i <= last; ++i) {
        i = FindFoldedPair(haystack.data(), i, last, lowerNeedle[0], lowerNeedle[n - 1], n - 1);
        if (i > last) break;
        if (MatchesNoCase(haystack, i, lowerNeedle)) return i;
    }
    return std::string_view::npos;
}

} // namespace qm::passes
