// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ListFile.h"

#include "core/Cp1252.h"
#include "core/ShownText.h"
#include "core/TextCase.h"
#include "core/Value.h"

namespace twl {

void SplitListFieldViews(std::string_view line, std::vector<ListFieldView>& fields)
{
    fields.clear();
    if (line.find_first_not_of(" \t") == std::string_view::npos) {
        return;
    }
    std::size_t pos = 0;
    while (true) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) {
            ++pos;
        }
        ListFieldView field;
        if (pos < line.size() && line[pos] == '"') {
            std::size_t close = line.find('"', pos + 1);
            std::size_t end = close == std::string_view::npos ? line.size() : close;
            field.Text = line.substr(pos + 1, end - pos - 1);
            field.Quoted = true;
            pos = close == std::string_view::npos ? line.size() : close + 1;
            std::size_t comma = line.find(',', pos);
            pos = comma == std::string_view::npos ? line.size() : comma;
        } else {
            std::size_t comma = line.find(',', pos);
            std::size_t end = comma == std::string_view::npos ? line.size() : comma;
            field.Text = line.substr(pos, end - pos);
            std::size_t last = field.Text.find_last_not_of(" \t");
            field.Text = field.Text.substr(0, last == std::string_view::npos ? 0 : last + 1);
            pos = end;
        }
        fields.push_back(field);
        if (pos >= line.size()) {
            break;
        }
        ++pos; // the comma
    }
}

std::vector<ListField> SplitListFields(const std::string& line)
{
    std::vector<ListFieldView> views;
    views.reserve(4);
    SplitListFieldViews(line, views);
    std::vector<ListField> fields;
    fields.reserve(views.size());
    for (const ListFieldView& view : views) {
        fields.push_back(ListField{std::string(view.Text), view.Quoted});
    }
    return fields;
}

std::string QuotedField(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string BooleanField(bool value)
{
    return value ? "#TRUE#" : "#FALSE#";
}

std::optional<bool> ParseBooleanField(const ListField& field)
{
    std::string lower = LowerCase(field.Text);
    if (lower == "#true#" || lower == "true") {
        return true;
    }
    if (lower == "#false#" || lower == "false") {
        return false;
    }
    if (std::optional<double> number = ParseNumericText(field.Text)) {
        return *number != 0.0;
    }
    return std::nullopt;
}

std::optional<std::string> ListFieldProblem(const std::string& text)
{
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (c == '"') {
            return std::string("a name with a double quote");
        }
        if (byte < 0x20 || byte == 0x7F) {
            return std::string("a name with a control character");
        }
    }
    if (!EncodeCp1252(text)) {
        return std::string("a name with a character that Windows-1252 cannot hold");
    }
    return std::nullopt;
}

bool CanStoreInListField(const std::string& text)
{
    return !ListFieldProblem(text);
}

bool IsListFileDamaged(std::string_view bytes,
                       const std::function<bool(const std::vector<ListFieldView>&)>& isRecord)
{
    bool damaged = false;
    std::size_t lines = 0;
    std::vector<ListFieldView> fields;
    ForEachRawLine(bytes, [&](std::string_view line) {
        if (lines++ == 0 || damaged) {
            return; // the title
        }
        SplitListFieldViews(line, fields);
        if (fields.empty()) {
            return;
        }
        damaged = !isRecord(fields);
        for (const ListFieldView& field : fields) {
            for (char c : field.Text) {
                damaged = damaged || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
            }
        }
    });
    return damaged || lines == 0;
}

namespace {

constexpr std::size_t NotStoredShown = 3;

} // namespace

NotStoredList::NotStoredList(std::string kind, std::string kinds)
    : m_kind(std::move(kind))
    , m_kinds(std::move(kinds))
{}

bool NotStoredList::Check(const std::string& shownName, const std::string& text)
{
    std::optional<std::string> problem = ListFieldProblem(text);
    if (!problem) {
        return true;
    }
    if (m_shown.size() < NotStoredShown) {
        m_shown.push_back("'" + ShownText(shownName) + "' (" + *problem + ")");
    }
    ++m_count;
    return false;
}

bool NotStoredList::Empty() const
{
    return m_count == 0;
}

void NotStoredList::Report(const std::filesystem::path& path, Messages& messages) const
{
    if (m_count == 0) {
        return;
    }
    std::string list;
    for (const std::string& shown : m_shown) {
        list += (list.empty() ? "" : ", ") + shown;
    }
    if (m_count > m_shown.size()) {
        list += " and " + std::to_string(m_count - m_shown.size()) + " more";
    }
    messages.Warn(
        std::to_string(m_count) + " " + (m_count == 1 ? m_kind + " was" : m_kinds + " were") +
            " not stored in " + ShownText(path.string()) +
            (m_count == 1 ? ", as it can't" : ", as they can't") + " be kept there: " + list + ".",
        "Not stored");
}

} // namespace twl
