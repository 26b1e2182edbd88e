// Copying a site's other files beside its optimized pages, without losing a file that is in the way.
#include "cli/site_sync.h"

namespace qm {
namespace {

// Whether the target holds the source's bytes; the reason when either cannot be read.
Expected<bool> SameBytes(FileSystem& fs, const std::string& source, const std::string& target)
{
    if (fs.sizeOf(source) != fs.sizeOf(target)) return false;
    Expected<std::string> a = fs.readBytes(source);
    if (!a) return a.status();
    Expected<std::string> b = fs.readBytes(target);
    if (!b) return b.status();
    return *a == *b;
}

CopyOutcome CopyOne(FileSystem& fs, const PlacedFile& file, const std::string& outputFolder, ExistingTargets existing)
{
    const auto& [source, placement] = file;
    CopyOutcome outcome;
    outcome.source = source;
    outcome.target = WithTrailingSeparator(outputFolder) + placement + NamePart(source);
    outcome.size = fs.sizeOf(source);
    auto problem = [&](CopyStatus status, std::string reason) {
        outcome.status = status;
        outcome.reason = std::move(reason);
        return outcome;
    };
    if (fs.exists(outcome.target)) {
        if (fs.sameFile(source, outcome.target)) return problem(CopyStatus::Skipped, "it is its own copy");
        if (!fs.isFile(outcome.target)) return problem(CopyStatus::Failed, outcome.target + " is no file");
        Expected<bool> same = SameBytes(fs, source, outcome.target);
        if (!same) return problem(CopyStatus::Failed, same.reason());
        if (*same) return problem(CopyStatus::Unchanged, {});
        if (existing == ExistingTargets::Skip) {
            outcome.asked = true;
            return problem(CopyStatus::Skipped, outcome.target + " exists");
        }
        if (existing == ExistingTargets::Ask)
            return problem(CopyStatus::Skipped, outcome.target + " exists and differs (--overwrite replaces it)");
    } else if (Status created = CreateFolderChain(fs, outputFolder, placement); !created) {
        return problem(CopyStatus::Failed, created.reason());
    }
    if (Status copied = fs.copyFile(source, outcome.target); !copied)
        return problem(CopyStatus::Failed, copied.reason());
    outcome.status = CopyStatus::Copied;
    return outcome;
}

} // namespace

void SyncFiles(FileSystem& fs, const std::vector<PlacedFile>& files, const std::string& outputFolder,
    ExistingTargets existing, const std::function<void(const CopyOutcome&)>& onDone,
    const std::function<bool()>& stopRequested)
{
    for (const PlacedFile& file : files) {
        if (stopRequested && stopRequested()) return;
        onDone(CopyOne(fs, file, outputFolder, existing));
    }
}

} // namespace qm
