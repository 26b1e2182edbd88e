// Conversions between the logic's byte strings and the texts Qt shows.
#include "ui/qt_text.h"

namespace qm {

QString MessageForDisplay(std::string_view message)
{
    QString text = ToQt(message);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString LabelCaption(std::string_view caption)
{
    QString text = ToQt(caption);
    text.replace(QStringLiteral("&&"), QStringLiteral("&"));
    return text;
}

QString ShownCaption(const QString& caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) {
                shown += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        shown += caption[i];
    }
    return shown;
}

} // namespace qm
