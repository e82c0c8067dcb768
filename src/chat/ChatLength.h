// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chat/ChatCatalogue.h"

#include <optional>
#include <string>
#include <vector>

namespace twl {

// The game keeps a chat message in a buffer of 256 bytes: its loader
// refuses the whole chat file when a message does not fit.
inline constexpr int MaxChatMessageLength = 255;
// A variable or a list name is taken only while the message so far holds at
// most this many characters.
inline constexpr int LastItemStart = 249;

// A chat message as the game's chat loader counts it. Every text piece
// counts its characters once the escapes are undone ("\"" and "\\" count
// one each); a variable counts 3 plus its digits and a random list name 3
// plus its length (the loader stores them between two marker bytes with a
// letter: "\1v1\1", "\1rlooser\1").
struct ChatMessageLength
{
    int Length = 0;
    // False when the game refuses the chat file for this message: it is
    // longer than MaxChatMessageLength, or a variable or list name starts
    // after character LastItemStart.
    bool Fits = true;
    // Where the message stops fitting: the count before the piece that
    // does not fit (-1 while it fits).
    int BreaksAt = -1;
    // What the game's parser cannot read in the line (an unknown escape,
    // which cuts the text there, a number with a point, a missing ";"), or
    // nothing.
    std::optional<std::string> Problem;
    // The random list names and the variables (their numbers) of the
    // message, in their order.
    std::vector<std::string> ListNames;
    std::vector<unsigned long long> Variables;
};

// A line of the chat file, as the chat writer produces it and the game
// reads it: `"Hi ", 1, "!";`, `looser;`, `HELLO3;`.
ChatMessageLength GameChatLengthOfFileLine(const std::string& fileLine);

// A chat line in the editor's form (text with {{LIST<n>}}, {WORD} and
// {POINTER} tokens) of chat type `chatType`, as it will stand in the file.
ChatMessageLength
GameChatLength(const std::string& editorLine, std::size_t chatType, const ChatCatalogue& chat);

} // namespace twl
