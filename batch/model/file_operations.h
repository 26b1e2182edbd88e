// The small file operations that placement, backup and restore share: move, copy, date texts.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "base/file_system.h"

namespace qm {

class UserInterface;

enum class MoveOutcome {
    Moved, // `from` is gone, `to` holds it
    Copied, // `to` holds a copy, but `from` could not be deleted and stays where it was
    Failed, // nothing changed
};

struct MoveResult {
    MoveOutcome outcome = MoveOutcome::Failed;
    Status status; // when Failed, why; when Copied, why `from` stayed
};

// Moves by a rename; across file systems it copies (atomically) and then
// deletes `from`, so the result is the same on every volume. A read-only
// `from` is not copied across: "Cannot move file %s". Without replace an
// existing `to` is never touched.
MoveResult MoveFileOrCopy(FileSystem& fs, const std::string& from, const std::string& to, bool replace);

// A file's last-write time as the panel shows it; when it cannot be read the
// path goes to a plain message box and the text is empty.
std::string FileDateText(FileSystem& fs, UserInterface& ui, const std::string& path);

// Local time as "dd.mm.yyyy hh:mm:ss"; at exactly midnight the date alone.
std::string DateTimeText(FileTime time);

// The calendar day of a local time as yyyymmdd, for comparing days.
int LocalDay(FileTime time);

// The date key of a Date text: the part before its first blank (the whole
// text without a blank) read as "dd.mm.yyyy"; yyyymmdd, or nullopt when the
// text is no such date.
std::optional<int> DateKey(std::string_view dateText);

// A duration as hours, minutes and seconds: "0:01:05".
std::string DurationText(std::chrono::steady_clock::duration elapsed);

} // namespace qm
