// Numbered names, second names and the leftovers of killed runs.
#include "batch/run/run_files.h"

namespace qm {

std::string NumberedName(FileSystem& fs, const std::string& path)
{
    constexpr std::size_t kLongestName = 255;
    const std::string folder = FolderPart(path);
    const std::string name = NamePart(path);
    for (unsigned number = 1;; ++number) {
        const std::string suffix = ".~" + std::to_string(number) + "~";
        const std::string base =
            name.size() + suffix.size() > kLongestName ? name.substr(0, kLongestName - suffix.size()) : name;
        const std::string candidate = folder + base + suffix;
        if (!fs.exists(candidate)) return candidate;
    }
}

Status MakeSecondName(FileSystem& fs, const std::string& from, const std::string& to)
{
    Status linked = fs.link(from, to);
    if (linked || linked.failure() == Failure::Exists || linked.failure() == Failure::NotFound) return linked;
    // Another file system, or one without hard links: a copy that reaches the disk.
    if (fs.exists(to)) return Status::Fail(Quoted(to) + " already exists", Failure::Exists);
    return fs.copyFile(from, to);
}

void StaleTemporaries::removeIn(FileSystem& fs, const std::string& folder)
{
    const std::string key = WithTrailingSeparator(folder);
    if (!cleaned_.insert(key).second) return;
    Expected<std::vector<FolderEntry>> entries = fs.listFolder(WithoutTrailingSeparator(key));
    if (!entries) return; // a folder that cannot be listed holds nothing this run could clean
    for (const FolderEntry& entry : *entries) {
        if (!entry.isFile || entry.isLink || !IsTemporaryName(entry.name)) continue;
        // One still being written belongs to a run at work beside this one.
        (void)fs.removeStaleTemporary(key + entry.name);
    }
}

} // namespace qm
