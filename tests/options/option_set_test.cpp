// The option table's defaults and the option set's rules.
#include "options/option_set.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(OptionSet, FirstStartDefaults)
{
    TOptionSet options;
    struct Row {
        Opt id;
        bool on;
    };
    const Row flags[] = {
        {Opt::cbDelKav, true},
        {Opt::cbDelEmptyPar, true},
        {Opt::cbDelEmptyLine, true},
        {Opt::cbDelCRLF, false},
        {Opt::cbDelTabLine, true},
        {Opt::cbDelBegEndSpace, true},
        {Opt::cbDelAllTabs, true},
        {Opt::cbReplaceDoubleSpaces, true},
        {Opt::cbReplaceDoubleSpacesInKav, false},
        {Opt::cbReplaceDoubleNbsp, true},
        {Opt::cbReplaceDoubleNbspInKav, false},
        {Opt::cbDelComments, true},
        {Opt::cbIsStyle, true},
        {Opt::cbIsScript, true},
        {Opt::cbOuttag, true},
        {Opt::cbSsi, true},
        {Opt::cbScriptsInfo, true},
        {Opt::cbDelScripts, false},
        {Opt::cbPhp, true},
        {Opt::cbAsp, true},
        {Opt::cbCF, true},
        {Opt::cbClosedTagsAlso, true},
        {Opt::cbKeepLineEnds, true},
        {Opt::cbKeepPre, true},
        {Opt::cbMaxFCount, true},
        {Opt::cbProcessEmbeded, false},
        {Opt::cbMaxEmbCount, false},
        {Opt::cbSaveNopen, false},
        {Opt::radModifyOld, false},
        {Opt::cbSaveBefMod, true},
        {Opt::radSaveNewMod, true},
        {Opt::cbShowConf, true},
        {Opt::cbShowInfo, true},
        {Opt::cbShowEnd, true},
        {Opt::cbShowOptWin, true},
    };
    for (const Row& row : flags) EXPECT_EQ(options.flag(row.id), row.on) << RowOf(row.id).key;

    EXPECT_EQ(options.text(Opt::edMaxFCount), "100");
    EXPECT_EQ(options.text(Opt::edMaxEmbCount), "10");
    EXPECT_EQ(options.text(Opt::edProfile), "");
    const int widths[] = {180, 150, 120, 110, 110, 100};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(options.integer(static_cast<Opt>(static_cast<int>(Opt::col0) + i)), widths[i]);
    EXPECT_EQ(options.integer(Opt::listHeight), 305);
    EXPECT_EQ(options.integer(Opt::column_sort), 0);
    EXPECT_FALSE(options.ProfileModified || options.ReplaceSchemeModified || options.RemoveSchemeModified);
}

TEST(OptionSet, DefaultTagLists)
{
    TOptionSet options;
    ASSERT_EQ(options.listReplaceTags.size(), 14u);
    // The entries that change how a page shows start inactive.
    for (const auto& entry : options.listReplaceTags) {
        const bool changesThePage = entry.FromTag == "blockquote" || entry.FromTag == "address" ||
            entry.FromTag == "listing" || entry.FromTag == "plaintext" || entry.FromTag == "xmp";
        EXPECT_EQ(entry.Active, !changesThePage) << entry.FromTag;
    }
    EXPECT_EQ(options.listReplaceTags.front(), (TTagReplacement {true, "strong", "b"}));
    EXPECT_EQ(options.listReplaceTags.back(), (TTagReplacement {false, "xmp", "tt"}));

    ASSERT_EQ(options.listDeleteTags.size(), 10u);
    EXPECT_EQ(options.listDeleteTags[0], (TTagRemoval {false, "!doctype"}));
    for (std::size_t i = 1; i < 10; ++i) EXPECT_EQ(options.listDeleteTags[i].Active, i < 6) << i;
    EXPECT_EQ(options.listDeleteTags[1].Tag, "name=\"generator\"");
    EXPECT_EQ(options.listDeleteTags[9].Tag, "/TD");
}

TEST(OptionSet, RadioGroupKeepsExactlyOneOn)
{
    TOptionSet options;
    options.setFlag(Opt::radModifyOld, true);
    EXPECT_FALSE(options.flag(Opt::radSaveNewMod));
    options.setFlag(Opt::radSaveNewMod, true);
    EXPECT_FALSE(options.flag(Opt::radModifyOld));
}

TEST(OptionSet, TableRowsMatchTheirIdsAndKeysAreFound)
{
    int index = 0;
    for (const OptionRow& row : OptionTable()) {
        EXPECT_EQ(static_cast<int>(row.id), index++) << row.key;
        EXPECT_EQ(OptionByKey(row.key), row.id) << row.key;
    }
    EXPECT_EQ(OptionByKey("CBDELKAV"), Opt::cbDelKav);
    EXPECT_EQ(OptionByKey("nosuchkey"), std::nullopt);
}

TEST(OptionSet, NumberTexts)
{
    EXPECT_EQ(NumberTextValue("100"), 100);
    EXPECT_EQ(NumberTextValue("0"), 0);
    EXPECT_EQ(NumberTextValue(""), std::nullopt);
    EXPECT_EQ(NumberTextValue("12a"), std::nullopt);
    EXPECT_EQ(NumberTextValue("9999999999999999999999"), std::nullopt);
}

} // namespace
} // namespace qm
