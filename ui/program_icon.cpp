// The program's icon, drawn in code so that it needs no image plugin: a white quill and a closing tag on a blue tile.
#include "ui/program_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace qm {
namespace {

QPixmap Draw(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2f, 0x6f, 0x9f));
    painter.drawRoundedRect(QRectF(4, 4, 56, 56), 10, 10);

    QPainterPath quill;
    quill.moveTo(50, 10);
    quill.cubicTo(30, 14, 20, 28, 16, 46);
    quill.lineTo(20, 47);
    quill.cubicTo(24, 34, 32, 24, 44, 18);
    quill.cubicTo(36, 26, 30, 34, 26, 44);
    quill.cubicTo(38, 40, 46, 28, 50, 10);
    painter.setBrush(Qt::white);
    painter.drawPath(quill);
    painter.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(14, 54), QPointF(20, 47));

    QFont font = painter.font();
    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0xcf, 0xe6, 0xf7));
    painter.drawText(QRectF(30, 42, 30, 16), Qt::AlignCenter, QStringLiteral("</>"));
    return pixmap;
}

} // namespace

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(Draw(size));
    return icon;
}

} // namespace qm
