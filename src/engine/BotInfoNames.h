#pragma once

#include <string>
#include <vector>

namespace twl {

// The "name" of every entry of a bot list (scripts/bots.txt, a .bot
// script), read as the game module reads it: tokens as the engine's parser
// cuts them (blanks and // and /* */ comments between; a token in double
// quotes, or up to the next blank), each entry "{" key value ... "}" with
// each value on its key's line; anything else where an entry should start
// ends the list. The key is compared without regard to case, a later name
// replaces an earlier one, a name holding "\", ";" or a double quote is
// refused (as info strings refuse it); an entry without a name gives none.
std::vector<std::string> BotInfoNames(const std::string& text);

} // namespace twl
