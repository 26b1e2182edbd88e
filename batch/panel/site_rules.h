// Which entries of a site's folders a headless run takes as pages, copies alongside, or passes over.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// A web developer's tree holds more than pages: version control, installed
// packages, build rules. These rules say what a folder scan passes over; a
// folder named on the command line is always taken, hidden or not.
struct SiteRules {
    // Shell patterns (fnmatch): without "/" a pattern is matched against an
    // entry's name, with "/" against its path below the scanned folder; a
    // pattern ending in "/" matches folders only.
    std::vector<std::string> excludeGlobs;
    bool passOverHiddenFolders = false; // folders named ".something", and node_modules
    std::vector<std::string> extraExtensions; // lower case, without dots: taken as pages too
};

// A page by the web files filter or one of the extra extensions (letter case aside).
bool IsPageName(const SiteRules& rules, std::string_view name);

// Why an entry is passed over, for -v; nothing when it is taken. The path
// below the scanned folder is "/"-separated and has no leading "/".
std::optional<std::string> PassOverReason(
    const SiteRules& rules, std::string_view name, std::string_view pathBelowRoot, bool isFolder);

} // namespace qm
