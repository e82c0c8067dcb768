// SPDX-License-Identifier: GPL-3.0-or-later
#include "botfiles/BotLibraryReaders.h"

#include <algorithm>
#include <cctype>
#include <tuple>

namespace twl {

namespace {

constexpr std::size_t MaxWeights = 128;
// A switch within a switch within ...: deeper than any weight file needs,
// and a bound on this program's recursion where the game has none.
constexpr int MaxSwitchDepth = 200;

std::string WithoutQuotes(std::string text)
{
    if (!text.empty() && text.front() == '"') {
        text.erase(0, 1);
    }
    if (!text.empty() && text.back() == '"') {
        text.pop_back();
    }
    return text;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The reading of one file by a parser of the bot library: its cursor, and
// the errors it prints itself (at the place of the token it read last, as
// the game names the line where its reading stands).
class Reader
{
public:
    explicit Reader(const PrecompiledScript& script)
        : m_script(script)
        , m_cursor(script)
    {}

    TokenCursor& Cursor() { return m_cursor; }

    std::size_t Index(const ScriptToken* token) const
    {
        return static_cast<std::size_t>(token - m_script.Tokens.data());
    }

    void Print(bool error, const std::string& text)
    {
        ScriptMessage message;
        message.Error = error;
        std::tie(message.File, message.Line) = m_cursor.Place();
        message.Text = text;
        message.Position = m_script.Tokens.size();
        m_own.push_back(message);
    }

    // SourceError, and the reading gives up.
    bool Fail(const std::string& text)
    {
        Print(true, text);
        m_failure = m_own.back();
        return false;
    }

    // A line the game prints without a file and line, and gives up.
    bool FailBare(const std::string& text)
    {
        Fail(text);
        m_own.back().Bare = true;
        m_failure->Bare = true;
        return false;
    }

    // PC_ExpectAnyToken.
    const ScriptToken* ExpectAny()
    {
        const ScriptToken* token = m_cursor.Next();
        if (token == nullptr) {
            Fail("couldn't read expected token");
        }
        return token;
    }

    // The end of the file where a parser takes it for the end of its block.
    void Forgive() { m_failure.reset(); }

    // PC_ExpectTokenString.
    bool Expect(const std::string& text)
    {
        const ScriptToken* token = m_cursor.Next();
        if (token == nullptr) {
            return Fail("couldn't find expected " + text);
        }
        if (token->Text != text) {
            return Fail("expected " + text + ", found " + token->Text);
        }
        return true;
    }

    // PC_ExpectTokenType for a text or a whole number.
    const ScriptToken* ExpectType(TokenType type, bool integer = false)
    {
        const ScriptToken* token = m_cursor.Next();
        if (token == nullptr) {
            Fail("couldn't read expected token");
            return nullptr;
        }
        if (token->Type != type) {
            Fail(std::string("expected a ") + (type == TokenType::String ? "string" : "number") +
                 ", found " + token->Text);
            return nullptr;
        }
        if (integer && (token->Flags & NumberFlag::Integer) == 0) {
            Fail("expected  integer, found " + token->Text);
            return nullptr;
        }
        return token;
    }

    std::optional<ScriptMessage> Failure() const { return m_failure; }

    std::vector<ScriptMessage> Printed() const
    {
        std::vector<ScriptMessage> printed = m_cursor.PrintedMessages();
        printed.insert(printed.end(), m_own.begin(), m_own.end());
        return printed;
    }

private:
    const PrecompiledScript& m_script;
    TokenCursor m_cursor;
    std::vector<ScriptMessage> m_own;
    std::optional<ScriptMessage> m_failure;
};

bool ReadSkillBlock(Reader& reader, CharacterSkillRead& read)
{
    while (true) {
        const ScriptToken* token = reader.ExpectAny();
        if (token == nullptr) {
            reader.Forgive(); // the game keeps what it read up to the end
            return true;
        }
        if (token->Text == "}") {
            return true;
        }
        if (token->Type != TokenType::Number || (token->Flags & NumberFlag::Integer) == 0) {
            return reader.Fail("expected integer index, found " + token->Text);
        }
        auto index = static_cast<int>(token->IntValue);
        if (index < 0 || index > MaxCharacteristicIndex) {
            return reader.Fail("characteristic index out of range [0, " +
                               std::to_string(MaxCharacteristicIndex) + "]");
        }
        if (read.Values.count(index) != 0) {
            return reader.Fail("characteristic " + std::to_string(index) + " already initialized");
        }
        CharacteristicRead value;
        value.IndexToken = reader.Index(token);
        token = reader.ExpectAny();
        if (token == nullptr) {
            return false;
        }
        value.ValueToken = reader.Index(token);
        if (token->Type == TokenType::Number) {
            if ((token->Flags & NumberFlag::Float) != 0) {
                value.Type = CharacteristicRead::Kind::Float;
                value.Float = token->FloatValue;
            } else {
                value.Type = CharacteristicRead::Kind::Integer;
                value.Integer = static_cast<int>(token->IntValue);
            }
        } else if (token->Type == TokenType::String) {
            value.Type = CharacteristicRead::Kind::Text;
            value.Text = WithoutQuotes(token->Text);
        } else {
            return reader.Fail("expected integer, float or string, found " + token->Text);
        }
        read.Values.emplace(index, value);
    }
}

bool PassBlock(Reader& reader)
{
    int indent = 1;
    while (indent > 0) {
        const ScriptToken* token = reader.ExpectAny();
        if (token == nullptr) {
            return false;
        }
        if (token->Text == "{") {
            ++indent;
        } else if (token->Text == "}") {
            --indent;
        }
    }
    return true;
}

bool ReadValue(Reader& reader, WeightConfigRead& config, float& value)
{
    const ScriptToken* token = reader.ExpectAny();
    if (token == nullptr) {
        return false;
    }
    if (token->Text == "-") {
        config.NegativeValues.push_back(reader.Index(token));
        reader.Print(false, "negative value set to zero");
        token = reader.ExpectAny();
        if (token == nullptr) {
            return reader.Fail("Missing return value");
        }
    }
    if (token->Type != TokenType::Number) {
        return reader.Fail("invalid return value " + token->Text);
    }
    value = token->FloatValue;
    return true;
}

bool ReadFuzzyWeight(Reader& reader, WeightConfigRead& config, FuzzySeparator& separator)
{
    if (reader.Cursor().Check("balance")) {
        separator.Balance = true;
        if (!reader.Expect("(") || !ReadValue(reader, config, separator.Weight) ||
            !reader.Expect(",") || !ReadValue(reader, config, separator.MinWeight) ||
            !reader.Expect(",") || !ReadValue(reader, config, separator.MaxWeight) ||
            !reader.Expect(")")) {
            return false;
        }
    } else {
        if (!ReadValue(reader, config, separator.Weight)) {
            return false;
        }
        separator.MinWeight = separator.Weight;
        separator.MaxWeight = separator.Weight;
    }
    return reader.Expect(";");
}

// ReadFuzzySeperators_r: the index of its first separator, or -1.
int ReadSeparators(Reader& reader, WeightConfigRead& config, int depth)
{
    if (depth > MaxSwitchDepth) {
        reader.Fail("switch nested too deep");
        return -1;
    }
    if (!reader.Expect("(")) {
        return -1;
    }
    const ScriptToken* token = reader.ExpectType(TokenType::Number, true);
    if (token == nullptr) {
        return -1;
    }
    auto index = static_cast<int>(token->IntValue);
    if (!reader.Expect(")") || !reader.Expect("{")) {
        return -1;
    }
    token = reader.ExpectAny();
    if (token == nullptr) {
        return -1;
    }
    int first = -1;
    int last = -1;
    bool foundDefault = false;
    do {
        bool isDefault = token->Text == "default";
        if (!isDefault && token->Text != "case") {
            reader.Fail("invalid name " + token->Text);
            return -1;
        }
        auto at = static_cast<int>(config.Separators.size());
        config.Separators.push_back({});
        config.Separators.back().Index = index;
        if (last >= 0) {
            config.Separators[static_cast<std::size_t>(last)].Next = at;
        } else {
            first = at;
        }
        last = at;
        if (isDefault) {
            if (foundDefault) {
                reader.Fail("switch already has a default");
                return -1;
            }
            config.Separators.back().Value = MaxInventoryValue;
            foundDefault = true;
        } else {
            token = reader.ExpectType(TokenType::Number, true);
            if (token == nullptr) {
                return -1;
            }
            config.Separators.back().Value = static_cast<int>(token->IntValue);
        }
        if (!reader.Expect(":") || (token = reader.ExpectAny()) == nullptr) {
            return -1;
        }
        bool indent = false;
        if (token->Text == "{") {
            indent = true;
            token = reader.ExpectAny();
            if (token == nullptr) {
                return -1;
            }
        }
        if (token->Text == "return") {
            FuzzySeparator separator = config.Separators[static_cast<std::size_t>(at)];
            if (!ReadFuzzyWeight(reader, config, separator)) {
                return -1;
            }
            config.Separators[static_cast<std::size_t>(at)] = separator;
        } else if (token->Text == "switch") {
            int child = ReadSeparators(reader, config, depth + 1);
            if (child < 0) {
                return -1;
            }
            config.Separators[static_cast<std::size_t>(at)].Child = child;
        } else {
            reader.Fail("invalid name " + token->Text);
            return -1;
        }
        if (indent && !reader.Expect("}")) {
            return -1;
        }
        token = reader.ExpectAny();
        if (token == nullptr) {
            return -1;
        }
    } while (token->Text != "}");
    if (!foundDefault) {
        reader.Print(false, "switch without default");
        auto at = static_cast<int>(config.Separators.size());
        config.Separators.push_back({});
        config.Separators.back().Index = index;
        config.Separators.back().Value = MaxInventoryValue;
        config.Separators[static_cast<std::size_t>(last)].Next = at;
    }
    return first;
}

float FuzzyWeightFrom(const WeightConfigRead& config,
                      int at,
                      const std::function<int(int)>& inventory,
                      int depth)
{
    if (at < 0 || depth > MaxSwitchDepth * 2) {
        return 0;
    }
    const FuzzySeparator& separator = config.Separators[static_cast<std::size_t>(at)];
    int amount = inventory(separator.Index);
    if (amount < separator.Value) {
        return separator.Child >= 0 ? FuzzyWeightFrom(config, separator.Child, inventory, depth + 1)
                                    : separator.Weight;
    }
    if (separator.Next < 0) {
        return separator.Weight;
    }
    const FuzzySeparator& next = config.Separators[static_cast<std::size_t>(separator.Next)];
    if (amount < next.Value) {
        float first = separator.Child >= 0
                          ? FuzzyWeightFrom(config, separator.Child, inventory, depth + 1)
                          : separator.Weight;
        float second = next.Child >= 0 ? FuzzyWeightFrom(config, next.Child, inventory, depth + 1)
                                       : next.Weight;
        if (next.Value == MaxInventoryValue) {
            return second;
        }
        float scale = static_cast<float>(amount - separator.Value) /
                      static_cast<float>(next.Value - separator.Value);
        return (1 - scale) * first + scale * second;
    }
    return FuzzyWeightFrom(config, separator.Next, inventory, depth + 1);
}

bool ReadChatMessage(Reader& reader, ChatMessageRead& message)
{
    std::string& stored = message.Stored;
    bool first = true;
    while (true) {
        const ScriptToken* token = reader.ExpectAny();
        if (token == nullptr) {
            return false;
        }
        if (first) {
            message.FirstToken = reader.Index(token);
            first = false;
        }
        if (token->Type == TokenType::String) {
            std::string text = WithoutQuotes(token->Text);
            if (stored.size() + text.size() + 1 > MaxStoredChatMessage) {
                return reader.Fail("chat message too long");
            }
            stored += text;
        } else if (token->Type == TokenType::Number && (token->Flags & NumberFlag::Integer) != 0) {
            if (stored.size() + 7 > MaxStoredChatMessage) {
                return reader.Fail("chat message too long");
            }
            stored += std::string(1, ChatEscape) + "v" +
                      std::to_string(static_cast<long>(token->IntValue)) + ChatEscape;
        } else if (token->Type == TokenType::Name) {
            if (stored.size() + 7 > MaxStoredChatMessage) {
                return reader.Fail("chat message too long");
            }
            stored += std::string(1, ChatEscape) + "r" + token->Text + ChatEscape;
        } else {
            return reader.Fail("unknown message component " + token->Text);
        }
        // A variable or list written past the game's buffer overruns it;
        // the game has no check for that, the message counts as too long.
        if (stored.size() >= MaxStoredChatMessage) {
            return reader.Fail("chat message too long");
        }
        if (reader.Cursor().Check(";")) {
            return true;
        }
        if (!reader.Expect(",")) {
            return false;
        }
    }
}

bool ReadChatTypes(Reader& reader, InitialChatRead& chat)
{
    while (true) {
        const ScriptToken* token = reader.ExpectAny();
        if (token == nullptr) {
            return false;
        }
        if (token->Text == "}") {
            return true;
        }
        if (token->Text != "type") {
            return reader.Fail("expected type found " + token->Text);
        }
        const ScriptToken* name = reader.ExpectType(TokenType::String);
        if (name == nullptr || !reader.Expect("{")) {
            return false;
        }
        ChatTypeRead type;
        type.Name = WithoutQuotes(name->Text);
        type.NameToken = reader.Index(name);
        while (!reader.Cursor().Check("}")) {
            ChatMessageRead message;
            if (!ReadChatMessage(reader, message)) {
                return false;
            }
            type.Messages.push_back(std::move(message));
        }
        chat.Types.push_back(std::move(type));
    }
}

} // namespace

CharacterSkillRead ReadCharacterSkill(const PrecompiledScript& script, int skill)
{
    CharacterSkillRead read;
    read.Skill = skill;
    Reader reader(script);
    bool ok = true;
    while (ok) {
        const ScriptToken* token = reader.Cursor().Next();
        if (token == nullptr) {
            break;
        }
        if (token->Text != "skill") {
            ok = reader.Fail("unknown definition " + token->Text);
            break;
        }
        const ScriptToken* number = reader.ExpectType(TokenType::Number);
        if (number == nullptr || !reader.Expect("{")) {
            ok = false;
            break;
        }
        if (static_cast<int>(number->IntValue) == skill) {
            read.Found = true;
            ok = ReadSkillBlock(reader, read);
            break;
        }
        ok = PassBlock(reader);
    }
    if (!ok) {
        read.Found = false;
        read.Values.clear();
    }
    read.Failure = reader.Failure();
    read.Printed = reader.Printed();
    return read;
}

WeightConfigRead ReadWeightConfig(const PrecompiledScript& script)
{
    WeightConfigRead config;
    Reader reader(script);
    bool ok = true;
    while (ok) {
        const ScriptToken* token = reader.Cursor().Next();
        if (token == nullptr) {
            break;
        }
        if (token->Text != "weight") {
            ok = reader.Fail("invalid name " + token->Text);
            break;
        }
        if (config.Weights.size() >= MaxWeights) {
            reader.Print(false, "too many fuzzy weights");
            break;
        }
        const ScriptToken* name = reader.ExpectType(TokenType::String);
        if (name == nullptr) {
            ok = false;
            break;
        }
        FuzzyWeightRead weight;
        weight.Name = WithoutQuotes(name->Text);
        weight.NameToken = reader.Index(name);
        token = reader.ExpectAny();
        if (token == nullptr) {
            ok = false;
            break;
        }
        bool indent = false;
        if (token->Text == "{") {
            indent = true;
            token = reader.ExpectAny();
            if (token == nullptr) {
                ok = false;
                break;
            }
        }
        if (token->Text == "switch") {
            weight.First = ReadSeparators(reader, config, 0);
            ok = weight.First >= 0;
        } else if (token->Text == "return") {
            FuzzySeparator separator;
            separator.Value = MaxInventoryValue;
            ok = ReadFuzzyWeight(reader, config, separator);
            weight.First = static_cast<int>(config.Separators.size());
            config.Separators.push_back(separator);
        } else {
            ok = reader.Fail("invalid name " + token->Text);
        }
        if (ok && indent) {
            ok = reader.Expect("}");
        }
        if (ok) {
            config.Weights.push_back(std::move(weight));
        }
    }
    config.Loaded = ok;
    config.Failure = reader.Failure();
    config.Printed = reader.Printed();
    return config;
}

float FuzzyWeightOf(const WeightConfigRead& config,
                    const FuzzyWeightRead& weight,
                    const std::function<int(int)>& inventory)
{
    return FuzzyWeightFrom(config, weight.First, inventory, 0);
}

InitialChatRead ReadInitialChat(const PrecompiledScript& script, const std::string& chatName)
{
    InitialChatRead chat;
    Reader reader(script);
    bool ok = true;
    while (ok) {
        const ScriptToken* token = reader.Cursor().Next();
        if (token == nullptr) {
            break;
        }
        if (token->Text != "chat") {
            ok = reader.Fail("unknown definition " + token->Text);
            break;
        }
        const ScriptToken* name = reader.ExpectType(TokenType::String);
        if (name == nullptr || !reader.Expect("{")) {
            ok = false;
            break;
        }
        if (EqualIgnoringCase(WithoutQuotes(name->Text), chatName)) {
            chat.FoundChat = true;
            ok = ReadChatTypes(reader, chat);
        } else {
            ok = PassBlock(reader);
        }
    }
    if (ok && !chat.FoundChat) {
        ok = reader.FailBare("couldn't find chat " + chatName + " in " +
                             (script.Files.empty() ? std::string() : script.Files.front()));
    }
    chat.Failure = reader.Failure();
    chat.Loaded = ok;
    chat.Printed = reader.Printed();
    return chat;
}

std::vector<ChatPart> ChatParts(const std::string& stored)
{
    std::vector<ChatPart> parts;
    std::size_t at = 0;
    while (at < stored.size()) {
        if (stored[at] != ChatEscape) {
            std::size_t end = stored.find(ChatEscape, at);
            end = end == std::string::npos ? stored.size() : end;
            parts.push_back({ChatPart::Kind::Text, stored.substr(at, end - at), 0});
            at = end;
            continue;
        }
        char kind = at + 1 < stored.size() ? stored[at + 1] : '\0';
        std::size_t end = stored.find(ChatEscape, at + 2);
        end = end == std::string::npos ? stored.size() : end;
        std::string inside = at + 2 <= end ? stored.substr(at + 2, end - at - 2) : std::string();
        if (kind == 'v') {
            // The game adds the digits up as it finds them.
            unsigned long number = 0;
            for (char c : inside) {
                number = number * 10 + static_cast<unsigned long>(c - '0');
            }
            parts.push_back({ChatPart::Kind::Variable, inside, number});
        } else {
            parts.push_back({ChatPart::Kind::List, inside, 0});
        }
        at = end + 1;
    }
    return parts;
}

} // namespace twl
