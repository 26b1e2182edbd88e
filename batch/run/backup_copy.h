// Moving a source into the backup folder before its optimized text replaces it, and undoing that when the write fails.
#pragma once

#include <string>
#include <vector>

#include "batch/model/run_state.h"

namespace qm {

struct MainModel;

enum class BackupResult {
    Moved, // the source is at backupPath; its own path is free
    Copied, // backupPath holds a copy; the source could not leave its folder
    Skipped, // the user kept the existing backup copy; the source is untouched
    Failed, // nothing changed
};

// A backup in progress: committed once the optimized text is written, rolled back otherwise.
struct BackupStep {
    BackupResult result = BackupResult::Failed;
    std::string backupPath; // where the source went
    std::string asidePath; // an older backup copy kept under a temporary name until the commit
    std::string reason; // why it failed
};

// Moves the source to the backup path, asking the backup question when a
// copy of that name exists. An older backup that "Overwrite" replaces is
// only set aside, so a failure later can bring it back. A backup copy that
// this run has made for another source is never replaced, since it is that
// file's only initial copy; nor is a read-only one. "Rename" moves the
// existing backup copy to the new name (and updates this run's record of it).
BackupStep MakeBackupCopy(
    MainModel& model, const std::string& source, const std::string& backupPath, std::vector<ProcessedFile>& thisRun);

// The optimized text is written: the older backup set aside is deleted.
void CommitBackup(MainModel& model, const BackupStep& step);

// The optimized text could not be written: the source goes back to its
// path and the older backup copy to its name. Returns what the user must
// know when that fails too (empty when everything is back).
std::string RollBackBackup(MainModel& model, const std::string& source, const BackupStep& step);

} // namespace qm
