// The write of one optimized text, with the copy question and the output folder's journal.
#include "batch/run/optimized_copy.h"

#include "batch/model/main_model.h"
#include "batch/run/overwrite_confirmation.h"
#include "batch/run/run_files.h"

namespace qm {
namespace {

CopyStep Failed(std::string reason)
{
    CopyStep step;
    step.status = FileStatus::Failed;
    step.reason = std::move(reason);
    return step;
}

CopyStep Written(const std::string& path)
{
    CopyStep step;
    step.status = FileStatus::Written;
    step.writtenTo = path;
    return step;
}

// A copy in the output folder: its record first, then the file.
CopyStep WriteCopy(
    MainModel& model, Journal* journal, std::string_view bytes, const PageState& page, const std::string& path)
{
    ReplaceOptions options;
    options.metadataFrom = page.source;
    if (!journal) {
        if (Status written = model.fs.replaceFile(path, bytes, options); !written) return Failed(written.reason());
        return Written(path);
    }
    const std::string name = journal->nameOf(path);
    if (name.empty()) return Failed(Quoted(path) + " lies outside the output folder");
    JournalEntry entry;
    entry.kind = RecordKind::Copy;
    entry.source = page.source;
    entry.name = name;
    entry.original = page.original;
    entry.written = page.written;
    entry.mode = page.identity.mode;
    entry.owner = page.identity.owner;
    entry.group = page.identity.group;
    Expected<Journal::Lock> lock = journal->lock();
    if (!lock) return Failed(lock.reason());
    if (Status recorded = journal->record(entry); !recorded) return Failed(recorded.reason());
    if (Status written = model.fs.replaceFile(path, bytes, options); !written) {
        std::string reason = written.reason();
        if (Status settled = journal->recordSettled(entry.id, "dropped"); !settled) reason += "; " + settled.reason();
        return Failed(reason);
    }
    // The copies recorded at this name before are gone: a restore must not look for their text.
    for (const JournalEntry* older : journal->liveEntriesNamed(name)) {
        if (older->id == entry.id) continue;
        // A record left open only makes a later restore leave this copy alone.
        (void)journal->recordSettled(older->id, "replaced");
    }
    return Written(path);
}

} // namespace

CopyStep ReplacePage(MainModel& model, std::string_view bytes, const PageState& page)
{
    ReplaceOptions options;
    options.expected = page.identity;
    options.sync = true;
    if (Status written = model.fs.replaceFile(page.source, bytes, options); !written) return Failed(written.reason());
    return Written(page.source);
}

CopyStep SaveOptimizedCopy(
    MainModel& model, Journal* journal, std::string_view bytes, const PageState& page, const std::string& target)
{
    FileSystem& fs = model.fs;
    const bool intoPage = target == page.source;
    auto write = [&](const std::string& path) {
        return path == page.source ? ReplacePage(model, bytes, page) : WriteCopy(model, journal, bytes, page, path);
    };
    if (!fs.exists(target)) return write(target);
    if (journal && !intoPage && model.run.replaceOwnUnchangedCopies) {
        // A rerun (a build rule run again) replaces its own unchanged copy of this page without asking; the lock keeps
        // another run from changing the copy between the check and the write.
        Expected<Journal::Lock> lock = journal->lock();
        if (!lock) return Failed(lock.reason());
        if (Status read = journal->refresh(); !read) return Failed(read.reason());
        const std::string name = journal->nameOf(target);
        Expected<std::string> held = fs.readBytes(target);
        if (!name.empty() && held && journal->holdsOwnUnchangedCopy(name, page.source, ContentStamp::Of(*held)))
            return write(target);
    }

    const OverwriteDecision decision = DecideOverwrite(model, OverwriteQuestion::Copy, page.source, target);
    switch (decision.answer) {
    case OverwriteAnswer::NewName:
        return write(decision.newPath);
    case OverwriteAnswer::Rename: {
        // The file in the way keeps its text under the new name before the target is written.
        if (intoPage) {
            if (Status kept = MakeSecondName(fs, target, decision.newPath); !kept) return Failed(kept.reason());
            CopyStep step = write(target);
            if (step.status == FileStatus::Written)
                step.initialKeptAt = decision.newPath;
            else if (Status removed = fs.remove(decision.newPath); !removed)
                step.reason += "; a second copy of the page stays as " + Quoted(decision.newPath);
            return step;
        }
        if (Status moved = fs.rename(target, decision.newPath, false); !moved) return Failed(moved.reason());
        if (journal && !journal->nameOf(decision.newPath).empty() &&
            !journal->liveEntriesNamed(journal->nameOf(target)).empty()) {
            if (Status recorded = journal->recordMove(journal->nameOf(target), journal->nameOf(decision.newPath));
                !recorded) {
                if (Status back = fs.rename(decision.newPath, target, false); !back)
                    return Failed(recorded.reason() + "; the file in the way is now " + Quoted(decision.newPath));
                return Failed(recorded.reason());
            }
        }
        CopyStep step = write(target);
        if (step.status != FileStatus::Written) {
            if (Status back = fs.rename(decision.newPath, target, false); !back)
                step.reason += "; the file that was in the way is now " + Quoted(decision.newPath);
            else if (journal && !journal->nameOf(decision.newPath).empty())
                // Should the record fail, restores still find the copy: they try every name an entry had.
                (void)journal->recordMove(journal->nameOf(decision.newPath), journal->nameOf(target));
        }
        return step;
    }
    case OverwriteAnswer::Overwrite:
        if (fs.isReadOnly(target)) return Failed(Quoted(target) + " is read-only; it was not replaced");
        return write(target);
    default: {
        CopyStep step;
        step.status = FileStatus::Skipped;
        step.reason = Quoted(target) + " already exists";
        step.answeredByUser = true;
        return step;
    }
    }
}

} // namespace qm
