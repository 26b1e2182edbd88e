// Filling qmk's panel from the paths of its command line: folders with the site rules, pages, other files.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "cli/qmk_arguments.h"
#include "cli/site_sync.h"

namespace qm {

struct MainModel;

// The subfolder of the output folder each folder argument gets: none for a
// single folder; with -o and several folders, each one's name (a usage error
// when two share a name, since their outputs would mix).
struct RootPlacements {
    std::vector<std::string> prefixes; // one per path argument, "" or "name/"
};
std::variant<RootPlacements, QmkUsageError> PlaceRoots(MainModel& model, const QmkArguments& args);

struct SiteScan {
    bool allFound = true; // false when a path was missing or named a file that is no page
    std::vector<PlacedFile> otherFiles; // with --sync: the files that are no pages
};

// Folder arguments are scanned like Add folder, with the site rules (hidden
// folders, node_modules and --exclude passed over, --ext taken as pages);
// files are taken when they are pages. -v hears what is passed over.
SiteScan ScanSite(MainModel& model, const QmkArguments& args, const RootPlacements& roots, std::ostream& err);

} // namespace qm
