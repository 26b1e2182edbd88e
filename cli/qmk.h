// The headless command: optimizes pages and folders into a folder or in place, restores them, or filters standard
// input.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace qm {

class FileSystem;

struct CommandStreams {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    // Standard error is a terminal: show a progress line. With a terminal on
    // standard input as well, questions are asked there.
    bool errIsTerminal = false;
    bool inIsTerminal = false;
};

// Runs qmk with its arguments (without the program name). The program folder
// is the desktop program's: its "Options.dat", current profile, "Align.dat"
// and "Ssi.dat" are used and never written. Returns the exit status: 0 when
// every page asked for was handled; 1 when one was skipped, refused or not
// restored, a folder could not be listed, a settings file could not be read,
// or standard output failed; 2 when the command line is wrong (a folder it
// names included). Tests hand in a file system that fails on demand; by
// default it is the machine's.
int RunQmk(const std::vector<std::string>& arguments, CommandStreams streams,
    const std::filesystem::path& programFolder, FileSystem* fileSystem = nullptr);

} // namespace qm
