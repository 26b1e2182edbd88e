// qmk's command line read as Unix tools read theirs: long and short forms, bundles, values, help anywhere.
#include <gtest/gtest.h>

#include <functional>

#include "cli/qmk_arguments.h"

namespace qm {
namespace {

using Arguments = std::vector<std::string>;

QmkArguments Parsed(const Arguments& arguments)
{
    auto parsed = ParseQmkArguments(arguments);
    if (auto* error = std::get_if<QmkUsageError>(&parsed)) {
        ADD_FAILURE() << "usage error: " << error->text;
        return {};
    }
    return std::get<QmkArguments>(parsed);
}

std::string UsageError(const Arguments& arguments)
{
    auto parsed = ParseQmkArguments(arguments);
    if (auto* error = std::get_if<QmkUsageError>(&parsed)) return error->text;
    ADD_FAILURE() << "no usage error";
    return {};
}

TEST(QmkArguments, SpellingsOfTheSameCommandLine)
{
    // Every row means: recursive, four jobs, into "dist", the folder "src".
    const std::vector<Arguments> rows = {
        {"-r", "-j", "4", "-o", "dist", "src"},
        {"--recursive", "--jobs", "4", "--output", "dist", "src"},
        {"--recursive", "--jobs=4", "--output=dist", "src"},
        {"-rj4", "-odist", "src"},
        {"-rj", "4", "-o", "dist", "src"},
        {"-ro", "dist", "-j4", "src"},
        {"src", "-o", "dist", "-rj4"},
        {"-rj4", "-o", "dist", "--", "src"},
    };
    for (const Arguments& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row));
        QmkArguments args = Parsed(row);
        EXPECT_TRUE(args.recursive);
        EXPECT_EQ(args.jobs, 4u);
        EXPECT_EQ(args.outputFolder, "dist");
        EXPECT_EQ(args.paths, Arguments {"src"});
    }
}

TEST(QmkArguments, EveryOptionReachesItsField)
{
    struct Row {
        const char* name;
        Arguments arguments;
        std::function<bool(const QmkArguments&)> holds;
    };
    const Row rows[] = {
        {"set, repeatable", {"--set", "cbDelKav=0", "--set=cbDelComments=1", "-"},
            [](const QmkArguments& a) {
                return a.assignments == Arguments {"cbDelKav=0", "cbDelComments=1"};
            }},
        {"list-options alone", {"--list-options"}, [](const QmkArguments& a) { return a.listOptions; }},
        {"list-options with a profile and settings", {"--list-options", "--profile", "p.pro", "--set", "cbDelKav=0"},
            [](const QmkArguments& a) { return a.listOptions && a.profile == "p.pro" && a.assignments.size() == 1; }},
        {"quiet", {"-q", "-"}, [](const QmkArguments& a) { return a.verbosity == Verbosity::Quiet; }},
        {"verbose", {"--verbose", "-"}, [](const QmkArguments& a) { return a.verbosity == Verbosity::Verbose; }},
        {"json", {"--json", "-o", "d", "s"}, [](const QmkArguments& a) { return a.json; }},
        {"sync", {"--sync", "-o", "d", "s"}, [](const QmkArguments& a) { return a.sync; }},
        {"exclude, repeatable", {"--exclude", "*.bak", "--exclude=drafts/", "-o", "d", "s"},
            [](const QmkArguments& a) {
                return a.excludes == Arguments {"*.bak", "drafts/"};
            }},
        {"ext: lower case, without dots, repeatable", {"--ext", "INC,.tpl", "--ext=xhtml", "-o", "d", "s"},
            [](const QmkArguments& a) {
                return a.extensions == Arguments {"inc", "tpl", "xhtml"};
            }},
        {"in place with backups elsewhere", {"--in-place", "--backup", "b", "s"},
            [](const QmkArguments& a) { return a.inPlace && a.backupFolder == "b"; }},
        {"restore", {"--restore", "--in-place", "s"}, [](const QmkArguments& a) { return a.restore; }},
        {"skip existing", {"--skip-existing", "-o", "d", "s"},
            [](const QmkArguments& a) { return a.existing == ExistingTargets::Skip; }},
        {"a path that begins with a dash after --", {"-o", "d", "--", "-odd.html"},
            [](const QmkArguments& a) { return a.paths == Arguments {"-odd.html"}; }},
        {"no jobs given: the default is decided later", {"-o", "d", "s"},
            [](const QmkArguments& a) { return !a.jobs; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(row.holds(Parsed(row.arguments)));
    }
}

TEST(QmkArguments, HelpAndVersionAnywhere)
{
    struct Row {
        const char* name;
        Arguments arguments;
        bool help, version;
    };
    const Row rows[] = {
        {"help alone", {"--help"}, true, false},
        {"short help in a bundle", {"-rh"}, true, false},
        {"help after a full command", {"-o", "d", "s", "--help"}, true, false},
        {"help beside an error", {"--bogus", "-h"}, true, false},
        {"help beside a missing output", {"s", "--help"}, true, false},
        {"version", {"--version"}, false, true},
        {"short version", {"-V"}, false, true},
        {"version beside an error", {"--jobs", "0", "-V"}, false, true},
        {"help wins over version", {"-V", "--help"}, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QmkArguments args = Parsed(row.arguments);
        EXPECT_EQ(args.help, row.help);
        EXPECT_EQ(args.version, row.version);
    }
    EXPECT_EQ(Parsed({"-o", "d", "--", "--help"}).paths, Arguments {"--help"}) << "after --, a path";
}

TEST(QmkArguments, UsageErrorsAreOneLine)
{
    struct Row {
        const char* name;
        Arguments arguments;
        std::string_view expected; // a fragment
    };
    const Row rows[] = {
        {"nothing", {}, "no output"},
        {"an unknown long option with its likely meaning", {"--outptu", "d", "s"}, "did you mean --output?"},
        {"an unknown short option", {"-x", "-o", "d", "s"}, "unknown option -x"},
        {"a value for a switch", {"--sync=yes", "-o", "d", "s"}, "--sync takes no value"},
        {"a missing value", {"s", "-o"}, "-o/--output needs a value (DIR)"},
        {"an empty value", {"--output=", "s"}, "needs a value"},
        {"jobs zero", {"-j0", "-o", "d", "s"}, "from 1 to 256"},
        {"jobs a word", {"--jobs", "two", "-o", "d", "s"}, "not 'two'"},
        {"quiet and verbose", {"-qv", "-"}, "exclude each other"},
        {"an extension with a wildcard", {"--ext", "*.inc", "-o", "d", "s"}, "not '*.inc'"},
        {"an empty extension", {"--ext", "inc,,tpl", "-o", "d", "s"}, "separated by commas"},
        {"sync in place", {"--sync", "--in-place", "s"}, "--sync copies into the -o folder"},
        {"sync restoring", {"--sync", "--restore", "-o", "d", "s"}, "exclude each other"},
        {"json of standard input", {"--json", "-"}, "--json describes files"},
        {"list-options with paths", {"--list-options", "s"}, "takes no paths"},
        {"list-options with an output", {"--list-options", "-o", "d"}, "takes no paths"},
        {"both outputs", {"-o", "d", "--in-place", "s"}, "either -o DIR or --in-place"},
        {"overwrite and skip", {"--overwrite", "--skip-existing", "-o", "d", "s"}, "exclude each other"},
        {"no paths", {"--in-place"}, "no files to optimize"},
        {"standard input with a path", {"-", "s"}, "takes neither paths"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string text = UsageError(row.arguments);
        EXPECT_NE(text.find(row.expected), std::string::npos) << text;
        EXPECT_EQ(text.find('\n'), std::string::npos) << text;
    }
}

TEST(QmkArguments, TheUsageShowsEveryOptionOfTheTable)
{
    const std::string usage = QmkUsage();
    for (const QmkOptionRow& row : QmkOptionTable()) {
        SCOPED_TRACE(row.longName);
        std::string spelled = "--" + std::string(row.longName);
        if (!row.valueName.empty()) spelled += " " + std::string(row.valueName);
        EXPECT_NE(usage.find(spelled), std::string::npos);
        if (row.shortName) {
            EXPECT_NE(usage.find("-" + std::string(1, row.shortName) + ", --"), std::string::npos);
        }
        for (const QmkOptionRow& other : QmkOptionTable()) {
            if (&other == &row) continue;
            EXPECT_NE(other.longName, row.longName) << "each name once";
            EXPECT_TRUE(!row.shortName || other.shortName != row.shortName) << "each letter once";
        }
    }
}

} // namespace
} // namespace qm
