#include "core/Printable.h"

namespace twl {

std::string Printable(std::string_view text)
{
    static const char Hex[] = "0123456789ABCDEF";
    std::string shown;
    shown.reserve(text.size());
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            shown += "\\x";
            shown += Hex[byte >> 4];
            shown += Hex[byte & 0x0F];
        } else {
            shown += c;
        }
    }
    return shown;
}

} // namespace twl
