// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/EngineLog.h"

#include "core/ShownText.h"
#include "core/TextCase.h"
#include "core/TextFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace twl {

namespace {

// What one section and one run keep at most: the engine may print without end.
constexpr std::size_t MaxFindings = 200;
constexpr std::size_t MaxMessages = 50;
constexpr std::size_t MaxChatTypes = 64;
constexpr std::size_t MaxFiles = 200;
constexpr std::size_t MaxSaid = 200;
constexpr std::size_t KeptLastLines = 40;

constexpr const char* DefaultCharacter = "bots/default_c.c";

bool StartsWith(std::string_view text, std::string_view start)
{
    return text.substr(0, start.size()) == start;
}

bool EndsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

std::optional<double> NumberIn(std::string_view text)
{
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> WholeNumberIn(std::string_view text)
{
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// "loaded [cached] [default] skill S from FILE": a block of characteristics.
std::optional<CharacterLoad> CharacterLoadIn(std::string_view line)
{
    if (!StartsWith(line, "loaded ")) {
        return std::nullopt;
    }
    std::string_view rest = line.substr(7);
    if (StartsWith(rest, "cached ")) {
        rest.remove_prefix(7);
    }
    CharacterLoad load;
    if (StartsWith(rest, "default ")) {
        load.Default = true;
        rest.remove_prefix(8);
    }
    if (!StartsWith(rest, "skill ")) {
        return std::nullopt;
    }
    rest.remove_prefix(6);
    std::size_t from = rest.find(" from ");
    if (from == std::string_view::npos) {
        return std::nullopt;
    }
    std::optional<double> skill = NumberIn(rest.substr(0, from));
    if (!skill) {
        return std::nullopt;
    }
    load.Skill = *skill;
    load.File = std::string(rest.substr(from + 6));
    return load;
}

// The lines of a chat file: where a chat type's block starts.
std::optional<std::size_t> ChatTypeLine(const std::vector<std::string>& lines,
                                        const std::string& type)
{
    std::string wanted = "\"" + LowerCase(type) + "\"";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string lower = LowerCase(lines[i]);
        std::size_t at = lower.find("type");
        if (at != std::string::npos && lower.find(wanted, at) != std::string::npos) {
            return i;
        }
    }
    return std::nullopt;
}

bool IsNameCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// The first line from `from` on that names `word` as a word of its own.
std::optional<std::size_t>
LineNaming(const std::vector<std::string>& lines, std::size_t from, const std::string& word)
{
    for (std::size_t i = from; i < lines.size(); ++i) {
        for (std::size_t at = lines[i].find(word); at != std::string::npos;
             at = lines[i].find(word, at + 1)) {
            bool before = at > 0 && IsNameCharacter(lines[i][at - 1]);
            std::size_t end = at + word.size();
            bool after = end < lines[i].size() && IsNameCharacter(lines[i][end]);
            if (!before && !after) {
                return i;
            }
        }
    }
    return std::nullopt;
}

} // namespace

bool SkillVerdict::UsedDefault() const
{
    return std::any_of(Characters.begin(), Characters.end(), [](const CharacterLoad& load) {
        return load.Default;
    });
}

bool SkillVerdict::Loaded() const
{
    return Entered && !Characters.empty() && !UsedDefault() &&
           CountFindings(Findings, Severity::Error) == 0;
}

bool TryVerdict::AllLoaded() const
{
    if (Result != Outcome::Done || Bots.empty()) {
        return false;
    }
    for (const BotVerdict& bot : Bots) {
        for (const SkillVerdict& skill : bot.Skills) {
            if (!skill.Loaded()) {
                return false;
            }
        }
    }
    return CountFindings(Findings, Severity::Error) == 0;
}

EngineLogReader::EngineLogReader(TryVerdict& verdict, RunLayout layout)
    : m_verdict(verdict)
    , m_layout(std::move(layout))
{}

std::vector<std::string> EngineLogReader::LastLines() const
{
    return {m_lastLines.begin(), m_lastLines.end()};
}

SkillVerdict* EngineLogReader::Current()
{
    if (m_section < 0 || static_cast<std::size_t>(m_section) >= m_layout.Sections.size()) {
        return nullptr;
    }
    const RunSection& section = m_layout.Sections[static_cast<std::size_t>(m_section)];
    return &m_verdict.Bots[section.Bot].Skills[section.Skill];
}

std::optional<int> EngineLogReader::Line(std::string_view raw)
{
    std::string shown = ShownText(WithoutColours(raw));
    m_lastLines.push_back(shown);
    if (m_lastLines.size() > KeptLastLines) {
        m_lastLines.pop_front();
    }
    bool coloured = StartsWith(raw, "^") && raw.size() > 1 && raw[1] != '^';
    bool red = StartsWith(raw, "^1");
    bool yellow = StartsWith(raw, "^3");
    std::optional<int> levelEnded;
    if (!coloured && MarkerLine(shown, levelEnded)) {
        return levelEnded;
    }
    if (m_inMatch) {
        MatchLine(shown, red, yellow);
    } else if (m_section >= 0) {
        SectionLine(shown, coloured, red, yellow);
    } else {
        SetupLine(shown, red, yellow);
    }
    return std::nullopt;
}

bool EngineLogReader::MarkerLine(const std::string& line, std::optional<int>& levelEnded)
{
    const std::string& marker = m_layout.Marker;
    if (marker.empty() || !StartsWith(line, marker) || line.size() <= marker.size() ||
        line[marker.size()] != ' ') {
        return false;
    }
    std::string_view word = std::string_view(line).substr(marker.size() + 1);
    bool begin = StartsWith(word, "begin ");
    if (!begin && !StartsWith(word, "level ")) {
        return false;
    }
    std::optional<int> number = WholeNumberIn(word.substr(6));
    std::size_t limit =
        begin ? m_layout.Sections.size() : static_cast<std::size_t>(m_layout.Levels);
    if (!number || *number < 0 || static_cast<std::size_t>(*number) >= limit) {
        return false;
    }
    m_chat = -1;
    m_chatLeft = 0;
    m_chatDashes = false;
    m_sawStart = true;
    if (begin) {
        m_section = *number;
        m_foundIn.clear();
        m_weightFiles = 0;
        return true;
    }
    m_section = -1;
    levelEnded = *number;
    if (*number + 1 == m_layout.Levels) {
        m_sawEnd = true;
        m_inMatch = m_layout.Match;
    }
    return true;
}

void EngineLogReader::Add(std::vector<Finding>& findings, Finding finding)
{
    bool known = std::any_of(findings.begin(), findings.end(), [&finding](const Finding& other) {
        return other.Level == finding.Level && other.File == finding.File &&
               other.Line == finding.Line && other.Text == finding.Text;
    });
    if (!known && findings.size() < MaxFindings) {
        findings.push_back(std::move(finding));
    }
}

std::string EngineLogReader::ShownFor(const std::string& gamePath) const
{
    std::string lower = LowerCase(gamePath);
    auto found = m_foundIn.find(lower);
    if (found != m_foundIn.end()) {
        const std::string& where = found->second;
        if (where == m_layout.HomeBase) {
            auto tried = m_layout.TriedFiles.find(lower);
            return tried != m_layout.TriedFiles.end() ? tried->second : where + "/" + gamePath;
        }
        if (StartsWith(where, m_layout.HomeBase + "/")) {
            auto archive = m_layout.TriedArchives.find(where.substr(m_layout.HomeBase.size() + 1));
            if (archive != m_layout.TriedArchives.end()) {
                return archive->second + "/" + gamePath;
            }
        }
        return where + "/" + gamePath;
    }
    auto tried = m_layout.TriedFiles.find(lower);
    return tried != m_layout.TriedFiles.end() ? tried->second : gamePath;
}

// The game path of the first word of `text` that names a file of a bot
// ("bots/x_c.c" is "botfiles/bots/x_c.c"); empty when none does.
std::string EngineLogReader::GamePathIn(const std::string& text) const
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string word = text.substr(start, end - start);
        while (!word.empty() && (word.back() == ',' || word.back() == ':' || word.back() == '.' ||
                                 word.back() == '"' || word.back() == '\'')) {
            word.pop_back();
        }
        while (!word.empty() && (word.front() == '"' || word.front() == '\'')) {
            word.erase(0, 1);
        }
        std::string lower = LowerCase(word);
        bool fileName = EndsWith(lower, ".c") || EndsWith(lower, ".h") || EndsWith(lower, ".bot") ||
                        EndsWith(lower, ".txt") || EndsWith(lower, ".aas") ||
                        EndsWith(lower, ".bsp");
        if (fileName && lower.find('/') != std::string::npos) {
            bool top = StartsWith(lower, "botfiles/") || StartsWith(lower, "scripts/") ||
                       StartsWith(lower, "maps/");
            return top ? word : "botfiles/" + word;
        }
        if (fileName && !lower.empty()) {
            std::string below = "botfiles/" + word;
            if (m_foundIn.count(LowerCase(below)) != 0 ||
                m_layout.TriedFiles.count(LowerCase(below)) != 0) {
                return below;
            }
        }
        start = end + 1;
    }
    return {};
}

std::optional<Finding>
EngineLogReader::EngineFinding(const std::string& line, bool coloured, bool red, bool yellow)
{
    Finding finding;
    std::string text;
    if (StartsWith(line, "Error: ") || StartsWith(line, "Fatal: ")) {
        finding.Level = Severity::Error;
        text = line.substr(7);
    } else if (StartsWith(line, "Warning: ")) {
        finding.Level = Severity::Warning;
        text = line.substr(9);
    } else if (StartsWith(line, "Com_sprintf: ")) {
        // A path or text cut to fit the engine's buffer.
        finding.Level = Severity::Warning;
        text = line;
    } else if (coloured && (red || yellow)) {
        finding.Level = red ? Severity::Error : Severity::Warning;
        text = line;
    } else {
        return std::nullopt;
    }
    // "file bots/x_c.c, line 12: text", as the botlib's parser reports.
    if (StartsWith(text, "file ")) {
        std::size_t comma = text.find(", line ");
        std::size_t colon = comma == std::string::npos ? comma : text.find(": ", comma);
        if (colon != std::string::npos) {
            std::optional<int> number =
                WholeNumberIn(std::string_view(text).substr(comma + 7, colon - comma - 7));
            if (number) {
                std::string file = text.substr(5, comma - 5);
                std::string gamePath = GamePathIn(file);
                finding.File = ShownFor(gamePath.empty() ? file : gamePath);
                finding.Line = *number;
                finding.Text = text.substr(colon + 2);
                return finding;
            }
        }
    }
    finding.Text = text;
    std::string gamePath = GamePathIn(text);
    if (!gamePath.empty()) {
        finding.File = ShownFor(gamePath);
    }
    return finding;
}

void EngineLogReader::PlaceChatError(Finding& finding)
{
    SkillVerdict* skill = Current();
    if (skill == nullptr || skill->ChatFile.empty()) {
        return;
    }
    std::string gamePath = "botfiles/" + skill->ChatFile;
    finding.File = ShownFor(gamePath);
    if (!m_layout.ReadTried || m_chat < 0) {
        return;
    }
    std::string lower = LowerCase(gamePath);
    auto cached = m_triedLines.find(lower);
    if (cached == m_triedLines.end()) {
        std::optional<std::vector<std::string>> lines = m_layout.ReadTried(lower);
        cached = m_triedLines.emplace(lower, lines ? std::move(*lines) : std::vector<std::string>())
                     .first;
    }
    const std::vector<std::string>& lines = cached->second;
    std::optional<std::size_t> typeLine =
        ChatTypeLine(lines, skill->Chats[static_cast<std::size_t>(m_chat)].Type);
    if (!typeLine) {
        return;
    }
    finding.Line = static_cast<int>(*typeLine) + 1;
    const std::string unknown = "unknown random string ";
    std::size_t at = finding.Text.find(unknown);
    if (at != std::string::npos) {
        std::string list = finding.Text.substr(at + unknown.size());
        if (std::optional<std::size_t> named = LineNaming(lines, *typeLine, list)) {
            finding.Line = static_cast<int>(*named) + 1;
        }
    }
}

void EngineLogReader::SetupLine(const std::string& line, bool red, bool yellow)
{
    const std::string bsp = "Can't find map maps/" + m_layout.Map + ".bsp";
    const std::string aas = "maps/" + m_layout.Map + ".aas";
    if (StartsWith(line, bsp)) {
        m_verdict.Result = TryVerdict::Outcome::MapUnusable;
        m_verdict.Problem = "The game folder has no map " + m_layout.Map + " (maps/" +
                            m_layout.Map + ".bsp): the engine cannot start it.";
        return;
    }
    std::optional<Finding> finding = EngineFinding(line, true, red, yellow);
    if (!finding) {
        return;
    }
    if (finding->Level == Severity::Error && line.find(aas) != std::string::npos) {
        m_verdict.Result = TryVerdict::Outcome::MapUnusable;
        m_verdict.Problem = "The game folder has no " + aas +
                            ", the map's navigation file: bots "
                            "cannot play on " +
                            m_layout.Map + ".";
        finding->File = aas;
        Add(m_verdict.Findings, std::move(*finding));
        return;
    }
    // Before the bots come, only what names a tried file is theirs.
    std::string gamePath = GamePathIn(finding->Text);
    if (m_layout.TriedFiles.count(LowerCase(gamePath)) != 0) {
        Add(m_verdict.Findings, std::move(*finding));
    }
}

void EngineLogReader::SectionLine(const std::string& line, bool coloured, bool red, bool yellow)
{
    SkillVerdict& skill = *Current();
    // "game_enter has 2 chat lines", a line of dashes, then each message as
    // the engine builds it (an empty one prints nothing).
    const std::string chatLines = " chat lines";
    std::size_t has = line.find(" has ");
    if (!coloured && has != std::string::npos && line.find(' ') == has &&
        EndsWith(line, chatLines)) {
        std::optional<int> count = WholeNumberIn(
            std::string_view(line).substr(has + 5, line.size() - has - 5 - chatLines.size()));
        if (count && skill.Chats.size() < MaxChatTypes) {
            ChatTypeBuilt chat;
            chat.Type = line.substr(0, has);
            chat.Lines = *count;
            skill.Chats.push_back(std::move(chat));
            m_chat = static_cast<int>(skill.Chats.size()) - 1;
            m_chatLeft = *count;
            m_chatDashes = true;
            return;
        }
    }
    if (m_chatDashes) {
        m_chatDashes = false;
        if (line == "-------------------") {
            return;
        }
    }
    if (m_chat >= 0 && m_chatLeft > 0 && !coloured) {
        if (!StartsWith(line, "ClientUserinfoChanged: ") && !StartsWith(line, "ClientConnect: ")) {
            ChatTypeBuilt& chat = skill.Chats[static_cast<std::size_t>(m_chat)];
            if (chat.Messages.size() < MaxMessages) {
                chat.Messages.push_back(line);
            }
            --m_chatLeft;
            return;
        }
        m_chatLeft = 0;
    }
    if (m_layout.Match) {
        // The bots' files were judged in the load run: here only who plays.
        if (StartsWith(line, "ClientConnect: ")) {
            if (std::optional<int> client = WholeNumberIn(std::string_view(line).substr(15))) {
                m_clients[*client] = static_cast<std::size_t>(m_section);
            }
        } else if (StartsWith(line, "ClientBegin: ")) {
            skill.Play.Played = true;
        }
        return;
    }
    const std::string fsLine = "FS_FOpenFileRead: ";
    if (StartsWith(line, fsLine)) {
        std::size_t foundAt = line.find(" (found in '");
        if (foundAt != std::string::npos && EndsWith(line, "')")) {
            std::string gamePath = line.substr(fsLine.size(), foundAt - fsLine.size());
            std::string where = line.substr(foundAt + 12, line.size() - foundAt - 14);
            std::string lower = LowerCase(gamePath);
            if (m_foundIn.emplace(lower, where).second && skill.Files.size() < MaxFiles) {
                LoadedFile file;
                file.GamePath = gamePath;
                file.FoundIn = where;
                file.Tried =
                    where == m_layout.HomeBase || StartsWith(where, m_layout.HomeBase + "/");
                file.Shown = ShownFor(gamePath);
                skill.Files.push_back(std::move(file));
            }
        }
        return;
    }
    if (std::optional<CharacterLoad> load = CharacterLoadIn(line)) {
        skill.Added = true;
        // The default bot is read first for every skill: only when it
        // stands in for the bot's own block does it count.
        if (load->Default || load->File != DefaultCharacter) {
            skill.Characters.push_back(std::move(*load));
        }
        return;
    }
    if (StartsWith(line, "loaded ")) {
        std::string rest = line.substr(7);
        std::size_t from = rest.find(" from ");
        if (from != std::string::npos) {
            skill.ChatName = rest.substr(0, from);
            skill.ChatFile = rest.substr(from + 6);
        } else if (rest.find(' ') == std::string::npos) {
            // The item weights are read first, then the weapon weights.
            (m_weightFiles++ == 0 ? skill.ItemWeights : skill.WeaponWeights) = rest;
        }
        return;
    }
    if (StartsWith(line, "ClientConnect: ")) {
        skill.Added = true;
        m_chat = -1;
        return;
    }
    if (EndsWith(line, "BotAISetupClient failed\\n\"")) {
        skill.Added = true;
        return;
    }
    if (StartsWith(line, "ClientBegin: ")) {
        skill.Entered = true;
        return;
    }
    if (std::optional<Finding> finding = EngineFinding(line, coloured, red, yellow)) {
        bool builtChat = StartsWith(finding->Text, "BotConstructChat: ");
        if (builtChat && m_chat >= 0) {
            // The start of the refused message may follow: it counts among
            // the type's printed lines, of which there is one a message.
            ++skill.Chats[static_cast<std::size_t>(m_chat)].Errors;
        }
        if (builtChat) {
            PlaceChatError(*finding);
        } else if (finding->File.empty()) {
            // "characteristic 48 is not a float": the bot's own file.
            for (const CharacterLoad& load : skill.Characters) {
                if (!load.Default) {
                    finding->File = ShownFor("botfiles/" + load.File);
                }
            }
        }
        Add(skill.Findings, std::move(*finding));
    }
}

void EngineLogReader::MatchLine(const std::string& line, bool red, bool yellow)
{
    if (StartsWith(line, "say: ")) {
        std::size_t best = m_layout.Sections.size();
        std::size_t bestLength = 0;
        for (std::size_t i = 0; i < m_layout.Sections.size(); ++i) {
            const std::string& player = m_layout.Sections[i].Player;
            if (!player.empty() && player.size() > bestLength &&
                StartsWith(std::string_view(line).substr(5), player + ": ")) {
                best = i;
                bestLength = player.size();
            }
        }
        if (best < m_layout.Sections.size()) {
            const RunSection& section = m_layout.Sections[best];
            PlayRecord& play = m_verdict.Bots[section.Bot].Skills[section.Skill].Play;
            if (play.Said.size() < MaxSaid) {
                play.Said.push_back(line.substr(5 + bestLength + 2));
            }
        }
        return;
    }
    if (StartsWith(line, "Kill: ")) {
        std::string_view rest = std::string_view(line).substr(6);
        std::size_t first = rest.find(' ');
        std::size_t second = first == std::string_view::npos ? first : rest.find(' ', first + 1);
        if (second == std::string_view::npos) {
            return;
        }
        std::optional<int> killer = WholeNumberIn(rest.substr(0, first));
        std::optional<int> victim = WholeNumberIn(rest.substr(first + 1, second - first - 1));
        if (!killer || !victim) {
            return;
        }
        auto record = [this](int client) -> PlayRecord* {
            auto found = m_clients.find(client);
            if (found == m_clients.end()) {
                return nullptr;
            }
            const RunSection& section = m_layout.Sections[found->second];
            return &m_verdict.Bots[section.Bot].Skills[section.Skill].Play;
        };
        if (PlayRecord* dead = record(*victim)) {
            ++dead->Deaths;
            if (*killer == *victim || record(*killer) == nullptr) {
                ++dead->Suicides;
            }
        }
        if (*killer != *victim) {
            if (PlayRecord* frag = record(*killer)) {
                ++frag->Frags;
            }
        }
        return;
    }
    if (std::optional<Finding> finding = EngineFinding(line, true, red, yellow)) {
        if (finding->File.empty()) {
            finding->File = m_layout.EngineShown;
        }
        Add(m_verdict.Findings, std::move(*finding));
    }
}

void EngineLogReader::ReadCharacterDump(const std::string& text, int level)
{
    std::vector<std::string> lines = SplitTextLines(text);
    for (std::size_t i = 0; i + 2 < lines.size(); ++i) {
        if (!StartsWith(lines[i + 1], "skill ") || lines[i + 2] != "{") {
            continue;
        }
        std::optional<double> skillValue = NumberIn(std::string_view(lines[i + 1]).substr(6));
        if (!skillValue) {
            continue;
        }
        const std::string& file = lines[i];
        std::vector<EngineCharacteristic> values;
        std::size_t at = i + 3;
        for (; at < lines.size() && lines[at] != "}"; ++at) {
            std::string_view entry = lines[at];
            std::size_t start = entry.find_first_not_of(' ');
            std::size_t space = entry.find(' ', start);
            if (start == std::string_view::npos || space == std::string_view::npos) {
                continue;
            }
            std::optional<int> index = WholeNumberIn(entry.substr(start, space - start));
            if (index) {
                values.push_back({*index, ShownText(entry.substr(space + 1))});
            }
        }
        for (const RunSection& section : m_layout.Sections) {
            if (section.Level != level) {
                continue;
            }
            SkillVerdict& skill = m_verdict.Bots[section.Bot].Skills[section.Skill];
            bool sameFile = std::any_of(skill.Characters.begin(),
                                        skill.Characters.end(),
                                        [&file](const CharacterLoad& load) {
                                            return load.File == file ||
                                                   (load.Default && file == DefaultCharacter);
                                        });
            if (sameFile && std::fabs(skill.Skill - *skillValue) < 0.05) {
                skill.Characteristics = values;
            }
        }
        i = at;
    }
}

} // namespace twl
