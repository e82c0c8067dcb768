#pragma once

#include "chat/ChatCatalogue.h"

#include <string>

namespace twl {

// One chat line between the editor's form (text with {{LIST<n>}}, {WORD}
// and {POINTER} tokens) and the chat file's form (quoted texts, bare list
// and word-list names and pointer numbers, closed by ";"). The chat type
// decides which pointers a line may hold. Inside quoted texts a backslash
// is written "\\" and a double quote "\"", as the game's parser reads them.
std::string
EncodeChatLine(const std::string& text, std::size_t chatType, const ChatCatalogue& chat);
std::string
DecodeChatLine(const std::string& line, std::size_t chatType, const ChatCatalogue& chat);

} // namespace twl
