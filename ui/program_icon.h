// The program's icon, drawn in code so that it needs no image plugin: a white quill and a closing tag on a blue tile.
#pragma once

#include <QIcon>

namespace qm {

QIcon ProgramIcon();

} // namespace qm
