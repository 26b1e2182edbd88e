// qmk's entry point: finds the program folder and hands the arguments over.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/qmk.h"

namespace {

std::filesystem::path ExecutableFolder(const char* argv0)
{
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) self = std::filesystem::absolute(argv0, ec);
    return self.parent_path();
}

} // namespace

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return qm::RunQmk(arguments, {std::cin, std::cout, std::cerr}, ExecutableFolder(argc > 0 ? argv[0] : "qmk"));
}
