// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestCatalogues.h"

#include "support/ScriptedMessages.h"

#include <sstream>

namespace twl::test {

const Catalogues& FreshCatalogues()
{
    static const Catalogues catalogues = [] {
        Catalogues built;
        ScriptedMessages messages;
        InitCatalogues(built, "/nonexistent/tarnwell-test-settings", messages);
        return built;
    }();
    return catalogues;
}

Settings AuthorSettings()
{
    Settings settings;
    settings.Text(Settings::UserName) = "Vantry";
    settings.Text(Settings::Email) = "vantry@example.org";
    settings.Text(Settings::Http) = "http://example.org";
    return settings;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::istringstream in(text);
    return ReadTextLines(in);
}

std::vector<std::string> SkinNames(const ModelEntry& model)
{
    std::vector<std::string> names;
    for (const SkinEntry& skin : model.Skins) {
        names.push_back(skin.Name);
    }
    return names;
}

const BotListEntry* FindBot(const BotList& bots, const std::string& name)
{
    for (const BotListEntry& entry : bots) {
        if (entry.Name == name) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace twl::test
