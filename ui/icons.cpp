// Icons from the desktop's icon theme, with Qt's own standard icons where the machine has no theme.
#include "ui/icons.h"

#include <QApplication>

namespace qm {

QIcon ThemeIcon(const char* themeName, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(QString::fromLatin1(themeName), QApplication::style()->standardIcon(fallback));
}

} // namespace qm
