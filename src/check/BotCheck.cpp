// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/BotCheck.h"

#include "botfiles/BotLibraryReaders.h"
#include "botfiles/Precompiler.h"
#include "catalog/BotInfo.h"
#include "chat/RandomLists.h"
#include "check/FindingPlaces.h"
#include "core/CharCatalogue.h"
#include "core/TextCase.h"
#include "services/BotFileSet.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <unordered_map>
#include <unordered_set>

namespace twl {

namespace {

// Characteristics by the numbers of the game's chars.h.
constexpr int CharWeaponWeights = 3;
constexpr int CharViewFactor = 4;
constexpr int CharViewMaxChange = 5;
constexpr int CharReactionTime = 6;
constexpr int CharChatFile = 21;
constexpr int CharChatName = 22;
constexpr int CharChatCpm = 23;
constexpr int CharItemWeights = 40;
constexpr int LastGameCharacteristic = 48;

const std::array<int, 3> Levels = {1, 4, 5};
// The game reads a bot script into a buffer of 8192 bytes with its end mark.
constexpr std::size_t MaxScriptBytes = 8191;
// A chat message may name variables 0 to 7 (MAX_MATCHVARIABLES); the game
// refuses a higher one when it builds the message, and 8 reads past them.
constexpr unsigned long LastChatVariable = 7;

// How the game module reads each characteristic (ai_main.c, ai_dmq3.c,
// ai_chat.c, ai_dmnet.c): as a number, as a text, or not at all.
enum class GameReads
{
    Never,
    Number,
    Text
};

GameReads HowTheGameReads(int index)
{
    switch (index) {
    case 1:  // gender
    case 3:  // weapon weights
    case 21: // chat file
    case 22: // chat name
    case 40: // item weights
        return GameReads::Text;
    case 0:  // name
    case 23: // typing speed: its read is commented out
    case 39: // grapple user
    case 41: // aggression
    case 42: // self-preservation
    case 43: // vengefulness
        return GameReads::Never;
    default:
        return index <= LastGameCharacteristic ? GameReads::Number : GameReads::Never;
    }
}

// The chat types the game asks a bot's chat for (ai_chat.c, ai_dmq3.c,
// ai_team.c, ai_cmd.c, ai_dmnet.c).
const std::set<std::string>& GameChatTypes()
{
    static const std::set<std::string> types = {"accompany_arrive",
                                                "accompany_cannotfind",
                                                "accompany_start",
                                                "accompany_stop",
                                                "accompanying",
                                                "attackenemybase_start",
                                                "attackingenemybase",
                                                "camp_arrive",
                                                "camp_start",
                                                "camp_stop",
                                                "camping",
                                                "cannotfind",
                                                "captureflag_start",
                                                "capturingflag",
                                                "checkpoint_confirm",
                                                "checkpoint_invalid",
                                                "cmd_accompany",
                                                "cmd_accompanyme",
                                                "cmd_attackenemybase",
                                                "cmd_defendbase",
                                                "cmd_getflag",
                                                "cmd_harvest",
                                                "cmd_returnflag",
                                                "death_bfg",
                                                "death_cratered",
                                                "death_drown",
                                                "death_gauntlet",
                                                "death_insult",
                                                "death_kamikaze",
                                                "death_lava",
                                                "death_praise",
                                                "death_rail",
                                                "death_slime",
                                                "death_suicide",
                                                "death_teammate",
                                                "death_telefrag",
                                                "defend_start",
                                                "defend_stop",
                                                "defending",
                                                "dismissed",
                                                "enemy_suicide",
                                                "followme",
                                                "game_enter",
                                                "game_exit",
                                                "getitem_gotit",
                                                "getitem_notthere",
                                                "getitem_start",
                                                "gettingitem",
                                                "harvest_start",
                                                "harvesting",
                                                "help_start",
                                                "helping",
                                                "hit_nodeath",
                                                "hit_nokill",
                                                "hit_talking",
                                                "iamteamleader",
                                                "inteam",
                                                "joinedteam",
                                                "keepinmind",
                                                "kill_done",
                                                "kill_gauntlet",
                                                "kill_insult",
                                                "kill_kamikaze",
                                                "kill_praise",
                                                "kill_rail",
                                                "kill_start",
                                                "kill_teammate",
                                                "kill_telefrag",
                                                "killing",
                                                "lead_stop",
                                                "leftteam",
                                                "level_end",
                                                "level_end_lose",
                                                "level_end_victory",
                                                "level_start",
                                                "location",
                                                "noteam",
                                                "patrol_start",
                                                "patrol_stop",
                                                "patrolling",
                                                "random_insult",
                                                "random_misc",
                                                "returnflag_start",
                                                "returningflag",
                                                "roaming",
                                                "rushingbase",
                                                "teamlocation",
                                                "wantdefence",
                                                "wantoffence",
                                                "whereareyou",
                                                "whereis",
                                                "whois",
                                                "whoisteamleader"};
    return types;
}

// The variables the game gives each chat type it starts itself
// (ai_chat.c): one letter a variable from 0, V for a value, I where it puts
// the text "[invalid var]".
const std::map<std::string, std::string>& ChatTypeVariables()
{
    static const std::map<std::string, std::string> variables = {
        {"game_enter", "VVIIV"},
        {"game_exit", "VVIIV"},
        {"level_start", "V"},
        {"level_end", "VVVVV"},
        {"level_end_victory", "VVIVV"},
        {"level_end_lose", "VVVIV"},
        {"hit_talking", "VV"},
        {"hit_nodeath", "VV"},
        {"hit_nokill", "VV"},
        {"death_telefrag", "V"},
        {"death_cratered", "V"},
        {"death_lava", "V"},
        {"death_slime", "V"},
        {"death_drown", "V"},
        {"death_suicide", "V"},
        {"death_kamikaze", "V"},
        {"death_teammate", "V"},
        {"death_gauntlet", "VV"},
        {"death_rail", "VV"},
        {"death_bfg", "VV"},
        {"death_insult", "VV"},
        {"death_praise", "VV"},
        {"kill_rail", "V"},
        {"kill_gauntlet", "V"},
        {"kill_telefrag", "V"},
        {"kill_kamikaze", "V"},
        {"kill_teammate", "V"},
        {"kill_insult", "V"},
        {"kill_praise", "V"},
        {"enemy_suicide", "V"},
        {"random_insult", "VVIIVV"},
        {"random_misc", "VVIIVV"},
    };
    return variables;
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string SkillsText(const std::set<int>& skills)
{
    std::vector<int> list(skills.begin(), skills.end());
    std::string text = list.size() == 1 ? "skill " : "skills ";
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i > 0) {
            text += i + 1 == list.size() ? " and " : ", ";
        }
        text += std::to_string(list[i]);
    }
    return text;
}

bool EndsWithText(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool StartsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

std::string After(const std::string& text, const std::string& start)
{
    return text.substr(std::min(start.size(), text.size()));
}

bool IsIdentifier(const std::string& text)
{
    return !text.empty() &&
           (std::isalpha(static_cast<unsigned char>(text[0])) != 0 || text[0] == '_') &&
           std::all_of(text.begin(), text.end(), [](char c) {
               return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
           });
}

// What an engine message means, in words a player understands.
std::string Explained(const std::string& text, const std::map<int, std::string>& names)
{
    auto nameOf = [&names](int index) {
        auto found = names.find(index);
        return found != names.end() ? found->second : "characteristic " + std::to_string(index);
    };
    if (StartsWith(text, "characteristic ") &&
        text.find(" already initialized") != std::string::npos) {
        return nameOf(std::atoi(text.c_str() + 15)) + " is given a second time in the block";
    }
    if (StartsWith(text, "expected integer index, found ")) {
        std::string found = After(text, "expected integer index, found ");
        if (found == ",") {
            return "a comma stands where the game expects the next characteristic: the game "
                   "reads numbers with a point only";
        }
        if ((found[0] == 'e' || found[0] == 'E') &&
            found.find_first_not_of("0123456789", 1) == std::string::npos) {
            return "a number with an exponent, which the game does not read";
        }
        if (IsIdentifier(found)) {
            return "the game does not know the characteristic " + found +
                   " (its chars.h has no such name)";
        }
        return found + " stands where the game expects the next characteristic";
    }
    if (StartsWith(text, "characteristic index out of range")) {
        return "the characteristic's number is outside the game's range of 0 to " +
               std::to_string(MaxCharacteristicIndex);
    }
    if (StartsWith(text, "expected integer, float or string, found ")) {
        std::string found = After(text, "expected integer, float or string, found ");
        return found == "-"
                   ? "a minus sign before the value: the game reads no negative characteristic"
                   : "the value " + found + " is neither a number nor a text in quotes";
    }
    if (StartsWith(text, "unknown definition ")) {
        return After(text, "unknown definition ") + " stands outside the blocks the game reads";
    }
    if (StartsWith(text, "file ") && text.size() > 15 &&
        text.compare(text.size() - 10, 10, " not found") == 0) {
        return "the game has no file " + text.substr(5, text.size() - 15) + " to include";
    }
    if (text == "unknown escape char") {
        return "the text holds a backslash before a letter the game does not know as an escape: "
               "the game cuts the text there";
    }
    if (StartsWith(text, "newline inside string") || text == "missing trailing quote") {
        return "the text has no closing quote on its line";
    }
    if (StartsWith(text, "string longer than MAX_TOKEN")) {
        return "the text is longer than the game's 1,021 characters";
    }
    if (text == "chat message too long") {
        return "the message is too long as the game stores it (at most " +
               std::to_string(MaxStoredChatMessage - 1) +
               " characters, a variable or list name after at most " +
               std::to_string(MaxStoredChatMessage - 7) + ")";
    }
    if (StartsWith(text, "unknown message component ")) {
        return "the game cannot read " + After(text, "unknown message component ") +
               " in a message (only texts in quotes, whole numbers and list names)";
    }
    if (StartsWith(text, "invalid return value ")) {
        std::string found = After(text, "invalid return value ");
        return IsIdentifier(found) ? found + " is not defined"
                                   : "the game cannot read " + found + " as a weight";
    }
    if (StartsWith(text, "can't evaluate ") && text.find(", not defined") != std::string::npos) {
        return text.substr(15, text.find(", not defined") - 15) + " is not defined";
    }
    if (StartsWith(text, "couldn't find chat ")) {
        std::string rest = After(text, "couldn't find chat ");
        return "the file holds no chat named " + Quoted(rest.substr(0, rest.rfind(" in "))) +
               ", which the characteristic file asks for";
    }
    if (text == "couldn't read expected token" || StartsWith(text, "couldn't find expected ")) {
        return "the file ends where the game expects more";
    }
    if (StartsWith(text, "redefinition of ")) {
        return After(text, "redefinition of ") + " is defined twice: the later one counts";
    }
    if (StartsWith(text, "expected ")) {
        return "the game expects " + After(text, "expected ");
    }
    if (StartsWith(text, "Com_sprintf: ")) {
        return "a path is longer than the game's buffer of " +
               std::to_string(MaxGamePathBytes - 1) +
               " characters (with \"botfiles/\"): the game cuts it and finds no file";
    }
    return text;
}

// The bytes a line of `bytes` starts at, by line number from 1.
std::vector<std::size_t> LineStarts(const std::string& bytes)
{
    std::vector<std::size_t> starts = {0};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            starts.push_back(i + 1);
        }
    }
    return starts;
}

std::string LineOf(const std::string& bytes, const std::vector<std::size_t>& starts, int line)
{
    if (line < 1 || static_cast<std::size_t>(line) > starts.size()) {
        return {};
    }
    std::size_t start = starts[static_cast<std::size_t>(line - 1)];
    std::size_t end = bytes.find('\n', start);
    std::string text =
        bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!text.empty() && text.back() == '\r') {
        text.pop_back();
    }
    return text;
}

// A number as written, read as a decimal number (what the editor shows).
std::optional<double> DecimalValue(const std::string& text)
{
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos ||
        std::count(text.begin(), text.end(), '.') > 1 || text == ".") {
        return std::nullopt;
    }
    return std::strtod(text.c_str(), nullptr);
}

// What the game reads from a number token, when it differs from the number
// as written (010 is octal, "1." takes a digit that is not there).
std::optional<std::string> MisreadNumber(const ScriptToken& token)
{
    if (token.Type != TokenType::Number || (token.Flags & NumberFlag::Hex) != 0) {
        return std::nullopt;
    }
    double read = (token.Flags & NumberFlag::Float) != 0 ? static_cast<double>(token.FloatValue)
                                                         : static_cast<double>(token.IntValue);
    std::optional<double> written = DecimalValue(token.Text);
    if (written && std::fabs(*written - read) <= 1e-6 * std::max(1.0, std::fabs(*written))) {
        return std::nullopt;
    }
    std::ostringstream out;
    out << read;
    std::string why =
        (token.Flags & NumberFlag::Octal) != 0 && (token.Flags & NumberFlag::Float) == 0
            ? " (a whole number with a leading 0 is octal)"
            : "";
    return "the game reads " + token.Text + " as " + out.str() + why;
}

// Lines of a bot script that hold, outside quotes and comments, a byte the
// game takes for a blank (over 127): the word is cut there.
std::vector<int> LinesWithHighBytes(const std::string& bytes)
{
    std::vector<int> lines;
    int line = 1;
    bool quoted = false;
    bool reported = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\n') {
            ++line;
            quoted = false;
            reported = false;
            continue;
        }
        if (!quoted && c == '/' && i + 1 < bytes.size() && bytes[i + 1] == '/') {
            while (i + 1 < bytes.size() && bytes[i + 1] != '\n') {
                ++i;
            }
            continue;
        }
        if (!quoted && c == '/' && i + 1 < bytes.size() && bytes[i + 1] == '*') {
            std::size_t end = bytes.find("*/", i + 2);
            end = end == std::string::npos ? bytes.size() : end + 1;
            line += static_cast<int>(std::count(bytes.begin() + static_cast<std::ptrdiff_t>(i),
                                                bytes.begin() + static_cast<std::ptrdiff_t>(end),
                                                '\n'));
            i = end;
            continue;
        }
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && static_cast<unsigned char>(c) > 127 && !reported) {
            lines.push_back(line);
            reported = true;
        }
    }
    return lines;
}

// Quake III's chars.h as the game numbers its characteristics.
const std::map<std::string, int>& Q3Characteristics()
{
    static const std::map<std::string, int> numbers = {
        {"CHARACTERISTIC_NAME", 0},
        {"CHARACTERISTIC_GENDER", 1},
        {"CHARACTERISTIC_ATTACK_SKILL", 2},
        {"CHARACTERISTIC_WEAPONWEIGHTS", 3},
        {"CHARACTERISTIC_VIEW_FACTOR", 4},
        {"CHARACTERISTIC_VIEW_MAXCHANGE", 5},
        {"CHARACTERISTIC_REACTIONTIME", 6},
        {"CHARACTERISTIC_AIM_ACCURACY", 7},
        {"CHARACTERISTIC_AIM_ACCURACY_MACHINEGUN", 8},
        {"CHARACTERISTIC_AIM_ACCURACY_SHOTGUN", 9},
        {"CHARACTERISTIC_AIM_ACCURACY_ROCKETLAUNCHER", 10},
        {"CHARACTERISTIC_AIM_ACCURACY_GRENADELAUNCHER", 11},
        {"CHARACTERISTIC_AIM_ACCURACY_LIGHTNING", 12},
        {"CHARACTERISTIC_AIM_ACCURACY_PLASMAGUN", 13},
        {"CHARACTERISTIC_AIM_ACCURACY_RAILGUN", 14},
        {"CHARACTERISTIC_AIM_ACCURACY_BFG10K", 15},
        {"CHARACTERISTIC_AIM_SKILL", 16},
        {"CHARACTERISTIC_AIM_SKILL_ROCKETLAUNCHER", 17},
        {"CHARACTERISTIC_AIM_SKILL_GRENADELAUNCHER", 18},
        {"CHARACTERISTIC_AIM_SKILL_PLASMAGUN", 19},
        {"CHARACTERISTIC_AIM_SKILL_BFG10K", 20},
        {"CHARACTERISTIC_CHAT_FILE", 21},
        {"CHARACTERISTIC_CHAT_NAME", 22},
        {"CHARACTERISTIC_CHAT_CPM", 23},
        {"CHARACTERISTIC_CHAT_INSULT", 24},
        {"CHARACTERISTIC_CHAT_MISC", 25},
        {"CHARACTERISTIC_CHAT_STARTENDLEVEL", 26},
        {"CHARACTERISTIC_CHAT_ENTEREXITGAME", 27},
        {"CHARACTERISTIC_CHAT_KILL", 28},
        {"CHARACTERISTIC_CHAT_DEATH", 29},
        {"CHARACTERISTIC_CHAT_ENEMYSUICIDE", 30},
        {"CHARACTERISTIC_CHAT_HITTALKING", 31},
        {"CHARACTERISTIC_CHAT_HITNODEATH", 32},
        {"CHARACTERISTIC_CHAT_HITNOKILL", 33},
        {"CHARACTERISTIC_CHAT_RANDOM", 34},
        {"CHARACTERISTIC_CHAT_REPLY", 35},
        {"CHARACTERISTIC_CROUCHER", 36},
        {"CHARACTERISTIC_JUMPER", 37},
        {"CHARACTERISTIC_WEAPONJUMPING", 38},
        {"CHARACTERISTIC_GRAPPLE_USER", 39},
        {"CHARACTERISTIC_ITEMWEIGHTS", 40},
        {"CHARACTERISTIC_AGGRESSION", 41},
        {"CHARACTERISTIC_SELFPRESERVATION", 42},
        {"CHARACTERISTIC_VENGEFULNESS", 43},
        {"CHARACTERISTIC_CAMPER", 44},
        {"CHARACTERISTIC_EASY_FRAGGER", 45},
        {"CHARACTERISTIC_ALERTNESS", 46},
        {"CHARACTERISTIC_FIRETHROTTLE", 47},
        {"CHARACTERISTIC_WALKER", 48},
    };
    return numbers;
}

std::string BuiltInCharsHeader()
{
    std::string text;
    for (const auto& [name, number] : Q3Characteristics()) {
        text += "#define " + name + " " + std::to_string(number) + "\n";
    }
    return text;
}

// The files of Quake III's botfiles/ that a weight file includes: without
// the game's own, they stand in empty, and the weights are checked by the
// names Quake III's templates use.
bool IsQ3Template(const std::string& path)
{
    std::string lower = LowerCase(path);
    return lower == "fw_weap.c" || lower == "fw_items.c" || lower == "inv.h" || lower == "syn.h" ||
           lower == "match.h" || lower == "teamplay.h" || lower == "game.h";
}

// The weapons a bot starts with, and what it carries then (inv.h names).
const std::vector<std::pair<std::string, int>>& StartInventory()
{
    static const std::vector<std::pair<std::string, int>> items = {
        {"INVENTORY_GAUNTLET", 1},
        {"INVENTORY_MACHINEGUN", 1},
        {"INVENTORY_BULLETS", 100},
        {"INVENTORY_HEALTH", 125},
    };
    return items;
}

const char* const SyntheticFile = "<tarnwell>";
// Files this large are told apart by their bytes too, and read once
// however many names they have (no bot file needs as much).
constexpr std::size_t MinSharedFileBytes = 32 * 1024;

// The game's default bot, whose characteristics stand in for what a bot's
// own leave out (be_ai_char.c DEFAULT_CHARACTER).
bool IsDefaultBot(const std::string& path)
{
    return LowerCase(path) == "bots/default_c.c";
}

} // namespace

const std::map<std::string, int>& BuiltInCharacteristicNumbers()
{
    return Q3Characteristics();
}

struct BotChecker::State
{
    enum class Origin
    {
        None,
        Own,
        Game,
        BuiltIn
    };

    struct Resolved
    {
        Origin From = Origin::None;
        CheckedFile File;
        std::optional<std::string> CaseProblem;
        bool StandIn = false; // an empty stand-in for one of Quake III's templates
    };

    // Where a finding about a script's message goes.
    struct Place
    {
        std::string File;
        int Line = 0;
        std::string Where; // " (in fuzw.c, line 40)" for a line of the game's files
    };

    State(const Catalogues& catalogues,
          BotFileLookup own,
          bool gameArchive,
          const GameDefinitions* folderGame)
        : Lists(catalogues)
        , Own(std::move(own))
        , GameArchive(gameArchive)
        , FolderGame(folderGame)
    {}

    const Catalogues& Lists;
    BotFileLookup Own;
    bool GameArchive;
    const GameDefinitions* FolderGame;
    std::vector<Finding> Findings;
    std::size_t Bots = 0;
    std::unordered_set<std::string> CheckedCharacteristics;
    std::unordered_set<std::string> CheckedWeights;
    std::set<std::pair<std::string, std::string>> CheckedChats;
    std::unordered_set<std::string> BotNames;
    std::set<int> RefusedLines; // lines of the script being checked whose value the game refuses
    std::optional<std::map<std::string, std::string>> Originals;
    std::unordered_map<std::string, Resolved> Files;
    std::optional<std::map<std::string, int>> CharNumbers;
    std::map<int, std::string> CharNames;
    std::optional<std::set<std::string>> RandomLists; // empty optional: the built-in ones
    bool RandomListsLooked = false;
    std::optional<std::map<int, int>> Inventory;
    IncludeCache Includes; // chars.h and inv.h, read once
    std::map<std::pair<std::size_t, std::size_t>, std::pair<std::string, PrecompiledScript>>
        SameFiles;
    std::string Synthetic;

    void
    Add(Severity level, const std::string& file, int line, std::string text, CheckPlace place = {})
    {
        Findings.push_back({level, file, line, std::move(text), place});
    }

    const Resolved& Resolve(const std::string& path)
    {
        auto known = Files.find(path);
        if (known != Files.end()) {
            return known->second;
        }
        Resolved resolved;
        if (path == SyntheticFile) {
            resolved.From = Origin::BuiltIn;
            resolved.File = {path, Synthetic};
            return Files.emplace(path, resolved).first->second;
        }
        LookedUpFile own = Own ? Own(path) : LookedUpFile{};
        if (own.File && !own.CaseProblem) {
            resolved.From = Origin::Own;
            resolved.File = std::move(*own.File);
        } else {
            resolved.CaseProblem = own.CaseProblem;
            std::string gamePath = "botfiles/" + LowerCase(path);
            for (char& c : gamePath) {
                c = c == '\\' ? '/' : c;
            }
            const GameFile* game = FolderGame != nullptr ? FolderGame->File(gamePath) : nullptr;
            game = game != nullptr ? game : Lists.Game.File(gamePath);
            bool knowsGame = !Lists.Game.GameName.empty() ||
                             (FolderGame != nullptr && !FolderGame->Files.empty());
            if (game != nullptr) {
                resolved.From = Origin::Game;
                resolved.File = {gamePath + (IsLooseSource(game->Source) ? " in " : " of ") +
                                     game->Source,
                                 game->Bytes};
            } else if (LowerCase(path) == "chars.h" && !knowsGame) {
                resolved.From = Origin::BuiltIn;
                resolved.File = {"chars.h", BuiltInCharsHeader()};
            } else if (!knowsGame && IsQ3Template(path)) {
                resolved.From = Origin::BuiltIn;
                resolved.File = {path, std::string()};
                resolved.StandIn = true;
            }
        }
        return Files.emplace(path, std::move(resolved)).first->second;
    }

    PrecompiledScript Precompile(const std::string& path)
    {
        // Large files that are alike (many names for one stream of an
        // archive) are read once; their file name is the only difference.
        const Resolved& main = Resolve(path);
        std::optional<std::pair<std::size_t, std::size_t>> key;
        if (main.From != Origin::None && main.File.Bytes.size() >= MinSharedFileBytes) {
            key.emplace(std::hash<std::string>()(main.File.Bytes), main.File.Bytes.size());
            auto shared = SameFiles.find(*key);
            if (shared != SameFiles.end() && shared->second.first == main.File.Bytes) {
                PrecompiledScript script = shared->second.second;
                script.Files.front() = path;
                return script;
            }
        }
        PrecompiledScript script = PrecompileScript(
            path,
            [this](const std::string& name) -> std::optional<std::string_view> {
                const Resolved& resolved = Resolve(name);
                if (resolved.From == Origin::None) {
                    return std::nullopt;
                }
                return std::string_view(resolved.File.Bytes);
            },
            &Includes);
        if (key) {
            SameFiles.emplace(*key, std::make_pair(main.File.Bytes, script));
        }
        return script;
    }

    bool UsedStandIn(const PrecompiledScript& script)
    {
        return std::any_of(script.Files.begin(),
                           script.Files.end(),
                           [this](const std::string& name) { return Resolve(name).StandIn; });
    }

    // The numbers these names stand for once `include` is read (chars.h,
    // inv.h), each -1 when the game does not define it.
    std::vector<long> DefinedNumbers(const std::string& include,
                                     const std::vector<std::string>& names)
    {
        Synthetic = "#include \"" + include + "\"\n";
        for (const std::string& name : names) {
            Synthetic += "(" + name + ")\n";
        }
        Files.erase(SyntheticFile);
        PrecompiledScript script = Precompile(SyntheticFile);
        Files.erase(SyntheticFile);
        std::vector<long> numbers(names.size(), -1);
        std::size_t at = 0;
        for (std::size_t i = 0; i < names.size(); ++i) {
            // "(" number ")": a name the game does not define stays a name.
            if (at + 2 < script.Tokens.size() && script.Tokens[at].Text == "(" &&
                script.Tokens[at + 1].Type == TokenType::Number &&
                script.Tokens[at + 2].Text == ")") {
                numbers[i] = static_cast<long>(script.Tokens[at + 1].IntValue);
            }
            while (at < script.Tokens.size() && script.Tokens[at].Text != ")") {
                ++at;
            }
            ++at;
        }
        return numbers;
    }

    const std::map<int, std::string>& CharacteristicNames()
    {
        if (CharNumbers) {
            return CharNames;
        }
        // The game's own chars.h gives the names; Quake III's where the game
        // has none.
        CharNumbers = Q3Characteristics();
        const Resolved& chars = Resolve("chars.h");
        if (chars.From == Origin::Own || chars.From == Origin::Game) {
            std::vector<std::string> names;
            std::istringstream in(chars.File.Bytes);
            for (std::string line; std::getline(in, line);) {
                std::istringstream words(line);
                std::string directive;
                std::string name;
                if (words >> directive >> name && directive == "#define" && IsIdentifier(name)) {
                    names.push_back(name);
                }
            }
            std::vector<long> numbers = DefinedNumbers("chars.h", names);
            for (std::size_t i = 0; i < names.size(); ++i) {
                if (numbers[i] >= 0) {
                    (*CharNumbers)[names[i]] = static_cast<int>(numbers[i]);
                }
            }
        }
        for (const auto& [name, number] : *CharNumbers) {
            CharNames.emplace(number, name);
        }
        return CharNames;
    }

    std::string NameOf(int index)
    {
        const std::map<int, std::string>& names = CharacteristicNames();
        auto found = names.find(index);
        return found != names.end() ? found->second : "characteristic " + std::to_string(index);
    }

    // Whether the game's random lists have this one; the built-in lists of
    // Quake III when no rnd.c is known.
    bool HasRandomList(const std::string& name)
    {
        if (!RandomListsLooked) {
            RandomListsLooked = true;
            const Resolved& rnd = Resolve("rnd.c");
            if (rnd.From == Origin::Own || rnd.From == Origin::Game) {
                // A file the game cannot read gives it no list at all.
                RandomListsRead lists = ReadRandomLists(rnd.File.Bytes);
                RandomLists.emplace();
                for (const RandomList& list : lists.Lists) {
                    if (list.Messages > 0 && !lists.Problem) {
                        RandomLists->insert(list.Name);
                    }
                }
            }
        }
        if (RandomLists) {
            return RandomLists->count(name) != 0;
        }
        for (const ChatEntry& word : Lists.Chat.WordLists) {
            if (name == word.FileName) {
                return true;
            }
        }
        for (const ChatEntry& list : Lists.Chat.ChatLists) {
            if (name.compare(0, list.FileName.size(), list.FileName) != 0) {
                continue;
            }
            std::string member = name.substr(list.FileName.size());
            if (member.empty() && list.BareZero) {
                return true;
            }
            if (!member.empty() && member.size() <= 3 &&
                member.find_first_not_of("0123456789") == std::string::npos &&
                std::stoi(member) <= list.MaxIndex) {
                return true;
            }
        }
        return false;
    }

    Place
    PlaceOf(const PrecompiledScript& script, const CheckedFile& main, std::uint16_t file, int line)
    {
        if (file == 0 || file >= script.Files.size()) {
            return {main.Shown, line, ""};
        }
        const std::string& name = script.Files[file];
        const Resolved& resolved = Resolve(name);
        if (resolved.From == Origin::Own) {
            return {resolved.File.Shown, line, ""};
        }
        return {main.Shown, 0, " (in the game's " + name + ", line " + std::to_string(line) + ")"};
    }

    // Where a token is used (the line the game's reading stood at).
    Place
    PlaceOf(const PrecompiledScript& script, const CheckedFile& main, const ScriptToken& token)
    {
        return PlaceOf(script, main, token.AtFile, token.AtLine);
    }

    // Where a token was written (for one a #define put in, that #define).
    Place
    WrittenAt(const PrecompiledScript& script, const CheckedFile& main, const ScriptToken& token)
    {
        return PlaceOf(script, main, token.File, token.Line);
    }

    // Every message the game prints while it reads, once, with what it costs.
    // Where the reading ran into the end of the tokens because an error
    // stopped the precompiler there, what that costs is told at that error.
    void ReportMessages(const PrecompiledScript& script,
                        const CheckedFile& main,
                        std::vector<std::pair<ScriptMessage, std::string>> messages)
    {
        auto stopper = std::find_if(messages.begin(), messages.end(), [&script](const auto& entry) {
            return entry.first.Error && entry.first.Position == script.Tokens.size() &&
                   !IsEndOfTokens(entry.first.Text);
        });
        if (stopper != messages.end()) {
            for (auto& [message, consequence] : messages) {
                if (IsEndOfTokens(message.Text) && !consequence.empty()) {
                    if (stopper->second.empty()) {
                        stopper->second = consequence;
                    }
                    consequence = "\x01"; // told at the error that stopped the reading
                }
            }
        }
        std::set<std::tuple<std::uint16_t, int, std::string>> seen;
        for (const auto& [message, consequence] : messages) {
            if (consequence == "\x01" ||
                !seen.insert({message.File, message.Line, message.Text}).second) {
                continue;
            }
            Place place = PlaceOf(script, main, message.File, message.Line);
            std::string text = Explained(message.Text, CharacteristicNames());
            if (!consequence.empty()) {
                text += ": " + consequence;
            }
            text += place.Where;
            if (text.find(message.Text) == std::string::npos) {
                text += " (the game says: " + Quoted(EngineMessageText(script, message)) + ")";
            }
            Add(message.Error ? Severity::Error : Severity::Warning, place.File, place.Line, text);
        }
    }

    static bool IsEndOfTokens(const std::string& text)
    {
        return text == "couldn't read expected token" ||
               StartsWith(text, "couldn't find expected ");
    }

    void CheckExhausted(const PrecompiledScript& script, const CheckedFile& main)
    {
        if (script.Exhausted) {
            Add(Severity::Error,
                main.Shown,
                0,
                "the file's definitions expand into each other without end: the game never "
                "finishes reading it");
        }
    }

    // ---- scripts ----

    void CheckScript(const CheckedFile& script)
    {
        const std::string& bytes = script.Bytes;
        if (bytes.size() > MaxScriptBytes) {
            Add(Severity::Error,
                script.Shown,
                0,
                "the script has " + std::to_string(bytes.size()) +
                    " bytes; the game reads at most " + std::to_string(MaxScriptBytes) +
                    " and skips the whole file (the game says: "
                    "\"file too large\")");
            return;
        }
        std::vector<std::size_t> starts = LineStarts(bytes);
        for (int line : LinesWithHighBytes(bytes)) {
            Add(Severity::Error,
                script.Shown,
                line,
                "a character above 127 outside quotes: the game takes it for a blank and cuts the "
                "word there (a name so cut is not the name addbot is given)");
        }
        BotInfoFile infos = ParseBotInfos(bytes);
        RefusedLines.clear();
        for (const std::string& problem : infos.Problems) {
            int line = std::atoi(problem.c_str() + 5);
            std::string what = problem.substr(std::min(problem.size(), problem.find(": ") + 2));
            if (what.find("refuses a key or value") != std::string::npos) {
                what = "the value holds \\, ; or a double quote: the game drops it";
                std::string key = LowerCase(LineOf(bytes, starts, line));
                key = key.substr(key.find_first_not_of(" \t") == std::string::npos
                                     ? 0
                                     : key.find_first_not_of(" \t"));
                if (StartsWith(key, "name")) {
                    what += ", the bot has no name and addbot cannot find it";
                }
            }
            Add(Severity::Error, script.Shown, line, what);
            RefusedLines.insert(line);
        }
        // A bots.txt is the game's list itself: no bot of it comes after
        // one of the game's.
        bool botList = EndsWithText(LowerCase(script.Shown), "bots.txt");
        for (const BotInfo& info : infos.Infos) {
            ++Bots;
            CheckBotEntry(script, starts, info, botList);
        }
    }

    int KeyLine(const std::string& bytes,
                const std::vector<std::size_t>& starts,
                int from,
                const std::string& key)
    {
        for (int line = from; line >= 1 && static_cast<std::size_t>(line) <= starts.size();
             ++line) {
            std::string text = LowerCase(LineOf(bytes, starts, line));
            std::size_t first = text.find_first_not_of(" \t{");
            if (first != std::string::npos && text.compare(first, key.size(), key) == 0 &&
                (first + key.size() == text.size() || IsBlankAfter(text[first + key.size()]))) {
                return line;
            }
            if (line > from && text.find('}') != std::string::npos) {
                break;
            }
        }
        return from;
    }

    static bool IsBlankAfter(char c) { return c == ' ' || c == '\t' || c == '"'; }

    // The game's own bots by their names in lower case.
    const std::map<std::string, std::string>& OriginalBots()
    {
        if (!Originals) {
            Originals.emplace();
            for (const BotListEntry& entry : Lists.Bots) {
                if (entry.IsOriginal) {
                    Originals->emplace(LowerCase(entry.Name), entry.Name);
                }
            }
        }
        return *Originals;
    }

    void CheckBotEntry(const CheckedFile& script,
                       const std::vector<std::size_t>& starts,
                       const BotInfo& info,
                       bool botList)
    {
        std::string name = info.Value("name");
        int nameLine = KeyLine(script.Bytes, starts, info.Line, "name");
        if (name.empty() || name == "<NULL>") {
            if (RefusedLines.count(nameLine) == 0) {
                Add(Severity::Error,
                    script.Shown,
                    info.Line,
                    "the bot has no name: addbot cannot find it",
                    CheckPlace{Para::Name, -1, -1});
            }
        } else if (!BotNames.insert(LowerCase(name)).second) {
            Add(Severity::Error,
                script.Shown,
                nameLine,
                "another bot named " + name +
                    " comes first in the game's bot list: addbot gets that one",
                CheckPlace{Para::Name, -1, -1});
        } else if (!GameArchive && !botList) {
            auto original = OriginalBots().find(LowerCase(name));
            if (original != OriginalBots().end()) {
                Add(Severity::Error,
                    script.Shown,
                    nameLine,
                    "the game has its own bot " + original->second +
                        " and finds it first: addbot " + name + " gets the original",
                    CheckPlace{Para::Name, -1, -1});
            }
        }
        std::string aiFile = info.Value("aifile");
        if (aiFile.empty() || aiFile == "<NULL>") {
            Add(Severity::Error,
                script.Shown,
                info.Line,
                "the bot has no aifile: the game cannot add it (the game says: \"bot has no aifile "
                "specified\")");
            return;
        }
        for (char& c : aiFile) {
            c = c == '\\' ? '/' : c;
        }
        int aiLine = KeyLine(script.Bytes, starts, info.Line, "aifile");
        CheckCharacteristic(aiFile, script.Shown, aiLine);
    }

    // ---- characteristic files ----

    void CheckCharacteristic(const std::string& path, const std::string& fromFile, int fromLine)
    {
        if (!CheckedCharacteristics.insert(path).second) {
            return;
        }
        const Resolved& found = Resolve(path);
        if (found.CaseProblem) {
            Add(Severity::Error,
                fromFile,
                fromLine,
                *found.CaseProblem,
                CheckPlace{Para::Name, -1, -1});
        }
        if (("botfiles/" + path).size() >= MaxGamePathBytes) {
            Add(Severity::Error,
                fromFile,
                fromLine,
                "the path botfiles/" + path + " is longer than the game's " +
                    std::to_string(MaxGamePathBytes - 1) +
                    " characters: the game cuts it and finds no characteristic file");
            return;
        }
        if (found.From == Origin::None) {
            if (!found.CaseProblem && !IsGamesBotFile(path)) {
                Add(Severity::Error,
                    fromFile,
                    fromLine,
                    "the game cannot find " + path +
                        ", which aifile names: the bot gets the characteristics of the game's "
                        "default bot");
            }
            return;
        }
        if (found.From != Origin::Own) {
            return; // one of the game's own bots
        }
        CheckedFile main = found.File;
        PrecompiledScript script = Precompile(path);
        Files.erase(path); // read once: its bytes need not stay
        CheckExhausted(script, main);
        std::array<CharacterSkillRead, 3> reads;
        std::vector<std::pair<ScriptMessage, std::string>> messages;
        std::map<std::tuple<std::uint16_t, int, std::string>, std::set<int>> costs;
        for (std::size_t k = 0; k < Levels.size(); ++k) {
            reads[k] = ReadCharacterSkill(script, Levels[k]);
            if (reads[k].Failure) {
                const ScriptMessage& failure = *reads[k].Failure;
                costs[{failure.File, failure.Line, failure.Text}].insert(Levels[k]);
            }
        }
        for (std::size_t k = 0; k < Levels.size(); ++k) {
            for (const ScriptMessage& message : reads[k].Printed) {
                auto cost = costs.find({message.File, message.Line, message.Text});
                std::string consequence;
                if (cost != costs.end()) {
                    consequence =
                        "the game stops reading the file there and uses its default bot for " +
                        SkillsText(cost->second);
                }
                messages.emplace_back(message, consequence);
            }
        }
        // A block the reading never came to: after an error that stopped
        // the precompiler, that error costs it; otherwise there is none.
        std::set<int> unread;
        for (std::size_t k = 0; k < Levels.size(); ++k) {
            if (!reads[k].Found && !reads[k].Failure) {
                unread.insert(Levels[k]);
            }
        }
        bool stopped = false;
        for (auto& [message, consequence] : messages) {
            if (!unread.empty() && message.Error && message.Position == script.Tokens.size() &&
                !IsEndOfTokens(message.Text)) {
                std::set<int> cost = unread;
                auto earlier = costs.find({message.File, message.Line, message.Text});
                if (earlier != costs.end()) {
                    cost.insert(earlier->second.begin(), earlier->second.end());
                }
                consequence = "the game reads nothing after it and uses its default bot for " +
                              SkillsText(cost);
                stopped = true;
            }
        }
        ReportMessages(script, main, messages);
        for (int level : stopped ? std::set<int>() : unread) {
            Add(Severity::Error,
                main.Shown,
                0,
                "there is no block for skill " + std::to_string(level) +
                    ": the game uses its default bot for that skill (the game says: \"couldn't "
                    "find skill " +
                    std::to_string(level) + " in " + path + "\")");
        }
        CheckCharacteristicValues(script, main, reads);
        // The default bot lends its values to what other bots leave out; its
        // own weight and chat files are never loaded for it.
        if (!IsDefaultBot(path)) {
            FollowFiles(script, main, reads);
        }
    }

    // A file of the game's botfiles/bots (its own bots, which the game's
    // archives hold).
    bool IsGamesBotFile(const std::string& path) const
    {
        std::string gamePath = "botfiles/" + LowerCase(path);
        return (FolderGame != nullptr && FolderGame->BotFileSources.count(gamePath) != 0) ||
               Lists.Game.BotFileSources.count(gamePath) != 0;
    }

    void CheckCharacteristicValues(const PrecompiledScript& script,
                                   const CheckedFile& main,
                                   const std::array<CharacterSkillRead, 3>& reads)
    {
        std::set<std::tuple<std::string, int, std::string>> reported;
        // A value's finding stands where its characteristic is named.
        auto add = [&](Severity level, const CharacteristicRead& value, const std::string& text) {
            Place place = PlaceOf(script, main, script.Tokens[value.IndexToken]);
            if (reported.insert({place.File, place.Line, text}).second) {
                Add(level, place.File, place.Line, text + place.Where);
            }
        };
        // What holds for the whole file is told once, for the file.
        auto addOnce = [&](Severity level, int index, int skill, const std::string& text) {
            if (reported.insert({main.Shown, 0, text}).second) {
                Add(level, main.Shown, 0, text, ParameterOf(NameOf(index), skill));
            }
        };
        for (const CharacterSkillRead& read : reads) {
            if (!read.Found) {
                continue;
            }
            for (const auto& [index, value] : read.Values) {
                const ScriptToken& token = script.Tokens[value.ValueToken];
                std::string name = NameOf(index);
                GameReads how = HowTheGameReads(index);
                bool text = value.Type == CharacteristicRead::Kind::Text;
                if (how == GameReads::Number && text) {
                    add(Severity::Error,
                        value,
                        name + " is a text, " + Quoted(value.Text) +
                            ", where the game reads a number: it prints an error each time it "
                            "reads it and takes 0 (the game says: \"characteristic " +
                            std::to_string(index) + " is not a float\")");
                    continue;
                }
                if (how == GameReads::Text && !text) {
                    add(Severity::Error,
                        value,
                        name + " is the number " + token.Text +
                            " where the game reads a text in quotes: it prints an error and "
                            "reads nothing (the game says: \"characteristic " +
                            std::to_string(index) + " is not a string\")");
                    continue;
                }
                if (std::optional<std::string> misread = MisreadNumber(token)) {
                    add(Severity::Warning, value, *misread);
                }
                if (text) {
                    if ((index == CharWeaponWeights || index == CharItemWeights ||
                         index == CharChatFile) &&
                        ("botfiles/" + value.Text).size() >= MaxGamePathBytes) {
                        add(Severity::Error,
                            value,
                            "the path " + value.Text + " is longer than " +
                                std::to_string(MaxGamePathBytes - 1 - 9) +
                                " characters: the game cuts it and cannot open the file");
                    }
                    continue;
                }
                float number = value.Type == CharacteristicRead::Kind::Float
                                   ? value.Float
                                   : static_cast<float>(value.Integer);
                if (index == CharReactionTime && number > 1) {
                    add(Severity::Warning,
                        value,
                        "the game uses a reaction time of at most 1 second");
                } else if (index == CharViewFactor && number < 0.01F) {
                    add(Severity::Warning, value, "the game uses a view factor of at least 0.01");
                } else if (index == CharViewMaxChange && (number < 1 || number > 1800)) {
                    add(Severity::Warning,
                        value,
                        "the game keeps the view change between 1 and 1800");
                } else if (index == CharChatCpm && number != 0) {
                    addOnce(Severity::Warning,
                            index,
                            read.Skill,
                            "the game does not use the typing speed");
                } else if (how == GameReads::Never && index != 0 && number != 0) {
                    addOnce(Severity::Warning, index, read.Skill, "the game never reads " + name);
                }
            }
        }
        // Between two blocks the game blends two fractions; where the lower
        // block holds a fraction and the higher one a whole number or a
        // text, the skills in between get nothing, and the game prints an
        // error each time it reads it. A block without the characteristic
        // takes the default bot's, a fraction.
        for (std::size_t k = 0; k + 1 < Levels.size(); ++k) {
            const CharacterSkillRead& lower = reads[k];
            const CharacterSkillRead& higher = reads[k + 1];
            if (!lower.Found || !higher.Found) {
                continue;
            }
            for (const auto& [index, value] : higher.Values) {
                // A text is an error of its own (not a float).
                if (HowTheGameReads(index) != GameReads::Number ||
                    value.Type != CharacteristicRead::Kind::Integer) {
                    continue;
                }
                auto below = lower.Values.find(index);
                bool fractionBelow = below == lower.Values.end() ||
                                     below->second.Type == CharacteristicRead::Kind::Float;
                if (!fractionBelow) {
                    continue;
                }
                add(Severity::Error,
                    value,
                    NameOf(index) + " is a whole number in skill " + std::to_string(Levels[k + 1]) +
                        " but a fraction in skill " + std::to_string(Levels[k]) +
                        ": the game leaves it unset for the skills in between and prints an error "
                        "each time it reads it (write the whole number with a point, such as 2.0; "
                        "the game says: \"characteristic " +
                        std::to_string(index) + " is not initialized\")");
            }
        }
    }

    void FollowFiles(const PrecompiledScript& script,
                     const CheckedFile& main,
                     const std::array<CharacterSkillRead, 3>& reads)
    {
        std::set<int> missing;
        for (const CharacterSkillRead& read : reads) {
            if (!read.Found) {
                continue;
            }
            for (int index : {CharWeaponWeights, CharItemWeights, CharChatFile}) {
                auto value = read.Values.find(index);
                if (value == read.Values.end()) {
                    missing.insert(index);
                    continue;
                }
                if (value->second.Type != CharacteristicRead::Kind::Text) {
                    continue;
                }
                const ScriptToken& token = script.Tokens[value->second.ValueToken];
                Place from = PlaceOf(script, main, token);
                const std::string& path = value->second.Text;
                if (("botfiles/" + path).size() >= MaxGamePathBytes) {
                    continue; // said where the path stands
                }
                if (index == CharChatFile) {
                    auto name = read.Values.find(CharChatName);
                    if (name == read.Values.end()) {
                        missing.insert(CharChatName);
                    } else if (name->second.Type == CharacteristicRead::Kind::Text) {
                        CheckChat(path, name->second.Text, from);
                    }
                } else {
                    CheckWeights(path, index == CharWeaponWeights, from);
                }
            }
        }
        for (int index : missing) {
            int parameter = index == CharWeaponWeights ? Para::WeaponFile
                            : index == CharItemWeights ? Para::ItemFile
                                                       : Para::ChatFile;
            Add(Severity::Warning,
                main.Shown,
                0,
                "the file names no " + NameOf(index) +
                    ": the game takes the one of its default bot",
                CheckPlace{parameter, -1, -1});
        }
    }

    // ---- weight files ----

    std::map<int, int> StartInventoryNumbers()
    {
        if (!Inventory) {
            std::vector<std::string> names;
            for (const auto& item : StartInventory()) {
                names.push_back(item.first);
            }
            std::vector<long> numbers = DefinedNumbers("inv.h", names);
            Inventory.emplace();
            for (std::size_t i = 0; i < numbers.size(); ++i) {
                if (numbers[i] >= 0) {
                    (*Inventory)[static_cast<int>(numbers[i])] = StartInventory()[i].second;
                }
            }
        }
        return *Inventory;
    }

    // The file that a bot's file names, found as the game finds it. Nothing
    // when the game cannot find it (said, with what the game says then) or
    // when it is not the bot's own (the game's files are not judged).
    const Resolved* ResolveNamed(const std::string& path,
                                 const Place& from,
                                 CheckPlace at,
                                 const std::string& gameSays)
    {
        const Resolved& found = Resolve(path);
        if (found.CaseProblem) {
            Add(Severity::Error, from.File, from.Line, *found.CaseProblem, at);
        }
        if (found.From == Origin::None && !found.CaseProblem) {
            Add(Severity::Error,
                from.File,
                from.Line,
                "the game cannot find " + path +
                    ", which this file names: it does not add the bot (the game says: \"" +
                    gameSays + "\")",
                at);
        }
        return found.From == Origin::Own ? &found : nullptr;
    }

    void CheckWeights(const std::string& path, bool weapons, const Place& from)
    {
        if (!CheckedWeights.insert(path).second) {
            return;
        }
        const Resolved* named = ResolveNamed(path,
                                             from,
                                             {weapons ? Para::WeaponFile : Para::ItemFile, -1, -1},
                                             "couldn't load " + path);
        if (named == nullptr) {
            return;
        }
        const Resolved& found = *named;
        CheckedFile main = found.File;
        PrecompiledScript script = Precompile(path);
        CheckExhausted(script, main);
        WeightConfigRead config = ReadWeightConfig(script);
        std::string lost = "the game cannot read the weight file and does not add the bot";
        std::vector<std::pair<ScriptMessage, std::string>> messages;
        std::set<std::pair<std::string, int>> negatives;
        for (std::size_t token : config.NegativeValues) {
            Place place = WrittenAt(script, main, script.Tokens[token]);
            if (negatives.insert({place.File, place.Line}).second) {
                std::string value =
                    token + 1 < script.Tokens.size() ? script.Tokens[token + 1].Text : "";
                Add(Severity::Warning,
                    place.File,
                    place.Line,
                    "the game takes the weight -" + value + " as " + value +
                        ": it drops the minus (the game says: \"negative value set to zero\")" +
                        place.Where);
            }
        }
        bool standIn = UsedStandIn(script);
        for (const ScriptMessage& message : config.Printed) {
            if (message.Text == "negative value set to zero") {
                continue;
            }
            bool failure = config.Failure && message.Text == config.Failure->Text &&
                           message.Line == config.Failure->Line;
            if (standIn && failure) {
                continue; // Quake III's template is not at hand: judged by its names below
            }
            if (failure && StartsWith(message.Text, "invalid return value ") &&
                IsIdentifier(After(message.Text, "invalid return value "))) {
                std::string name = After(message.Text, "invalid return value ");
                Add(Severity::Error,
                    main.Shown,
                    0,
                    "the weight " + name +
                        " is not defined: the game's weight templates need it and the whole file "
                        "fails, so the game does not add the bot (the game says: " +
                        Quoted(EngineMessageText(script, message)) + ")",
                    WeightPlace(name));
                continue;
            }
            messages.emplace_back(message, failure ? lost : "");
        }
        ReportMessages(script, main, messages);
        if (standIn) {
            CheckWeightNames(main, weapons);
            return;
        }
        if (weapons && config.Loaded) {
            CheckStartWeapons(main, config);
        }
    }

    CheckPlace WeightPlace(const std::string& name)
    {
        for (int g = Para::FirstBotValue; g <= Para::LastBotValue; ++g) {
            if (CharIdentifier(Lists.CharNames[static_cast<std::size_t>(g)]) == "#define " + name) {
                return CheckPlace{g, -1, -1};
            }
        }
        return {};
    }

    // The editor's parameter of a characteristic (of that skill level when
    // it has one per level).
    CheckPlace ParameterOf(const std::string& name, int level)
    {
        for (int g = 0; g < CharCatalogueSize; ++g) {
            if (CharIdentifier(Lists.CharNames[static_cast<std::size_t>(g)]) == name) {
                bool perSkill = g >= Para::FirstSkillChar && g <= Para::LastSkillChar;
                return CheckPlace{perSkill ? Para::OfSkill(level, g) : g, -1, -1};
            }
        }
        return {};
    }

    // With every weight 0 for what a bot carries when it enters, it never
    // picks a weapon: weapon 0, which the game refuses each time it aims.
    void CheckStartWeapons(const CheckedFile& main, const WeightConfigRead& config)
    {
        std::map<int, int> inventory = StartInventoryNumbers();
        if (inventory.empty() || config.Weights.empty()) {
            return;
        }
        auto amount = [&inventory](int index) {
            auto found = inventory.find(index);
            return found == inventory.end() ? 0 : found->second;
        };
        for (const FuzzyWeightRead& weight : config.Weights) {
            if (FuzzyWeightOf(config, weight, amount) > 0) {
                return;
            }
        }
        Add(Severity::Error,
            main.Shown,
            0,
            "every weapon weighs 0 with the gauntlet and machine gun a bot starts with: it never "
            "chooses a weapon, and in a fight the game prints an error over and over (the game "
            "says: \"weapon number out of range\")");
    }

    // Without the game's templates: Quake III's need every weight of the
    // catalogue defined.
    void CheckWeightNames(const CheckedFile& main, bool weapons)
    {
        int first = weapons ? Para::FirstBotValue + 13 : Para::FirstBotValue + 23;
        int last = weapons ? Para::FirstBotValue + 22 : Para::LastBotValue;
        std::map<std::string, std::string> defined;
        std::istringstream in(main.Bytes);
        for (std::string line; std::getline(in, line);) {
            std::istringstream words(line.substr(0, line.find("//")));
            std::string directive;
            std::string name;
            std::string value;
            if (words >> directive >> name && directive == "#define") {
                words >> value;
                defined[name] = value;
            }
        }
        std::istringstream lines(main.Bytes);
        int number = 0;
        for (std::string line; std::getline(lines, line);) {
            ++number;
            std::istringstream words(line.substr(0, line.find("//")));
            std::string directive;
            std::string name;
            std::string value;
            if (words >> directive >> name >> value && directive == "#define" && value.size() > 1 &&
                value[0] == '-') {
                Add(Severity::Warning,
                    main.Shown,
                    number,
                    "the game takes the weight " + value + " as " + value.substr(1) +
                        ": it drops the minus (the game says: \"negative value set to zero\")",
                    WeightPlace(name));
            }
        }
        for (int g = first; g <= last; ++g) {
            std::string name =
                After(CharIdentifier(Lists.CharNames[static_cast<std::size_t>(g)]), "#define ");
            if (defined.count(name) == 0) {
                Add(Severity::Error,
                    main.Shown,
                    0,
                    "the weight " + name +
                        " is not defined: the game's weight templates need it and the whole file "
                        "fails, so the game does not add the bot",
                    CheckPlace{g, -1, -1});
            }
        }
        if (weapons) {
            auto zero = [&defined](const std::string& name) {
                auto found = defined.find(name);
                return found == defined.end() || std::strtod(found->second.c_str(), nullptr) <= 0;
            };
            if (zero("W_GAUNTLET") && zero("W_MACHINEGUN")) {
                Add(Severity::Error,
                    main.Shown,
                    0,
                    "the gauntlet and the machine gun, the weapons a bot starts with, weigh 0: it "
                    "never chooses a weapon, and in a fight the game prints an error over and over "
                    "(the game says: \"weapon number out of range\")");
            }
        }
    }

    // ---- chat files ----

    void CheckChat(const std::string& path, const std::string& chatName, const Place& from)
    {
        if (!CheckedChats.insert({path, LowerCase(chatName)}).second) {
            return;
        }
        const Resolved* named = ResolveNamed(path,
                                             from,
                                             {Para::ChatFile, -1, -1},
                                             "couldn't load chat " + chatName + " from " + path);
        if (named == nullptr) {
            return;
        }
        const Resolved& found = *named;
        CheckedFile main = found.File;
        PrecompiledScript script = Precompile(path);
        CheckExhausted(script, main);
        InitialChatRead chat = ReadInitialChat(script, chatName);
        std::vector<std::pair<ScriptMessage, std::string>> messages;
        for (const ScriptMessage& message : chat.Printed) {
            bool failure = chat.Failure && message.Text == chat.Failure->Text &&
                           message.Line == chat.Failure->Line;
            std::string consequence =
                failure ? "the game cannot read the chat and does not add the bot" : "";
            if (failure && StartsWith(message.Text, "couldn't find chat ")) {
                // Where the chat name stands in the characteristic file.
                Add(Severity::Error,
                    main.Shown,
                    0,
                    Explained(message.Text, CharacteristicNames()) + " (" + Quoted(chatName) +
                        " in " + from.File + "): " + consequence +
                        " (the game says: " + Quoted(message.Text) + ")",
                    CheckPlace{Para::Name, -1, -1});
                continue;
            }
            messages.emplace_back(message, consequence);
        }
        ReportMessages(script, main, messages);
        if (!chat.Loaded) {
            return;
        }
        for (const ChatTypeRead& type : chat.Types) {
            if (script.Tokens[type.NameToken].AtFile != 0) {
                continue; // the types of an included file (teamplay.h) are the game's
            }
            CheckChatType(script, main, type);
        }
    }

    void CheckChatType(const PrecompiledScript& script,
                       const CheckedFile& main,
                       const ChatTypeRead& type)
    {
        const ChatCatalogue& catalogue = Lists.Chat;
        Place typePlace = WrittenAt(script, main, script.Tokens[type.NameToken]);
        std::optional<std::size_t> known;
        for (std::size_t t = 0; t < ChatTypeCount; ++t) {
            if (catalogue.ChatTypes[t].FileName == type.Name) {
                known = t;
            }
        }
        bool asked = GameChatTypes().count(type.Name) != 0;
        if (!asked) {
            std::string hint =
                type.Name == "kill_suicide" ? " (the game's name for it is enemy_suicide)" : "";
            CheckPlace place;
            place.ChatGroup = known ? static_cast<int>(*known) : -1;
            Add(Severity::Warning,
                typePlace.File,
                typePlace.Line,
                "the game never asks for the chat type " + Quoted(type.Name) + hint +
                    ": these messages are never said",
                place);
        }
        auto variables = ChatTypeVariables().find(type.Name);
        int spoken = 0;
        for (const ChatMessageRead& message : type.Messages) {
            const ScriptToken& first = script.Tokens[message.FirstToken];
            Place place = WrittenAt(script, main, first);
            std::vector<ChatPart> parts = ChatParts(message.Stored);
            bool says = false;
            for (const ChatPart& part : parts) {
                if (part.Type == ChatPart::Kind::Text) {
                    says = says || !part.Text.empty();
                } else if (part.Type == ChatPart::Kind::List) {
                    says = true;
                    if (!HasRandomList(part.Text)) {
                        Add(Severity::Error,
                            place.File,
                            place.Line,
                            "the game has no list named " + part.Text +
                                ": the bot prints an error instead of this message (the game "
                                "says: \"BotConstructChat: unknown random string " +
                                part.Text + "\")" + place.Where);
                    }
                } else if (part.Number > LastChatVariable + 1) {
                    Add(Severity::Error,
                        place.File,
                        place.Line,
                        "variable " + part.Text + ": the game knows variables 0 to " +
                            std::to_string(LastChatVariable) +
                            " and prints an error instead of this message (the game says: "
                            "\"variable " +
                            std::to_string(part.Number) + " out of range\")" + place.Where);
                } else if (part.Number == LastChatVariable + 1) {
                    Add(Severity::Warning,
                        place.File,
                        place.Line,
                        "variable 8: the game knows variables 0 to 7 and reads past them, so "
                        "the bot says whatever it finds there" +
                            place.Where);
                } else if (variables != ChatTypeVariables().end()) {
                    const std::string& given = variables->second;
                    if (part.Number >= given.size()) {
                        Add(Severity::Warning,
                            place.File,
                            place.Line,
                            "chat type " + type.Name + " provides no variable " +
                                std::to_string(part.Number) + ": it says nothing there" +
                                place.Where);
                    } else if (given[part.Number] == 'I') {
                        Add(Severity::Warning,
                            place.File,
                            place.Line,
                            "chat type " + type.Name + " gives no value for variable " +
                                std::to_string(part.Number) +
                                ": the bot says \"[invalid var]\" there" + place.Where);
                    }
                }
            }
            spoken += says ? 1 : 0;
        }
        if (known && asked && spoken == 0) {
            CheckPlace place;
            place.ChatGroup = static_cast<int>(*known);
            Add(Severity::Note,
                typePlace.File,
                typePlace.Line,
                "chat type " + type.Name + " has no message: the bot never speaks there",
                place);
        }
    }
};

BotChecker::BotChecker(const Catalogues& catalogues,
                       BotFileLookup own,
                       bool gameArchive,
                       const GameDefinitions* folderGame)
    : m_state(std::make_unique<State>(catalogues, std::move(own), gameArchive, folderGame))
{}

BotChecker::~BotChecker() = default;

void BotChecker::CheckScript(const CheckedFile& script)
{
    m_state->CheckScript(script);
}

void BotChecker::CheckCharacteristicFile(const std::string& path)
{
    if (Checked(path)) {
        return;
    }
    m_state->Bots += IsDefaultBot(path) ? 0U : 1U;
    m_state->CheckCharacteristic(path, path, 0);
}

bool BotChecker::Checked(const std::string& path) const
{
    return m_state->CheckedCharacteristics.count(path) != 0;
}

std::size_t BotChecker::Bots() const
{
    return m_state->Bots;
}

std::vector<Finding> BotChecker::TakeFindings()
{
    return std::move(m_state->Findings);
}

std::vector<Finding>
CheckBotAsMade(const Bot& bot, const Catalogues& catalogues, const Settings& settings)
{
    Result<MadeBotFiles> result = BotFilesInMemory(bot, catalogues, settings);
    if (!result) {
        return {Finding{Severity::Error,
                        result.Error().Path.string(),
                        0,
                        "the file cannot be made: " + result.Error().Reason,
                        {}}};
    }
    const MadeBotFiles& made = result.Value();
    // The four bot files below botfiles/bots, as the script's aifile and
    // the characteristic file name them.
    std::map<std::string, const MadeBotFile*> files;
    for (std::size_t i = 0; i + 1 < made.size(); ++i) {
        files.emplace("bots/" + made[i].FileName, &made[i]);
    }
    BotChecker checker(catalogues, [&files](const std::string& path) {
        LookedUpFile found;
        auto known = files.find(path);
        if (known != files.end()) {
            found.File = CheckedFile{known->second->FileName, known->second->Bytes};
        }
        return found;
    });
    const MadeBotFile& script = made.back();
    checker.CheckScript({script.FileName, script.Bytes});
    std::vector<Finding> findings = checker.TakeFindings();
    // A finding at a line of a made file leads to what the line holds.
    for (Finding& finding : findings) {
        if (finding.Line <= 0 || finding.Place.Parameter >= 0 || finding.Place.ChatGroup >= 0) {
            continue;
        }
        for (const MadeBotFile& file : made) {
            if (file.FileName != finding.File) {
                continue;
            }
            std::vector<std::string> lines;
            std::istringstream in(file.Bytes);
            for (std::string line; std::getline(in, line);) {
                if (!line.empty() && line.back() == '\r') {
                    line.pop_back();
                }
                lines.push_back(line);
            }
            std::string gamePath =
                &file == &script ? "scripts/" + file.FileName : "bots/" + file.FileName;
            finding.Place = PlaceOfLine(gamePath, lines, finding.Line, catalogues);
        }
    }
    return findings;
}

std::size_t CountFindings(const std::vector<Finding>& findings, Severity level)
{
    std::size_t count = 0;
    for (const Finding& finding : findings) {
        count += finding.Level == level ? 1 : 0;
    }
    return count;
}

const char* SeverityName(Severity level)
{
    switch (level) {
    case Severity::Error:
        return "error";
    case Severity::Warning:
        return "warning";
    case Severity::Note:
        return "note";
    }
    return "error";
}

} // namespace twl
