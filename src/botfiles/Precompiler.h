// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace twl {

// The game's bot library reads every bot file (characteristics, weights,
// chats, its random lists) through one script reader and a C-like
// precompiler (#include, #define with parameters, #if, $evalint and
// $evalfloat). This is that reader, made to give what the game's gives:
// the same tokens, the same values of numbers (010 is eight), the same
// errors at the same places, and the same end where an error stops it.

enum class TokenType : std::uint8_t
{
    String = 1,  // "text": Text keeps the quotes, escapes undone
    Literal = 2, // 'text'
    Number = 3,
    Name = 4,
    Punctuation = 5
};

// How a number was written, as the game's reader marks it.
namespace NumberFlag {
inline constexpr int Decimal = 0x0008;
inline constexpr int Hex = 0x0100;
inline constexpr int Octal = 0x0200;
inline constexpr int Float = 0x0800;
inline constexpr int Integer = 0x1000;
inline constexpr int Long = 0x2000;
inline constexpr int Unsigned = 0x4000;
} // namespace NumberFlag

struct ScriptToken
{
    TokenType Type = TokenType::Name;
    int Flags = 0; // numbers: NumberFlag bits
    // The token as the game holds it: up to its first zero byte (an unknown
    // escape such as \q leaves a zero byte, which ends the text there).
    std::string Text;
    unsigned long IntValue = 0;
    float FloatValue = 0;
    // Where the token was written: for a token that a #define put in, the
    // line of that #define.
    std::uint16_t File = 0; // index into PrecompiledScript::Files
    int Line = 0;
    // Where the game's reading stood when it handed the token out: the
    // file and line the game names in an error about it.
    std::uint16_t AtFile = 0;
    int AtLine = 0;
    int LinesCrossed = 0;
    bool SpaceBefore = false;
};

// A line the game prints while it reads: "file <name>, line <n>: <text>"
// as an error or a warning (or, for a path too long for the game's buffer,
// its own text).
struct ScriptMessage
{
    bool Error = true;
    std::uint16_t File = 0;
    int Line = 0;
    std::string Text;
    // How many tokens were handed out before it: the game prints it only
    // when whoever reads the tokens asks for one more than that.
    std::size_t Position = 0;
    // Printed as it stands, without "file ..., line ...".
    bool Bare = false;
};

// Finds a file as the game's precompiler opens it: `path` as the file
// names it, below the game's botfiles/ folder ("bots/sarge_w.c", "fuzw.c").
// The bytes stay valid until PrecompileScript returns.
using ScriptLookup = std::function<std::optional<std::string_view>(const std::string& path)>;

// Everything the game reads from one file: every token it would hand out,
// in order, and every line it would print, each with its place.
struct PrecompiledScript
{
    bool Found = false;             // the file itself was found
    std::vector<std::string> Files; // the files read, the main file first, as the game names them
    std::vector<ScriptToken> Tokens;
    std::vector<ScriptMessage> Messages;
    // The reading stopped at a limit of this program (a file that expands
    // without end), not where the game stops.
    bool Exhausted = false;
    // Where the reading stood when the tokens ran out.
    std::uint16_t EndFile = 0;
    int EndLine = 0;
};

// At most this many tokens are read, passed over or expanded in one file
// with what it includes (the game's own largest files need a few
// thousand): a file of definitions that expand into each other without
// end stops here, where the game would not.
inline constexpr std::size_t MaxScriptSteps = 2'000'000;

// The game's botfiles/ path buffer (MAX_QPATH) holds this many bytes with
// the end mark: "botfiles/" and the path must stay below it.
inline constexpr std::size_t MaxGamePathBytes = 64;

struct IncludedDefinitions;

// Files of definitions that bot files include before anything else
// (chars.h, inv.h), read once: what such a file defines is kept and given
// to each later file that includes it the same way, as the game would
// have read it. A file is kept only when it defines and prints nothing
// else. The bytes the lookup gives must stay where they are while the
// cache is in use (they are told apart by their address).
class IncludeCache
{
public:
    IncludeCache();
    ~IncludeCache();
    IncludeCache(const IncludeCache&) = delete;
    IncludeCache& operator=(const IncludeCache&) = delete;

    std::map<std::tuple<std::string, const char*, std::size_t>,
             std::shared_ptr<const IncludedDefinitions>>
        Files;
};

// Reads `path` (below botfiles/) and what it includes as the game does.
PrecompiledScript PrecompileScript(const std::string& path,
                                   const ScriptLookup& lookup,
                                   IncludeCache* cache = nullptr);

// Reads tokens of a precompiled script as the game's parsers do, and tells
// which of the script's messages the game has printed by then.
class TokenCursor
{
public:
    explicit TokenCursor(const PrecompiledScript& script)
        : m_script(script)
    {}

    // The next token, or nothing at the end (where the game's reader fails).
    const ScriptToken* Next();
    // The next token without taking it.
    const ScriptToken* Peek() const;
    // Takes the next token when its text is `text` (PC_CheckTokenString).
    bool Check(std::string_view text);
    // The token that Next gave last.
    const ScriptToken* Last() const;
    // Where the game's reading stands: at the token given last, or where
    // the tokens ran out once Next found none.
    std::pair<std::uint16_t, int> Place() const;
    // The messages the game printed up to the furthest token asked for.
    std::vector<ScriptMessage> PrintedMessages() const;

private:
    const PrecompiledScript& m_script;
    std::size_t m_at = 0;
    std::size_t m_asked = 0; // one past the furthest position asked for
    bool m_atEnd = false;
};

// "file bots/x_c.c, line 16: text" as the game prints a message.
std::string EngineMessageText(const PrecompiledScript& script, const ScriptMessage& message);

} // namespace twl
