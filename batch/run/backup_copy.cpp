// The backup step of one page: decided and recorded under the journal's lock, then made.
#include "batch/run/backup_copy.h"

#include "batch/model/main_model.h"
#include "batch/run/overwrite_confirmation.h"
#include "batch/run/run_files.h"

namespace qm {
namespace {

BackupStep Failed(std::string reason)
{
    BackupStep step;
    step.result = BackupResult::Failed;
    step.reason = std::move(reason);
    return step;
}

JournalEntry EntryFor(const PageState& page, const std::string& name, const ContentStamp& original)
{
    JournalEntry entry;
    entry.kind = RecordKind::Backup;
    entry.source = page.source;
    entry.name = name;
    entry.original = original;
    entry.written = page.written;
    entry.mode = page.identity.mode;
    entry.owner = page.identity.owner;
    entry.group = page.identity.group;
    return entry;
}

// The backup folder already holds the page's initial text: a new entry
// points at it, and nothing is copied. Returns nullopt when it does not.
std::optional<BackupStep> Reuse(MainModel& model, Journal& journal, const PageState& page, const std::string& name)
{
    std::optional<std::pair<std::string, ContentStamp>> initial;
    if (const JournalEntry* earlier = journal.entryThatWrote(page.source, RecordKind::Backup, page.original)) {
        initial.emplace(earlier->name, earlier->original);
    } else if (model.fs.exists(journal.pathOf(name))) {
        Expected<std::string> held = model.fs.readBytes(journal.pathOf(name));
        if (held && ContentStamp::Of(*held) == page.original) initial.emplace(name, page.original);
    }
    if (!initial) return std::nullopt;
    JournalEntry entry = EntryFor(page, initial->first, initial->second);
    if (Status recorded = journal.record(entry); !recorded) return Failed(recorded.reason());
    BackupStep step;
    step.result = BackupResult::Reused;
    step.entryId = entry.id;
    step.backupPath = journal.pathOf(initial->first);
    return step;
}

// Puts a file moved aside back under its name, in the journal and on the disk.
std::string MoveBack(MainModel& model, Journal& journal, const std::pair<std::string, std::string>& moved)
{
    const auto& [from, to] = moved;
    if (Status back = model.fs.rename(to, from, false); !back) return "the older backup copy is kept as " + Quoted(to);
    if (Status recorded = journal.recordMove(journal.nameOf(to), journal.nameOf(from)); !recorded)
        return "the journal could not record that the older backup copy is back at " + Quoted(from) + " (" +
            recorded.reason() + ")";
    return {};
}

} // namespace

BackupStep MakeBackupCopy(MainModel& model, Journal& journal, const PageState& page, const std::string& backupPath)
{
    FileSystem& fs = model.fs;
    const std::string name = journal.nameOf(backupPath);
    if (name.empty()) return Failed(Quoted(backupPath) + " lies outside the backup folder");
    // The question, if any, is asked without the lock: another run must not wait for this user.
    if (Status read = journal.refresh(); !read) return Failed(read.reason());
    // A backup that is the page's own file is a backup folder that is the page's folder, unless it is the link
    // another run made (recorded, and found again below).
    if (backupPath == page.source || (fs.sameFile(page.source, backupPath) && journal.liveEntriesNamed(name).empty()))
        return Failed("its backup copy would be the file itself; choose another backup folder");
    std::optional<OverwriteDecision> decision;
    if (!journal.entryThatWrote(page.source, RecordKind::Backup, page.original) && fs.exists(backupPath)) {
        Expected<std::string> held = fs.readBytes(backupPath);
        if (!held || ContentStamp::Of(*held) != page.original)
            decision = DecideOverwrite(model, OverwriteQuestion::Backup, page.source, backupPath);
    }
    if (decision && decision->answer == OverwriteAnswer::Skip) {
        BackupStep step;
        step.result = BackupResult::Skipped;
        step.reason = "its backup copy " + Quoted(backupPath) + " already exists";
        return step;
    }

    Expected<Journal::Lock> lock = journal.lock();
    if (!lock) return Failed(lock.reason());
    if (Status read = journal.refresh(); !read) return Failed(read.reason());
    if (std::optional<BackupStep> reused = Reuse(model, journal, page, name)) return *reused;

    std::string target = backupPath;
    BackupStep step;
    if (fs.exists(backupPath)) {
        if (!decision) return Failed(Quoted(backupPath) + " appeared while the page was optimized");
        if (decision->answer == OverwriteAnswer::NewName) {
            target = decision->newPath;
        } else {
            // Overwrite keeps the older file under a numbered name; Rename under the user's.
            const std::string aside =
                decision->answer == OverwriteAnswer::Rename ? decision->newPath : NumberedName(fs, backupPath);
            if (journal.nameOf(aside).empty()) return Failed(Quoted(aside) + " lies outside the backup folder");
            if (Status recorded = journal.recordMove(name, journal.nameOf(aside)); !recorded)
                return Failed(recorded.reason());
            if (Status moved = fs.rename(backupPath, aside, false); !moved) {
                // Should this record fail too, restores still find the file: they try every name an entry had.
                (void)journal.recordMove(journal.nameOf(aside), name);
                return Failed(moved.reason());
            }
            step.movedAside.emplace(backupPath, aside);
        }
    }
    if (journal.nameOf(target).empty()) return Failed(Quoted(target) + " lies outside the backup folder");

    auto undo = [&](std::string reason) {
        if (step.movedAside) {
            const std::string problem = MoveBack(model, journal, *step.movedAside);
            if (!problem.empty()) reason += "; " + problem;
        }
        return Failed(std::move(reason));
    };
    JournalEntry entry = EntryFor(page, journal.nameOf(target), page.original);
    if (Status recorded = journal.record(entry); !recorded) return undo(recorded.reason());
    auto drop = [&](std::string reason) {
        if (Status settled = journal.recordSettled(entry.id, "dropped"); !settled) reason += "; " + settled.reason();
        return undo(std::move(reason));
    };
    if (Status made = MakeSecondName(fs, page.source, target); !made) return drop(made.reason());
    // A link holds what the page holds now; both must be what the run read.
    Expected<FileIdentity> now = fs.identify(page.source);
    if (!now || !now->sameState(page.identity)) {
        if (Status removed = fs.remove(target); !removed) return drop(removed.reason());
        return drop(Quoted(page.source) + " changed while it was being optimized; it was left as it is");
    }
    if (Status synced = fs.syncFolder(FolderPart(target)); !synced) return drop(synced.reason());
    step.result = BackupResult::Made;
    step.entryId = entry.id;
    step.backupPath = target;
    return step;
}

std::string RollBackBackup(MainModel& model, Journal& journal, const PageState& page, const BackupStep& step)
{
    if (step.result != BackupResult::Made && step.result != BackupResult::Reused) return {};
    std::string problem;
    auto note = [&](const std::string& text) { problem += (problem.empty() ? "" : "; ") + text; };
    Expected<Journal::Lock> lock = journal.lock();
    if (!lock) note(lock.reason());
    // The backup is only a second copy while the page still holds its text and no other record (another run's,
    // which found this backup and took it as its own) counts on it; another run may have replaced the page
    // meanwhile. It goes before its record closes: stopped in between, a restore closes the open record, as the
    // page holds its original; the other way round the backup would stay behind with no record of it.
    bool secondCopy = step.result == BackupResult::Made && lock && journal.refresh();
    if (secondCopy) {
        for (const JournalEntry* entry : journal.liveEntriesNamed(journal.nameOf(step.backupPath)))
            if (entry->id != step.entryId) secondCopy = false;
        Expected<std::string> now = model.fs.readBytes(page.source);
        secondCopy = secondCopy && now && ContentStamp::Of(*now) == page.original;
    }
    if (secondCopy)
        if (Status removed = model.fs.remove(step.backupPath); !removed) note(removed.reason());
    if (Status settled = journal.recordSettled(step.entryId, "dropped"); !settled) note(settled.reason());
    if (step.movedAside)
        if (const std::string back = MoveBack(model, journal, *step.movedAside); !back.empty()) note(back);
    return problem;
}

} // namespace qm
