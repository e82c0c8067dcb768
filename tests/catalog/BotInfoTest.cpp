// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalog/BotInfo.h"

#include <gtest/gtest.h>

namespace twl {
namespace {

// A bot list file as the game reads it, and what it makes of it: the names,
// one key of each bot, and the problems' lines.
struct BotListCase
{
    const char* What;
    std::string Text;
    std::vector<std::string> Names;
    std::vector<std::string> Models;
    std::vector<std::string> ProblemStarts;
};

TEST(ParseBotInfos, ReadsAsTheGameReads)
{
    const std::vector<BotListCase> cases = {
        {"two bots, comments of both kinds",
         "// Angelyss model\r\n{\r\nname\t\tAngelyss\r\nmodel\t\tangelyss\r\naifile\tbots/"
         "angelyss_c.c\r\n}\r\n/* a\r\nblock */ {\nname Dark\nmodel angelyss/dark // dark\n}\n",
         {"Angelyss", "Dark"},
         {"angelyss", "angelyss/dark"},
         {}},
        {"a quoted value keeps its blanks; a key given twice keeps the last",
         "{\nname \"Big Guy\"\nmodel sarge\nmodel visor\n}\n",
         {"Big Guy"},
         {"visor"},
         {}},
        {"a value on the next line is no value: the key gets <NULL>",
         "{\nname Solo\nmodel\nsarge x\n}\n",
         {"Solo"},
         {"<NULL>"},
         {}},
        {"a value with a semicolon is refused, the bot stays",
         "{\nname Semi;colon\nmodel sarge\n}\n{\nname Ok\n}\n",
         {"", "Ok"},
         {"sarge", ""},
         {"line 2:"}},
        {"a block without its brace ends the file",
         "{\nname First\n}\nname Second\n{\nname Third\n}\n",
         {"First"},
         {""},
         {"line 4: Missing {"}},
        {"the file ends inside a bot",
         "{\nname Open\nmodel sarge\n",
         {"Open"},
         {"sarge"},
         {"line 3: Unexpected end"}},
        {"a byte above 127 ends a word, as the game reads bytes as signed",
         "{\nname Ren\xE9"
         "e\n}\n",
         {"Ren"},
         {""},
         {}},
        {"a file of 8192 bytes or more is skipped whole",
         "{\nname Big\n}\n" + std::string(8192, ' '),
         {},
         {},
         {"line 1: the file is"}},
    };
    for (const BotListCase& c : cases) {
        SCOPED_TRACE(c.What);
        BotInfoFile file = ParseBotInfos(c.Text);
        std::vector<std::string> names;
        std::vector<std::string> models;
        for (const BotInfo& info : file.Infos) {
            names.push_back(info.Value("NAME"));
            models.push_back(info.Value("model"));
        }
        EXPECT_EQ(names, c.Names);
        EXPECT_EQ(models, c.Models);
        ASSERT_EQ(file.Problems.size(), c.ProblemStarts.size());
        for (std::size_t k = 0; k < c.ProblemStarts.size(); ++k) {
            EXPECT_EQ(file.Problems[k].rfind(c.ProblemStarts[k], 0), 0u) << file.Problems[k];
        }
    }
}

TEST(ParseBotInfos, NamesAsTheGameModuleReadsThem)
{
    struct Case
    {
        std::string Text;
        std::vector<std::string> Names;
    };

    const std::vector<Case> cases = {
        {"{\nname Sarge\nmodel sarge\n}\n{ NAME \"Two Words\" }", {"Sarge", "Two Words"}},
        {"// comment { name Not }\n/* { name Nor } */ {\r\nname\tTank // x\r\n}", {"Tank"}},
        {"{\nname First\nname Second\n}", {"Second"}},
        {"{\nname Good\nname \"bad;name\"\n}", {"Good"}},
        {"{\nname\nSarge\n}", {"<NULL>"}},
        {"{\nmodel sarge\n}\n{ name Later }", {"Later"}},
        {"{ name One }\njunk\n{ name Lost }", {"One"}},
        {"{ name \"Unended", {"Unended"}},
        {"", {}},
    };
    for (const Case& test : cases) {
        std::vector<std::string> names;
        for (const BotInfo& info : ParseBotInfos(test.Text).Infos) {
            if (!info.Value("name").empty()) {
                names.push_back(info.Value("name"));
            }
        }
        EXPECT_EQ(names, test.Names) << test.Text;
    }
}

TEST(ModelAndSkin, SkinAfterTheSlashOrDefault)
{
    EXPECT_EQ(ModelAndSkin("angelyss/retro"),
              std::make_pair(std::string("angelyss"), std::string("retro")));
    EXPECT_EQ(ModelAndSkin("sarge"), std::make_pair(std::string("sarge"), std::string("default")));
}

} // namespace
} // namespace twl
