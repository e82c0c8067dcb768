#pragma once

#include <optional>
#include <string>
#include <vector>

namespace twl {

// The field syntax of the user list files (twl_models, twl_bots,
// twl_synonyms): fields separated by commas, texts in double quotes (a
// quoted text may hold commas), Booleans as #TRUE# and #FALSE#.

struct ListField
{
    std::string Text;
    bool Quoted = false;
};

// The fields of one line. Blanks before a field are skipped; an unquoted
// field ends at the next comma and loses its trailing blanks; after a
// quoted field anything up to the next comma is ignored. An empty line has
// no fields.
std::vector<ListField> SplitListFields(const std::string& line);

std::string QuotedField(const std::string& text);
std::string BooleanField(bool value);

// #TRUE#/#FALSE#, True/False, or a number (non-zero is true).
std::optional<bool> ParseBooleanField(const ListField& field);

// A text can be stored in a quoted field when it holds no double quote and
// no line end: such a text could not be read back as it was.
bool CanStoreInListField(const std::string& text);

} // namespace twl
