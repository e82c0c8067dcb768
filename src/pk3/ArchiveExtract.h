// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Messages.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace twl {

class ZipReader;

// Opens the archive `pk3File` of the game's folders (the user's copy before
// the installation's). A missing or unreadable archive is reported as the
// load of `firstEntry` failing ("Couldn't load ... Check that the pk3-file
// still exists.", "Load failed"); nothing then.
std::unique_ptr<ZipReader> OpenGameArchive(const std::string& pk3File,
                                           const std::string& firstEntry,
                                           const std::vector<std::filesystem::path>& archiveFolders,
                                           Messages& messages);

// The message of an entry that could not be taken out of its archive,
// with the real reason (when known) as its second line.
void ReportNotLoaded(Messages& messages,
                     const std::string& entry,
                     const std::string& pk3File,
                     const std::string& reason = {});

// No bot file or icon is this large; a larger entry is not read.
inline constexpr std::uint64_t MaxArchiveEntrySize = 4 * 1024 * 1024;

// Reads one entry of the open archive into memory, `index` being where
// ZipReader::FindEntries found `entry` (nothing when it did not). A missing,
// oversized or damaged entry is reported ("Couldn't load <entry> from <pk3>.
// Check that the pk3-file still exists.", "Load failed", with the reason);
// nothing then.
std::optional<std::string> ReadFromArchive(ZipReader& archive,
                                           const std::string& pk3File,
                                           const std::string& entry,
                                           std::optional<std::uint64_t> index,
                                           Messages& messages);

// The bytes of one entry of the open archive (looked up without regard to
// case, "/" and "\" alike), read into memory; nothing, without a message,
// when the entry is missing, larger than MaxArchiveEntrySize or damaged.
std::optional<std::string> ReadArchiveEntry(ZipReader& archive, const std::string& entry);

// The bytes of the entry `entry` of the archive `pk3File` of the game's
// folders. An archive that is missing or cannot be opened is reported as
// OpenGameArchive does; an entry that is missing, oversized or damaged gives
// nothing without a message, so that the caller decides what to say.
std::optional<std::string>
ReadArchiveEntry(const std::string& pk3File,
                 const std::string& entry,
                 const std::vector<std::filesystem::path>& archiveFolders,
                 Messages& messages);

} // namespace twl
