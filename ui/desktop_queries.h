// Questions to the Linux desktop: its default application for a file type, and whether anything can open a file.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace qm {

// The desktop file that opens a MIME type, as xdg-mime tells it; empty when
// xdg-mime is missing, knows none or does not answer within two seconds.
std::string DefaultApplicationFor(std::string_view mimeType);

// Whether the desktop can open the file at all. xdg-open starts and reports
// success even when it then finds no program for the type (it only says so
// on standard error), so that case is found beforehand: no default
// application for the file's type and no browser (x-www-browser,
// sensible-browser, $BROWSER). Without xdg-open Qt's own launcher decides.
bool DesktopCanOpen(const QString& path);

} // namespace qm
