// Matching a site's entries against the exclusions, the hidden folders and the page extensions.
#include "batch/panel/site_rules.h"

#include <algorithm>
#include <fnmatch.h>

#include "base/ascii.h"
#include "batch/model/file_filters.h"

namespace qm {

bool IsPageName(const SiteRules& rules, std::string_view name)
{
    if (MatchesFilter(name, kWebFilesFilter)) return true;
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return false;
    const std::string extension = ToLowerAscii(name.substr(dot + 1));
    return std::find(rules.extraExtensions.begin(), rules.extraExtensions.end(), extension) !=
        rules.extraExtensions.end();
}

std::optional<std::string> PassOverReason(
    const SiteRules& rules, std::string_view name, std::string_view pathBelowRoot, bool isFolder)
{
    if (isFolder && rules.passOverHiddenFolders) {
        if (!name.empty() && name.front() == '.') return "a hidden folder";
        if (name == "node_modules") return "installed packages";
    }
    const std::string nameText(name);
    const std::string pathText(pathBelowRoot);
    for (const std::string& given : rules.excludeGlobs) {
        std::string pattern = given;
        if (!pattern.empty() && pattern.back() == '/') {
            if (!isFolder) continue;
            pattern.pop_back();
        }
        const bool byPath = pattern.find('/') != std::string::npos;
        if (byPath && !pattern.empty() && pattern.front() == '/') pattern.erase(0, 1);
        const int matched = byPath ? ::fnmatch(pattern.c_str(), pathText.c_str(), FNM_PATHNAME)
                                   : ::fnmatch(pattern.c_str(), nameText.c_str(), 0);
        if (matched == 0) return "--exclude '" + given + "'";
    }
    return std::nullopt;
}

} // namespace qm
