// SPDX-License-Identifier: GPL-3.0-or-later
#include "botfiles/Precompiler.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <deque>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace twl {

namespace {

// The game keeps a token in a buffer of this many bytes.
constexpr std::size_t MaxToken = 1024;
constexpr std::size_t MaxDefineParms = 128;
constexpr std::size_t MaxEvaluationItems = 64;
constexpr std::string_view BotFilesFolder = "botfiles";

// The game's punctuation, longest first where one begins another, numbered
// as its reader numbers them (the operators of #if use the numbers).
enum Punctuation : int
{
    RShiftAssign = 1,
    LShiftAssign,
    Parms,
    PrecompMerge,
    LogicAnd,
    LogicOr,
    LogicGeq,
    LogicLeq,
    LogicEq,
    LogicUneq,
    MulAssign,
    DivAssign,
    ModAssign,
    AddAssign,
    SubAssign,
    Inc,
    Dec,
    BinAndAssign,
    BinOrAssign,
    BinXorAssign,
    RShift,
    LShift,
    PointerRef,
    Cpp1,
    Cpp2,
    Mul,
    Div,
    Mod,
    Add,
    Sub,
    Assign,
    BinAnd,
    BinOr,
    BinXor,
    BinNot,
    LogicNot,
    LogicGreater,
    LogicLess,
    Ref,
    Comma,
    Semicolon,
    Colon,
    QuestionMark,
    ParenthesesOpen,
    ParenthesesClose,
    BraceOpen,
    BraceClose,
    SqBracketOpen,
    SqBracketClose,
    Backslash,
    Precomp,
    Dollar
};

struct PunctuationText
{
    const char* Text;
    int Number;
};

constexpr std::array<PunctuationText, 52> Punctuations = {{
    {">>=", RShiftAssign},
    {"<<=", LShiftAssign},
    {"...", Parms},
    {"##", PrecompMerge},
    {"&&", LogicAnd},
    {"||", LogicOr},
    {">=", LogicGeq},
    {"<=", LogicLeq},
    {"==", LogicEq},
    {"!=", LogicUneq},
    {"*=", MulAssign},
    {"/=", DivAssign},
    {"%=", ModAssign},
    {"+=", AddAssign},
    {"-=", SubAssign},
    {"++", Inc},
    {"--", Dec},
    {"&=", BinAndAssign},
    {"|=", BinOrAssign},
    {"^=", BinXorAssign},
    {">>", RShift},
    {"<<", LShift},
    {"->", PointerRef},
    {"::", Cpp1},
    {".*", Cpp2},
    {"*", Mul},
    {"/", Div},
    {"%", Mod},
    {"+", Add},
    {"-", Sub},
    {"=", Assign},
    {"&", BinAnd},
    {"|", BinOr},
    {"^", BinXor},
    {"~", BinNot},
    {"!", LogicNot},
    {">", LogicGreater},
    {"<", LogicLess},
    {".", Ref},
    {",", Comma},
    {";", Semicolon},
    {":", Colon},
    {"?", QuestionMark},
    {"(", ParenthesesOpen},
    {")", ParenthesesClose},
    {"{", BraceOpen},
    {"}", BraceClose},
    {"[", SqBracketOpen},
    {"]", SqBracketClose},
    {"\\", Backslash},
    {"#", Precomp},
    {"$", Dollar},
}};

// The game reads its bytes as signed characters: every byte over 127 is
// below the space, so it counts as white space outside a text.
bool IsBlankByte(char c)
{
    return static_cast<signed char>(c) <= ' ';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsNameStart(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsNameCharacter(char c)
{
    return IsNameStart(c) || IsDigit(c);
}

// The text of a token as a C string holds it: up to its first zero byte.
std::string CString(const std::string& text)
{
    std::size_t zero = text.find('\0');
    return zero == std::string::npos ? text : text.substr(0, zero);
}

// Collects what the game prints, each with the tokens handed out before it.
class MessageSink
{
public:
    explicit MessageSink(PrecompiledScript& out)
        : m_out(out)
    {}

    void Add(bool error, std::uint16_t file, int line, std::string text)
    {
        m_out.Messages.push_back({error, file, line, std::move(text), m_out.Tokens.size()});
    }

private:
    PrecompiledScript& m_out;
};

// One file as the game's script reader (l_script.c) goes through it.
class Script
{
public:
    Script(std::string_view text, std::string name, std::uint16_t file, MessageSink& messages)
        : m_text(text)
        , m_name(std::move(name))
        , m_file(file)
        , m_messages(messages)
    {}

    const std::string& Name() const { return m_name; }

    std::uint16_t File() const { return m_file; }

    int Line() const { return m_line; }

    bool AtEnd() const { return m_at >= m_text.size(); }

    // PS_ReadToken: false at the end, or after an error that stops it.
    bool ReadToken(ScriptToken& token)
    {
        std::size_t lastLine = static_cast<std::size_t>(m_line);
        token = ScriptToken{};
        token.File = m_file;
        std::size_t whiteStart = m_at;
        if (!ReadWhiteSpace()) {
            return false;
        }
        token.SpaceBefore = m_at > whiteStart;
        token.Line = m_line;
        token.AtFile = m_file;
        token.AtLine = m_line;
        token.LinesCrossed = m_line - static_cast<int>(lastLine);
        char c = At(m_at);
        if (c == '"' || c == '\'') {
            return ReadString(token, c);
        }
        if (IsDigit(c) || (c == '.' && IsDigit(At(m_at + 1)))) {
            return ReadNumber(token);
        }
        if (IsNameStart(c)) {
            return ReadName(token);
        }
        if (ReadPunctuation(token)) {
            return true;
        }
        Error("can't read token");
        return false;
    }

    void Error(const std::string& text) { m_messages.Add(true, m_file, m_line, text); }

    void Warning(const std::string& text) { m_messages.Add(false, m_file, m_line, text); }

private:
    // The game's buffer ends with a zero byte.
    char At(std::size_t i) const { return i < m_text.size() ? m_text[i] : '\0'; }

    bool ReadWhiteSpace()
    {
        while (true) {
            while (IsBlankByte(At(m_at))) {
                if (At(m_at) == '\0') {
                    return false;
                }
                if (At(m_at) == '\n') {
                    ++m_line;
                }
                ++m_at;
            }
            if (At(m_at) != '/') {
                return true;
            }
            if (At(m_at + 1) == '/') {
                ++m_at;
                do {
                    ++m_at;
                    if (At(m_at) == '\0') {
                        return false;
                    }
                } while (At(m_at) != '\n');
                ++m_line;
                ++m_at;
                if (At(m_at) == '\0') {
                    return false;
                }
                continue;
            }
            if (At(m_at + 1) == '*') {
                ++m_at;
                do {
                    ++m_at;
                    if (At(m_at) == '\0') {
                        return false;
                    }
                    if (At(m_at) == '\n') {
                        ++m_line;
                    }
                } while (!(At(m_at) == '*' && At(m_at + 1) == '/'));
                ++m_at;
                if (At(m_at) == '\0') {
                    return false;
                }
                ++m_at;
                if (At(m_at) == '\0') {
                    return false;
                }
                continue;
            }
            return true;
        }
    }

    static int HexDigit(char c)
    {
        if (IsDigit(c)) {
            return c - '0';
        }
        if (c >= 'A' && c <= 'Z') {
            return c - 'A' + 10;
        }
        if (c >= 'a' && c <= 'z') {
            return c - 'a' + 10;
        }
        return -1;
    }

    // PS_ReadEscapeCharacter: an unknown escape is an error and gives a zero
    // byte, and the character after the backslash is read as text again.
    char ReadEscape()
    {
        ++m_at;
        int value = 0;
        switch (At(m_at)) {
        case '\\':
            value = '\\';
            break;
        case 'n':
            value = '\n';
            break;
        case 'r':
            value = '\r';
            break;
        case 't':
            value = '\t';
            break;
        case 'v':
            value = '\v';
            break;
        case 'b':
            value = '\b';
            break;
        case 'f':
            value = '\f';
            break;
        case 'a':
            value = '\a';
            break;
        case '\'':
            value = '\'';
            break;
        case '"':
            value = '"';
            break;
        case '?':
            value = '?';
            break;
        case 'x': {
            ++m_at;
            int digit = 0;
            while ((digit = HexDigit(At(m_at))) >= 0) {
                value = value > 0xFFFFF ? value : (value << 4) + digit;
                ++m_at;
            }
            --m_at;
            if (value > 0xFF) {
                Warning("too large value in escape character");
                value = 0xFF;
            }
            break;
        }
        default: {
            if (!IsDigit(At(m_at))) {
                Error("unknown escape char");
            }
            while (IsDigit(At(m_at))) {
                value = value > 0xFFFFF ? value : value * 10 + (At(m_at) - '0');
                ++m_at;
            }
            --m_at;
            if (value > 0xFF) {
                Warning("too large value in escape character");
                value = 0xFF;
            }
            break;
        }
        }
        ++m_at;
        return static_cast<char>(static_cast<unsigned char>(value));
    }

    // PS_ReadString: texts that follow each other with only white space
    // (even line ends) between them are one text.
    bool ReadString(ScriptToken& token, char quote)
    {
        token.Type = quote == '"' ? TokenType::String : TokenType::Literal;
        std::string text(1, At(m_at++));
        while (true) {
            if (text.size() >= MaxToken - 2) {
                Error("string longer than MAX_TOKEN = " + std::to_string(MaxToken));
                return false;
            }
            char c = At(m_at);
            if (c == '\\') {
                text += ReadEscape();
            } else if (c == quote) {
                ++m_at;
                std::size_t at = m_at;
                int line = m_line;
                if (!ReadWhiteSpace() || At(m_at) != quote) {
                    m_at = at;
                    m_line = line;
                    break;
                }
                ++m_at;
            } else {
                if (c == '\0') {
                    Error("missing trailing quote");
                    return false;
                }
                if (c == '\n') {
                    Error("newline inside string " + CString(text));
                    return false;
                }
                text += c;
                ++m_at;
            }
        }
        text += quote;
        token.Text = CString(text);
        return true;
    }

    bool ReadName(ScriptToken& token)
    {
        token.Type = TokenType::Name;
        std::size_t start = m_at;
        do {
            ++m_at;
            if (m_at - start >= MaxToken) {
                Error("name longer than MAX_TOKEN = " + std::to_string(MaxToken));
                return false;
            }
        } while (IsNameCharacter(At(m_at)));
        token.Text.assign(m_text.substr(start, m_at - start));
        return true;
    }

    static void NumberValue(ScriptToken& token)
    {
        const std::string& text = token.Text;
        token.IntValue = 0;
        token.FloatValue = 0;
        if ((token.Flags & NumberFlag::Float) != 0) {
            // As the game: a second point ends the number without a whole
            // value, and a point at the end takes the zero byte after it for
            // a digit ("1." is 1 + (0 - '0') / 10).
            unsigned long dot = 0;
            for (std::size_t i = 0; i < text.size(); ++i) {
                if (text[i] == '.') {
                    if (dot != 0) {
                        return;
                    }
                    dot = 10;
                    ++i;
                }
                char c = i < text.size() ? text[i] : '\0';
                float digit = static_cast<float>(c - '0');
                if (dot != 0) {
                    token.FloatValue += digit / static_cast<float>(dot);
                    dot *= 10;
                } else {
                    token.FloatValue = static_cast<float>(
                        static_cast<double>(token.FloatValue) * 10.0 + static_cast<double>(digit));
                }
            }
            token.IntValue = token.FloatValue >= 0 && token.FloatValue < 1.8e19F
                                 ? static_cast<unsigned long>(token.FloatValue)
                                 : 0;
        } else if ((token.Flags & NumberFlag::Hex) != 0) {
            for (std::size_t i = 2; i < text.size(); ++i) {
                token.IntValue =
                    (token.IntValue << 4) + static_cast<unsigned long>(HexDigit(text[i]));
            }
            token.FloatValue = static_cast<float>(token.IntValue);
        } else if ((token.Flags & NumberFlag::Octal) != 0) {
            for (std::size_t i = 1; i < text.size(); ++i) {
                token.IntValue = (token.IntValue << 3) + static_cast<unsigned long>(text[i] - '0');
            }
            token.FloatValue = static_cast<float>(token.IntValue);
        } else {
            for (char c : text) {
                token.IntValue = token.IntValue * 10 + static_cast<unsigned long>(c - '0');
            }
            token.FloatValue = static_cast<float>(token.IntValue);
        }
    }

    bool ReadNumber(ScriptToken& token)
    {
        token.Type = TokenType::Number;
        std::size_t start = m_at;
        if (At(m_at) == '0' && (At(m_at + 1) == 'x' || At(m_at + 1) == 'X')) {
            m_at += 2;
            while (HexDigit(At(m_at)) >= 0 && HexDigit(At(m_at)) < 16) {
                ++m_at;
                if (m_at - start >= MaxToken) {
                    Error("hexadecimal number longer than MAX_TOKEN = " + std::to_string(MaxToken));
                    return false;
                }
            }
            token.Flags |= NumberFlag::Hex;
        } else {
            bool octal = At(m_at) == '0';
            bool dot = false;
            while (true) {
                char c = At(m_at);
                if (c == '.') {
                    dot = true;
                } else if (c == '8' || c == '9') {
                    octal = false;
                } else if (!IsDigit(c)) {
                    break;
                }
                ++m_at;
                if (m_at - start >= MaxToken - 1) {
                    Error("number longer than MAX_TOKEN = " + std::to_string(MaxToken));
                    return false;
                }
            }
            token.Flags |= octal ? NumberFlag::Octal : NumberFlag::Decimal;
            if (dot) {
                token.Flags |= NumberFlag::Float;
            }
        }
        token.Text.assign(m_text.substr(start, m_at - start));
        for (int i = 0; i < 2; ++i) {
            char c = At(m_at);
            if ((c == 'l' || c == 'L') && (token.Flags & NumberFlag::Long) == 0) {
                ++m_at;
                token.Flags |= NumberFlag::Long;
            } else if ((c == 'u' || c == 'U') &&
                       (token.Flags & (NumberFlag::Unsigned | NumberFlag::Float)) == 0) {
                ++m_at;
                token.Flags |= NumberFlag::Unsigned;
            }
        }
        NumberValue(token);
        if ((token.Flags & NumberFlag::Float) == 0) {
            token.Flags |= NumberFlag::Integer;
        }
        return true;
    }

    bool ReadPunctuation(ScriptToken& token)
    {
        for (const PunctuationText& punctuation : Punctuations) {
            std::string_view text(punctuation.Text);
            if (m_at + text.size() <= m_text.size() &&
                m_text.compare(m_at, text.size(), text) == 0) {
                token.Type = TokenType::Punctuation;
                token.Flags = punctuation.Number;
                token.Text = punctuation.Text;
                m_at += text.size();
                return true;
            }
        }
        return false;
    }

    std::string_view m_text;
    std::string m_name;
    std::uint16_t m_file;
    MessageSink& m_messages;
    std::size_t m_at = 0;
    int m_line = 1;
};

struct Define
{
    std::string Name;
    std::vector<std::string> Parms;
    std::vector<ScriptToken> Tokens;
    bool HasParms = false;
};

enum class IndentType
{
    None = 0,
    If,
    Else,
    Elif,
    Ifdef,
    Ifndef
};

struct Indent
{
    IndentType Type;
    bool Skip;
    const Script* Owner;
};

// A value or an operator of an #if or $eval expression, in the order the
// game keeps them (PC_EvaluateTokens).
struct EvalValue
{
    long Int = 0;
    float Float = 0;
    int Parentheses = 0;
};

struct EvalOperator
{
    int Operator = 0;
    int Priority = 0;
    int Parentheses = 0;
};

int OperatorPriority(int op)
{
    switch (op) {
    case Mul:
    case Div:
    case Mod:
        return 15;
    case Add:
    case Sub:
        return 14;
    case LogicAnd:
        return 7;
    case LogicOr:
        return 6;
    case LogicGeq:
    case LogicLeq:
    case LogicGreater:
    case LogicLess:
        return 12;
    case LogicEq:
    case LogicUneq:
        return 11;
    case LogicNot:
    case BinNot:
        return 16;
    case RShift:
    case LShift:
        return 13;
    case BinAnd:
        return 10;
    case BinOr:
        return 8;
    case BinXor:
        return 9;
    case Colon:
    case QuestionMark:
        return 5;
    default:
        return 0;
    }
}

long Wrapped(unsigned long value)
{
    return static_cast<long>(value);
}

} // namespace

// What an included file of definitions left: the files it read (itself
// first) and its defines, their tokens' files counted from its own.
struct IncludedDefinitions
{
    std::vector<std::string> Files;
    std::unordered_map<std::string, Define> Defines;
    std::size_t Steps = 0;
};

IncludeCache::IncludeCache() = default;
IncludeCache::~IncludeCache() = default;

namespace {

// The game's precompiler (l_precomp.c) over a stack of scripts.
class Precompiler
{
public:
    Precompiler(const ScriptLookup& lookup, PrecompiledScript& out, IncludeCache* cache)
        : m_lookup(lookup)
        , m_out(out)
        , m_messages(out)
        , m_cache(cache)
    {}

    bool Open(const std::string& path)
    {
        std::unique_ptr<Script> script = LoadScript(path);
        if (!script) {
            return false;
        }
        m_scripts.push_back(std::move(script));
        return true;
    }

    // PC_ReadToken.
    bool ReadToken(ScriptToken& token)
    {
        while (true) {
            if (!ReadSourceToken(token)) {
                return false;
            }
            if (token.Type == TokenType::Punctuation && token.Text == "#") {
                if (!ReadDirective()) {
                    return false;
                }
                continue;
            }
            if (token.Type == TokenType::Punctuation && token.Text == "$") {
                if (!ReadDollarDirective()) {
                    return false;
                }
                continue;
            }
            if (token.Type == TokenType::String) {
                ScriptToken next;
                if (ReadToken(next)) {
                    if (next.Type == TokenType::String) {
                        std::string joined =
                            token.Text.substr(0, token.Text.empty() ? 0 : token.Text.size() - 1);
                        std::string tail = next.Text.empty() ? std::string() : next.Text.substr(1);
                        if (joined.size() + tail.size() + 1 >= MaxToken) {
                            SourceError("string longer than MAX_TOKEN " + std::to_string(MaxToken));
                            return false;
                        }
                        token.Text = joined + tail;
                    } else {
                        m_pending.push_front(next);
                    }
                }
            }
            if (m_skip > 0) {
                continue;
            }
            if (token.Type == TokenType::Name) {
                if (const Define* define = FindDefine(token.Text)) {
                    if (!ExpandDefineIntoSource(token, *define)) {
                        return false;
                    }
                    continue;
                }
            }
            return true;
        }
    }

    bool Exhausted() const { return m_exhausted; }

    void MarkPlace(ScriptToken& token)
    {
        token.AtFile = Current().File();
        token.AtLine = Current().Line();
    }

private:
    std::unique_ptr<Script> LoadScript(const std::string& name)
    {
        std::string path = std::string(BotFilesFolder) + "/" + name;
        std::string asked = name;
        if (path.size() >= MaxGamePathBytes) {
            // Com_sprintf cuts the path to its buffer, and says so.
            m_messages.Add(false,
                           m_scripts.empty() ? 0 : m_scripts.back()->File(),
                           m_scripts.empty() ? 0 : m_scripts.back()->Line(),
                           "Com_sprintf: Output length " + std::to_string(MaxGamePathBytes) +
                               " too short, require " + std::to_string(path.size() + 1) +
                               " bytes.");
            asked = path.substr(BotFilesFolder.size() + 1,
                                MaxGamePathBytes - 1 - BotFilesFolder.size() - 1);
        }
        std::optional<std::string_view> bytes = m_lookup(asked);
        if (!bytes) {
            return nullptr;
        }
        auto file = static_cast<std::uint16_t>(std::min<std::size_t>(m_out.Files.size(), 0xFFFF));
        m_out.Files.push_back(name);
        return std::make_unique<Script>(*bytes, name, file, m_messages);
    }

    Script& Current() { return *m_scripts.back(); }

    void SourceError(const std::string& text)
    {
        m_messages.Add(true, Current().File(), Current().Line(), text);
    }

    void SourceWarning(const std::string& text)
    {
        m_messages.Add(false, Current().File(), Current().Line(), text);
    }

    bool Step()
    {
        if (++m_steps > MaxScriptSteps) {
            m_exhausted = true;
            return false;
        }
        return true;
    }

    // PC_ReadSourceToken: from the tokens put back first, else from the
    // scripts, an included one giving way to the one that included it.
    bool ReadSourceToken(ScriptToken& token)
    {
        if (!Step()) {
            return false;
        }
        while (m_pending.empty()) {
            if (Current().ReadToken(token)) {
                return true;
            }
            if (Current().AtEnd()) {
                while (!m_indents.empty() && m_indents.back().Owner == &Current()) {
                    SourceWarning("missing #endif");
                    PopIndent();
                }
            }
            if (m_scripts.size() == 1) {
                return false;
            }
            if (m_recording && m_recording->Depth == m_scripts.size()) {
                KeepRecording();
            }
            m_scripts.pop_back();
        }
        token = m_pending.front();
        m_pending.pop_front();
        return true;
    }

    void UnreadSourceToken(const ScriptToken& token) { m_pending.push_front(token); }

    void PushIndent(IndentType type, bool skip)
    {
        m_indents.push_back({type, skip, &Current()});
        m_skip += skip ? 1 : 0;
    }

    // PC_PopIndent: only an indent of the current script.
    std::pair<IndentType, bool> PopIndent()
    {
        if (m_indents.empty() || m_indents.back().Owner != &Current()) {
            return {IndentType::None, false};
        }
        Indent indent = m_indents.back();
        m_indents.pop_back();
        m_skip -= indent.Skip ? 1 : 0;
        return {indent.Type, indent.Skip};
    }

    // PC_ReadLine: a token of the same line, or of the next after a "\".
    bool ReadLine(ScriptToken& token)
    {
        int crossline = 0;
        do {
            if (!ReadSourceToken(token)) {
                return false;
            }
            if (token.LinesCrossed > crossline) {
                UnreadSourceToken(token);
                return false;
            }
            crossline = 1;
        } while (token.Text == "\\");
        return true;
    }

    bool ReadDirective()
    {
        ScriptToken token;
        if (!ReadSourceToken(token)) {
            SourceError("found # without name");
            return false;
        }
        if (token.LinesCrossed > 0) {
            UnreadSourceToken(token);
            SourceError("found # at end of line");
            return false;
        }
        if (token.Type == TokenType::Name) {
            const std::string& name = token.Text;
            if (name == "if") {
                return DirectiveIf();
            }
            if (name == "ifdef") {
                return DirectiveIfDef(IndentType::Ifdef);
            }
            if (name == "ifndef") {
                return DirectiveIfDef(IndentType::Ifndef);
            }
            if (name == "elif") {
                return DirectiveElif();
            }
            if (name == "else") {
                return DirectiveElse();
            }
            if (name == "endif") {
                return DirectiveEndif();
            }
            if (name == "include") {
                return DirectiveInclude();
            }
            if (name == "define") {
                return DirectiveDefine();
            }
            if (name == "undef") {
                return DirectiveUndef();
            }
            if (name == "line") {
                SourceError("#line directive not supported");
                return false;
            }
            if (name == "error") {
                ScriptToken what;
                what.Text.clear();
                ReadSourceToken(what);
                SourceError("#error directive: " + what.Text);
                return false;
            }
            if (name == "pragma") {
                SourceWarning("#pragma directive not supported");
                ScriptToken rest;
                while (ReadLine(rest)) {
                }
                return true;
            }
            if (name == "eval" || name == "evalfloat") {
                return DirectiveEval(name == "eval", false);
            }
        }
        SourceError("unknown precompiler directive " + token.Text);
        return false;
    }

    bool ReadDollarDirective()
    {
        ScriptToken token;
        if (!ReadSourceToken(token)) {
            SourceError("found $ without name");
            return false;
        }
        if (token.LinesCrossed > 0) {
            UnreadSourceToken(token);
            SourceError("found $ at end of line");
            return false;
        }
        if (token.Type == TokenType::Name &&
            (token.Text == "evalint" || token.Text == "evalfloat")) {
            return DirectiveEval(token.Text == "evalint", true);
        }
        UnreadSourceToken(token);
        SourceError("unknown precompiler directive " + token.Text);
        return false;
    }

    bool DirectiveIfDef(IndentType type)
    {
        ScriptToken token;
        if (!ReadLine(token)) {
            SourceError("#ifdef without name");
            return false;
        }
        if (token.Type != TokenType::Name) {
            UnreadSourceToken(token);
            SourceError("expected name after #ifdef, found " + token.Text);
            return false;
        }
        bool defined = FindDefine(token.Text) != nullptr;
        PushIndent(type, (type == IndentType::Ifdef) == !defined);
        return true;
    }

    bool DirectiveElse()
    {
        auto [type, skip] = PopIndent();
        if (type == IndentType::None) {
            SourceError("misplaced #else");
            return false;
        }
        if (type == IndentType::Else) {
            SourceError("#else after #else");
            return false;
        }
        PushIndent(IndentType::Else, !skip);
        return true;
    }

    bool DirectiveEndif()
    {
        if (PopIndent().first == IndentType::None) {
            SourceError("misplaced #endif");
            return false;
        }
        return true;
    }

    bool DirectiveIf()
    {
        long value = 0;
        float unused = 0;
        if (!Evaluate(value, unused, true, false)) {
            return false;
        }
        PushIndent(IndentType::If, value == 0);
        return true;
    }

    bool DirectiveElif()
    {
        IndentType type = PopIndent().first;
        if (type == IndentType::None || type == IndentType::Else) {
            SourceError("misplaced #elif");
            return false;
        }
        long value = 0;
        float unused = 0;
        if (!Evaluate(value, unused, true, false)) {
            return false;
        }
        PushIndent(IndentType::Elif, value == 0);
        return true;
    }

    static void ConvertPath(std::string& path)
    {
        std::string converted;
        for (char c : path) {
            bool separator = c == '/' || c == '\\';
            if (separator && !converted.empty() && converted.back() == '/') {
                continue;
            }
            converted += separator ? '/' : c;
        }
        path = converted;
    }

    // Nothing defined, nothing pending: what an include does now depends on
    // the included file alone.
    bool Clean() const
    {
        return m_cache != nullptr && m_defines.empty() && m_base == nullptr && m_indents.empty() &&
               m_pending.empty() && m_skip == 0 && !m_recording;
    }

    // An include of a file read before from a clean state: its defines.
    bool TakeKept(const std::string& path)
    {
        if (!Clean() || BotFilesFolder.size() + 1 + path.size() >= MaxGamePathBytes ||
            EqualIgnoringCase(path, m_scripts.front()->Name())) {
            return false;
        }
        std::optional<std::string_view> bytes = m_lookup(path);
        if (!bytes) {
            return false;
        }
        auto kept = m_cache->Files.find({path, bytes->data(), bytes->size()});
        if (kept == m_cache->Files.end()) {
            m_recording = Recording{{path, bytes->data(), bytes->size()},
                                    m_out.Files.size(),
                                    m_out.Tokens.size(),
                                    m_out.Messages.size(),
                                    m_steps,
                                    m_scripts.size() + 1};
            return false;
        }
        m_base = kept->second;
        m_baseFiles = static_cast<std::uint16_t>(std::min<std::size_t>(m_out.Files.size(), 0xFFFF));
        m_out.Files.insert(m_out.Files.end(), m_base->Files.begin(), m_base->Files.end());
        m_steps += m_base->Steps;
        return true;
    }

    // A define by its name: one of this file's, else one of the kept file
    // of definitions it took (not taken back by #undef).
    const Define* FindDefine(const std::string& name) const
    {
        auto own = m_defines.find(name);
        if (own != m_defines.end()) {
            return &own->second;
        }
        if (m_base == nullptr || m_removed.count(name) != 0) {
            return nullptr;
        }
        auto kept = m_base->Defines.find(name);
        return kept == m_base->Defines.end() ? nullptr : &kept->second;
    }

    void RemoveDefine(const std::string& name)
    {
        m_defines.erase(name);
        if (m_base != nullptr && m_base->Defines.count(name) != 0) {
            m_removed.insert(name);
        }
    }

    // The files a define's tokens name, counted from where its file of
    // definitions stands among this script's files.
    std::uint16_t FileBaseOf(const Define& define) const
    {
        if (m_base == nullptr || m_defines.find(define.Name) != m_defines.end()) {
            return 0;
        }
        return m_baseFiles;
    }

    // The included file being recorded ends: kept when it only defined.
    void KeepRecording()
    {
        Recording recording = *m_recording;
        m_recording.reset();
        if (m_out.Tokens.size() != recording.Tokens ||
            m_out.Messages.size() != recording.Messages || !m_pending.empty() ||
            !m_indents.empty() || m_skip != 0 || m_exhausted) {
            return;
        }
        auto included = std::make_shared<IncludedDefinitions>();
        for (std::size_t i = recording.Files; i < m_out.Files.size(); ++i) {
            included->Files.push_back(m_out.Files[i]);
        }
        auto base = static_cast<std::uint16_t>(recording.Files);
        for (const auto& [name, define] : m_defines) {
            Define copy = define;
            for (ScriptToken& token : copy.Tokens) {
                if (token.File < base || token.AtFile < base) {
                    return;
                }
                token.File = static_cast<std::uint16_t>(token.File - base);
                token.AtFile = static_cast<std::uint16_t>(token.AtFile - base);
            }
            included->Defines.emplace(name, std::move(copy));
        }
        included->Steps = m_steps - recording.Steps;
        m_cache->Files.emplace(recording.Key, std::move(included));
    }

    bool DirectiveInclude()
    {
        if (m_skip > 0) {
            return true;
        }
        ScriptToken token;
        if (!ReadSourceToken(token) || token.LinesCrossed > 0) {
            SourceError("#include without file name");
            return false;
        }
        std::string path;
        std::unique_ptr<Script> script;
        if (token.Type == TokenType::String) {
            path = token.Text;
            if (!path.empty() && path.front() == '"') {
                path.erase(0, 1);
            }
            if (!path.empty() && path.back() == '"') {
                path.pop_back();
            }
            ConvertPath(path);
            if (TakeKept(path)) {
                return true;
            }
            script = LoadScript(path);
        } else if (token.Type == TokenType::Punctuation && token.Text == "<") {
            while (ReadSourceToken(token)) {
                if (token.LinesCrossed > 0) {
                    UnreadSourceToken(token);
                    break;
                }
                if (token.Type == TokenType::Punctuation && token.Text == ">") {
                    break;
                }
                path += token.Text;
            }
            if (token.Text != ">") {
                SourceWarning("#include missing trailing >");
            }
            if (path.empty()) {
                SourceError("#include without file name between < >");
                return false;
            }
            ConvertPath(path);
            script = LoadScript(path);
        } else {
            SourceError("#include without file name");
            return false;
        }
        if (!script) {
            m_recording.reset();
            SourceError("file " + path + " not found");
            return false;
        }
        for (const std::unique_ptr<Script>& open : m_scripts) {
            if (EqualIgnoringCase(open->Name(), script->Name())) {
                SourceError(script->Name() + " recursively included");
                return true;
            }
        }
        m_scripts.push_back(std::move(script));
        return true;
    }

    static bool EqualIgnoringCase(const std::string& a, const std::string& b)
    {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                   auto lower = [](char c) {
                       return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
                   };
                   return lower(x) == lower(y);
               });
    }

    bool DirectiveUndef()
    {
        if (m_skip > 0) {
            return true;
        }
        ScriptToken token;
        if (!ReadLine(token)) {
            SourceError("undef without name");
            return false;
        }
        if (token.Type != TokenType::Name) {
            UnreadSourceToken(token);
            SourceError("expected name, found " + token.Text);
            return false;
        }
        RemoveDefine(token.Text);
        return true;
    }

    bool DirectiveDefine()
    {
        if (m_skip > 0) {
            return true;
        }
        ScriptToken token;
        if (!ReadLine(token)) {
            SourceError("#define without name");
            return false;
        }
        if (token.Type != TokenType::Name) {
            UnreadSourceToken(token);
            SourceError("expected name after #define, found " + token.Text);
            return false;
        }
        std::string name = token.Text;
        if (FindDefine(name) != nullptr) {
            SourceWarning("redefinition of " + name);
            RemoveDefine(name);
        }
        Define& define = m_defines[name];
        define.Name = name;
        m_removed.erase(name);
        if (!ReadLine(token)) {
            return true;
        }
        if (!token.SpaceBefore && token.Text == "(") {
            define.HasParms = true;
            if (!Check(")")) {
                while (true) {
                    if (!ReadLine(token)) {
                        SourceError("expected define parameter");
                        return false;
                    }
                    if (token.Type != TokenType::Name) {
                        SourceError("invalid define parameter");
                        return false;
                    }
                    if (std::find(define.Parms.begin(), define.Parms.end(), token.Text) !=
                        define.Parms.end()) {
                        SourceError("two the same define parameters");
                        return false;
                    }
                    define.Parms.push_back(token.Text);
                    if (!ReadLine(token)) {
                        SourceError("define parameters not terminated");
                        return false;
                    }
                    if (token.Text == ")") {
                        break;
                    }
                    if (token.Text != ",") {
                        SourceError("define not terminated");
                        return false;
                    }
                }
            }
            if (!ReadLine(token)) {
                return true;
            }
        }
        do {
            if (token.Type == TokenType::Name && token.Text == name) {
                SourceError("recursive define (removed recursion)");
                continue;
            }
            token.SpaceBefore = false;
            token.LinesCrossed = 0;
            define.Tokens.push_back(token);
        } while (ReadLine(token));
        if (!define.Tokens.empty() &&
            (define.Tokens.front().Text == "##" || define.Tokens.back().Text == "##")) {
            SourceError("define with misplaced ##");
            return false;
        }
        return true;
    }

    // PC_CheckTokenString on the source tokens (within a #define line).
    bool Check(const std::string& text)
    {
        ScriptToken token;
        if (!ReadToken(token)) {
            return false;
        }
        if (token.Text == text) {
            return true;
        }
        UnreadSourceToken(token);
        return false;
    }

    // PC_ReadDefineParms: "(" opens the list; inner brackets are counted
    // and left out, as the game does.
    bool ReadDefineParms(const std::string& name,
                         const Define& define,
                         std::vector<std::vector<ScriptToken>>& parms)
    {
        ScriptToken token;
        if (!ReadSourceToken(token)) {
            SourceError("define " + name + " missing parms");
            return false;
        }
        if (define.Parms.size() > MaxDefineParms) {
            SourceError("define with more than " + std::to_string(MaxDefineParms) + " parameters");
            return false;
        }
        parms.assign(define.Parms.size(), {});
        if (token.Text != "(") {
            UnreadSourceToken(token);
            SourceError("define " + name + " missing parms");
            return false;
        }
        bool done = false;
        int indent = 0;
        for (std::size_t count = 0; !done; ++count) {
            if (count >= MaxDefineParms) {
                SourceError("define " + name + " with too many parms");
                return false;
            }
            if (count >= define.Parms.size()) {
                SourceWarning("define " + name + " has too many parms");
                return false;
            }
            bool lastComma = true;
            while (!done) {
                if (!ReadSourceToken(token)) {
                    SourceError("define " + name + " incomplete");
                    return false;
                }
                if (token.Text == "," && indent <= 0) {
                    if (lastComma) {
                        SourceWarning("too many comma's");
                    }
                    break;
                }
                lastComma = false;
                if (token.Text == "(") {
                    ++indent;
                    continue;
                }
                if (token.Text == ")" && --indent <= 0) {
                    if (parms.back().empty()) {
                        SourceWarning("too few define parms");
                    }
                    done = true;
                    break;
                }
                parms[count].push_back(token);
            }
        }
        return true;
    }

    bool ExpandDefineIntoSource(const ScriptToken& call, const Define& define)
    {
        std::vector<std::vector<ScriptToken>> parms;
        if (define.HasParms && !define.Parms.empty() &&
            !ReadDefineParms(call.Text, define, parms)) {
            return false;
        }
        std::vector<ScriptToken> expanded;
        const std::vector<ScriptToken>& body = define.Tokens;
        std::uint16_t fileBase = FileBaseOf(define);
        auto parmOf = [&define](const std::string& name) -> std::ptrdiff_t {
            auto it = std::find(define.Parms.begin(), define.Parms.end(), name);
            return it == define.Parms.end() ? -1 : it - define.Parms.begin();
        };
        for (std::size_t i = 0; i < body.size(); ++i) {
            const ScriptToken& token = body[i];
            std::ptrdiff_t parm = token.Type == TokenType::Name ? parmOf(token.Text) : -1;
            if (parm >= 0) {
                const std::vector<ScriptToken>& given = parms[static_cast<std::size_t>(parm)];
                expanded.insert(expanded.end(), given.begin(), given.end());
                continue;
            }
            if (token.Text == "#") {
                std::ptrdiff_t next = i + 1 < body.size() ? parmOf(body[i + 1].Text) : -1;
                if (next < 0) {
                    SourceWarning("stringizing operator without define parameter");
                    continue;
                }
                ++i;
                ScriptToken text = token;
                text.Type = TokenType::String;
                text.Text = "\"";
                for (const ScriptToken& part : parms[static_cast<std::size_t>(next)]) {
                    text.Text += part.Text;
                }
                text.Text = text.Text.substr(0, MaxToken - 2) + "\"";
                expanded.push_back(text);
                continue;
            }
            expanded.push_back(token);
            expanded.back().File = static_cast<std::uint16_t>(expanded.back().File + fileBase);
            expanded.back().AtFile = static_cast<std::uint16_t>(expanded.back().AtFile + fileBase);
        }
        for (std::size_t i = 0; i + 1 < expanded.size();) {
            if (expanded[i + 1].Text != "##" || i + 2 >= expanded.size()) {
                ++i;
                continue;
            }
            ScriptToken& first = expanded[i];
            const ScriptToken& second = expanded[i + 2];
            if (first.Type == TokenType::Name &&
                (second.Type == TokenType::Name || second.Type == TokenType::Number)) {
                first.Text += second.Text;
            } else if (first.Type == TokenType::String && second.Type == TokenType::String) {
                first.Text = first.Text.substr(0, first.Text.size() - 1) + second.Text.substr(1);
            } else {
                SourceError("can't merge " + first.Text + " with " + second.Text);
                return false;
            }
            expanded.erase(expanded.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                           expanded.begin() + static_cast<std::ptrdiff_t>(i) + 3);
        }
        if (expanded.empty()) {
            return false;
        }
        m_pending.insert(m_pending.begin(), expanded.begin(), expanded.end());
        return true;
    }

    // PC_Evaluate (#if, #eval: to the end of the line) and PC_DollarEvaluate
    // ($evalint, $evalfloat: within brackets): defines are expanded, then
    // the numbers and operators evaluated.
    bool Evaluate(long& intValue, float& floatValue, bool integer, bool dollar)
    {
        intValue = 0;
        floatValue = 0;
        ScriptToken token;
        if (dollar) {
            if (!ReadSourceToken(token)) {
                SourceError("no leading ( after $evalint/$evalfloat");
                return false;
            }
            if (!ReadSourceToken(token)) {
                SourceError("nothing to evaluate");
                return false;
            }
        } else if (!ReadLine(token)) {
            SourceError("no value after #if/#elif");
            return false;
        }
        std::vector<ScriptToken> tokens;
        bool defined = false;
        int indent = 1;
        do {
            if (token.Type == TokenType::Name) {
                if (defined || token.Text == "defined") {
                    defined = !defined;
                    tokens.push_back(token);
                } else {
                    const Define* define = FindDefine(token.Text);
                    if (define == nullptr) {
                        SourceError("can't evaluate " + token.Text + ", not defined");
                        return false;
                    }
                    if (!ExpandDefineIntoSource(token, *define)) {
                        return false;
                    }
                }
            } else if (token.Type == TokenType::Number || token.Type == TokenType::Punctuation) {
                if (dollar) {
                    if (token.Text == "(") {
                        ++indent;
                    } else if (token.Text == ")") {
                        --indent;
                    }
                    if (indent <= 0) {
                        break;
                    }
                }
                tokens.push_back(token);
            } else {
                SourceError("can't evaluate " + token.Text);
                return false;
            }
        } while (dollar ? ReadSourceToken(token) : ReadLine(token));
        return EvaluateTokens(tokens, intValue, floatValue, integer);
    }

    // PC_EvaluateTokens, step by step as the game does it.
    bool EvaluateTokens(const std::vector<ScriptToken>& tokens,
                        long& intValue,
                        float& floatValue,
                        bool integer)
    {
        std::vector<EvalValue> values;
        std::vector<EvalOperator> operators;
        int parentheses = 0;
        bool lastWasValue = false;
        bool negative = false;
        bool error = false;
        auto fail = [&](const std::string& text) {
            SourceError(text);
            error = true;
        };
        for (std::size_t i = 0; i < tokens.size() && !error; ++i) {
            const ScriptToken& t = tokens[i];
            if (t.Type == TokenType::Name) {
                if (lastWasValue || negative) {
                    fail("syntax error in #if/#elif");
                    break;
                }
                if (t.Text != "defined") {
                    fail("undefined name " + t.Text + " in #if/#elif");
                    break;
                }
                bool brace = false;
                ++i;
                if (i < tokens.size() && tokens[i].Text == "(") {
                    brace = true;
                    ++i;
                }
                if (i >= tokens.size() || tokens[i].Type != TokenType::Name) {
                    fail("defined without name in #if/#elif");
                    break;
                }
                if (values.size() >= MaxEvaluationItems) {
                    fail("out of value space");
                    break;
                }
                long is = FindDefine(tokens[i].Text) != nullptr ? 1 : 0;
                values.push_back({is, static_cast<float>(is), parentheses});
                if (brace) {
                    ++i;
                    if (i >= tokens.size() || tokens[i].Text != ")") {
                        fail("defined without ) in #if/#elif");
                        break;
                    }
                }
                lastWasValue = true;
            } else if (t.Type == TokenType::Number) {
                if (lastWasValue) {
                    fail("syntax error in #if/#elif");
                    break;
                }
                if (values.size() >= MaxEvaluationItems) {
                    fail("out of value space");
                    break;
                }
                EvalValue value;
                if (negative) {
                    value.Int = -static_cast<long>(static_cast<int>(t.IntValue));
                    value.Float = -t.FloatValue;
                } else {
                    value.Int = Wrapped(t.IntValue);
                    value.Float = t.FloatValue;
                }
                value.Parentheses = parentheses;
                values.push_back(value);
                lastWasValue = true;
                negative = false;
            } else if (t.Type == TokenType::Punctuation) {
                int op = t.Flags;
                if (negative) {
                    fail("misplaced minus sign in #if/#elif");
                    break;
                }
                if (op == ParenthesesOpen) {
                    ++parentheses;
                    continue;
                }
                if (op == ParenthesesClose) {
                    if (--parentheses < 0) {
                        fail("too many ) in #if/#elsif");
                    }
                    continue;
                }
                if (!integer && (op == BinNot || op == Mod || op == RShift || op == LShift ||
                                 op == BinAnd || op == BinOr || op == BinXor)) {
                    fail("illigal operator " + t.Text + " on floating point operands");
                    break;
                }
                switch (op) {
                case LogicNot:
                case BinNot:
                    if (lastWasValue) {
                        fail("! or ~ after value in #if/#elif");
                    }
                    break;
                case Inc:
                case Dec:
                    SourceError("++ or -- used in #if/#elif");
                    break;
                case Sub:
                    if (!lastWasValue) {
                        negative = true;
                        break;
                    }
                    [[fallthrough]];
                case Mul:
                case Div:
                case Mod:
                case Add:
                case LogicAnd:
                case LogicOr:
                case LogicGeq:
                case LogicLeq:
                case LogicEq:
                case LogicUneq:
                case LogicGreater:
                case LogicLess:
                case RShift:
                case LShift:
                case BinAnd:
                case BinOr:
                case BinXor:
                case Colon:
                case QuestionMark:
                    if (!lastWasValue) {
                        fail("operator " + t.Text + " after operator in #if/#elif");
                    }
                    break;
                default:
                    fail("invalid operator " + t.Text + " in #if/#elif");
                    break;
                }
                if (!error && !negative) {
                    if (operators.size() >= MaxEvaluationItems) {
                        fail("out of operator space");
                        break;
                    }
                    operators.push_back({op, OperatorPriority(op), parentheses});
                    lastWasValue = false;
                }
            } else {
                fail("unknown " + t.Text + " in #if/#elif");
            }
        }
        if (!error) {
            if (!lastWasValue) {
                fail("trailing operator in #if/#elif");
            } else if (parentheses != 0) {
                fail("too many ( in #if/#elif");
            }
        }
        bool gotQuestion = false;
        long questionInt = 0;
        float questionFloat = 0;
        while (!error && !operators.empty()) {
            std::size_t o = 0;
            std::size_t v = 0;
            for (; o + 1 < operators.size(); ++o) {
                const EvalOperator& current = operators[o];
                const EvalOperator& next = operators[o + 1];
                if (current.Parentheses > next.Parentheses) {
                    break;
                }
                if (current.Parentheses == next.Parentheses && current.Priority >= next.Priority) {
                    break;
                }
                if (current.Operator != LogicNot && current.Operator != BinNot) {
                    ++v;
                }
                if (v >= values.size()) {
                    fail("mising values in #if/#elif");
                    break;
                }
            }
            if (error) {
                break;
            }
            EvalValue& v1 = values[v];
            EvalValue* v2 = v + 1 < values.size() ? &values[v + 1] : nullptr;
            int op = operators[o].Operator;
            bool binary = op != LogicNot && op != BinNot;
            if (binary && op != QuestionMark && op != Colon && v2 == nullptr) {
                fail("mising values in #if/#elif");
                break;
            }
            auto u = [](long value) {
                return static_cast<unsigned long>(value);
            };
            switch (op) {
            case LogicNot:
                v1.Int = v1.Int == 0 ? 1 : 0;
                v1.Float = v1.Float == 0.0F ? 1.0F : 0.0F;
                break;
            case BinNot:
                v1.Int = ~v1.Int;
                break;
            case Mul:
                v1.Int = Wrapped(u(v1.Int) * u(v2->Int));
                v1.Float *= v2->Float;
                break;
            case Div:
                if (v2->Int == 0 || v2->Float == 0.0F) {
                    fail("divide by zero in #if/#elif");
                    break;
                }
                v1.Int = v2->Int == -1 ? Wrapped(0 - u(v1.Int)) : v1.Int / v2->Int;
                v1.Float /= v2->Float;
                break;
            case Mod:
                if (v2->Int == 0) {
                    fail("divide by zero in #if/#elif");
                    break;
                }
                v1.Int = v2->Int == -1 ? 0 : v1.Int % v2->Int;
                break;
            case Add:
                v1.Int = Wrapped(u(v1.Int) + u(v2->Int));
                v1.Float += v2->Float;
                break;
            case Sub:
                v1.Int = Wrapped(u(v1.Int) - u(v2->Int));
                v1.Float -= v2->Float;
                break;
            case LogicAnd:
                v1.Int = v1.Int != 0 && v2->Int != 0 ? 1 : 0;
                v1.Float = v1.Float != 0.0F && v2->Float != 0.0F ? 1.0F : 0.0F;
                break;
            case LogicOr:
                v1.Int = v1.Int != 0 || v2->Int != 0 ? 1 : 0;
                v1.Float = v1.Float != 0.0F || v2->Float != 0.0F ? 1.0F : 0.0F;
                break;
            case LogicGeq:
                v1.Int = v1.Int >= v2->Int ? 1 : 0;
                v1.Float = v1.Float >= v2->Float ? 1.0F : 0.0F;
                break;
            case LogicLeq:
                v1.Int = v1.Int <= v2->Int ? 1 : 0;
                v1.Float = v1.Float <= v2->Float ? 1.0F : 0.0F;
                break;
            case LogicEq:
                v1.Int = v1.Int == v2->Int ? 1 : 0;
                v1.Float = v1.Float == v2->Float ? 1.0F : 0.0F;
                break;
            case LogicUneq:
                v1.Int = v1.Int != v2->Int ? 1 : 0;
                v1.Float = v1.Float != v2->Float ? 1.0F : 0.0F;
                break;
            case LogicGreater:
                v1.Int = v1.Int > v2->Int ? 1 : 0;
                v1.Float = v1.Float > v2->Float ? 1.0F : 0.0F;
                break;
            case LogicLess:
                v1.Int = v1.Int < v2->Int ? 1 : 0;
                v1.Float = v1.Float < v2->Float ? 1.0F : 0.0F;
                break;
            case RShift:
                v1.Int = v1.Int >> (u(v2->Int) & 63U);
                break;
            case LShift:
                v1.Int = Wrapped(u(v1.Int) << (u(v2->Int) & 63U));
                break;
            case BinAnd:
                v1.Int &= v2->Int;
                break;
            case BinOr:
                v1.Int |= v2->Int;
                break;
            case BinXor:
                v1.Int ^= v2->Int;
                break;
            case Colon:
                if (!gotQuestion) {
                    fail(": without ? in #if/#elif");
                    break;
                }
                if (v2 != nullptr) {
                    if (integer) {
                        if (questionInt == 0) {
                            v1.Int = v2->Int;
                        }
                    } else if (questionFloat == 0.0F) {
                        v1.Float = v2->Float;
                    }
                }
                gotQuestion = false;
                break;
            case QuestionMark:
                if (gotQuestion) {
                    fail("? after ? in #if/#elif");
                    break;
                }
                questionInt = v1.Int;
                questionFloat = v1.Float;
                gotQuestion = true;
                break;
            default:
                break;
            }
            if (error) {
                break;
            }
            if (binary) {
                std::size_t removed = op != QuestionMark ? v + 1 : v;
                if (removed < values.size()) {
                    values.erase(values.begin() + static_cast<std::ptrdiff_t>(removed));
                }
            }
            operators.erase(operators.begin() + static_cast<std::ptrdiff_t>(o));
        }
        if (!values.empty()) {
            intValue = values.front().Int;
            floatValue = values.front().Float;
        }
        if (error) {
            intValue = 0;
            floatValue = 0;
            return false;
        }
        return true;
    }

    bool DirectiveEval(bool integer, bool dollar)
    {
        long intValue = 0;
        float floatValue = 0;
        if (!Evaluate(intValue, floatValue, integer, dollar)) {
            return false;
        }
        ScriptToken token;
        token.Type = TokenType::Number;
        token.File = Current().File();
        token.Line = Current().Line();
        bool negative = false;
        if (integer) {
            unsigned long magnitude = intValue < 0 ? 0 - static_cast<unsigned long>(intValue)
                                                   : static_cast<unsigned long>(intValue);
            token.Text = std::to_string(magnitude);
            token.Flags = NumberFlag::Integer | NumberFlag::Long | NumberFlag::Decimal;
            token.IntValue = magnitude;
            token.FloatValue = static_cast<float>(magnitude);
            negative = intValue < 0;
        } else {
            float magnitude = std::fabs(floatValue);
            std::array<char, 64> text{};
            std::snprintf(text.data(), text.size(), "%1.2f", static_cast<double>(magnitude));
            token.Text = text.data();
            token.Flags = NumberFlag::Float | NumberFlag::Long | NumberFlag::Decimal;
            token.FloatValue = magnitude;
            token.IntValue = magnitude < 1.8e19F ? static_cast<unsigned long>(magnitude) : 0;
            negative = floatValue < 0;
        }
        UnreadSourceToken(token);
        if (negative) {
            ScriptToken sign = token;
            sign.Type = TokenType::Punctuation;
            sign.Flags = Sub;
            sign.Text = "-";
            UnreadSourceToken(sign);
        }
        return true;
    }

    const ScriptLookup& m_lookup;
    PrecompiledScript& m_out;
    MessageSink m_messages;
    std::vector<std::unique_ptr<Script>> m_scripts;
    std::deque<ScriptToken> m_pending;
    std::unordered_map<std::string, Define> m_defines;
    // A kept file of definitions taken at an include (IncludeCache), and
    // where its files stand among this script's.
    std::shared_ptr<const IncludedDefinitions> m_base;
    std::uint16_t m_baseFiles = 0;
    std::unordered_set<std::string> m_removed;
    std::vector<Indent> m_indents;
    int m_skip = 0;
    std::size_t m_steps = 0;
    bool m_exhausted = false;
    IncludeCache* m_cache;

    struct Recording
    {
        std::tuple<std::string, const char*, std::size_t> Key;
        std::size_t Files;
        std::size_t Tokens;
        std::size_t Messages;
        std::size_t Steps;
        std::size_t Depth; // scripts open while the file is read
    };

    std::optional<Recording> m_recording;
};

} // namespace

PrecompiledScript
PrecompileScript(const std::string& path, const ScriptLookup& lookup, IncludeCache* cache)
{
    PrecompiledScript out;
    Precompiler precompiler(lookup, out, cache);
    if (!precompiler.Open(path)) {
        return out;
    }
    out.Found = true;
    ScriptToken token;
    while (precompiler.ReadToken(token)) {
        precompiler.MarkPlace(token);
        out.Tokens.push_back(token);
    }
    out.Exhausted = precompiler.Exhausted();
    precompiler.MarkPlace(token);
    out.EndFile = token.AtFile;
    out.EndLine = token.AtLine;
    return out;
}

const ScriptToken* TokenCursor::Next()
{
    m_asked = std::max(m_asked, m_at + 1);
    m_atEnd = m_at >= m_script.Tokens.size();
    if (m_atEnd) {
        return nullptr;
    }
    return &m_script.Tokens[m_at++];
}

std::pair<std::uint16_t, int> TokenCursor::Place() const
{
    const ScriptToken* last = Last();
    if (m_atEnd || last == nullptr) {
        return {m_script.EndFile, m_script.EndLine};
    }
    return {last->AtFile, last->AtLine};
}

const ScriptToken* TokenCursor::Peek() const
{
    return m_at < m_script.Tokens.size() ? &m_script.Tokens[m_at] : nullptr;
}

bool TokenCursor::Check(std::string_view text)
{
    m_asked = std::max(m_asked, m_at + 1);
    const ScriptToken* next = Peek();
    if (next != nullptr && next->Text == text) {
        ++m_at;
        return true;
    }
    return false;
}

const ScriptToken* TokenCursor::Last() const
{
    return m_at > 0 ? &m_script.Tokens[m_at - 1] : nullptr;
}

std::vector<ScriptMessage> TokenCursor::PrintedMessages() const
{
    std::vector<ScriptMessage> printed;
    for (const ScriptMessage& message : m_script.Messages) {
        if (message.Position < m_asked) {
            printed.push_back(message);
        }
    }
    return printed;
}

std::string EngineMessageText(const PrecompiledScript& script, const ScriptMessage& message)
{
    if (message.Bare || message.Text.rfind("Com_sprintf:", 0) == 0) {
        return message.Text;
    }
    std::string file = message.File < script.Files.size() ? script.Files[message.File] : "";
    return "file " + file + ", line " + std::to_string(message.Line) + ": " + message.Text;
}

} // namespace twl
