// Splitting text into lines at CR LF, CR or LF, joining them again, and splitting a line into its fields.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qm {

// A line ends at CR LF, at a lone CR or at a lone LF; a final line break does
// not start another line, so "a\r\n" and "a" both give one line and "" none.
std::vector<std::string> SplitLines(std::string_view text);

// Every line followed by the line end, the last one included.
std::string JoinLines(const std::vector<std::string>& lines, std::string_view lineEnd = "\r\n");

// The fields of a line between separators: "a\tb" gives two, "" one empty field.
std::vector<std::string_view> SplitFields(std::string_view line, char separator);

} // namespace qm
