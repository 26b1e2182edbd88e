// List files (*.lst): the file panel's rows and check marks, kept between starts or for later batches.
#pragma once

#include <string>

#include "base/status.h"

namespace qm {

struct MainModel;

// "+ " or "- " and the full path per row, each line ending with CR LF,
// replacing the file only once the new one is complete.
Status SaveFileList(MainModel& model, const std::string& path);

// Replaces the panel's rows by the file's: the file count question, then one
// row per line (duplicates warned about), then a refresh that drops rows
// whose files are gone. A missing file leaves the panel empty. Lines shorter
// than three characters hold no path and are passed over. False when the
// file exists but cannot be read.
bool LoadFileList(MainModel& model, const std::string& path);

// The menu commands "Save list to the file" and "Load list from the file".
void menuSaveListFilesClick(MainModel& model);
void menuOpenListFilesClick(MainModel& model);

} // namespace qm
