// qmk's entry point: finds the program folder and hands the arguments over.
#include <csignal>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "base/memory_tuning.h"
#include "batch/startup/program_folder.h"
#include "cli/qmk.h"
#include "cli/terminal_user_interface.h"

namespace {

std::filesystem::path ExecutableFolder(const char* argv0)
{
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) self = std::filesystem::absolute(argv0, ec);
    return self.parent_path();
}

// The first Ctrl+C (or SIGTERM, or SIGHUP when the terminal goes) lets the
// file under way finish and stops the run; a second one ends the process.
extern "C" void OnInterrupt(int signal)
{
    qm::InterruptSignal().store(true);
    std::signal(signal, SIG_DFL);
}

} // namespace

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    qm::KeepFreedPageBuffers();
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, OnInterrupt);
    // A file beyond the size limit fails its write (EFBIG) and is reported, instead of killing the run half-way.
    std::signal(SIGXFSZ, SIG_IGN);
    std::vector<std::string> arguments(argv + 1, argv + argc);
    qm::RealFileSystem fs;
    // qmk only reads: it creates no folder of its own and falls back on the installed defaults.
    const qm::ProgramFolderChoice choice =
        qm::ChooseProgramFolder(fs, ExecutableFolder(argc > 0 ? argv[0] : "qmk").string(), qm::ProcessEnvironment());
    const bool inIsTerminal = ::isatty(STDIN_FILENO) == 1;
    const bool errIsTerminal = ::isatty(STDERR_FILENO) == 1;
    const int status = qm::RunQmk(
        arguments, {std::cin, std::cout, std::cerr, errIsTerminal, inIsTerminal}, qm::FolderToRead(fs, choice));
    // What is still buffered reaches standard output here; a failure shows in the status.
    if (!std::cout.flush()) return status == 0 ? 1 : status;
    return status;
}
