// Restoring pages from their recorded backups, deleting recorded optimized copies, and the restore commands.
#include "batch/run/restore.h"

#include <algorithm>

#include "base/ascii.h"
#include "batch/model/file_operations.h"
#include "batch/model/main_model.h"
#include "batch/model/placement.h"
#include "batch/panel/panel_refresh.h"
#include "batch/run/last_run.h"

namespace qm {
namespace {

RestoreOutcome Outcome(const std::string& source, RestoreStatus status, std::string reason = {})
{
    RestoreOutcome outcome;
    outcome.source = source;
    outcome.status = status;
    outcome.reason = std::move(reason);
    return outcome;
}

RestoreOutcome NoInitialCopy(MainModel& model, const std::string& source, const std::string& lookedFor)
{
    if (model.options.flag(Opt::cbShowInfo) && model.run.restoreWarning) {
        const std::string text = "There is no initial copy of the file < " + lookedFor +
            " > in backup folder.\rInitial copy of the file was not removed";
        if (model.ui.warnRestore(text) == RestoreWarningAnswer::YesToAll) model.run.restoreWarning = false;
    }
    return Outcome(source, RestoreStatus::NoInitialCopy, "there is no recorded initial copy in " + Quoted(lookedFor));
}

// Where an entry's file is now, holding `expected`: its name, or one it had
// before a move that a crash may have left half done. Its bytes come along.
std::optional<std::string> Locate(
    FileSystem& fs, const Journal& journal, const JournalEntry& entry, const ContentStamp& expected, std::string& bytes)
{
    std::vector<std::string> names {entry.name};
    names.insert(names.end(), entry.formerNames.rbegin(), entry.formerNames.rend());
    for (const std::string& name : names) {
        const std::string path = journal.pathOf(name);
        Expected<std::string> held = fs.readBytes(path);
        if (held && ContentStamp::Of(*held) == expected) {
            bytes = std::move(*held);
            return path;
        }
    }
    return std::nullopt;
}

Status Settle(Journal& journal, const std::vector<const JournalEntry*>& entries, std::string_view how)
{
    std::vector<std::string> ids;
    for (const JournalEntry* entry : entries) ids.push_back(entry->id);
    for (const std::string& id : ids)
        if (Status settled = journal.recordSettled(id, how); !settled) return settled;
    return Status::Ok();
}

// The page holds the initial text of these entries already: a run stopped
// before it replaced the page. Their backups are second copies and go.
RestoreOutcome CloseAlreadyInitial(
    MainModel& model, Journal& journal, const std::string& source, const std::vector<const JournalEntry*>& holding)
{
    FileSystem& fs = model.fs;
    std::vector<std::string> backups;
    for (const JournalEntry* entry : holding) {
        std::string bytes;
        if (std::optional<std::string> path = Locate(fs, journal, *entry, entry->original, bytes))
            if (*path != source && std::find(backups.begin(), backups.end(), *path) == backups.end())
                backups.push_back(*path);
    }
    // The backups go before their records close: stopped in between, a later restore finds the records open and
    // the page as it is, and closes them; the other way round a backup would stay behind with no record of it.
    std::string problem;
    for (const std::string& backup : backups) {
        // A backup another live record still counts on stays.
        const std::vector<const JournalEntry*> named = journal.liveEntriesNamed(journal.nameOf(backup));
        if (std::any_of(named.begin(), named.end(), [&](const JournalEntry* entry) {
                return std::find(holding.begin(), holding.end(), entry) == holding.end();
            }))
            continue;
        if (Status removed = fs.remove(backup); !removed && problem.empty())
            problem = "its backup copy stays: " + removed.reason();
    }
    if (Status settled = Settle(journal, holding, "restored"); !settled)
        return Outcome(source, RestoreStatus::Failed, settled.reason());
    return Outcome(source, RestoreStatus::AlreadyInitial, problem);
}

// The page's initial text back from the backup folder, by the journal.
std::optional<RestoreOutcome> RestoreBackup(
    MainModel& model, RestoreSession& session, Journal& journal, const std::string& source)
{
    FileSystem& fs = model.fs;
    if (!journal.fileExists()) return std::nullopt;
    Expected<Journal::Lock> lock = journal.lock();
    if (!lock) return Outcome(source, RestoreStatus::Failed, lock.reason());
    if (Status read = journal.refresh(); !read) return Outcome(source, RestoreStatus::Failed, read.reason());
    const std::vector<const JournalEntry*> live = journal.liveEntriesOf(source, RecordKind::Backup);
    if (live.empty()) {
        // Restored before: a second restore finds the page as the first one left it.
        const JournalEntry* newest = journal.newestEntryOf(source, RecordKind::Backup);
        Expected<std::string> page = fs.readBytes(source);
        if (newest && newest->settled == "restored" && page && ContentStamp::Of(*page) == newest->original)
            return Outcome(source, RestoreStatus::AlreadyInitial);
        return std::nullopt;
    }
    session.temporaries.removeIn(fs, FolderPart(source));

    FileIdentity pageIdentity;
    Expected<std::string> page = fs.readFile(source, pageIdentity);
    const bool missing = !page && page.failure() == Failure::NotFound;
    if (!page && !missing) return Outcome(source, RestoreStatus::Failed, page.reason());

    RestoreOutcome outcome = Outcome(source, RestoreStatus::Restored);
    const JournalEntry* chosen = nullptr;
    bool changedSinceRun = false;
    std::string backupBytes;
    std::optional<std::string> backup;
    if (missing) {
        for (const JournalEntry* entry : live)
            if ((backup = Locate(fs, journal, *entry, entry->original, backupBytes))) {
                chosen = entry;
                break;
            }
    } else {
        const ContentStamp current = ContentStamp::Of(*page);
        chosen = journal.entryThatWrote(source, RecordKind::Backup, current);
        if (!chosen) {
            std::vector<const JournalEntry*> holding;
            for (const JournalEntry* entry : live)
                if (entry->original == current) holding.push_back(entry);
            if (!holding.empty()) return CloseAlreadyInitial(model, journal, source, holding);
            if (!session.force)
                return Outcome(
                    source, RestoreStatus::Changed, "it was changed after it was optimized; it was left as it is");
            chosen = live.front();
            changedSinceRun = true;
        }
        backup = Locate(fs, journal, *chosen, chosen->original, backupBytes);
    }
    if (!backup) {
        const JournalEntry& newest = chosen ? *chosen : *live.front();
        return Outcome(source, RestoreStatus::Failed,
            "its backup copy " + Quoted(journal.pathOf(newest.name)) +
                " is missing or no longer holds its initial text; nothing was changed");
    }

    if (changedSinceRun) {
        // Forced: the changed page stays beside its initial text.
        const std::string kept = NumberedName(fs, source);
        if (Status saved = MakeSecondName(fs, source, kept); !saved)
            return Outcome(source, RestoreStatus::Failed, "the changed page could not be kept: " + saved.reason());
        outcome.changedKeptAt = kept;
    }
    if (!missing) {
        Expected<FileIdentity> now = fs.identify(source);
        if (!now || !now->sameState(pageIdentity))
            return Outcome(
                source, RestoreStatus::Changed, "it changed while it was being restored; it was left as it is");
    }
    // One rename puts the initial file back in place of the page, so there is never a moment without either.
    Status moved = fs.rename(*backup, source, !missing);
    if (!moved && moved.failure() == Failure::CrossDevice) {
        ReplaceOptions options;
        options.metadataFrom = *backup;
        options.sync = true;
        options.keepTimes = true;
        if (!missing) options.expected = pageIdentity;
        if (Status copied = fs.replaceFile(source, backupBytes, options); !copied)
            return Outcome(source, RestoreStatus::Failed, copied.reason());
        outcome.copiedBack = true;
        if (Status removed = fs.remove(*backup); !removed)
            outcome.reason = "its backup copy stays in the backup folder: " + removed.reason();
    } else if (!moved) {
        return Outcome(source, RestoreStatus::Failed, moved.reason());
    }
    std::vector<const JournalEntry*> restored;
    for (const JournalEntry* entry : live)
        if (entry->name == chosen->name) restored.push_back(entry);
    if (Status settled = Settle(journal, restored, "restored"); !settled)
        outcome.reason += (outcome.reason.empty() ? "" : "; ") + settled.reason();
    return outcome;
}

// The page's recorded copies deleted, each only while it holds what a run wrote.
std::optional<RestoreOutcome> DeleteCopies(MainModel& model, Journal& journal, const std::string& source)
{
    FileSystem& fs = model.fs;
    if (!journal.fileExists()) return std::nullopt;
    Expected<Journal::Lock> lock = journal.lock();
    if (!lock) return Outcome(source, RestoreStatus::Failed, lock.reason());
    if (Status read = journal.refresh(); !read) return Outcome(source, RestoreStatus::Failed, read.reason());
    const std::vector<const JournalEntry*> live = journal.liveEntriesOf(source, RecordKind::Copy);
    if (live.empty()) return std::nullopt;
    std::vector<std::string> names;
    for (const JournalEntry* entry : live)
        if (std::find(names.begin(), names.end(), entry->name) == names.end()) names.push_back(entry->name);

    RestoreOutcome outcome = Outcome(source, RestoreStatus::Restored);
    auto problem = [&](RestoreStatus status, const std::string& reason) {
        if (outcome.status != RestoreStatus::Failed) outcome.status = status;
        outcome.reason += (outcome.reason.empty() ? "" : "; ") + reason;
    };
    for (const std::string& name : names) {
        std::vector<const JournalEntry*> here;
        for (const JournalEntry* entry : live)
            if (entry->name == name) here.push_back(entry);
        const std::string path = journal.pathOf(name);
        if (path == source || fs.sameFile(path, source)) continue; // never the page itself
        if (fs.exists(path)) {
            Expected<std::string> bytes = fs.readBytes(path);
            if (!bytes) {
                problem(RestoreStatus::Failed, bytes.reason());
                continue;
            }
            const ContentStamp current = ContentStamp::Of(*bytes);
            if (std::none_of(
                    here.begin(), here.end(), [&](const JournalEntry* entry) { return entry->written == current; })) {
                problem(RestoreStatus::Changed,
                    "its copy " + Quoted(path) + " was changed after it was written; it was left as it is");
                continue;
            }
            if (fs.isReadOnly(path)) {
                problem(RestoreStatus::Failed, Quoted(path) + " is read-only; it was not deleted");
                continue;
            }
            if (Status removed = fs.remove(path); !removed) {
                problem(RestoreStatus::Failed, removed.reason());
                continue;
            }
        }
        if (Status settled = Settle(journal, here, "deleted"); !settled)
            problem(RestoreStatus::Failed, settled.reason());
    }
    return outcome;
}

// "Rename" kept the initial text beside the page, without a backup folder:
// it goes back only while both files hold what the run recorded.
RestoreOutcome PutKeptTextBack(MainModel& model, const ProcessedFile& record)
{
    FileSystem& fs = model.fs;
    Expected<std::string> page = fs.readBytes(record.source);
    Expected<std::string> kept = fs.readBytes(record.backupPath);
    if (!kept || ContentStamp::Of(*kept).hash != record.originalHash)
        return NoInitialCopy(model, record.source, record.backupPath);
    if (page && ContentStamp::Of(*page).hash != record.writtenHash)
        return Outcome(
            record.source, RestoreStatus::Changed, "it was changed after it was optimized; it was left as it is");
    if (Status moved = fs.rename(record.backupPath, record.source, true); !moved)
        return Outcome(record.source, RestoreStatus::Failed, moved.reason());
    return Outcome(record.source, RestoreStatus::Restored);
}

const ProcessedFile* RecordOf(const MainModel& model, const std::string& source)
{
    auto found = std::find_if(model.run.processed.begin(), model.run.processed.end(),
        [&](const ProcessedFile& file) { return file.source == source; });
    return found == model.run.processed.end() ? nullptr : &*found;
}

void AfterRestore(MainModel& model)
{
    RefreshPanel(model);
    model.panel.setHighlighted(std::nullopt);
    ResetSourceView(model);
    if (model.options.flag(Opt::cbShowEnd)) ShowMessage(model.ui, MessageKind::Information, " Restoration finished   ");
    model.hooks.stateChanged();
}

} // namespace

RestoreOutcome RestoreFile(MainModel& model, RestoreSession& session, const std::string& source,
    const std::string& placement, const ProcessedFile* record)
{
    const TOptionSet& options = model.options;
    if (record && record->journalFolder.empty()) {
        if (!record->backupPath.empty()) return PutKeptTextBack(model, *record);
        return NoInitialCopy(model, source, BackupPathOf(options, source, placement));
    }
    const bool copies = record ? record->writtenTo != record->source : !options.flag(Opt::radModifyOld);
    const std::string folder =
        record ? record->journalFolder : options.text(copies ? Opt::edOptimizedPath : Opt::edBackUpPath);
    Journal& journal = session.journals.of(folder);
    if (copies) {
        std::optional<RestoreOutcome> deleted = DeleteCopies(model, journal, source);
        return deleted ? *deleted : Outcome(source, RestoreStatus::NothingToRestore);
    }
    std::optional<RestoreOutcome> restored = RestoreBackup(model, session, journal, source);
    return restored ? *restored : NoInitialCopy(model, source, BackupPathOf(options, source, placement));
}

void FinishRestore(RestoreSession& session)
{
    for (Journal* journal : session.journals.all()) {
        if (!journal->fileExists()) continue;
        Expected<Journal::Lock> lock = journal->lock();
        // A journal left long only costs its reading time.
        if (lock && journal->refresh()) (void)journal->compactIfMostlySettled();
    }
}

void ReportRestoreProblems(MainModel& model, const std::vector<RestoreOutcome>& outcomes)
{
    std::string lines;
    std::size_t failed = 0;
    for (const RestoreOutcome& outcome : outcomes) {
        if (outcome.status != RestoreStatus::Failed && outcome.status != RestoreStatus::Changed) continue;
        if (++failed <= 20) lines += "\r" + EscapeControlCharacters(outcome.source) + ": " + outcome.reason;
    }
    if (failed == 0) return;
    if (failed > 20) lines += "\r... and " + std::to_string(failed - 20) + " more files";
    ShowMessage(model.ui, MessageKind::Error, "Restoration error" + lines);
}

void menuBackUpLastClick(MainModel& model)
{
    // The items stay reachable in an open menu while a run starts; undoing files under a run is refused.
    if (RefuseWhileBusy(model, MessageKind::Warning)) return;
    if (!model.panel.empty() && !model.run.processed.empty()) model.run.restoreWarning = true;
    std::vector<RestoreOutcome> outcomes;
    RestoreSession session(model.fs);
    const std::vector<ProcessedFile> processed = model.run.processed;
    for (const ProcessedFile& file : processed) outcomes.push_back(RestoreFile(model, session, file.source, {}, &file));
    FinishRestore(session);
    model.state.menuBackUpLastEnabled = false;
    model.run.processed.clear();
    RememberLastRun(model);
    ReportRestoreProblems(model, outcomes);
    AfterRestore(model);
}

void menuBackUpCheckedClick(MainModel& model)
{
    if (RefuseWhileBusy(model, MessageKind::Warning)) return;
    model.run.restoreWarning = true;
    std::vector<std::pair<std::string, std::string>> checked;
    for (const PanelRow& row : model.panel.rows())
        if (row.checked) checked.emplace_back(row.fullPath(), row.placement);
    std::vector<RestoreOutcome> outcomes;
    RestoreSession session(model.fs);
    for (const auto& [source, placement] : checked)
        outcomes.push_back(RestoreFile(model, session, source, placement, RecordOf(model, source)));
    FinishRestore(session);
    ReportRestoreProblems(model, outcomes);
    AfterRestore(model);
}

void butBackUpClick(MainModel& model)
{
    if (RefuseWhileBusy(model, MessageKind::Warning)) return;
    if (model.state.menuBackUpLastEnabled)
        menuBackUpLastClick(model);
    else
        ShowInfoMessage(model, MessageKind::Information, "You should optimize files first");
}

std::optional<RestoreMenuState> menuBackUpPopup(MainModel& model)
{
    if (RefuseWhileBusy(model, MessageKind::Warning)) return std::nullopt;
    RestoreMenuState menu;
    if (model.panel.empty()) {
        // The processed-files list does not depend on the panel: a restarted program starts with an empty panel and
        // still offers the run it remembers.
        if (model.run.processed.empty()) model.state.menuBackUpLastEnabled = false;
        menu.cancelLastEnabled = model.state.menuBackUpLastEnabled;
        return menu;
    }
    menu.cancelLastEnabled = model.state.menuBackUpLastEnabled;
    menu.restoreCheckedEnabled = model.panel.CountCheckedRows() > 0;
    return menu;
}

} // namespace qm
