// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Messages.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
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

// The same fields as views into the line, nothing copied; `fields` is
// cleared first. Since every separator is ASCII, the fields of the raw
// Windows-1252 bytes of a line are the encoded fields of its decoded text.
struct ListFieldView
{
    std::string_view Text;
    bool Quoted = false;
};

void SplitListFieldViews(std::string_view line, std::vector<ListFieldView>& fields);

// Calls `take` with each line of a list file's bytes, as SplitTextLines
// splits them (at LF, a CR before it dropped, no empty line after the last
// line end), still in Windows-1252.
template <typename Take> void ForEachRawLine(std::string_view bytes, Take take)
{
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        std::size_t lineEnd = end == std::string_view::npos ? bytes.size() : end;
        if (end != std::string_view::npos && lineEnd > start && bytes[lineEnd - 1] == '\r') {
            --lineEnd;
        }
        take(bytes.substr(start, lineEnd - start));
        start = next;
    }
}

// Whether a list file's bytes would not come back whole once read and
// written again: no title line, a line that is not one whole record
// (`isRecord` says so of its fields), or a field holding a control
// character, which no list field can hold again.
bool IsListFileDamaged(std::string_view bytes,
                       const std::function<bool(const std::vector<ListFieldView>&)>& isRecord);

// What a reader of a user list keeps: every entry, or only what a check of
// the game folder keeps of it (the check drops every entry that came from
// an archive and finds the archives' entries again). Either way the whole
// file is checked and a damaged one reported alike.
enum class ListEntries
{
    All,
    KeptByFolderCheck,
};

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

// What a list file could not hold, told once when the list is saved: the
// first few by name (shown escaped), then how many more, so that a damaged
// list of thousands of names is one message, not thousands.
class NotStoredList
{
public:
    // `kinds`: what the entries are, one and many ("skin", "skins").
    NotStoredList(std::string kind, std::string kinds);

    // Adds the entry when the text cannot be stored; returns whether it can.
    bool Check(const std::string& shownName, const std::string& text);
    bool Empty() const;
    // "2 skins were not stored in <path>, as they can't be kept there: 'a'
    // (a name with a double quote), 'b' (...)." (title "Not stored")
    void Report(const std::filesystem::path& path, Messages& messages) const;

private:
    std::string m_kind;
    std::string m_kinds;
    std::vector<std::string> m_shown; // the first few
    std::size_t m_count = 0;
};

} // namespace twl
