// Copying a site's other files beside its optimized pages, without losing a file that is in the way.
#include "cli/site_sync.h"

#include "batch/run/journal.h"

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

// True when the target is the copy of this source that an earlier run made and nobody changed since.
bool OwnUnchangedCopy(FileSystem& fs, const Journal& journal, const std::string& source, const std::string& target)
{
    const std::string name = journal.nameOf(target);
    Expected<std::string> held = fs.readBytes(target);
    return !name.empty() && held && journal.holdsOwnUnchangedCopy(name, source, ContentStamp::Of(*held));
}

// The copy with its record: the record first, so the journal knows every copy that may exist.
Status RecordedCopy(FileSystem& fs, Journal& journal, const std::string& source, const std::string& target)
{
    Expected<std::string> bytes = fs.readBytes(source);
    if (!bytes) return bytes.status();
    JournalEntry entry;
    entry.kind = RecordKind::Copy;
    entry.source = source;
    entry.name = journal.nameOf(target);
    entry.original = ContentStamp::Of(*bytes);
    entry.written = entry.original;
    if (entry.name.empty()) return Status::Fail(Quoted(target) + " lies outside the output folder");
    if (Status recorded = journal.record(entry); !recorded) return recorded;
    if (Status copied = fs.copyFile(source, target); !copied) {
        std::string reason = copied.reason();
        if (Status settled = journal.recordSettled(entry.id, "dropped"); !settled) reason += "; " + settled.reason();
        return Status::Fail(reason);
    }
    // An older record left open holds another text, so it only makes a later restore or run leave this copy
    // alone; the copy itself is made and recorded.
    for (const JournalEntry* older : journal.liveEntriesNamed(entry.name))
        if (older->id != entry.id) (void)journal.recordSettled(older->id, "replaced");
    return Status::Ok();
}

CopyOutcome CopyOne(
    FileSystem& fs, Journal* journal, const PlacedFile& file, const std::string& outputFolder, ExistingTargets existing)
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
        const bool own = journal && OwnUnchangedCopy(fs, *journal, source, outcome.target);
        if (!own && existing == ExistingTargets::Skip) {
            outcome.asked = true;
            return problem(CopyStatus::Skipped, outcome.target + " exists");
        }
        if (!own && existing == ExistingTargets::Ask)
            return problem(CopyStatus::Skipped, outcome.target + " exists and differs (--overwrite replaces it)");
    } else if (Status created = CreateFolderChain(fs, outputFolder, placement); !created) {
        return problem(CopyStatus::Failed, created.reason());
    }
    Status copied = journal ? RecordedCopy(fs, *journal, source, outcome.target) : fs.copyFile(source, outcome.target);
    if (!copied) return problem(CopyStatus::Failed, copied.reason());
    outcome.status = CopyStatus::Copied;
    return outcome;
}

} // namespace

void SyncFiles(FileSystem& fs, const std::vector<PlacedFile>& files, const std::string& outputFolder,
    ExistingTargets existing, const std::function<void(const CopyOutcome&)>& onDone,
    const std::function<bool()>& stopRequested)
{
    Journal journal(fs, WithTrailingSeparator(outputFolder));
    Expected<Journal::Lock> lock = journal.lock();
    // Without the journal the copies are made as before, and their own copies are in the way of later runs.
    const bool recorded = lock && journal.refresh();
    for (const PlacedFile& file : files) {
        if (stopRequested && stopRequested()) return;
        onDone(CopyOne(fs, recorded ? &journal : nullptr, file, outputFolder, existing));
    }
}

} // namespace qm
