// Reading every row of the file panel again from the disk.
#pragma once

namespace qm {

struct MainModel;

// Drops rows whose file is gone, fills Date, Size, Optimized and Ratio from
// the disk, writes the status text and sorts. An empty panel is left alone.
void RefreshPanel(MainModel& model);

} // namespace qm
