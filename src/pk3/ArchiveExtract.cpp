// SPDX-License-Identifier: GPL-3.0-or-later
#include "pk3/ArchiveExtract.h"

#include "pk3/GameArchives.h"
#include "pk3/ZipArchive.h"

#include <memory>

namespace twl {

void ReportNotLoaded(Messages& messages,
                     const std::string& entry,
                     const std::string& pk3File,
                     const std::string& reason)
{
    messages.Inform("Couldn't load " + entry + " from " + pk3File +
                        ". Check that the pk3-file still exists." +
                        (reason.empty() ? std::string() : "\n" + reason),
                    "Load failed");
}

std::unique_ptr<ZipReader> OpenGameArchive(const std::string& pk3File,
                                           const std::string& firstEntry,
                                           const std::vector<std::filesystem::path>& archiveFolders,
                                           Messages& messages)
{
    std::optional<std::filesystem::path> path = ResolveGameArchive(archiveFolders, pk3File);
    if (!path) {
        ReportNotLoaded(
            messages, firstEntry, pk3File, "No archive of that name is in the game's folders.");
        return nullptr;
    }
    Result<std::unique_ptr<ZipReader>> opened = ZipReader::Open(*path);
    if (!opened) {
        ReportNotLoaded(
            messages, firstEntry, pk3File, path->string() + ": " + opened.Error().Reason);
        return nullptr;
    }
    return std::move(opened).Value();
}

std::optional<std::string> ReadArchiveEntry(ZipReader& archive, const std::string& entry)
{
    std::optional<std::uint64_t> index = archive.FindEntry(entry);
    if (!index) {
        return std::nullopt;
    }
    Result<std::string> bytes = archive.ReadEntry(*index, MaxArchiveEntrySize);
    if (!bytes) {
        return std::nullopt;
    }
    return std::move(bytes).Value();
}

std::optional<std::string>
ReadArchiveEntry(const std::string& pk3File,
                 const std::string& entry,
                 const std::vector<std::filesystem::path>& archiveFolders,
                 Messages& messages)
{
    std::unique_ptr<ZipReader> archive = OpenGameArchive(pk3File, entry, archiveFolders, messages);
    if (!archive) {
        return std::nullopt;
    }
    return ReadArchiveEntry(*archive, entry);
}

std::optional<std::string> ReadFromArchive(ZipReader& archive,
                                           const std::string& pk3File,
                                           const std::string& entry,
                                           std::optional<std::uint64_t> index,
                                           Messages& messages)
{
    if (!index) {
        ReportNotLoaded(messages, entry, pk3File, "The archive has no such entry.");
        return std::nullopt;
    }
    Result<std::string> bytes = archive.ReadEntry(*index, MaxArchiveEntrySize);
    if (!bytes) {
        ReportNotLoaded(
            messages, entry, pk3File, "The entry could not be read: " + bytes.Error().Reason + ".");
        return std::nullopt;
    }
    return std::move(bytes).Value();
}

} // namespace twl
