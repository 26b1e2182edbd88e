// The filter texts' extension lists and the extension test.
#include "batch/model/file_filters.h"
#include "base/ascii.h"

namespace qm {

std::vector<std::string> FilterExtensions(std::string_view filter)
{
    // State 0 reads a description, 1 a pattern list before a dot, 2 an extension.
    std::vector<std::string> extensions;
    std::string current;
    int state = 0;
    for (char c : filter) {
        switch (c) {
        case '|':
            if (state == 0) {
                state = 1;
            } else if (state == 2) {
                extensions.push_back(current);
                state = 0;
            }
            break;
        case '.':
            if (state == 1) {
                current.clear();
                state = 2;
            } else if (state == 2) {
                current += c;
            }
            break;
        case ';':
            if (state == 2) {
                extensions.push_back(current);
                state = 1;
            }
            break;
        default:
            if (state == 2) current += c;
            break;
        }
    }
    extensions.push_back(current);
    return extensions;
}

bool MatchesFilter(std::string_view fileName, std::string_view filter)
{
    // A dot in a folder name is no extension.
    std::size_t slash = fileName.rfind('/');
    if (slash != std::string_view::npos) fileName.remove_prefix(slash + 1);
    std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos) return false;
    const std::string extension = ToLowerAscii(fileName.substr(dot));
    for (const std::string& entry : FilterExtensions(filter))
        if (extension == "." + ToLowerAscii(entry)) return true;
    return false;
}

} // namespace qm
