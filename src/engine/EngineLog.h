// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/TryVerdict.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace twl {

// One bot added at one skill in an engine run, and its place in the
// verdict.
struct RunSection
{
    std::size_t Bot = 0;   // in TryVerdict::Bots
    std::size_t Skill = 0; // in that bot's Skills
    std::string Player;    // the name it plays under in a match; empty otherwise
    int Level = 0;         // the level of the run it is added on
};

// What the reader of a run is told about it.
struct RunLayout
{
    std::string Marker;               // the word of this run's "echo" lines
    std::vector<RunSection> Sections; // in the order the bots are added
    std::string Map;
    int Levels = 1;
    bool Match = false; // the bots play after they are added
    // The private home's base folder, as the engine names it.
    std::string HomeBase;
    // The tried loose files by game path (lower case), and the tried
    // archives by their file name in the base folder, each with how
    // findings name it.
    std::map<std::string, std::string> TriedFiles;
    std::map<std::string, std::string> TriedArchives;
    // The lines of a tried file by game path (lower case), to find the line
    // a message comes from; nothing when it is not a tried file.
    std::function<std::optional<std::vector<std::string>>(const std::string& gamePath)> ReadTried;
    // What findings of the match without a file of their own name.
    std::string EngineShown;
};

// Reads the lines of one engine run into the verdict as they come (the
// engine's console, as ioquake3's botlib, game module and file system
// print it; see docs/game-rules.md). Keeps at most a bounded number of
// findings, messages and lines, whatever the engine prints.
class EngineLogReader
{
public:
    EngineLogReader(TryVerdict& verdict, RunLayout layout);

    // One line without its end; the level that it ends, if any (its bots
    // are set up; after the last one, a match runs).
    std::optional<int> Line(std::string_view line);

    // The run's commands were read (the first marker came).
    bool SawStart() const { return m_sawStart; }

    // Every level ended: every bot was added.
    bool SawEnd() const { return m_sawEnd; }

    // The last lines read, at most 40.
    std::vector<std::string> LastLines() const;

    // The characteristics of the skills between blocks, as the engine
    // writes them into botlib.log ("bots/x_c.c", "skill 4.5", "{", " 12
    // 0.5", "}") on a level, given to its sections of that file and skill.
    void ReadCharacterDump(const std::string& text, int level);

private:
    SkillVerdict* Current();
    void SetupLine(const std::string& line, bool red, bool yellow);
    void SectionLine(const std::string& line, bool coloured, bool red, bool yellow);
    void MatchLine(const std::string& line, bool red, bool yellow);
    bool MarkerLine(const std::string& line, std::optional<int>& levelEnded);
    std::optional<Finding>
    EngineFinding(const std::string& line, bool coloured, bool red, bool yellow);
    std::string ShownFor(const std::string& gamePath) const;
    std::string GamePathIn(const std::string& text) const;
    void PlaceChatError(Finding& finding);
    void Add(std::vector<Finding>& findings, Finding finding);

    TryVerdict& m_verdict;
    RunLayout m_layout;
    bool m_sawStart = false;
    bool m_sawEnd = false;
    bool m_inMatch = false;
    int m_section = -1;
    // Where each file of the current section was found, by game path (lower case).
    std::map<std::string, std::string> m_foundIn;
    int m_weightFiles = 0;
    int m_chat = -1; // the chat type being built, in Current()->Chats
    int m_chatLeft = 0;
    bool m_chatDashes = false;
    std::map<int, std::size_t> m_clients; // client number to section
    std::deque<std::string> m_lastLines;
    std::map<std::string, std::vector<std::string>> m_triedLines;
};

} // namespace twl
