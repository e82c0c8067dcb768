#include "core/ListFile.h"

#include "core/Cp1252.h"
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
    if (EncodeCp1252(text).Error) {
        return std::string("a name with a character that Windows-1252 cannot hold");
    }
    return std::nullopt;
}

bool CanStoreInListField(const std::string& text)
{
    return !ListFieldProblem(text);
}

} // namespace twl
