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

// A text can be stored in a quoted field when it holds no double quote, no
// line end or other control character (a name from an archive may hold
// terminal escapes) and only characters Windows-1252 can hold: such a text
// could not be read back as it was, or would stop the whole file from
// being written.
bool CanStoreInListField(const std::string& text);

// Why a text cannot be stored in a list field, in words for the user ("a
// name with a double quote"); nothing when it can.
std::optional<std::string> ListFieldProblem(const std::string& text);

} // namespace twl
