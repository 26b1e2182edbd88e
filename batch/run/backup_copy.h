// The initial copy of a page that is about to be replaced: recorded in the backup folder's journal, then made.
#pragma once

#include <optional>
#include <string>

#include "base/file_system.h"
#include "batch/run/journal.h"

namespace qm {

struct MainModel;

// A page as the run read it, and the text that is to replace it.
struct PageState {
    std::string source;
    FileIdentity identity; // of exactly the file that was read
    ContentStamp original;
    ContentStamp written;
};

enum class BackupResult {
    Made, // a new initial copy is at backupPath, recorded
    Reused, // the backup folder holds this page's initial text already (a later run, or one stopped half-way)
    Skipped, // the user kept the backup copy in the way; nothing was made
    Failed, // nothing changed
};

struct BackupStep {
    BackupResult result = BackupResult::Failed;
    std::string entryId; // Made and Reused: the journal entry of the page's replacement
    std::string backupPath; // where the page's initial text is
    // An older file that was in the way and now has a numbered name (or the name the user gave).
    std::optional<std::pair<std::string, std::string>> movedAside;
    std::string reason; // Skipped and Failed
};

// Before the page is replaced: records the replacement in the journal and
// makes the initial copy, a hard link or a synced copy, so the page never
// leaves its path. When the page holds a text that this program wrote over
// it, its initial copy is already in the folder and none is made: output
// never stands in for an original. A file in the way goes through the
// backup question; "Overwrite" keeps it under a numbered name, never
// deleting an older original. A page that changed after it was read gets
// no backup and the step fails with Failure::Changed's reason.
BackupStep MakeBackupCopy(MainModel& model, Journal& journal, const PageState& page, const std::string& backupPath);

// The page could not be replaced: the entry is closed as dropped, a backup
// made for it goes (the page still holds that text), and a file moved
// aside gets its name back. Returns what the user must know when part of
// that fails (empty when all is as before).
std::string RollBackBackup(MainModel& model, Journal& journal, const PageState& page, const BackupStep& step);

} // namespace qm
