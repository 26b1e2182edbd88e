// Filling qmk's panel from the paths of its command line: folders with the site rules, pages, other files.
#pragma once

#include <iosfwd>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "cli/qmk_arguments.h"
#include "cli/site_sync.h"

namespace qm {

struct MainModel;
class Journal;

// The subfolder of the output folder each folder argument gets: none for a
// single folder; with -o and several folders, each one's name (a usage error
// when two share a name, since their outputs would mix).
struct RootPlacements {
    std::vector<std::string> prefixes; // one per path argument, "" or "name/"
};
std::variant<RootPlacements, QmkUsageError> PlaceRoots(MainModel& model, const QmkArguments& args);

struct SiteScan {
    // false when a path was missing, named a file that is no page, or a folder could not be listed
    bool allFound = true;
    std::vector<PlacedFile> otherFiles; // with --sync: the files that are no pages
    std::vector<PlacedFile> missing; // restore: pages the journal knows that are gone from the disk
    std::set<std::string> named; // pages named one by one, absolute
};

// Folder arguments are scanned like Add folder, with the site rules (hidden
// folders, node_modules and --exclude passed over, --ext taken as pages);
// files are taken when they are pages. -v hears what is passed over. With
// --in-place, placements are each page's absolute folder, so backups of two
// sites never share a name. A restore passes the journal it goes by: the
// pages it records below the paths are taken even when they are missing.
SiteScan ScanSite(MainModel& model, const QmkArguments& args, const RootPlacements& roots, std::ostream& err,
    const Journal* journal = nullptr);

} // namespace qm
