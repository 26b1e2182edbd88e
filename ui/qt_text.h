// Conversions between the logic's byte strings and the texts Qt shows.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace qm {

// The logic keeps texts and paths as the system's 8-bit strings.
inline QString ToQt(std::string_view text) { return QString::fromLocal8Bit(text.data(), qsizetype(text.size())); }
inline std::string FromQt(const QString& text) { return text.toLocal8Bit().toStdString(); }

// Messages break their lines with a bare carriage return, which Qt's labels ignore.
QString MessageForDisplay(std::string_view message);

// Button captions keep "&&" (Qt shows one ampersand); labels without a
// mnemonic show every ampersand, so they get the text as it should read.
QString LabelCaption(std::string_view caption);

// The text a button's caption shows once Qt has taken out its mnemonic marks.
QString ShownCaption(const QString& caption);

} // namespace qm
