// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/TextFile.h"

#include "core/Cp1252.h"
#include "core/ShownText.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <istream>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace twl {

namespace {

std::string ErrnoText(int error)
{
    return std::strerror(error);
}

// What the user's umask allows of rw-rw-rw-: the mode of a file that
// replaces none.
mode_t ModeForNewFile()
{
    mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

bool WriteAll(int fd, std::string_view bytes, int& error)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            return false;
        }
        if (written == 0) {
            error = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

std::string ReadStreamBytes(std::istream& in)
{
    std::string bytes;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    return bytes;
}

std::vector<std::string> ReadTextLines(std::istream& in)
{
    return SplitTextLines(ReadStreamBytes(in));
}

std::vector<std::string> SplitTextLines(const std::string& raw)
{
    // Decoded once, unless it is all ASCII, which reads the same; CR and LF
    // stay single bytes in UTF-8.
    bool ascii = std::all_of(
        raw.begin(), raw.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    std::string decoded = ascii ? std::string() : DecodeCp1252(raw);
    const std::string& bytes = ascii ? raw : decoded;
    std::vector<std::string> lines;
    std::size_t start = 0;
    // A line ends with CR LF, LF, or a CR alone (the old Macintosh form).
    while (start < bytes.size()) {
        std::size_t end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') {
            ++end;
        }
        std::size_t next = end < bytes.size() ? end + 1 : end;
        if (end < bytes.size() && bytes[end] == '\r' && next < bytes.size() &&
            bytes[next] == '\n') {
            ++next;
        }
        lines.emplace_back(bytes, start, end - start);
        start = next;
    }
    return lines;
}

Result<std::string> EncodeTextLines(const std::vector<std::string>& lines)
{
    std::string text;
    std::size_t size = 0;
    for (const std::string& line : lines) {
        size += line.size() + 2;
    }
    text.reserve(size);
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return EncodeCp1252(text);
}

Result<std::string> ReadFileBytes(const std::filesystem::path& path, std::uint64_t maxSize)
{
    std::string bytes;
    // Opened without blocking, so that a FIFO in the file's place cannot
    // hold the program; only a regular file is then read.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        int error = errno;
        return Failure{path, ErrnoText(error), 0, error == ENOENT || error == ENOTDIR};
    }
    struct stat status = {};
    std::string reason;
    if (::fstat(fd, &status) != 0) {
        reason = ErrnoText(errno);
    } else if (S_ISDIR(status.st_mode)) {
        reason = "it is a folder, not a file";
    } else if (!S_ISREG(status.st_mode)) {
        reason = "it is not a regular file";
    } else if (static_cast<std::uint64_t>(status.st_size) > maxSize) {
        reason = "it is larger than " + std::to_string(maxSize / (1024 * 1024)) +
                 " MiB, far more than such a file holds";
    }
    if (reason.empty()) {
        // Read straight into the result, room for the size and one byte
        // more. The size is only a hint (a file may grow while it is read):
        // the room grows as needed, and the cap holds for what is read.
        bytes.resize(static_cast<std::size_t>(status.st_size) + 1);
        std::size_t filled = 0;
        while (true) {
            if (filled == bytes.size()) {
                bytes.resize(
                    static_cast<std::size_t>(std::min<std::uint64_t>(filled * 2, maxSize + 1)));
            }
            ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
            if (got < 0) {
                if (errno == EINTR) {
                    continue;
                }
                reason = ErrnoText(errno);
                break;
            }
            if (got == 0) {
                break;
            }
            filled += static_cast<std::size_t>(got);
            if (filled > maxSize) {
                reason = "it is larger than " + std::to_string(maxSize / (1024 * 1024)) +
                         " MiB, far more than such a file holds";
                break;
            }
        }
        bytes.resize(filled);
    }
    ::close(fd);
    if (!reason.empty()) {
        return Failure{path, reason};
    }
    return bytes;
}

Result<std::vector<std::string>> ReadTextFile(const std::filesystem::path& path)
{
    Result<std::string> bytes = ReadFileBytes(path);
    if (!bytes) {
        return bytes.Error();
    }
    return SplitTextLines(bytes.Value());
}

namespace {

RenameFunction ReplacingRename = nullptr;

int RenameIntoPlace(const char* from, const char* to)
{
    return ReplacingRename != nullptr ? ReplacingRename(from, to) : ::rename(from, to);
}

} // namespace

void SetRenameForTesting(RenameFunction rename)
{
    ReplacingRename = rename;
}

namespace {

constexpr const char* JournalName = ".twl-journal";
constexpr const char* JournalForward = "tarnwell replacement 1 forward";
constexpr const char* JournalBack = "tarnwell replacement 1 back";

// One file of a replacement as the journal keeps it: paths relative to the
// journal's folder, so that a folder moved meanwhile is still recovered.
struct JournalEntry
{
    std::filesystem::path Target;
    std::filesystem::path Temporary; // the old file's second name is this and "~"
    bool HadOld = false;
};

std::filesystem::path BackupOf(const std::filesystem::path& temporary)
{
    std::filesystem::path backup = temporary;
    backup += "~";
    return backup;
}

void SyncFolder(const std::filesystem::path& folder)
{
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Writes the journal under its own name in one rename, flushed with its
// folder: it is either there whole or not at all. Fields end with NUL,
// which no path holds.
bool WriteJournal(const std::filesystem::path& folder,
                  const char* state,
                  const std::vector<JournalEntry>& entries)
{
    std::string bytes = std::string(state) + '\0';
    for (const JournalEntry& entry : entries) {
        bytes += entry.Target.string() + '\0' + entry.Temporary.string() + '\0' +
                 (entry.HadOld ? "1" : "0") + '\0';
    }
    std::string pattern = (folder / ".twl-XXXXXX").string();
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        return false;
    }
    int error = 0;
    bool written = WriteAll(fd, bytes, error) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written || ::rename(pattern.c_str(), (folder / JournalName).c_str()) != 0) {
        ::unlink(pattern.c_str());
        return false;
    }
    SyncFolder(folder);
    return true;
}

void RemoveJournal(const std::filesystem::path& folder)
{
    ::unlink((folder / JournalName).c_str());
    SyncFolder(folder);
}

// Whether the name is one of this program's temporary files: ".twl-" and
// six characters, or an archive writer's "bot-NAME.pk3." and six.
bool IsLeftoverName(const std::string& name)
{
    if (name.size() == 11 && name.rfind(".twl-", 0) == 0) {
        return true;
    }
    std::size_t pk3 = name.rfind(".pk3.");
    return name.rfind("bot-", 0) == 0 && pk3 != std::string::npos && pk3 + 11 == name.size();
}

} // namespace

bool RecoverReplacement(const std::filesystem::path& folder)
{
    Result<std::string> read = ReadFileBytes(folder / JournalName, 1 << 20);
    if (!read) {
        return false;
    }
    const std::string& journal = read.Value();
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t end = journal.find('\0'); end != std::string::npos;
         end = journal.find('\0', start)) {
        fields.push_back(journal.substr(start, end - start));
        start = end + 1;
    }
    bool forward = !fields.empty() && fields[0] == JournalForward;
    bool back = !fields.empty() && fields[0] == JournalBack;
    if ((!forward && !back) || fields.size() % 3 != 1) {
        return false; // not a journal this program wrote: left alone
    }
    for (std::size_t i = 1; i + 2 < fields.size(); i += 3) {
        std::filesystem::path target = folder / fields[i];
        std::filesystem::path temporary = folder / fields[i + 1];
        std::filesystem::path backup = BackupOf(temporary);
        bool hadOld = fields[i + 2] == "1";
        struct stat info = {};
        bool temporaryThere = ::lstat(temporary.c_str(), &info) == 0;
        if (forward) {
            // Every new file was whole on disk before the journal was written.
            if (temporaryThere) {
                ::rename(temporary.c_str(), target.c_str());
            }
            ::unlink(backup.c_str());
            continue;
        }
        if (::lstat(backup.c_str(), &info) == 0) {
            ::rename(backup.c_str(), target.c_str());
        } else if (!hadOld && !temporaryThere) {
            ::unlink(target.c_str()); // a new file where there was none
        }
        ::unlink(temporary.c_str());
    }
    for (std::size_t i = 1; i + 2 < fields.size(); i += 3) {
        SyncFolder((folder / fields[i]).parent_path());
    }
    RemoveJournal(folder);
    return true;
}

void RemoveLeftovers(const std::vector<std::filesystem::path>& folders)
{
    for (std::size_t i = 0; i < folders.size(); ++i) {
        if (std::find(folders.begin(),
                      folders.begin() + static_cast<std::ptrdiff_t>(i),
                      folders[i]) == folders.begin() + static_cast<std::ptrdiff_t>(i)) {
            RemoveLeftovers(folders[i]);
        }
    }
}

void RemoveLeftovers(const std::filesystem::path& folder)
{
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::string name = it->path().filename().string();
        if (name != JournalName && IsLeftoverName(name) && it->is_regular_file(error)) {
            ::unlink(it->path().c_str());
        }
    }
}

namespace {

// A file to write, its bytes left where the caller holds them: a list file
// of a big game folder has megabytes, and copies of them cost page faults.
struct FileToWrite
{
    const std::filesystem::path& Path;
    std::string_view Bytes;
};

// Whether the file at `path` (a regular file, or a link to one) holds
// exactly `bytes`, read in pieces against them, so that nothing of its
// size is held in memory.
bool FileHolds(const std::filesystem::path& path, std::string_view bytes)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        return false;
    }
    struct stat status = {};
    bool same = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
                static_cast<std::uint64_t>(status.st_size) == bytes.size();
    char piece[65536];
    std::size_t compared = 0;
    while (same) {
        ssize_t got = ::read(fd, piece, sizeof piece);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            same = got == 0 && compared == bytes.size();
            break;
        }
        auto size = static_cast<std::size_t>(got);
        same = size <= bytes.size() - compared &&
               std::memcmp(piece, bytes.data() + compared, size) == 0;
        compared += size;
    }
    ::close(fd);
    return same;
}

Result<> WriteAtomic(const std::vector<FileToWrite>& files)
{
    struct Pending
    {
        const FileToWrite* File;
        std::string Temporary;
        int Descriptor;
        std::string Backup;     // the old file under a second name; empty when there was none
        bool MovedAway = false; // the old file left its name (no hard link possible here)
        bool Replaced = false;
    };

    std::vector<Pending> pending;
    auto discard = [&pending] {
        for (Pending& file : pending) {
            if (file.Descriptor >= 0) {
                ::close(file.Descriptor);
                file.Descriptor = -1;
            }
            if (!file.Replaced) {
                ::unlink(file.Temporary.c_str());
            }
        }
    };
    // Puts every old file back where a new one took its place; a new file
    // that had no old one goes again.
    auto rollBack = [&pending] {
        for (auto file = pending.rbegin(); file != pending.rend(); ++file) {
            const char* target = file->File->Path.c_str();
            if (!file->Backup.empty() && (file->Replaced || file->MovedAway)) {
                ::rename(file->Backup.c_str(), target);
            } else if (!file->Backup.empty()) {
                ::unlink(file->Backup.c_str());
            } else if (file->Replaced) {
                ::unlink(target);
            }
            if (!file->Replaced) {
                ::unlink(file->Temporary.c_str());
            }
        }
    };

    // The umask is asked once, for the first new file.
    std::optional<mode_t> newFileMode;
    // Whether each file of `pending` had an old file (of any kind) at its name.
    std::vector<bool> hadOld;
    for (const FileToWrite& file : files) {
        // What is at the name now: itself (lstat), and what a link there
        // leads to (stat), looked at once.
        struct stat itself = {};
        bool exists = ::lstat(file.Path.c_str(), &itself) == 0;
        struct stat target = itself;
        bool reaches =
            exists && (!S_ISLNK(itself.st_mode) || ::stat(file.Path.c_str(), &target) == 0);
        // A file that already holds exactly these bytes is left as it is.
        if (reaches && S_ISREG(target.st_mode) &&
            static_cast<std::uint64_t>(target.st_size) == file.Bytes.size() &&
            FileHolds(file.Path, file.Bytes)) {
            continue;
        }
        if (exists && S_ISDIR(itself.st_mode)) {
            discard();
            return Failure{file.Path, ErrnoText(EISDIR)};
        }
        // The new file gets the old file's mode when there is one.
        if (!reaches && !newFileMode) {
            newFileMode = ModeForNewFile();
        }
        mode_t mode = reaches ? target.st_mode & 07777 : *newFileMode;
        std::filesystem::path folder = file.Path.parent_path();
        if (folder.empty()) {
            folder = ".";
        }
        std::string pattern = (folder / ".twl-XXXXXX").string();
        int fd = ::mkstemp(pattern.data());
        if (fd < 0) {
            int error = errno;
            discard();
            return Failure{file.Path, ErrnoText(error)};
        }
        pending.push_back(Pending{&file, pattern, fd, {}});
        hadOld.push_back(exists);
        int error = 0;
        if (!WriteAll(fd, file.Bytes, error) || ::fchmod(fd, mode) != 0) {
            error = error != 0 ? error : errno;
            discard();
            return Failure{file.Path, ErrnoText(error)};
        }
    }

    // Every byte reaches the disk before any old file is replaced. Each file
    // is flushed on its own (a sync of the whole file system would also wait
    // for whatever else is pending there). The writing out of all of them is
    // started first, so that the disk serves them together rather than one
    // after another; then each is waited for (and its metadata flushed).
    // Where nothing has to reach a disk (a tmpfs) this costs nothing.
    for (const Pending& file : pending) {
        ::sync_file_range(file.Descriptor, 0, 0, SYNC_FILE_RANGE_WRITE);
    }
    std::vector<int> flushErrors(pending.size(), 0);
    for (std::size_t i = 0; i < pending.size(); ++i) {
        if (::fsync(pending[i].Descriptor) != 0) {
            flushErrors[i] = errno;
        }
    }
    for (std::size_t i = 0; i < pending.size(); ++i) {
        Pending& file = pending[i];
        int error = flushErrors[i];
        if (::close(file.Descriptor) != 0 && error == 0) {
            error = errno;
        }
        file.Descriptor = -1;
        if (error != 0) {
            Failure failure{file.File->Path, ErrnoText(error)};
            discard();
            return failure;
        }
    }
    // One file is replaced by one rename. Several are recorded first in a
    // journal beside the first of them, so that a program killed among the
    // renames leaves a set the next one finishes (RecoverReplacement).
    std::filesystem::path journalFolder = files.empty() ? "." : files.front().Path.parent_path();
    if (journalFolder.empty()) {
        journalFolder = ".";
    }
    bool journal = pending.size() > 1;
    std::vector<JournalEntry> entries;
    for (std::size_t i = 0; i < pending.size(); ++i) {
        const Pending& file = pending[i];
        entries.push_back(
            JournalEntry{file.File->Path.lexically_relative(journalFolder),
                         std::filesystem::path(file.Temporary).lexically_relative(journalFolder),
                         hadOld[i]});
    }
    if (journal && !WriteJournal(journalFolder, JournalForward, entries)) {
        int error = errno != 0 ? errno : EIO;
        Failure failure{journalFolder / JournalName, ErrnoText(error)};
        discard();
        return failure;
    }
    auto undo = [&] {
        // Killed while putting the old files back, the next program goes on
        // putting them back.
        if (journal) {
            WriteJournal(journalFolder, JournalBack, entries);
        }
        rollBack();
        if (journal) {
            RemoveJournal(journalFolder);
        }
    };
    for (Pending& file : pending) {
        const char* target = file.File->Path.c_str();
        struct stat old = {};
        if (journal && ::lstat(target, &old) == 0) {
            // The old file keeps a second name until all are in place: a hard
            // link where the file system has them, otherwise it is moved.
            std::string backup = file.Temporary + "~";
            if (::link(target, backup.c_str()) == 0) {
                file.Backup = backup;
            } else if (::rename(target, backup.c_str()) == 0) {
                file.Backup = backup;
                file.MovedAway = true;
            } else {
                Failure failure{file.File->Path, ErrnoText(errno)};
                undo();
                return failure;
            }
        }
        if (RenameIntoPlace(file.Temporary.c_str(), target) != 0) {
            Failure failure{file.File->Path, ErrnoText(errno)};
            undo();
            return failure;
        }
        file.Replaced = true;
    }
    for (const Pending& file : pending) {
        if (!file.Backup.empty()) {
            ::unlink(file.Backup.c_str());
        }
    }
    if (journal) {
        // Each folder that took new names is flushed once.
        std::vector<std::filesystem::path> folders;
        for (const Pending& file : pending) {
            std::filesystem::path folder =
                file.File->Path.parent_path().empty() ? "." : file.File->Path.parent_path();
            if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
                SyncFolder(folder);
                folders.push_back(std::move(folder));
            }
        }
        RemoveJournal(journalFolder);
    }
    return {};
}

} // namespace

Result<> WriteFilesAtomic(const std::vector<FileContent>& files)
{
    std::vector<FileToWrite> views;
    views.reserve(files.size());
    for (const FileContent& file : files) {
        views.push_back(FileToWrite{file.Path, file.Bytes});
    }
    return WriteAtomic(views);
}

Result<> WriteFileAtomic(const std::filesystem::path& path, const std::string& bytes)
{
    return WriteAtomic({FileToWrite{path, bytes}});
}

Result<> WriteTextFiles(const std::vector<TextFileContent>& files)
{
    std::vector<FileContent> contents;
    for (const TextFileContent& file : files) {
        Result<std::string> bytes = EncodeTextLines(file.Lines);
        if (!bytes) {
            return Failure{file.Path, bytes.Error().Reason};
        }
        contents.push_back(FileContent{file.Path, std::move(bytes).Value()});
    }
    return WriteFilesAtomic(contents);
}

Result<> KeepCopyOfDamagedFile(const std::filesystem::path& path)
{
    Result<std::string> old = ReadFileBytes(path, MaxBackupSize);
    if (!old) {
        return Failure{path, "no copy could be kept: " + old.Error().Reason};
    }
    // An older copy is never overwritten: the first free of .bak, .bak1, ...
    for (int number = 0; number < 100; ++number) {
        std::filesystem::path copy = path;
        copy += ".bak" + (number == 0 ? std::string() : std::to_string(number));
        int fd = ::open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST) {
            continue;
        }
        if (fd < 0) {
            return Failure{copy, ErrnoText(errno)};
        }
        int error = 0;
        bool written = WriteAll(fd, old.Value(), error) && ::fsync(fd) == 0;
        error = written ? 0 : (error != 0 ? error : errno);
        if (::close(fd) != 0 && error == 0) {
            error = errno;
        }
        // The copy counts only once it reads back as the file it copies.
        Result<std::string> back = ReadFileBytes(copy, MaxBackupSize);
        if (error == 0 && (!back || back.Value() != old.Value())) {
            error = EIO;
        }
        if (error != 0) {
            ::unlink(copy.c_str());
            return Failure{copy, ErrnoText(error)};
        }
        return {};
    }
    return Failure{path, "there are already 100 copies of it beside it"};
}

Result<> ReplaceKeepingDamaged(const std::filesystem::path& path,
                               const std::string& bytes,
                               const std::function<bool(const std::string&)>& damaged)
{
    if (FileHolds(path, bytes)) {
        return {}; // it holds them already: left as it is, nothing read whole
    }
    Result<std::string> old = ReadFileBytes(path);
    if (!old.Missing() && (!old || damaged(old.Value()))) {
        Result<> copy = KeepCopyOfDamagedFile(path);
        if (!copy) {
            return Failure{path,
                           "what it holds could not be read whole and no copy of it could be "
                           "kept (" +
                               ShownText(copy.Error().Path.string()) + ": " + copy.Error().Reason +
                               "), so it is left as it is"};
        }
    }
    return WriteFileAtomic(path, bytes);
}

Result<> ReplaceKeepingDamaged(const std::filesystem::path& path,
                               const std::vector<std::string>& lines,
                               const std::function<bool(const std::string&)>& damaged)
{
    Result<std::string> bytes = EncodeTextLines(lines);
    if (!bytes) {
        return Failure{path, bytes.Error().Reason};
    }
    return ReplaceKeepingDamaged(path, bytes.Value(), damaged);
}

bool ReportWriteFailure(const Result<>& result, Messages& messages)
{
    if (!result) {
        messages.Warn("Couldn't write " + ShownText(result.Error().Path.string()) + ": " +
                          ShownText(result.Error().Reason),
                      "Write failed!");
    }
    return result.Ok();
}

} // namespace twl
