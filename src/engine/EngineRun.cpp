// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/EngineRun.h"

#include <charconv>

namespace twl {

std::string SkillText(double skill)
{
    char buffer[32];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, skill);
    return error == std::errc() ? std::string(buffer, end) : std::string("1");
}

bool CanAddByName(const std::string& name)
{
    if (name.empty()) {
        return false;
    }
    for (char c : name) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '"' || c == ';') {
            return false;
        }
    }
    return true;
}

int CharactersPerLoad(double skill)
{
    return skill == 1 || skill == 4 || skill == 5 ? 1 : 3;
}

int CharactersKeptAfterLoad(double skill)
{
    // A bot whose weights or chat fail to load leaves its character taken
    // too (BotAISetupClient returns without freeing it).
    return CharactersPerLoad(skill);
}

std::string EngineConfigName(int level)
{
    return "tarnwell-try-" + std::to_string(level) + ".cfg";
}

std::vector<std::string> EngineConfigTexts(const EngineRunPlan& plan)
{
    std::vector<std::string> texts(1);
    texts[0] = "// The commands of one engine run of Tarnwell's \"Try in game\".\n"
               "set bot_enable 1\n"
               "set g_gametype 0\n";
    if (plan.Match) {
        texts[0] += "set bot_fastchat 1\n"
                    "set fraglimit 0\n"
                    "set timelimit 0\n";
    } else {
        texts[0] += "set bot_testichat 1\n"
                    "set bot_reloadcharacters 1\n"
                    "set fs_debug 1\n";
    }
    texts[0] += "devmap " + plan.Map + "\n";
    if (plan.Match) {
        // A bot says nothing in the first 25 s of the level: 8 frames of
        // 5 s each run the clock past that before the bots come.
        texts[0] += "timescale 100\n"
                    "wait 8\n"
                    "timescale 1\n";
    }
    for (std::size_t i = 0; i < plan.Additions.size(); ++i) {
        const EngineRunPlan::Addition& addition = plan.Additions[i];
        while (static_cast<int>(texts.size()) <= addition.Level) {
            texts.back() +=
                "echo " + plan.Marker + " level " + std::to_string(texts.size() - 1) + "\n";
            texts.push_back("devmap " + plan.Map + "\n");
        }
        std::string& text = texts.back();
        text += "echo " + plan.Marker + " begin " + std::to_string(i) + "\n";
        text += "addbot \"" + addition.Name + "\" " + SkillText(addition.Skill);
        if (!addition.Player.empty()) {
            text += " free 0 \"" + addition.Player + "\"";
        }
        text += "\n";
        if (!plan.Match) {
            text += "kickbots\n";
        } else if (i % 4 == 3) {
            text += "wait 2\n";
        }
    }
    texts.back() += "echo " + plan.Marker + " level " + std::to_string(texts.size() - 1) + "\n";
    if (!plan.Match) {
        texts.back() += "quit\n";
    }
    return texts;
}

std::vector<std::string>
EngineArguments(const GameFolders& game, const std::filesystem::path& home, bool match)
{
    std::vector<std::string> arguments;
    auto set = [&arguments](const std::string& name, const std::string& value) {
        arguments.insert(arguments.end(), {"+set", name, value});
    };
    set("dedicated", "1");
    set("net_enabled", "0");
    set("sv_master1", "");
    set("com_basegame", game.BaseFolder);
    // Quake3e's name for the base game; ioquake3 skips it when it equals
    // com_basegame.
    set("fs_basegame", game.BaseFolder);
    set("fs_basepath", game.GameFolder.string());
    set("fs_homepath", home.string());
    set("fs_steampath", "");
    set("fs_gogpath", "");
    set("fs_apppath", "");
    set("fs_game", "");
    set("sv_maxclients", std::to_string(PlayerSlots));
    set("com_ansiColor", "0");
    if (!match) {
        set("bot_developer", "1");
        set("logfile", "1");
    }
    arguments.insert(arguments.end(), {"+exec", EngineConfigName(0)});
    return arguments;
}

} // namespace twl
