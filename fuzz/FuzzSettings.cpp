// SPDX-License-Identifier: GPL-3.0-or-later
// The reader of twl.ini, then its writer.
#include "FuzzSupport.h"
#include "core/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace twl;
    Settings settings;
    ReadSettingsLines(SplitTextLines(fuzz::Bytes(data, size)), settings);
    (void)EncodeTextLines(SettingsFileLines(settings));
    return 0;
}
