// The desktop program's command line: splitting an argument, the no-results switch, and the table of commands.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

struct MainModel;

struct CommandArgument {
    std::string command; // compared without regard to letter case
    std::string value; // kept as given: paths on this platform are case-sensitive
};

// Without "=": the argument less its first character, no value. Otherwise
// the characters between the first one and the first "=", and everything after it.
CommandArgument SplitCommandArgument(std::string_view argument);

// The no-results switch: "nores" in any letter case, bare or after "/" or "-".
bool IsNoResultsSwitch(std::string_view argument);

struct CommandRow {
    std::string_view command;
    std::function<bool(MainModel&, const std::string& value)> condition;
    std::function<void(MainModel&, const std::string& value)> action;
};

// cl, ps, f, fl, fo, foe, m, r, op, bup, bu, ow, q, ca, opt, nw, nc, nr, in this order.
// ow (beyond the original set) is the overwrite rule of an unattended run: "y" overwrites.
std::span<const CommandRow> CommandTable();

// A command line that quits (q) or presses Start (nc) runs without a user:
// while it is carried out no question may wait for an answer.
bool RunsUnattended(const std::vector<std::string>& arguments);

// Pass 1 sets the no-results switch (and the overwrite rule of ow); pass 2
// carries out each argument: the path of an existing file is dropped on the
// panel (so a file manager can open pages with the program), otherwise the
// first row whose command matches and whose condition holds. It lets pending
// events run between arguments, stops with a warning once the user has
// interrupted, and reports what no row carried out. An unattended command line
// is bracketed by the window hooks' setUnattended.
void ReadCommandLine(MainModel& model, const std::vector<std::string>& arguments);

} // namespace qm
