#pragma once

#include <string>
#include <string_view>

namespace twl {

// Text from outside (a name in an archive, a line of a game's file) made
// safe to show: every control character and DEL as "\xNN", so that a line
// end cannot forge another line and an escape cannot reach a terminal.
std::string Printable(std::string_view text);

} // namespace twl
