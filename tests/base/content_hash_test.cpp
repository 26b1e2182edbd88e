// The journal's digest is BLAKE2b-256 exactly as coreutils' b2sum -l 256 prints it, and file names print escaped.
#include <gtest/gtest.h>

#include "base/ascii.h"
#include "base/content_hash.h"

namespace qm {
namespace {

TEST(ContentHash, MatchesB2sum)
{
    struct Row {
        const char* name;
        std::string bytes;
        const char* digest; // printf ... | b2sum -l 256
    };
    const Row rows[] = {
        {"empty", "", "0e5751c026e543b2e8ab2eb06099daa1d1e5df47778f7787faab45cdf12fe3a8"},
        {"abc", "abc", "bddd813c634239723171ef3fee98579b94964e3bb1cb3e427262c8c068d52319"},
        {"one whole block", std::string(128, 'a'), "ae2aa48507885c4c950fb809b2076f959cde9f8ea6da260d9a3587df33dac450"},
        {"a block and a byte", std::string(129, 'a'),
            "2f64744a6de0d2c0b56e64cf6e29a5aaa255010d415d51c75ccc82f73dccd865"},
        {"a million bytes", std::string(1000000, 'a'),
            "0741850f36cba4259628355d1073e24ddb9ca0e1bfac36fd39ae5dc2101e23a4"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ContentHash(row.bytes), row.digest);
    }
}

TEST(EscapeControlCharacters, NamesCannotForgeLinesOrReachTheTerminal)
{
    struct Row {
        const char* name;
        std::string text;
        std::string printed;
    };
    const Row rows[] = {
        {"plain", "site/index.html", "site/index.html"},
        {"a line break", "a\nqmk: b.html: 1 -> 1 bytes", "a\\nqmk: b.html: 1 -> 1 bytes"},
        {"a terminal escape", "x\x1b[2Jy", "x\\x1b[2Jy"},
        {"tab, carriage return, delete", "a\tb\rc\x7f", "a\\tb\\rc\\x7f"},
        {"the escape character itself", "a\\n", "a\\\\n"},
        {"UTF-8 passes", "\xCE\x95\xCE\xBB.html", "\xCE\x95\xCE\xBB.html"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(EscapeControlCharacters(row.text), row.printed);
    }
}

} // namespace
} // namespace qm
