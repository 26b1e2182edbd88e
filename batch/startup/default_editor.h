// The external editor a first start offers: the first graphical text editor the desktop knows of.
#pragma once

#include <string>

#include "base/file_system.h"
#include "batch/model/desktop_facts.h"

namespace qm {

// In this order: $VISUAL when it is a graphical editor; the desktop's default
// application for text/html, then for text/plain, when its desktop entry
// says it is a text editor (a browser is not); a known graphical editor in the
// system's program folder; and only then a terminal editor ($VISUAL, $EDITOR,
// the system's "editor"), which the launch puts into a terminal. A program
// named without a folder is looked for along $PATH.
std::string DefaultExternalEditor(FileSystem& fs, const DesktopFacts& desktop, const std::string& systemProgramFolder);

} // namespace qm
