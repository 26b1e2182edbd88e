// File steps that runs and restores share: numbered names for older files, second names, leftovers of killed runs.
#pragma once

#include <set>
#include <string>

#include "base/file_system.h"

namespace qm {

// The path with ".~N~" added (the numbered backups of GNU tools), N the
// smallest number not taken; a name that would grow beyond 255 bytes is
// shortened first, so older files of long names can be kept too.
std::string NumberedName(FileSystem& fs, const std::string& path);

// Gives the file at `from` a second name `to` that never replaces anything:
// a hard link where the file system allows, otherwise a synced copy with
// the same metadata. Fails with Failure::Exists when `to` is taken.
Status MakeSecondName(FileSystem& fs, const std::string& from, const std::string& to);

// Deletes, once per folder and run, the temporary files that a killed run
// left beside its pages (see IsTemporaryName); those of a run still at work stay.
class StaleTemporaries {
public:
    void removeIn(FileSystem& fs, const std::string& folder);

private:
    std::set<std::string> cleaned_;
};

} // namespace qm
