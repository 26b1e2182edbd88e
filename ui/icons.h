// Icons from the desktop's icon theme, with Qt's own standard icons where the machine has no theme.
#pragma once

#include <QIcon>
#include <QStyle>

namespace qm {

QIcon ThemeIcon(const char* themeName, QStyle::StandardPixmap fallback);
// The theme's plain text page, or a drawn one that reads as enabled.
QIcon TextPageIcon();

} // namespace qm
