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

// cl, ps, f, fl, fo, foe, m, r, op, bup, bu, q, ca, opt, nw, nc, nr, in this order.
std::span<const CommandRow> CommandTable();

// Pass 1 sets the no-results switch; pass 2 carries out each argument's
// first row whose command matches and whose condition holds, lets pending
// events run between arguments, stops with a warning once the user has
// interrupted, and reports what no row carried out.
void ReadCommandLine(MainModel& model, const std::vector<std::string>& arguments);

} // namespace qm
