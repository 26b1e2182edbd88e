// The desktop program's --help and --version, answered before any window exists.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace qm {

// The usage text: files given by path, the slash commands, the options.
extern const char* const kDesktopUsage;

// --help or -h prints the usage and --version the version, on `out`, for a
// caller that then exits with the returned status; nullopt for a command line
// that starts the program. Only these exact words are taken: everything else
// is the program's own command line.
std::optional<int> AnswerInformationOptions(const std::vector<std::string>& arguments, std::ostream& out);

} // namespace qm
