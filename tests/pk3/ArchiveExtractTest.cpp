// SPDX-License-Identifier: GPL-3.0-or-later
#include "pk3/ArchiveExtract.h"

#include "pk3/ZipArchive.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"
#include "support/ZipBytes.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace twl {
namespace {

using test::ScriptedMessages;
using test::TempFolder;

TEST(ReadArchiveEntry, ReadsTheEntryAndReportsOnlyAnArchiveThatDoesNotOpen)
{
    const std::string icon = "icon bytes \x01\x02";
    const std::string stored = "Models/Players/Sarge/Icon_Red.tga";
    auto zipOf = [](const std::string& name, const std::string& data) {
        TempFolder scratch;
        EXPECT_TRUE(test::WriteZipArchive(scratch / "a.pk3", {{name, data}}));
        return test::ReadBytes(scratch / "a.pk3");
    };
    auto damaged = [&] {
        std::string bytes = test::MakeStoredZip({{stored, icon}});
        bytes[bytes.find(icon)] = 'X'; // the checksum no longer fits
        return bytes;
    };

    struct Case
    {
        const char* Name;
        std::function<std::optional<std::string>()> Archive; // nothing: no file
        std::string Asked;
        std::optional<std::string> Expected;
        bool Reported;
    };

    const std::vector<Case> cases = {
        {"another case, backslashes",
         [&] { return zipOf(stored, icon); },
         "models\\players\\SARGE\\icon_red.TGA",
         icon,
         false},
        {"entry missing",
         [&] { return zipOf(stored, icon); },
         "models\\icon_blue.tga",
         std::nullopt,
         false},
        {"entry above the size limit",
         [&] { return zipOf(stored, std::string(MaxArchiveEntrySize + 1, 'x')); },
         stored,
         std::nullopt,
         false},
        {"entry damaged", damaged, stored, std::nullopt, false},
        {"archive missing", [] { return std::nullopt; }, stored, std::nullopt, true},
        {"archive not a zip", [] { return std::string(100, 'z'); }, stored, std::nullopt, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TempFolder game;
        if (std::optional<std::string> bytes = c.Archive()) {
            test::WriteBytes(game / "skins.pk3", *bytes);
        }
        ScriptedMessages messages;
        EXPECT_EQ(ReadArchiveEntry("skins.pk3", c.Asked, {game.Path()}, messages), c.Expected);
        // A missing or broken archive is reported, with the reason on a line
        // of its own; the rest is left to the picture shown.
        ASSERT_EQ(messages.Received().size(), c.Reported ? 1u : 0u);
        if (c.Reported) {
            const ScriptedMessages::Message& said = messages.Received()[0];
            EXPECT_EQ(said.Title, "Load failed");
            EXPECT_EQ(said.Text.substr(0, said.Text.find('\n')),
                      "Couldn't load " + c.Asked +
                          " from skins.pk3. Check that the pk3-file still exists.");
            EXPECT_NE(said.Text.find('\n'), std::string::npos);
        }
    }
}

} // namespace
} // namespace twl
