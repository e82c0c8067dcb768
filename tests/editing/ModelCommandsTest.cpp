// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/ModelCommands.h"

#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace twl {
namespace {

using test::ScriptedMessages;
using test::TempFolder;
using Message = ScriptedMessages::Message;
using Kind = ScriptedMessages::Kind;

class ModelCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_editor.Start();
        m_editor.SetFilling(false);
    }

    ModelCatalogue& Models() { return m_editor.CurrentCatalogues().Models; }

    std::int16_t IndexOf(const std::string& name)
    {
        for (std::size_t m = 0; m < Models().size(); ++m) {
            if (Models()[m].Name == name) {
                return static_cast<std::int16_t>(m);
            }
        }
        return -1;
    }

    TempFolder m_folder;
    ScriptedMessages m_messages;
    BotEditor m_editor{m_folder.Path(), m_messages};
};

TEST_F(ModelCommandsTest, AddingModelsAndSkins)
{
    EXPECT_FALSE(AddModel(m_editor, "Sarge", true));
    EXPECT_EQ(m_messages.Received().back(),
              (Message{Kind::Warn, "Model not added", "Model 'Sarge' already exists!"}));
    ASSERT_TRUE(AddModel(m_editor, "sarge", false)); // other capitals: a model of its own
    EXPECT_EQ(Models().back().Name, "sarge");
    ASSERT_EQ(Models().back().Skins.size(), 1u);
    EXPECT_EQ(Models().back().Skins[0].PK3File, UserDefined);
    ASSERT_TRUE(AddModel(m_editor, "Robocop", true));
    ASSERT_EQ(Models().back().Skins.size(), 3u);
    EXPECT_EQ(Models().back().Skins[2].Name, "Blue");
    EXPECT_EQ(Models().size(), 25u);

    ModelSelection robocop{IndexOf("Robocop"), 0};
    m_messages.ExpectTextQuestion(std::string("chrome"));
    ASSERT_TRUE(AddSkin(m_editor, robocop));
    EXPECT_EQ(Models()[static_cast<std::size_t>(robocop.Model)].Skins.back().Name, "Chrome");
    EXPECT_EQ(m_messages.Received().back(),
              (Message{Kind::AskText, "Add skin", "Add new skin for model Robocop"}));
    m_messages.ExpectTextQuestion(std::nullopt);
    EXPECT_FALSE(AddSkin(m_editor, robocop));
    // A name the model has already is asked about.
    m_messages.ExpectTextQuestion(std::string("default"));
    m_messages.ExpectQuestion(false);
    EXPECT_FALSE(AddSkin(m_editor, robocop));
    EXPECT_EQ(m_messages.Received().back(),
              (Message{Kind::Ask,
                       "Add skin",
                       "Model Robocop has a skin Default already. Do you want to add another "
                       "skin of that name?"}));
    m_messages.ExpectTextQuestion(std::string("default"));
    m_messages.ExpectQuestion(true);
    EXPECT_TRUE(AddSkin(m_editor, robocop));
    EXPECT_EQ(Models()[static_cast<std::size_t>(robocop.Model)].Skins.size(), 5u);
}

TEST_F(ModelCommandsTest, RemovingIsRefusedForTheGamesOwnAndTheOnlySkin)
{
    std::int16_t razor = IndexOf("Razor");
    EXPECT_FALSE(RemoveModel(m_editor, {razor, 0}));
    EXPECT_FALSE(RemoveSkin(m_editor, {razor, 3}));
    AddModel(m_editor, "Loner", false);
    std::int16_t loner = IndexOf("Loner");
    EXPECT_FALSE(RemoveSkin(m_editor, {loner, 0}));
    EXPECT_EQ(m_messages.Received(),
              std::vector<Message>(
                  {{Kind::Warn,
                    "Denied!",
                    "Model Razor is an original Q3A model and it can't be removed from the list"},
                   {Kind::Warn,
                    "Denied!",
                    "Skin Patriot for model Razor is an original Q3A skin and it can't be removed "
                    "from the list"},
                   {Kind::Warn,
                    "Denied!",
                    "Skin Default is the only skin for model Loner so it can't be removed from "
                    "the list"}}));
    EXPECT_FALSE(m_editor.IsChanged());

    m_messages.Clear();
    AddModelSkin(Models(), "Sarge", "Camo", UserDefined, "");
    std::int16_t sarge = IndexOf("Sarge");
    auto camo =
        static_cast<std::int16_t>(Models()[static_cast<std::size_t>(sarge)].Skins.size() - 1);
    m_messages.ExpectQuestion(false);
    EXPECT_FALSE(RemoveSkin(m_editor, {sarge, camo}));
    m_messages.ExpectQuestion(true);
    std::optional<ModelSelection> afterSkin = RemoveSkin(m_editor, {sarge, camo});
    ASSERT_TRUE(afterSkin);
    EXPECT_EQ(afterSkin->Model, sarge);
    EXPECT_EQ(afterSkin->Skin, 0);
    EXPECT_EQ(Models()[static_cast<std::size_t>(sarge)].Skins.size(), 5u);
    // The bot wore Sarge's first skin before and after: it has not changed.
    EXPECT_FALSE(m_editor.IsChanged());

    m_messages.ExpectQuestion(true);
    std::optional<ModelSelection> afterModel = RemoveModel(m_editor, {loner, 0});
    ASSERT_TRUE(afterModel);
    EXPECT_EQ(afterModel->Model, 0);
    EXPECT_EQ(IndexOf("Loner"), -1);
    EXPECT_EQ(m_messages.Received()[0].Text, "Do you want to remove skin Camo for model Sarge?");
    EXPECT_EQ(m_messages.Received().back(),
              (Message{Kind::Ask,
                       "Remove skin?",
                       "Do you want to remove model Loner and all it's skins?"}));
}

} // namespace
} // namespace twl
