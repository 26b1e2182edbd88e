// The logic's file dialog filters ("description|pattern;pattern|...") in the form Qt's file dialog takes.
#include "ui/file_dialog_filter.h"

#include "ui/qt_text.h"

namespace qm {
namespace {

QString AnyCasePattern(const QString& pattern)
{
    QString result;
    for (QChar c : pattern) {
        if (c.isLetter() && c.toLower() != c.toUpper()) {
            result += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
        } else {
            result += c;
        }
    }
    return result;
}

} // namespace

QStringList QtNameFilters(std::string_view filter)
{
    const QStringList parts = ToQt(filter).split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QStringList patterns;
        if (i + 1 < parts.size()) {
            for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
                patterns << AnyCasePattern(pattern.trimmed());
        }
        if (patterns.isEmpty()) patterns << QStringLiteral("*");
        if (description.isEmpty() && i + 1 >= parts.size()) continue;
        result << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return result;
}

} // namespace qm
