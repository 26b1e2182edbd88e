// The environment variables the desktop program reads to find the user's home folder and text editor.
#pragma once

#include "batch/model/desktop_facts.h"

namespace qm {

// The process environment, limited to the variables the desktop program
// reads: HOME for the file dialogs, and VISUAL, EDITOR, PATH, XDG_DATA_HOME
// and XDG_DATA_DIRS to find the user's text editor. An empty value counts as unset.
EnvironmentLookup DesktopEnvironment();

} // namespace qm
