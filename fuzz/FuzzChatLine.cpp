// SPDX-License-Identifier: GPL-3.0-or-later
// The chat line codec both ways, for every chat type. What the writer
// makes of a line must read back as a line that writes the same again (but
// for the case of a word list's name: a bare name alone matches a word list
// in any case, and is then written as the list is named).
#include "FuzzSupport.h"
#include "chat/ChatCodec.h"
#include "core/TextCase.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace twl;
    if (size == 0) {
        return 0;
    }
    const ChatCatalogue& chat = fuzz::FreshCatalogues().Chat;
    std::size_t type = data[0] % ChatTypeCount;
    std::string text = fuzz::Bytes(data + 1, size - 1);
    DecodeChatLine(text, type, chat);
    std::string file = EncodeChatLine(text, type, chat);
    std::string again = EncodeChatLine(DecodeChatLine(file, type, chat), type, chat);
    if (text.find_first_of("\r\n") == std::string::npos && LowerCase(again) != LowerCase(file)) {
        __builtin_trap();
    }
    return 0;
}
