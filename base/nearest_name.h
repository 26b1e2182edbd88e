// The known name a mistyped one most likely meant, for "did you mean" hints.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace qm {

// The edit distance (insertions, deletions, substitutions, and swaps of two
// neighbouring letters) between two words, ASCII letters compared without regard to case.
std::size_t EditDistance(std::string_view a, std::string_view b);

// The candidate nearest to the word, when it is near enough to be a slip of
// the keyboard (at most a third of the word's letters, and at most three,
// differ); the first of equally near ones. Nothing for a word that is itself
// a candidate or resembles none.
std::optional<std::string_view> NearestName(std::string_view word, std::span<const std::string_view> candidates);

} // namespace qm
