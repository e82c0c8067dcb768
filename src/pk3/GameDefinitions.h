// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Messages.h"
#include "core/TextFile.h"

#include <cstddef>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace twl {

class ZipReader;

// One of the game's own files as the game finds it: the copy that wins.
struct GameFile
{
    std::string Bytes;
    // The archive's bare name ("pak6-misc.pk3"), or for a loose file the
    // base folder it lies under (an absolute path, so never a bare name).
    std::string Source;
};

// True when a source is a folder of loose files, not an archive's name.
bool IsLooseSource(const std::string& source);

// What the game defines for its bots, read from its archives and folders in
// the game's order: the bot list (scripts/bots.txt, scripts/*.bot), the
// random chat lists (botfiles/rnd.c), the characteristics (botfiles/chars.h)
// and the weight templates with what they include (the other .c and .h
// files of botfiles/), and where each file of botfiles/bots/ is found.
struct GameDefinitions
{
    std::string GameName;   // "OpenArena"; empty: nothing was read
    std::string BaseFolder; // "baseoa"
    std::string GameFolder; // the game folder as the settings hold it
    // By path in lower case ("botfiles/rnd.c", "scripts/sarge.bot").
    std::map<std::string, GameFile> Files;
    // The source of each file of botfiles/bots/, by its path in lower case.
    std::map<std::string, std::string> BotFileSources;

    const GameFile* File(const std::string& path) const;
    // The .bot scripts in the order the game reads them (by name).
    std::vector<std::string> ScriptPaths() const;
};

// No definition file is this large; a larger one is passed over.
inline constexpr std::size_t MaxDefinitionFileSize = 1024 * 1024;
// Nor do all of them together come near this.
inline constexpr std::size_t MaxDefinitionBytes = 32 * 1024 * 1024;

// Collects the definitions archive by archive and folder by folder, lowest
// priority first: a later copy of a file wins, as in the game.
class GameDefinitionsReader
{
public:
    GameDefinitionsReader(std::string gameName, std::string baseFolder, std::string gameFolder);

    // The entries of one open archive, as its listing names them.
    void TakeArchive(ZipReader& archive,
                     const std::vector<std::string_view>& names,
                     const std::string& pk3File);
    // The loose files of a base folder (its botfiles/ and scripts/), which
    // win over the folder's archives.
    void TakeFolder(const std::filesystem::path& base);

    GameDefinitions Take() { return std::move(m_definitions); }

private:
    bool Budget(std::size_t size);

    GameDefinitions m_definitions;
    std::size_t m_bytes = 0;
};

// Which entry of an archive or file of a folder is a definition file: its
// path in lower case, "/" separated; empty for any other.
std::string DefinitionPath(std::string_view name);
// Whether the path (lower case) is a file of botfiles/bots/.
bool IsBotFilePath(std::string_view path);

// Whether the path (lower case) is one of the files that make the program
// speak the game's vocabulary: its bot list (scripts/bots.txt and the
// scripts/*.bot) and its random chat lists (botfiles/rnd.c).
bool IsVocabularyFile(std::string_view path);

// Which of the kept files a load reads: all of them, or only the vocabulary
// (IsVocabularyFile), for a command that loads and writes a bot and needs
// none of the game's other files. Those are then not in Files, and not
// read: one that was damaged since is not noticed until a load of all.
enum class KeptFiles
{
    All,
    Vocabulary
};

// The definitions are kept in the settings folder (folder twl_game), so
// that the program need not read the archives again at every start. Save
// writes them anew; Load gives nothing (GameName empty) when none are kept
// or they cannot be read, which is reported when they were there.
inline constexpr const char* GameDefinitionsFolderName = "twl_game";
Result<> SaveGameDefinitions(const GameDefinitions& definitions,
                             const std::filesystem::path& settingsFolder);
GameDefinitions LoadGameDefinitions(const std::filesystem::path& settingsFolder,
                                    Messages& messages,
                                    KeptFiles which = KeptFiles::All);
// Removes what is kept (the game folder changed and holds no definitions).
void RemoveGameDefinitions(const std::filesystem::path& settingsFolder);

} // namespace twl
