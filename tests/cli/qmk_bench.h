// qmk run in-process over a temporary folder whose "program" folder is its program folder, with faults on demand.
#pragma once

#include <filesystem>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "cli/qmk.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/temp_dir.h"

namespace qm::test {

struct QmkResult {
    int status;
    std::string out, err;
};

struct QmkBench {
    TempDir dir;
    FaultyFileSystem faults;
    std::filesystem::path program = dir / "program";

    QmkBench() { std::filesystem::create_directories(program); }
    std::string p(std::string_view relative) const { return (dir / relative).string(); }
    void write(std::string_view relative, std::string_view bytes) const { WriteFile(dir / relative, bytes); }
    std::string read(std::string_view relative) const { return ReadFile(dir / relative); }
    bool exists(std::string_view relative) const { return std::filesystem::exists(dir / relative); }

    // `terminal` says whether standard output and standard error are terminals; `output`, when given, takes
    // standard output instead of the result's text (a stream that fails, say).
    QmkResult run(const std::vector<std::string>& arguments, const std::string& input = "", bool terminal = false,
        std::streambuf* output = nullptr)
    {
        std::istringstream in(input);
        std::ostringstream out, err;
        std::ostream given(output);
        std::ostream& standardOutput = output ? given : static_cast<std::ostream&>(out);
        const int status = RunQmk(arguments, {in, standardOutput, err, terminal, terminal}, program, &faults);
        return {status, out.str(), err.str()};
    }
};

} // namespace qm::test
