// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Messages.h"
#include "core/Result.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace twl {

// Every byte left in the stream.
std::string ReadStreamBytes(std::istream& in);

// Stream layer. Lines are split at LF; a CR before the LF is dropped, so CR LF
// and LF files read alike; a last line without its line end counts, a final
// line end makes no extra empty line. Bytes are decoded from Windows-1252.
std::vector<std::string> ReadTextLines(std::istream& in);

// The bytes of the lines in Windows-1252, each followed by CR LF; a failure
// when a line holds a character that Windows-1252 cannot hold.
Result<std::string> EncodeTextLines(const std::vector<std::string>& lines);

// The lines of the bytes of a text file, as ReadTextLines reads them.
std::vector<std::string> SplitTextLines(const std::string& bytes);

// Path layer.

// No bot file, list or settings file comes anywhere near this size; a larger
// file is refused rather than read into memory.
inline constexpr std::uint64_t MaxTextFileSize = 16 * 1024 * 1024;

// Reads a regular file whole. Anything else (a folder, a FIFO, a device, a
// link to one) is refused at once without waiting on it, as is a file over
// `maxSize` bytes; the reason says which, and Missing when nothing of that
// name exists.
Result<std::string> ReadFileBytes(const std::filesystem::path& path,
                                  std::uint64_t maxSize = MaxTextFileSize);

// ReadFileBytes, then SplitTextLines.
Result<std::vector<std::string>> ReadTextFile(const std::filesystem::path& path);

// Writes the bytes to a new file beside `path` and renames it over `path`
// only when every byte was written and flushed to disk; on any failure the
// old file stays as it was and the temporary file is removed. A file that
// already holds exactly these bytes is not written again.
Result<> WriteFileAtomic(const std::filesystem::path& path, const std::string& bytes);

// Several files written as one: each to its temporary file, all flushed to
// disk, and only then renamed into place, all or none: the old files are
// kept aside until every new one is in place, and a rename that fails puts
// every old file back (and removes the new files that had none before).
// The temporary names are short, so that a long file name still fits.
struct FileContent
{
    std::filesystem::path Path;
    std::string Bytes;
};

Result<> WriteFilesAtomic(const std::vector<FileContent>& files);

// Finishes a replacement of several files that a program killed among its
// renames left in `folder` (the folder of the first of them): every new
// file goes into place, or, when it was already putting the old files
// back, every old one does. True when there was one to finish. The caller
// holds the folder's lock (FolderLock).
bool RecoverReplacement(const std::filesystem::path& folder);

// Removes the temporary files of writes that never finished in `folder`
// (".twl-" and six characters, and an archive's "bot-NAME.pk3.XXXXXX"):
// none of them is the only copy of anything. The caller holds the lock.
void RemoveLeftovers(const std::filesystem::path& folder);
// The same in each of the folders, each looked through once however often
// it is named (the folders of a bot set are often one).
void RemoveLeftovers(const std::vector<std::filesystem::path>& folders);

// For tests of the failure paths: the rename that WriteFilesAtomic uses to
// put a new file in place (nullptr: the system's rename).
using RenameFunction = int (*)(const char* from, const char* to);
void SetRenameForTesting(RenameFunction rename);

struct TextFileContent
{
    std::filesystem::path Path;
    std::vector<std::string> Lines;
};

// Several text files written as WriteFilesAtomic does; nothing is written
// when a line of any of them holds a character Windows-1252 cannot hold.
Result<> WriteTextFiles(const std::vector<TextFileContent>& files);

// Keeps a copy of a file that could not be read whole, so that rewriting
// it later loses nothing that was in it: <path>.bak, or .bak1, .bak2, ...
// when older copies are there (never written over), flushed to disk and read
// back. On failure the file must be left as it is.
inline constexpr std::uint64_t MaxBackupSize = 256 * 1024 * 1024;
Result<> KeepCopyOfDamagedFile(const std::filesystem::path& path);

// Replaces a list or settings file with `bytes`, as WriteFileAtomic does.
// When the old file would not come back whole from what was read of it
// (`damaged` says so of its bytes; a file that cannot be read is damaged),
// a copy of it is kept first, and without that copy the file is left as it
// is and the failure says why.
Result<> ReplaceKeepingDamaged(const std::filesystem::path& path,
                               const std::string& bytes,
                               const std::function<bool(const std::string&)>& damaged);
// The same for lines, encoded as WriteTextFiles does.
Result<> ReplaceKeepingDamaged(const std::filesystem::path& path,
                               const std::vector<std::string>& lines,
                               const std::function<bool(const std::string&)>& damaged);

// Shows "Couldn't write <path>: <reason>" (title "Write failed!", warning)
// when the write failed. Returns result.Ok().
bool ReportWriteFailure(const Result<>& result, Messages& messages);

} // namespace twl
