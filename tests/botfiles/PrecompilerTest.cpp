// SPDX-License-Identifier: GPL-3.0-or-later
#include "botfiles/Precompiler.h"

#include <gtest/gtest.h>

#include <map>

namespace twl {
namespace {

using Files = std::map<std::string, std::string>;

PrecompiledScript Read(const Files& files, const std::string& main = "main.c")
{
    return PrecompileScript(main,
                            [&files](const std::string& path) -> std::optional<std::string_view> {
                                auto found = files.find(path);
                                if (found == files.end()) {
                                    return std::nullopt;
                                }
                                return std::string_view(found->second);
                            });
}

std::string Texts(const PrecompiledScript& script)
{
    std::string texts;
    for (const ScriptToken& token : script.Tokens) {
        texts += (texts.empty() ? "" : " ") + token.Text;
    }
    return texts;
}

std::string Messages(const PrecompiledScript& script)
{
    std::string texts;
    for (const ScriptMessage& message : script.Messages) {
        texts += std::string(message.Error ? "error: " : "warning: ") +
                 EngineMessageText(script, message) + "\n";
    }
    return texts;
}

// A file (and what it includes) and everything the game makes of it: the
// tokens it hands out, in order, and the lines it prints.
struct PrecompileCase
{
    const char* Name;
    Files Given;
    std::string Tokens;
    std::string Printed;
};

class Precompile : public testing::TestWithParam<PrecompileCase>
{};

TEST_P(Precompile, GivesTheGamesTokensAndLines)
{
    const PrecompileCase& test = GetParam();
    PrecompiledScript script = Read(test.Given);
    EXPECT_TRUE(script.Found);
    EXPECT_EQ(Texts(script), test.Tokens);
    EXPECT_EQ(Messages(script), test.Printed);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts,
    Precompile,
    testing::Values(
        PrecompileCase{"CommentsAndBlanks",
                       {{"main.c", "a // b\r\n/* c\r\nd */ e\t\"f g\" h\xe9i"}},
                       "a e \"f g\" h i",
                       ""},
        PrecompileCase{"TextsThatFollowEachOtherAreOne",
                       {{"main.c", "\"ab\"\n  \"cd\" ; \"e\" x \"f\""}},
                       "\"abcd\" ; \"e\" x \"f\"",
                       ""},
        PrecompileCase{
            "EscapesAreUndone", {{"main.c", "\"a\\tb\\x41\\65\\\"\""}}, "\"a\tbAA\"\"", ""},
        PrecompileCase{"AnUnknownEscapeCutsTheTextAndIsAnError",
                       {{"main.c", "x\n\"hello\\q there\" y"}},
                       "x \"hello y",
                       "error: file main.c, line 2: unknown escape char\n"},
        PrecompileCase{"ALineEndInATextEndsTheFile",
                       {{"main.c", "x \"open\ny z"}},
                       "x",
                       "error: file main.c, line 1: newline inside string \"open\n"},
        PrecompileCase{"PunctuationLongestFirst",
                       {{"main.c", "a>>=b<<c->d...e##f"}},
                       "a >>= b << c -> d ... e ## f",
                       ""},
        PrecompileCase{"DefinesWithAndWithoutParameters",
                       {{"main.c", "#define N 5\n#define F(x, y) (x + y * N)\nF(1, 2) N"}},
                       "( 1 + 2 * 5 ) 5",
                       ""},
        PrecompileCase{"MergeAndStringize",
                       {{"main.c", "#define J(a, b) a##b\n#define S(a) #a\nJ(W_, 3) S(hi)"}},
                       "W_3 \"hi\"",
                       ""},
        PrecompileCase{"AnIncludeIsReadWhereItStands",
                       {{"main.c", "a\n#include \"inc.h\"\nb X"}, {"inc.h", "c\n#define X 7\n"}},
                       "a c b 7",
                       ""},
        PrecompileCase{"AnIncludeNotFoundEndsTheFile",
                       {{"main.c", "a\n#include \"nope.h\"\nb"}},
                       "a",
                       "error: file main.c, line 2: file nope.h not found\n"},
        PrecompileCase{"AnErrorInAnIncludedFileReturnsToTheFileThatIncludedIt",
                       {{"main.c", "a\n#include \"inc.h\"\nb"}, {"inc.h", "c \"open\nd"}},
                       "a c b",
                       "error: file inc.h, line 1: newline inside string \"open\n"},
        PrecompileCase{"AFileIncludingItselfIsRefused",
                       {{"main.c", "a\n#include \"MAIN.C\"\nb"}, {"MAIN.C", "x"}},
                       "a b",
                       "error: file main.c, line 2: MAIN.C recursively included\n"},
        PrecompileCase{"ConditionsSkipWhatTheyExclude",
                       {{"main.c",
                         "#define A\n#ifdef A\nyes\n#else\nno\n#endif\n#ifndef A\nno\n#endif\n"
                         "#if defined(A) && 2 > 1\nif\n#elif 1\nelif\n#endif"}},
                       "yes if elif", // the game takes an #elif after a taken #if too
                       ""},
        PrecompileCase{"AnUnclosedConditionIsAWarning",
                       {{"main.c", "#ifdef B\nno"}},
                       "",
                       "warning: file main.c, line 2: missing #endif\n"},
        PrecompileCase{"EvaluationsAsTheGameComputesThem",
                       {{"main.c",
                         "#define W 50\n#define FP(x) (x < 0 ? 1 : x)\n"
                         "$evalint(W * 2 + 1) $evalint(-3 - 4) $evalfloat(1 / 8) "
                         "$evalfloat(FP(-2)) $evalfloat(FP(W / 4))"}},
                       "101 - 7 0.12 1.00 12.50",
                       ""},
        PrecompileCase{"AnUndefinedNameInAnEvaluationEndsTheFile",
                       {{"main.c", "a $evalint(NOPE * 2) b"}},
                       "a",
                       "error: file main.c, line 1: can't evaluate NOPE, not defined\n"},
        PrecompileCase{"AnEmptyDefineEndsTheFile", {{"main.c", "#define E\na E b"}}, "a", ""},
        PrecompileCase{"ARedefinitionIsAWarningAndTheLaterCounts",
                       {{"main.c", "#define A 1\n#define A 2\nA"}},
                       "2",
                       "warning: file main.c, line 2: redefinition of A\n"},
        PrecompileCase{"AnUnknownDirectiveEndsTheFile",
                       {{"main.c", "a\n#import \"x\"\nb"}},
                       "a",
                       "error: file main.c, line 2: unknown precompiler directive import\n"},
        PrecompileCase{"APathTooLongForTheGamesBufferIsCut",
                       {{"main.c", "#include \"" + std::string(60, 'p') + ".h\"\n"},
                        {std::string(54, 'p'), "found"}},
                       "found",
                       "warning: Com_sprintf: Output length 64 too short, require 72 bytes.\n"}),
    [](const testing::TestParamInfo<PrecompileCase>& param) {
        return std::string(param.param.Name);
    });

// A number as written, and how the game reads it: its value, whether it is
// a whole number, and what the precompiler says.
struct NumberCase
{
    std::string Written;
    bool Integer;
    double Value;
};

TEST(PrecompileNumbers, ReadAsTheGameReadsThem)
{
    const std::vector<NumberCase> numbers = {
        {"10", true, 10},
        {"010", true, 8},
        {"09", true, 9},
        {"0x1F", true, 31},
        {"0", true, 0},
        {"12L", true, 12},
        {"7u", true, 7},
        {"1.5", false, 1.5},
        {".25", false, 0.25},
        {"2.000", false, 2.0},
        // A point at the end takes the zero byte after it for a digit.
        {"1.", false, 1 - 4.8},
        // A second point reads as a digit too.
        {"0..30", false, -0.17},
        {"010.5", false, 10.5},
    };
    for (const NumberCase& number : numbers) {
        PrecompiledScript script = Read({{"main.c", number.Written}});
        ASSERT_EQ(script.Tokens.size(), 1u) << number.Written;
        const ScriptToken& token = script.Tokens[0];
        EXPECT_EQ(token.Type, TokenType::Number) << number.Written;
        EXPECT_EQ((token.Flags & NumberFlag::Integer) != 0, number.Integer) << number.Written;
        double value = number.Integer ? static_cast<double>(token.IntValue)
                                      : static_cast<double>(token.FloatValue);
        EXPECT_NEAR(value, number.Value, 1e-5) << number.Written;
    }
}

TEST(PrecompileLimits, DefinesThatExpandWithoutEndStop)
{
    PrecompiledScript script = Read({{"main.c", "#define A B B\n#define B A A\nA"}});
    EXPECT_TRUE(script.Exhausted);
    EXPECT_FALSE(Read({{"main.c", "#define A B\n#define B 1\nA"}}).Exhausted);
    EXPECT_FALSE(Read({}).Found);
}

TEST(PrecompileTokens, KeepWhereTheyWereWrittenAndWhereTheReadingStood)
{
    PrecompiledScript script =
        Read({{"main.c", "#include \"inc.h\"\n\nV\n"}, {"inc.h", "#define V 3\n"}});
    ASSERT_EQ(script.Tokens.size(), 1u);
    const ScriptToken& token = script.Tokens[0];
    EXPECT_EQ(script.Files.at(token.File), "inc.h");
    EXPECT_EQ(token.Line, 1);
    EXPECT_EQ(script.Files.at(token.AtFile), "main.c");
    EXPECT_EQ(token.AtLine, 3);
}

// The game prints a line only once its reader asks for the token it stands
// before: an error after the block a reader stops at never shows.
TEST(TokenCursor, TellsTheLinesPrintedUpToWhereTheReadingCame)
{
    PrecompiledScript script = Read({{"main.c", "a b\n\"x\\q\" c"}});
    ASSERT_EQ(Texts(script), "a b \"x c");
    TokenCursor cursor(script);
    EXPECT_EQ(cursor.Next()->Text, "a");
    EXPECT_TRUE(cursor.Check("b"));
    EXPECT_FALSE(cursor.Check("z"));
    EXPECT_EQ(cursor.PrintedMessages().size(), 1u) << "Check asked for the text after b";
    TokenCursor early(script);
    early.Next();
    EXPECT_TRUE(early.PrintedMessages().empty());
    TokenCursor late(script);
    while (late.Next() != nullptr) {
    }
    EXPECT_EQ(late.Last()->Text, "c");
    EXPECT_EQ(late.PrintedMessages().size(), 1u);
}

} // namespace
} // namespace twl

namespace twl {
namespace {

// A file of definitions read once and taken again from the cache gives
// every later file exactly what reading it again would: the same tokens
// and lines, with #undef and a redefinition of what it defined, and a file
// that does more than define is never taken from the cache.
TEST(IncludeCache, GivesWhatReadingTheFileAgainGives)
{
    const Files files = {
        {"defs.h", "// names\n#define ONE 1\n#define TWO(x) (x + x)\n"},
        {"loud.h", "#define LOUD 3\nnoise\n"},
        {"a.c", "#include \"defs.h\"\nONE TWO(ONE)\n"},
        {"b.c", "#include \"defs.h\"\n#undef ONE\nONE TWO(2)\n"},
        {"c.c", "#include \"defs.h\"\n#define TWO 22\nTWO ONE\n"},
        {"d.c", "#define FIRST 0\n#include \"defs.h\"\nFIRST ONE\n"},
        {"e.c", "#include \"loud.h\"\nLOUD\n"},
        {"f.c", "#include \"defs.h\"\n#ifdef ONE\nyes\n#endif\n$evalint(ONE + 1)"},
    };
    ScriptLookup lookup = [&files](const std::string& path) -> std::optional<std::string_view> {
        auto found = files.find(path);
        return found == files.end() ? std::nullopt : std::optional<std::string_view>(found->second);
    };
    IncludeCache cache;
    for (int round = 0; round < 2; ++round) {
        for (const char* name : {"a.c", "b.c", "c.c", "d.c", "e.c", "f.c"}) {
            PrecompiledScript cached = PrecompileScript(name, lookup, &cache);
            PrecompiledScript fresh = PrecompileScript(name, lookup);
            EXPECT_EQ(Texts(cached), Texts(fresh)) << name;
            EXPECT_EQ(Messages(cached), Messages(fresh)) << name;
            EXPECT_EQ(cached.Files, fresh.Files) << name;
            ASSERT_EQ(cached.Tokens.size(), fresh.Tokens.size()) << name;
            for (std::size_t i = 0; i < fresh.Tokens.size(); ++i) {
                EXPECT_EQ(cached.Files[cached.Tokens[i].File], fresh.Files[fresh.Tokens[i].File]);
                EXPECT_EQ(cached.Tokens[i].Line, fresh.Tokens[i].Line);
            }
        }
    }
    EXPECT_EQ(Texts(PrecompileScript("b.c", lookup, &cache)), "ONE ( 2 + 2 )");
    EXPECT_EQ(Texts(PrecompileScript("c.c", lookup, &cache)), "22 1");
    // defs.h alone is kept: loud.h hands out a token, d.c includes after a define.
    ASSERT_EQ(cache.Files.size(), 1u);
    EXPECT_EQ(std::get<0>(cache.Files.begin()->first), "defs.h");
}

} // namespace
} // namespace twl
