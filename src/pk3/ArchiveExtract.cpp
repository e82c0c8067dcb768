#include "pk3/ArchiveExtract.h"

#include "core/TextFile.h"
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
    ZipError error;
    std::unique_ptr<ZipReader> archive = path ? ZipReader::Open(*path, error) : nullptr;
    if (!archive) {
        ReportNotLoaded(messages,
                        firstEntry,
                        pk3File,
                        path ? path->string() + ": " + error.Description
                             : "No archive of that name is in the game's folders.");
    }
    return archive;
}

namespace {

// The bare file name of an entry path.
std::string BareName(const std::string& entry)
{
    std::size_t slash = entry.find_last_of("/\\");
    return slash == std::string::npos ? entry : entry.substr(slash + 1);
}

} // namespace

std::optional<std::string> ReadArchiveEntry(ZipReader& archive, const std::string& entry)
{
    std::optional<std::uint64_t> index = archive.FindEntry(entry);
    if (!index) {
        return std::nullopt;
    }
    ZipError error;
    return archive.ReadEntry(*index, MaxArchiveEntrySize, error);
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
                                           Messages& messages)
{
    std::optional<std::uint64_t> index = archive.FindEntry(entry);
    if (!index) {
        ReportNotLoaded(messages, entry, pk3File, "The archive has no such entry.");
        return std::nullopt;
    }
    ZipError error;
    std::optional<std::string> bytes = archive.ReadEntry(*index, MaxArchiveEntrySize, error);
    if (!bytes) {
        ReportNotLoaded(
            messages, entry, pk3File, "The entry could not be read: " + error.Description + ".");
    }
    return bytes;
}

std::optional<std::filesystem::path> ExtractFromArchive(ZipReader& archive,
                                                        const std::string& pk3File,
                                                        const std::string& entry,
                                                        const std::filesystem::path& folder,
                                                        Messages& messages)
{
    std::string bareName = BareName(entry);
    std::optional<std::uint64_t> index = archive.FindEntry(entry);
    ZipError error;
    std::optional<std::string> bytes;
    std::string reason;
    if (!index) {
        reason = "The archive has no such entry.";
    } else if (bareName.empty() || bareName == "." || bareName == "..") {
        reason = "The entry's name is no file name.";
    } else if (folder.empty()) {
        reason = "There is no temporary folder to take it into.";
    } else {
        bytes = archive.ReadEntry(*index, MaxArchiveEntrySize, error);
        if (!bytes) {
            reason = "The entry could not be read: " + error.Description + ".";
        }
    }
    if (!bytes || folder.empty()) {
        ReportNotLoaded(messages, entry, pk3File, reason);
        return std::nullopt;
    }
    std::filesystem::path target = folder / bareName;
    FileResult written = WriteScratchFile(target, *bytes);
    if (!written.Ok) {
        ReportWriteFailure(written, messages);
        return std::nullopt;
    }
    return target;
}

} // namespace twl
