// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "botfiles/Precompiler.h"

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace twl {

// What the game's bot library makes of a precompiled bot file: the
// characteristics of one skill (be_ai_char.c), a weight configuration
// (be_ai_weight.c), a bot's chat (be_ai_chat.c), step by step as it reads
// them, with what it prints. `Printed` holds every line the game prints
// while it reads, the precompiler's as far as the reading came and the
// reader's own; `Failure` the one that made it give the file up.

// The highest index a characteristic may have in a file (the game keeps 80
// and lets 80 pass its range check).
inline constexpr int MaxCharacteristicIndex = 80;

struct CharacteristicRead
{
    enum class Kind
    {
        Integer,
        Float,
        Text
    };
    Kind Type = Kind::Float;
    long Integer = 0;
    float Float = 0;
    std::string Text;
    std::size_t IndexToken = 0; // where its index stands among the script's tokens
    std::size_t ValueToken = 0;
};

struct CharacterSkillRead
{
    int Skill = 0;
    // The block of that skill was read (to its "}" or to the end of the
    // file); false when the file has none or the reader gave up.
    bool Found = false;
    std::map<int, CharacteristicRead> Values;
    std::optional<ScriptMessage> Failure;
    std::vector<ScriptMessage> Printed;
};

// BotLoadCharacterFromFile for one skill: blocks before it are passed over
// by their braces, the file is read no further than its "}".
CharacterSkillRead ReadCharacterSkill(const PrecompiledScript& script, int skill);

// A node of a fuzzy weight: "case Value:" (or "default:", Value
// MaxInventoryValue) of a switch on the inventory item Index, with a weight
// or a switch below it.
inline constexpr int MaxInventoryValue = 999999;

struct FuzzySeparator
{
    int Index = 0;
    int Value = 0;
    bool Balance = false;
    float Weight = 0;
    float MinWeight = 0;
    float MaxWeight = 0;
    int Child = -1; // a switch below it, else its weight counts
    int Next = -1;
};

struct FuzzyWeightRead
{
    std::string Name;
    int First = -1;
    std::size_t NameToken = 0;
};

struct WeightConfigRead
{
    bool Loaded = false;
    std::vector<FuzzyWeightRead> Weights;
    std::vector<FuzzySeparator> Separators;
    std::optional<ScriptMessage> Failure;
    std::vector<ScriptMessage> Printed;
    // Where each "-" before a value stood (the game warns, and counts the
    // value without its sign).
    std::vector<std::size_t> NegativeValues;
};

// ReadWeightConfig.
WeightConfigRead ReadWeightConfig(const PrecompiledScript& script);

// The weight the game gives for an inventory (FuzzyWeight): `inventory`
// tells the amount of each inventory index.
float FuzzyWeightOf(const WeightConfigRead& config,
                    const FuzzyWeightRead& weight,
                    const std::function<int(int)>& inventory);

// The game's escape byte around a variable ("\x01v2\x01") or a random list
// ("\x01rHELLO\x01") in a stored chat message.
inline constexpr char ChatEscape = '\x01';
// A chat message is stored in a buffer of this many bytes with its end mark.
inline constexpr std::size_t MaxStoredChatMessage = 256;

struct ChatMessageRead
{
    std::string Stored; // as the game stores it, variables and lists between escape bytes
    std::size_t FirstToken = 0;
};

struct ChatTypeRead
{
    std::string Name;
    std::size_t NameToken = 0;
    std::vector<ChatMessageRead> Messages;
};

struct InitialChatRead
{
    bool Loaded = false;
    bool FoundChat = false;
    std::vector<ChatTypeRead> Types;
    std::optional<ScriptMessage> Failure;
    std::vector<ScriptMessage> Printed;
};

// BotLoadInitialChat: the chat named `chatName` (without regard to case);
// the other chats of the file are passed over by their braces.
InitialChatRead ReadInitialChat(const PrecompiledScript& script, const std::string& chatName);

// A part of a stored chat message.
struct ChatPart
{
    enum class Kind
    {
        Text,
        Variable,
        List
    };
    Kind Type = Kind::Text;
    std::string Text;         // the text, or the list's name
    unsigned long Number = 0; // the variable's number
};

std::vector<ChatPart> ChatParts(const std::string& stored);

} // namespace twl
