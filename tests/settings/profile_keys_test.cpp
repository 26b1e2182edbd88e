// Option keys typed by the user: --set, the warnings for a profile's strange keys, and what --list-options lists.
#include <gtest/gtest.h>

#include "settings/profile_keys.h"

namespace qm {
namespace {

bool Has(const std::string& text, std::string_view fragment) { return text.find(fragment) != std::string::npos; }

TEST(ProfileKeys, SettableOptionsAreTheProfileFlagsThatAreReadBack)
{
    std::vector<std::string_view> keys;
    for (const OptionRow* row : SettableOptions()) {
        SCOPED_TRACE(row->key);
        EXPECT_EQ(row->store, OptionStore::Profile);
        // --set reads every value as a flag.
        EXPECT_EQ(row->kind, OptionKind::Flag);
        keys.push_back(row->key);
    }
    EXPECT_EQ(keys.front(), "cbDelKav");
    EXPECT_NE(std::find(keys.begin(), keys.end(), "cbKeepPre"), keys.end());
    EXPECT_EQ(std::find(keys.begin(), keys.end(), "cbScriptsInfo"), keys.end()) << "written, never read";
    EXPECT_EQ(std::find(keys.begin(), keys.end(), "edOptimizedPath"), keys.end()) << "a program option";
}

TEST(ProfileKeys, Assignments)
{
    struct Row {
        const char* name;
        std::string_view assignment;
        AssignmentResult result;
        std::string_view message; // a fragment
        bool delKav; // cbDelKav afterwards (on by default)
    };
    const Row rows[] = {
        {"off", "cbDelKav=0", AssignmentResult::Applied, "", false},
        {"on", "cbDelKav=1", AssignmentResult::Applied, "", true},
        {"any other integer is on, as in profiles", "cbDelKav=-1", AssignmentResult::Applied, "", true},
        {"keys match without regard to case", "CBDELKAV=0", AssignmentResult::Applied, "", false},
        {"a misspelt key names the key meant", "cbDelKv=0", AssignmentResult::UnknownKey, "did you mean cbDelKav?",
            true},
        {"an unknown key points at the list", "colour=0", AssignmentResult::UnknownKey, "qmk --list-options", true},
        {"a word is no flag", "cbDelKav=no", AssignmentResult::Refused, "1 is on, 0 is off", true},
        {"an empty value is no flag", "cbDelKav=", AssignmentResult::Refused, "is a flag", true},
        {"no equals sign", "cbDelKav", AssignmentResult::Refused, "KEY=VALUE", true},
        {"no key", "=1", AssignmentResult::Refused, "KEY=VALUE", true},
        {"a program option", "edOptimizedPath=/tmp", AssignmentResult::Refused, "program option", true},
        {"the write-only flag", "cbScriptsInfo=0", AssignmentResult::Refused, "never read", true},
        {"a window-only flag", "cbPhp=0", AssignmentResult::Refused, "changes nothing", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TOptionSet options;
        AssignmentOutcome outcome = AssignProfileOption(options, row.assignment);
        EXPECT_EQ(outcome.result, row.result);
        EXPECT_TRUE(Has(outcome.message, row.message)) << outcome.message;
        EXPECT_EQ(outcome.result == AssignmentResult::Applied, outcome.message.empty());
        EXPECT_EQ(options.flag(Opt::cbDelKav), row.delKav);
    }
}

TEST(ProfileKeys, WarningsForKeysAProfileDoesNotHold)
{
    SettingsFile profile({"[settings]", "cbDelKav=0", "cbScriptsInfo=1", "CBDELEMPTYLINE=1", "cbDelComent=0",
        "edOptimizedPath=/x/", "; a comment=ignored", "[other]", "cbNothing=1"});
    std::vector<std::string> warnings = ProfileKeyWarnings(profile);
    ASSERT_EQ(warnings.size(), 2u) << "the write-only flag and keys in capitals are a profile's own";
    EXPECT_EQ(warnings[0], "unknown option key 'cbDelComent'; did you mean cbDelComments?");
    EXPECT_TRUE(Has(warnings[1], "'edOptimizedPath' is a program option")) << warnings[1];
}

TEST(ProfileKeys, PlainCaptions)
{
    EXPECT_EQ(
        PlainCaption("Replace superfluous &&nbsp; chains    with one"), "Replace superfluous &nbsp; chains with one");
    EXPECT_EQ(PlainCaption("Remove unnecessary quotes    ...=\"50\"  "), "Remove unnecessary quotes ...=\"50\"");
}

} // namespace
} // namespace qm
