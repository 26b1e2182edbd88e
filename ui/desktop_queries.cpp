// Asking xdg-mime and looking along $PATH, for the default editor and for opening pages.
#include "ui/desktop_queries.h"

#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

#include "ui/qt_text.h"

namespace qm {

std::string DefaultApplicationFor(std::string_view mimeType)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (program.isEmpty()) return {};
    QProcess query;
    query.start(program, {QStringLiteral("query"), QStringLiteral("default"), ToQt(mimeType)});
    if (!query.waitForFinished(2000)) {
        query.kill();
        query.waitForFinished(500);
        return {};
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) return {};
    return FromQt(QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed());
}

bool DesktopCanOpen(const QString& path)
{
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty()) return true;
    const QString type = QMimeDatabase().mimeTypeForFile(path).name();
    if (!DefaultApplicationFor(FromQt(type)).empty()) return true;
    for (const char* browser : {"x-www-browser", "sensible-browser"})
        if (!QStandardPaths::findExecutable(QString::fromLatin1(browser)).isEmpty()) return true;
    const QString browsers = qEnvironmentVariable("BROWSER");
    for (const QString& command : browsers.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        const QString program = command.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
        if (!QStandardPaths::findExecutable(program).isEmpty()) return true;
    }
    return false;
}

} // namespace qm
