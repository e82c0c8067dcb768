// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editing/BotEditor.h"

#include <optional>
#include <string>

namespace twl {

// "Add model" (the name from the model dialog): a model of the user's own
// with the skin "Default", and "Red" and "Blue" when asked, after the last
// model. A name already in the list (with the same capitals) is refused:
// "Model '<name>' already exists!". True when added.
bool AddModel(BotEditor& editor, const std::string& name, bool createRedBlue);

// "Add skin" for the selected model: asks for the name and adds the skin as
// the user's own after the model's last. A name the model has already
// (in any case) is asked about first. True when added.
bool AddSkin(BotEditor& editor, const ModelSelection& selected);

// "Remove model" and "Remove skin": the game's own models and skins, and a
// model's only skin, are refused; others go after the user said Yes. The
// selection the lists take afterwards (and the bot with it, marked
// changed), or nothing when nothing was removed.
std::optional<ModelSelection> RemoveModel(BotEditor& editor, const ModelSelection& selected);
std::optional<ModelSelection> RemoveSkin(BotEditor& editor, const ModelSelection& selected);

} // namespace twl
