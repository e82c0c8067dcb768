// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalog/Models.h"

#include "core/TextCase.h"
#include "support/ScriptedMessages.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <random>

namespace twl {
namespace {

using test::ScriptedMessages;
using test::TempFolder;

const ScriptedMessages::Message ModelLoadError{
    ScriptedMessages::Kind::Warn,
    "Load error",
    "Errors occured when trying to load model file. Please use Tools/CheckBaseq3."};

std::vector<std::string> SkinNames(const ModelEntry& model)
{
    std::vector<std::string> names;
    for (const SkinEntry& skin : model.Skins) {
        names.push_back(skin.Name);
    }
    return names;
}

std::vector<std::string> ModelNames(const ModelCatalogue& models)
{
    std::vector<std::string> names;
    for (const ModelEntry& model : models) {
        names.push_back(model.Name);
    }
    return names;
}

const ModelEntry& ModelNamed(const ModelCatalogue& models, const std::string& name)
{
    for (const ModelEntry& model : models) {
        if (model.Name == name) {
            return model;
        }
    }
    throw std::runtime_error("no model " + name);
}

ModelEntry ModelWithSkins(const std::vector<std::string>& skins)
{
    ModelEntry model{"Test", "", false, {}};
    for (const std::string& skin : skins) {
        model.Skins.push_back(SkinEntry{skin, false, "x.pk3", ""});
    }
    return model;
}

TEST(NameCase, CapitaliseAndLowerCase)
{
    EXPECT_EQ(CapitaliseName("sarge"), "Sarge");
    EXPECT_EQ(CapitaliseName("tankJr"), "tankJr");
    EXPECT_EQ(CapitaliseName("SARGE"), "SARGE");
    EXPECT_EQ(CapitaliseName(""), "");
    EXPECT_EQ(CapitaliseName("élan"), "Élan");
    EXPECT_EQ(LowerCaseName("Sarge"), "sarge");
    EXPECT_EQ(LowerCaseName("TankJr"), "TankJr");
    EXPECT_EQ(LowerCaseName("X"), "x");
}

TEST(MakeModelEntry, SkinsAndIcons)
{
    ModelEntry game = MakeModelEntry("TankJr", true, true, "pak0.pk3");
    EXPECT_EQ(SkinNames(game), (std::vector<std::string>{"Default", "Red", "Blue"}));
    EXPECT_EQ(game.Skins[1].IconFile, "models\\players\\tankjr\\icon_red.tga");
    EXPECT_TRUE(game.Skins[2].IsOriginal);
    EXPECT_EQ(game.Skins[2].PK3File, "pak0.pk3");

    ModelEntry user = MakeModelEntry("Newguy", false, false, "UserDef");
    EXPECT_EQ(SkinNames(user), std::vector<std::string>{"Default"});
    EXPECT_EQ(user.Skins[0].IconFile, "");
    EXPECT_FALSE(user.IsOriginal);
    EXPECT_EQ(user.PK3File, "UserDef");
}

class ModelCatalogueTest : public ::testing::Test
{
protected:
    void Load() { LoadModelCatalogue(m_models, m_folder.Path(), m_messages); }

    TempFolder m_folder;
    ScriptedMessages m_messages;
    ModelCatalogue m_models;
};

TEST_F(ModelCatalogueTest, WithoutAUserFileTheBuiltInOrderStands)
{
    Load();
    ASSERT_EQ(m_models.size(), 23u);
    EXPECT_EQ(m_models.front().Name, "Anarki");
    EXPECT_EQ(m_models.back().Name, "Xaero");
    EXPECT_EQ(SkinNames(ModelNamed(m_models, "Razor")),
              (std::vector<std::string>{"Default", "Red", "Blue", "Patriot", "Id"}));
    EXPECT_EQ(SkinNames(ModelNamed(m_models, "Biker")),
              (std::vector<std::string>{
                  "Default", "Red", "Blue", "Cadavre", "Hossman", "Slammer", "Stroggo"}));
    const SkinEntry& hossman = ModelNamed(m_models, "Biker").Skins[4];
    EXPECT_EQ(hossman.IconFile, "models\\players\\biker\\icon_hossman.tga");
    EXPECT_TRUE(hossman.IsOriginal);
    for (const ModelEntry& model : m_models) {
        EXPECT_TRUE(model.IsOriginal);
        EXPECT_EQ(model.PK3File, "pak0.pk3");
        EXPECT_EQ(model.Skins[0].Name, "Default");
    }
    EXPECT_TRUE(m_messages.Received().empty());
}

TEST_F(ModelCatalogueTest, AUserFileEvenWithOnlyItsTitleSorts)
{
    test::WriteBytes(m_folder / "twl_models", "[Tarnwell additional models & skins list]\r\n");
    Load();
    EXPECT_TRUE(m_messages.Received().empty());
    EXPECT_EQ(SkinNames(ModelNamed(m_models, "Razor")),
              (std::vector<std::string>{"Default", "Red", "Blue", "Id", "Patriot"}));
}

TEST_F(ModelCatalogueTest, UserLinesJoinTheirModelOrMakeANewOne)
{
    test::WriteBytes(
        m_folder / "twl_models",
        "[Tarnwell additional models & skins list]\r\n"
        "\"sarge\",\"blackops\",\"mymodels.pk3\",\"models\\players\\sarge\\icon_blackops.tga\"\r\n"
        "\"newguy\",\"default\",\"UserDef\",\"\"\r\n"
        "\"aardvark\",\"red\",\"zoo.pk3\",\"\"\r\n");
    Load();
    EXPECT_TRUE(m_messages.Received().empty());
    const ModelEntry& sarge = ModelNamed(m_models, "Sarge");
    EXPECT_EQ(
        SkinNames(sarge),
        (std::vector<std::string>{"Default", "Red", "Blue", "Blackops", "Krusade", "Roderic"}));
    EXPECT_EQ(sarge.Skins[3].PK3File, "mymodels.pk3");
    EXPECT_FALSE(sarge.Skins[3].IsOriginal);
    EXPECT_EQ(sarge.Skins[3].IconFile, "models\\players\\sarge\\icon_blackops.tga");

    ASSERT_EQ(m_models.size(), 25u);
    EXPECT_EQ(m_models[0].Name, "Aardvark");
    const ModelEntry& newguy = ModelNamed(m_models, "Newguy");
    EXPECT_EQ(newguy.PK3File, "");
    EXPECT_FALSE(newguy.IsOriginal);
    EXPECT_EQ(SkinNames(newguy), std::vector<std::string>{"Default"});
    // Sorted into place: Mynx < Newguy < Orbb.
    std::vector<std::string> names = ModelNames(m_models);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
}

TEST_F(ModelCatalogueTest, TheSameLineTwiceAddsTheSkinTwice)
{
    std::string line = "\"Sarge\",\"Blackops\",\"a.pk3\",\"\"\r\n";
    test::WriteBytes(m_folder / "twl_models", "[title]\r\n" + line + line);
    Load();
    std::vector<std::string> skins = SkinNames(ModelNamed(m_models, "Sarge"));
    EXPECT_EQ(std::count(skins.begin(), skins.end(), "Blackops"), 2);
}

TEST_F(ModelCatalogueTest, RoundTripThroughTheUserFile)
{
    Load();
    AddModelSkin(
        m_models, "Sarge", "Blackops", "mymodels.pk3", "models\\players\\sarge\\icon_blackops.tga");
    AddModelSkin(m_models, "Newguy", "Default", "UserDef", "");
    AddModelSkin(m_models, "Newguy", "Black, white", "UserDef", "");
    AddModelSkin(m_models, "Newguy", "Caf\u00E9", "UserDef", "");
    ASSERT_TRUE(SaveUserModels(m_models, m_folder.Path(), m_messages).Ok());
    EXPECT_EQ(
        test::ReadBytes(m_folder / "twl_models"),
        "[Tarnwell additional models & skins list]\r\n"
        "\"Sarge\",\"Blackops\",\"mymodels.pk3\",\"models\\players\\sarge\\icon_blackops.tga\"\r\n"
        "\"Newguy\",\"Default\",\"UserDef\",\"\"\r\n"
        "\"Newguy\",\"Black, white\",\"UserDef\",\"\"\r\n"
        "\"Newguy\",\"Caf\xE9\",\"UserDef\",\"\"\r\n");

    ModelCatalogue read;
    LoadModelCatalogue(read, m_folder.Path(), m_messages);
    SortModels(m_models);
    ASSERT_EQ(ModelNames(read), ModelNames(m_models));
    for (std::size_t i = 0; i < read.size(); ++i) {
        ASSERT_EQ(SkinNames(read[i]), SkinNames(m_models[i])) << read[i].Name;
        for (std::size_t s = 0; s < read[i].Skins.size(); ++s) {
            EXPECT_EQ(read[i].Skins[s].PK3File, m_models[i].Skins[s].PK3File);
            EXPECT_EQ(read[i].Skins[s].IconFile, m_models[i].Skins[s].IconFile);
        }
    }
    EXPECT_TRUE(m_messages.Received().empty());
}

TEST_F(ModelCatalogueTest, NothingToStoreLeavesTheOldFile)
{
    Load();
    test::WriteBytes(m_folder / "twl_models", "old entries");
    ASSERT_TRUE(SaveUserModels(m_models, m_folder.Path(), m_messages).Ok());
    EXPECT_EQ(test::ReadBytes(m_folder / "twl_models"), "old entries");
}

TEST_F(ModelCatalogueTest, EmptyFileIsReported)
{
    test::WriteBytes(m_folder / "twl_models", "");
    Load();
    ASSERT_EQ(m_messages.Received().size(), 1u);
    EXPECT_EQ(m_messages.Received()[0], ModelLoadError);
    EXPECT_EQ(m_models.size(), 23u);
}

TEST_F(ModelCatalogueTest, ShortLineIsReportedAndTheRestStillRead)
{
    test::WriteBytes(m_folder / "twl_models",
                     "[title]\r\n"
                     "\"Sarge\",\"Blackops\",\"a.pk3\"\r\n"
                     "\"Visor\",\"Chrome\",\"b.pk3\",\"\"\r\n"
                     "\"Keel\",\"Cut");
    Load();
    ASSERT_EQ(m_messages.Received().size(), 1u);
    EXPECT_EQ(m_messages.Received()[0], ModelLoadError);
    std::vector<std::string> visor = SkinNames(ModelNamed(m_models, "Visor"));
    EXPECT_NE(std::find(visor.begin(), visor.end(), "Chrome"), visor.end());
    std::vector<std::string> sarge = SkinNames(ModelNamed(m_models, "Sarge"));
    EXPECT_EQ(std::find(sarge.begin(), sarge.end(), "Blackops"), sarge.end());
    EXPECT_EQ(ModelNamed(m_models, "Keel").Skins.size(), 3u);
    // Reading writes nothing; the damaged file is kept beside the list when
    // the list is written again, and an older copy is never written over.
    std::string damaged = test::ReadBytes(m_folder / "twl_models");
    EXPECT_FALSE(std::filesystem::exists(m_folder / "twl_models.bak"));
    test::WriteBytes(m_folder / "twl_models.bak", "older copy");
    ASSERT_TRUE(SaveUserModels(m_models, m_folder.Path(), m_messages).Ok());
    EXPECT_EQ(test::ReadBytes(m_folder / "twl_models.bak"), "older copy");
    EXPECT_EQ(test::ReadBytes(m_folder / "twl_models.bak1"), damaged);
    EXPECT_NE(test::ReadBytes(m_folder / "twl_models"), damaged);
}

TEST_F(ModelCatalogueTest, NameWithADoubleQuoteIsNotStored)
{
    Load();
    AddModelSkin(m_models, "Sarge", "The \"one\"", "UserDef", "");
    AddModelSkin(m_models, "Sarge", "Fine", "UserDef", "");
    ASSERT_TRUE(SaveUserModels(m_models, m_folder.Path(), m_messages).Ok());
    ASSERT_EQ(m_messages.Received().size(), 1u);
    EXPECT_EQ(m_messages.Received()[0].MessageKind, ScriptedMessages::Kind::Warn);
    EXPECT_EQ(m_messages.Received()[0].Title, "Not stored");
    EXPECT_NE(m_messages.Received()[0].Text.find("The \"one\""), std::string::npos);
    EXPECT_EQ(
        test::ReadBytes(m_folder / "twl_models"),
        "[Tarnwell additional models & skins list]\r\n\"Sarge\",\"Fine\",\"UserDef\",\"\"\r\n");
}

TEST(AddModelSkin, MatchesModelsWithoutRegardToCase)
{
    ModelCatalogue models = {MakeModelEntry("Sarge", true, true, "pak0.pk3")};
    AddModelSkin(models, "SARGE", "blackops", "a.pk3", "icon");
    ASSERT_EQ(models.size(), 1u);
    ASSERT_EQ(models[0].Skins.size(), 4u);
    EXPECT_EQ(models[0].Skins[3].Name, "Blackops");
    EXPECT_FALSE(models[0].Skins[3].IsOriginal);
    EXPECT_EQ(models[0].Skins[3].IconFile, "icon");

    AddModelSkin(models, "newguy", "Default", "b.pk3", "");
    ASSERT_EQ(models.size(), 2u);
    EXPECT_EQ(models[1].Name, "Newguy");
    EXPECT_EQ(models[1].PK3File, "");
}

TEST(SortSkins, DefaultRedBlueFirstThenByCharacterCode)
{
    ModelEntry model = ModelWithSkins({"blue", "zeta", "Default", "alpha"});
    SortSkins(model);
    EXPECT_EQ(SkinNames(model), (std::vector<std::string>{"Default", "blue", "alpha", "zeta"}));

    model = ModelWithSkins({"b", "Z", "a", "RED", "Y"});
    SortSkins(model);
    EXPECT_EQ(SkinNames(model), (std::vector<std::string>{"RED", "Y", "Z", "a", "b"}));
}

TEST(SortSkins, TheIndexFollowsItsSkin)
{
    ModelEntry model = ModelWithSkins({"zeta", "blue", "alpha", "default"});
    for (std::int16_t start = 0; start < 4; ++start) {
        ModelEntry copy = model;
        std::int16_t index = start;
        std::string name = copy.Skins[static_cast<std::size_t>(index)].Name;
        SortSkins(copy, &index);
        EXPECT_EQ(copy.Skins[static_cast<std::size_t>(index)].Name, name);
    }
}

TEST(SortModels, TheIndexesFollowTheSelection)
{
    ModelCatalogue models = {ModelWithSkins({"b", "a", "default"}),
                             MakeModelEntry("Alpha", false, true, "x.pk3")};
    models[0].Name = "Zed";
    std::int16_t modelIndex = 0;
    std::int16_t skinIndex = 0; // "b"
    SortModels(models, &modelIndex, &skinIndex);
    EXPECT_EQ(models[static_cast<std::size_t>(modelIndex)].Name, "Zed");
    EXPECT_EQ(modelIndex, 1);
    EXPECT_EQ(models[1].Skins[static_cast<std::size_t>(skinIndex)].Name, "b");
    EXPECT_EQ(SkinNames(models[1]), (std::vector<std::string>{"default", "a", "b"}));
}

// The order the sort must give, found by exchanging neighbours and starting
// over after every exchange.
template <typename Item, typename Greater>
void RestartBubbleSort(std::vector<Item>& items,
                       std::size_t first,
                       Greater greater,
                       std::int16_t* tracked)
{
    std::size_t a = first;
    while (a + 1 < items.size()) {
        if (greater(items[a], items[a + 1])) {
            std::swap(items[a], items[a + 1]);
            if (tracked && *tracked == static_cast<std::int16_t>(a)) {
                *tracked = static_cast<std::int16_t>(a + 1);
            } else if (tracked && *tracked == static_cast<std::int16_t>(a + 1)) {
                *tracked = static_cast<std::int16_t>(a);
            }
            a = first;
        } else {
            ++a;
        }
    }
}

std::string RandomName(std::mt19937& random)
{
    static const std::vector<std::string> parts = {
        "a", "B", "z", "Z", "red", "Red", "blue", "Default", "default", "x1"};
    std::uniform_int_distribution<std::size_t> pick(0, parts.size() - 1);
    std::string name = parts[pick(random)];
    if (random() % 2 == 0) {
        name += parts[pick(random)];
    }
    return name;
}

TEST(SortSkins, SameOrderAsARestartingBubbleSort)
{
    std::mt19937 random(2024);
    for (int round = 0; round < 200; ++round) {
        ModelEntry model{"M", "", false, {}};
        std::size_t count = 1 + random() % 12;
        for (std::size_t i = 0; i < count; ++i) {
            // The archive field tells equal names apart.
            model.Skins.push_back(SkinEntry{RandomName(random), false, std::to_string(i), ""});
        }
        ModelEntry expected = model;
        std::int16_t expectedIndex = static_cast<std::int16_t>(random() % count);
        std::int16_t index = expectedIndex;

        std::size_t next = 0;
        for (const char* fixed : {"default", "red", "blue"}) {
            for (std::size_t i = next; i < expected.Skins.size(); ++i) {
                if (LowerCase(expected.Skins[i].Name) == fixed) {
                    std::swap(expected.Skins[i], expected.Skins[next]);
                    if (expectedIndex == static_cast<std::int16_t>(i)) {
                        expectedIndex = static_cast<std::int16_t>(next);
                    } else if (expectedIndex == static_cast<std::int16_t>(next)) {
                        expectedIndex = static_cast<std::int16_t>(i);
                    }
                    ++next;
                    break;
                }
            }
        }
        RestartBubbleSort(
            expected.Skins,
            next,
            [](const SkinEntry& a, const SkinEntry& b) { return a.Name > b.Name; },
            &expectedIndex);

        SortSkins(model, &index);
        ASSERT_EQ(model.Skins.size(), expected.Skins.size());
        for (std::size_t i = 0; i < count; ++i) {
            ASSERT_EQ(model.Skins[i].Name, expected.Skins[i].Name) << "round " << round;
            ASSERT_EQ(model.Skins[i].PK3File, expected.Skins[i].PK3File) << "round " << round;
        }
        ASSERT_EQ(index, expectedIndex) << "round " << round;
    }
}

TEST(SortModels, SameOrderAsARestartingBubbleSort)
{
    std::mt19937 random(77);
    for (int round = 0; round < 100; ++round) {
        ModelCatalogue models;
        std::size_t count = 1 + random() % 20;
        for (std::size_t i = 0; i < count; ++i) {
            ModelEntry model = MakeModelEntry(RandomName(random), false, false, "x.pk3");
            model.PK3File = std::to_string(i);
            models.push_back(model);
        }
        ModelCatalogue expected = models;
        std::int16_t expectedIndex = static_cast<std::int16_t>(random() % count);
        std::int16_t index = expectedIndex;
        RestartBubbleSort(
            expected,
            0,
            [](const ModelEntry& a, const ModelEntry& b) { return a.Name > b.Name; },
            &expectedIndex);
        SortModels(models, &index);
        for (std::size_t i = 0; i < count; ++i) {
            ASSERT_EQ(models[i].PK3File, expected[i].PK3File) << "round " << round;
        }
        ASSERT_EQ(index, expectedIndex);
    }
}

TEST(RemoveArchiveModels, KeepsOriginalAndUserEntries)
{
    ModelCatalogue models = {MakeModelEntry("Sarge", true, true, "pak0.pk3")};
    AddModelSkin(models, "Sarge", "Blackops", "mymodels.pk3", "");
    AddModelSkin(models, "Mixed", "Default", "UserDef", "");
    AddModelSkin(models, "Mixed", "Blackops", "a.pk3", "");
    AddModelSkin(models, "Mixed", "Chrome", "b.pk3", "");
    AddModelSkin(models, "Archived", "Default", "a.pk3", "");
    AddModelSkin(models, "Archived", "Red", "a.pk3", "");
    AddModelSkin(models, "Lateuser", "Blackops", "a.pk3", "");
    AddModelSkin(models, "Lateuser", "Mine", "UserDef", "");

    RemoveArchiveModels(models);
    ASSERT_EQ(ModelNames(models), (std::vector<std::string>{"Sarge", "Mixed", "Lateuser"}));
    EXPECT_EQ(SkinNames(models[0]), (std::vector<std::string>{"Default", "Red", "Blue"}));
    EXPECT_EQ(SkinNames(models[1]), std::vector<std::string>{"Default"});
    EXPECT_EQ(SkinNames(models[2]), std::vector<std::string>{"Mine"});

    ModelCatalogue again = models;
    RemoveArchiveModels(again);
    EXPECT_EQ(ModelNames(again), ModelNames(models));
}

} // namespace
} // namespace twl
