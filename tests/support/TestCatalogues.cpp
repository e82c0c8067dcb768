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

} // namespace twl::test
