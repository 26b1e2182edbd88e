// Giving a new file the mode, owner, extended attributes and times of another.
#pragma once

#include <string>

#include <sys/stat.h>

namespace qm {

// Gives the open file `descriptor` the owner and group of `from` where the
// process may set them, then its mode without setuid (setgid) when the
// owner (group) could not be kept, then the extended attributes of the file
// at `fromPath` (those the process may set). With `times`, also its access
// and modification times. Done after the bytes are written: writing clears
// file capabilities, and a change of owner clears setuid and setgid.
void ApplyMetadata(int descriptor, const struct stat& from, const std::string& fromPath, bool times);

// The mode a new file gets from this process: 0666 without the umask.
mode_t NewFileMode();

} // namespace qm
