// The message routine's leading carriage return rule.
#include "batch/model/user_interface.h"

namespace qm {

std::string MessageText(const std::string& text)
{
    if (text.find('\r') != std::string::npos) return text;
    return "\r" + text;
}

} // namespace qm
