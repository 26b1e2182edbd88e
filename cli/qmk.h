// The headless command: optimizes pages into a folder, or standard input to standard output.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace qm {

struct CommandStreams {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

// Runs qmk with its arguments (without the program name). The program folder
// holds the default "Align.dat" and "Ssi.dat". Returns the exit status:
// 0 every file written, 1 some file failed, 2 the command line was wrong.
int RunQmk(const std::vector<std::string>& arguments, CommandStreams streams,
    const std::filesystem::path& programFolder);

} // namespace qm
