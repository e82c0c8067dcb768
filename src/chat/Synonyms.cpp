// SPDX-License-Identifier: GPL-3.0-or-later
#include "chat/Synonyms.h"

#include "core/ListFile.h"
#include "core/TextCase.h"

#include <algorithm>

namespace twl {

namespace {

constexpr const char* SynonymsTitle = "[Tarnwell synonym list]";

bool SameWord(const std::string& a, const std::string& b)
{
    return LowerCase(a) == LowerCase(b);
}

} // namespace

bool IsSynonymListEmpty(const SynonymList& synonyms)
{
    return synonyms.empty() || (synonyms.size() == 1 && synonyms[0].empty());
}

void LoadSynonyms(SynonymList& synonyms, const std::filesystem::path& folder)
{
    synonyms.assign(1, std::string());
    std::error_code error;
    std::filesystem::path path = folder / SynonymsFileName;
    if (!std::filesystem::exists(path, error)) {
        return;
    }
    const std::vector<std::string> lines = ReadTextFile(path).ValueOr({});
    bool titleSkipped = false;
    for (const std::string& line : lines) {
        for (ListField& field : SplitListFields(line)) {
            if (!titleSkipped) {
                titleSkipped = true;
            } else if (synonyms.size() == 1 && synonyms[0].empty()) {
                synonyms[0] = std::move(field.Text);
            } else {
                synonyms.push_back(std::move(field.Text));
            }
        }
    }
}

Result<>
SaveSynonyms(const SynonymList& synonyms, const std::filesystem::path& folder, Messages& messages)
{
    std::filesystem::path path = folder / SynonymsFileName;
    if (IsSynonymListEmpty(synonyms)) {
        return {};
    }
    std::vector<std::string> lines = {SynonymsTitle};
    NotStoredList notStored("synonym", "synonyms");
    for (const std::string& entry : synonyms) {
        if (!entry.empty() && notStored.Check(entry, entry)) {
            lines.push_back(QuotedField(entry));
        }
    }
    notStored.Report(path, messages);
    return ReplaceKeepingDamaged(path, lines, [](const std::string& old) {
        return IsListFileDamaged(old, [](const std::vector<ListFieldView>&) { return true; });
    });
}

std::string CheckSynonyms(const SynonymList& synonyms, const std::string& text, Messages& messages)
{
    if (IsSynonymListEmpty(synonyms)) {
        messages.Inform("Synonym list is empty. Check that file 'twl_synonyms' exists in Tarnwell "
                        "folder. You can create a new 'twl_synonyms' by adding synomyns from the "
                        "Tools-menu",
                        "Synonym list is missing");
        return text;
    }
    if (text.empty()) {
        return text;
    }

    // Words end at blanks; the last word runs to the end of the text, a
    // trailing blank included. A first empty word is taken over by the next.
    std::vector<std::string> words(1);
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        bool last = i + 1 == text.size();
        if (last) {
            words.push_back(text.substr(start));
        } else if (text[i] == ' ') {
            std::string word = text.substr(start, i - start);
            if (words.size() == 1 && words[0].empty()) {
                words[0] = std::move(word);
            } else {
                words.push_back(std::move(word));
            }
            start = i + 1;
        }
    }

    for (const std::string& entry : synonyms) {
        if (entry.empty()) {
            continue;
        }
        for (std::string& word : words) {
            if (SameWord(word, entry)) {
                word = "~" + word;
            }
        }
    }

    std::string result;
    for (std::size_t i = 0; i + 1 < words.size(); ++i) {
        if (!words[i].empty()) {
            result += words[i] + " ";
        }
    }
    return result + words.back();
}

bool AddSynonym(SynonymList& synonyms, Messages& messages)
{
    std::optional<std::string> answer = messages.AskText("Give the new synonym", "Add synonym");
    if (!answer || answer->empty()) {
        return false;
    }
    bool listed =
        std::any_of(synonyms.begin(), synonyms.end(), [&answer](const std::string& entry) {
            return SameWord(entry, *answer);
        });
    if (listed) {
        messages.Inform("Synonym '" + *answer + "' exists in the list already.",
                        "Synonym not added");
        return false;
    }
    synonyms.push_back(*answer);
    return true;
}

} // namespace twl
