#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvalis {

// Who may read a file that does not exist yet: Usual gives the mode every program gives
// (0666 less the umask); Private keeps it to its owner (0600), for the settings file.
enum class NewFileMode { Usual, Private };

// When the new bytes must be on the disk. Now: before the call returns (the data and the
// rename are flushed). Soon: the rename happens at once, as every reader sees it, and a
// background thread flushes the file and its folder a moment later; for the settings,
// written on the window's thread at every change, where a flush costs 10-20 ms. The
// process, if killed, still leaves the old or the new file whole; ext4 and btrfs also write
// a renamed-over file's data before the rename itself reaches the disk.
enum class Flush { Now, Soon };

// Replaces the file at path with contents in one step: the bytes go to a temporary file in
// the same folder, are flushed to the disk, and the temporary file is renamed over the old
// one. A crash or a full disk leaves either the old file or the new one, never half of one.
// The temporary file has no name while it is written (where the file system allows it), so
// a writer killed midway leaves nothing beside the file; a temporary left by one killed in
// the instant between naming it and the rename is removed by a later save.
// A file that exists keeps its mode; a link keeps pointing where it did, and the file it
// points to is the one replaced (a link that leads nowhere is replaced like a missing file).
// Creates missing parent folders. Returns false (and leaves the old file) on any failure.
bool writeFileAtomically(const std::string& path, std::string_view contents,
                         NewFileMode newMode = NewFileMode::Usual, Flush flush = Flush::Now);

// The whole file, or nothing when it cannot be read. Every file that comes from outside is
// read here: only a regular file is read, and nothing waits (a pipe, a folder or a device
// is refused at once). Files larger than maxBytes are refused.
std::optional<std::string> readWholeFile(const std::string& path,
                                         std::size_t maxBytes = std::size_t(1) << 30);
// The same, for formats that use only the start of a file: at most maxBytes of it, however
// long it is.
std::optional<std::string> readFileStart(const std::string& path, std::size_t maxBytes);

bool makeDirectories(const std::string& path);
bool fileExists(const std::string& path);

}  // namespace orvalis
