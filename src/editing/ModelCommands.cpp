// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/ModelCommands.h"

#include "core/TextCase.h"

namespace twl {

namespace {

// The bot wears the model and skin the lists select after a removal.
void WearSelection(BotEditor& editor, const ModelSelection& selection, const std::string& name)
{
    const ModelCatalogue& models = editor.CurrentCatalogues().Models;
    if (selection.Model < 0 || static_cast<std::size_t>(selection.Model) >= models.size()) {
        return;
    }
    const ModelEntry& model = models[static_cast<std::size_t>(selection.Model)];
    if (selection.Skin < 0 || static_cast<std::size_t>(selection.Skin) >= model.Skins.size()) {
        return;
    }
    std::string modelName = model.Name;
    std::string skinName = model.Skins[static_cast<std::size_t>(selection.Skin)].Name;
    editor.Edit(name, [&modelName, &skinName](Bot& bot) {
        bot.SetBotPara(Para::Model, Value(modelName));
        bot.SetBotPara(Para::Skin, Value(skinName));
    });
}

bool Valid(const ModelCatalogue& models, const ModelSelection& selected)
{
    return selected.Model >= 0 && static_cast<std::size_t>(selected.Model) < models.size() &&
           selected.Skin >= 0 &&
           static_cast<std::size_t>(selected.Skin) <
               models[static_cast<std::size_t>(selected.Model)].Skins.size();
}

} // namespace

bool AddModel(BotEditor& editor, const std::string& name, bool createRedBlue)
{
    ModelCatalogue& models = editor.CurrentCatalogues().Models;
    for (const ModelEntry& model : models) {
        if (model.Name == name) {
            editor.UserMessages().Warn("Model '" + name + "' already exists!", "Model not added");
            return false;
        }
    }
    models.push_back(MakeModelEntry(name, false, createRedBlue, UserDefined));
    return true;
}

bool AddSkin(BotEditor& editor, const ModelSelection& selected)
{
    ModelCatalogue& models = editor.CurrentCatalogues().Models;
    if (selected.Model < 0 || static_cast<std::size_t>(selected.Model) >= models.size()) {
        return false;
    }
    const ModelEntry& model = models[static_cast<std::size_t>(selected.Model)];
    Messages& messages = editor.UserMessages();
    std::optional<std::string> skin =
        messages.AskText("Add new skin for model " + model.Name, "Add skin");
    if (!skin || skin->empty()) {
        return false;
    }
    // Two skins of one name could not be told apart in the list.
    for (const SkinEntry& existing : model.Skins) {
        if (LowerCase(existing.Name) == LowerCase(*skin)) {
            if (!messages.Ask("Model " + model.Name + " has a skin " + existing.Name +
                                  " already. Do you want to add another skin of that name?",
                              "Add skin")) {
                return false;
            }
            break;
        }
    }
    AddModelSkin(models, model.Name, *skin, UserDefined, "");
    return true;
}

std::optional<ModelSelection> RemoveModel(BotEditor& editor, const ModelSelection& selected)
{
    ModelCatalogue& models = editor.CurrentCatalogues().Models;
    if (selected.Model < 0 || static_cast<std::size_t>(selected.Model) >= models.size()) {
        return std::nullopt;
    }
    const ModelEntry& model = models[static_cast<std::size_t>(selected.Model)];
    Messages& messages = editor.UserMessages();
    if (model.IsOriginal) {
        messages.Warn("Model " + model.Name +
                          " is an original Q3A model and it can't be removed from the list",
                      "Denied!");
        return std::nullopt;
    }
    if (!messages.Ask("Do you want to remove model " + model.Name + " and all it's skins?",
                      "Remove skin?")) {
        return std::nullopt;
    }
    models.erase(models.begin() + selected.Model);
    WearSelection(editor, ModelSelection{0, 0}, "Remove model");
    return ModelSelection{0, 0};
}

std::optional<ModelSelection> RemoveSkin(BotEditor& editor, const ModelSelection& selected)
{
    ModelCatalogue& models = editor.CurrentCatalogues().Models;
    if (!Valid(models, selected)) {
        return std::nullopt;
    }
    ModelEntry& model = models[static_cast<std::size_t>(selected.Model)];
    const SkinEntry& skin = model.Skins[static_cast<std::size_t>(selected.Skin)];
    Messages& messages = editor.UserMessages();
    if (model.Skins.size() == 1) {
        messages.Warn("Skin " + skin.Name + " is the only skin for model " + model.Name +
                          " so it can't be removed from the list",
                      "Denied!");
        return std::nullopt;
    }
    if (skin.IsOriginal) {
        messages.Warn("Skin " + skin.Name + " for model " + model.Name +
                          " is an original Q3A skin and it can't be removed from the list",
                      "Denied!");
        return std::nullopt;
    }
    if (!messages.Ask("Do you want to remove skin " + skin.Name + " for model " + model.Name + "?",
                      "Remove skin?")) {
        return std::nullopt;
    }
    model.Skins.erase(model.Skins.begin() + selected.Skin);
    WearSelection(editor, ModelSelection{selected.Model, 0}, "Remove skin");
    return ModelSelection{selected.Model, 0};
}

} // namespace twl
