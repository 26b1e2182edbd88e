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

// A page with its corner folded and lines of text, drawn dark enough to read
// as enabled: the standard file icon is white on white, and beside greyed
// disabled buttons it looked disabled itself.
QIcon DrawnTextPage()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal unit = size / 16.0;
        const qreal left = 2.5 * unit, right = 13.5 * unit, top = 0.5 * unit, bottom = 15.5 * unit;
        const qreal fold = 4 * unit;
        const QPointF outline[] = {
            {left, top}, {right - fold, top}, {right, top + fold}, {right, bottom}, {left, bottom}};
        painter.setPen(QPen(QColor(60, 60, 60), std::max<qreal>(1, unit)));
        painter.setBrush(QColor(250, 250, 250));
        painter.drawPolygon(outline, 5);
        painter.drawLine(QPointF(right - fold, top), QPointF(right - fold, top + fold));
        painter.drawLine(QPointF(right - fold, top + fold), QPointF(right, top + fold));
        painter.setPen(QPen(QColor(40, 90, 170), std::max<qreal>(1, unit)));
        for (qreal y = 7 * unit; y < bottom - 1.5 * unit; y += 2.5 * unit)
            painter.drawLine(QPointF(left + 2 * unit, y), QPointF(right - 2 * unit, y));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon WithDisabledLook(const QIcon& source)
{
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

} // namespace

QIcon ThemeIcon(const char* themeName, QStyle::StandardPixmap fallback)
{
    return WithDisabledLook(
        QIcon::fromTheme(QString::fromLatin1(themeName), QApplication::style()->standardIcon(fallback)));
}

QIcon TextPageIcon() { return WithDisabledLook(QIcon::fromTheme(QStringLiteral("text-x-generic"), DrawnTextPage())); }

} // namespace qm
