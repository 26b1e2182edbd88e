// Icons from the desktop's icon theme, with Qt's own standard icons where the machine has no theme.
#include "ui/icons.h"

#include <QApplication>
#include <QPainter>

namespace qm {
namespace {

// Grey and faint: some themes' icons and Qt's standard ones look almost the
// same disabled as enabled, and a side button must show at once that it cannot be used.
QPixmap DisabledLook(const QPixmap& pixmap)
{
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = qGray(line[x]);
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) * 35 / 100);
        }
    }
    QPixmap result = QPixmap::fromImage(image);
    result.setDevicePixelRatio(pixmap.devicePixelRatio());
    return result;
}

} // namespace

QIcon ThemeIcon(const char* themeName, QStyle::StandardPixmap fallback)
{
    const QIcon source =
        QIcon::fromTheme(QString::fromLatin1(themeName), QApplication::style()->standardIcon(fallback));
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48}) {
        const QPixmap normal = source.pixmap(size, size);
        if (normal.isNull()) continue;
        icon.addPixmap(normal, QIcon::Normal);
        icon.addPixmap(source.pixmap(size, size, QIcon::Active), QIcon::Active);
        icon.addPixmap(DisabledLook(normal), QIcon::Disabled);
    }
    return icon.isNull() ? source : icon;
}

} // namespace qm
