#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "playlist/PlaylistModel.h"

// The list files the playlist reads (M3U, PLS, ASX) and writes (M3U, ASX).
//
// Readers take decoded text (UTF-8) and give the entries in the file's order, each already
// resolved to the path the player opens: addresses stay as they are, absolute paths stay as
// they are, and relative entries are taken against the list file's own folder. The readers
// never expand an entry that is itself a list file, so a list that names itself, or two
// lists that name each other, cannot make loading go round in circles.
namespace orvalis::listfiles {

// The supported patterns as the file dialogs show them: the old Windows formats first,
// then the containers and audio formats a Linux desktop plays every day.
inline constexpr std::string_view kMediaPatterns =
    "*.wmv;*.avi;*.asf;*.mpg;*.mpe;*.mpeg;*.mpa;*.dat;*.m1v;*.m2v;*.vob;*.mp3;*.mp2;*.wma;"
    "*.wav;*.wax;*.wmx;*.wvx;*.divx;*.ogg;*.ogm;"
    "*.mp4;*.m4v;*.mkv;*.webm;*.mov;*.ogv;*.ts;*.m2ts;*.mts;*.flv;*.3gp;"
    "*.flac;*.m4a;*.aac;*.opus;*.oga;*.ape;*.wv;*.mka;*.ac3;*.aiff;";
inline constexpr std::string_view kListPatterns = "*.m3u;*.pls;*.asx;*.m3u8;";

enum class ListFormat { None, M3u, Pls, Asx };

// By the text from the last "." to the end, lower-cased: ".m3u" and ".m3u8" are M3U, ".pls"
// PLS, ".asx" and the Windows Media redirectors ".wax", ".wvx" and ".wmx" ASX.
ListFormat formatOf(std::string_view path);

// What a path given to the playlist stands for: a list whose entries become rows, one
// medium for the player, or neither. The name decides, and for local files whose name can
// mean either the first bytes decide:
// - an M3U that carries HLS tags ("#EXT-X-") is one stream, however many segments it names;
// - a redirector (.wax, .wvx, .wmx) that is binary is a medium that took its name;
// - an .asf or .wma that is a text reference ("[Reference]" or "<ASX") is an ASX list.
// Addresses are never read: an .m3u8 or redirector address is a medium for the player.
enum class PathKind { Unsupported, Medium, List };
struct PathClass {
    PathKind kind = PathKind::Unsupported;
    ListFormat format = ListFormat::None;  // for a list
};
PathClass classifyPath(const std::string& path);
// The text holds a line that begins with an HLS tag.
bool isHlsPlaylist(std::string_view text);
// A media file is one whose extension (with its dot, lower-cased) occurs anywhere in the
// media patterns; so ".mp" passes, because it stands inside "*.mp3;".
bool isSupportedMedia(std::string_view path);

struct ListEntry {
    std::string displayName;
    std::string path;
};

// The path one entry of a list file stands for. listFolder is the absolute folder of the
// list file. file:// addresses become local paths; other addresses, absolute paths and
// drive-letter paths are kept; a relative entry is joined to listFolder (its backslashes
// read as folder separators, and VLC's percent-escapes undone).
std::string resolveEntry(std::string_view entry, std::string_view listFolder);
// The row label of a path: its file-name part, or the whole path when that part is empty
// (an address that ends in "/").
std::string displayNameOf(std::string_view path);

std::vector<ListEntry> readM3u(std::string_view text, std::string_view listFolder);
std::vector<ListEntry> readPls(std::string_view text, std::string_view listFolder);
std::vector<ListEntry> readAsx(std::string_view text, std::string_view listFolder);

enum class ReadStatus { Ok, Unreadable, NotText };

struct ReadResult {
    ReadStatus status = ReadStatus::Unreadable;
    std::vector<ListEntry> entries;
};

// Reads a list file of the given format by the text rule (byte-order mark, UTF-8, else
// CP949). A file that cannot be read, is not a regular file, is larger than any list could
// sensibly be, or holds binary data is refused. Entries that name the list file itself are
// left out.
ReadResult readListFile(const std::string& path, ListFormat format);

// File contents, UTF-8, "\n" line ends. Rows whose path holds a line break cannot be
// written as one entry and are left out.
std::string writeM3u(const std::vector<PlaylistItem>& rows);
std::string writeAsx(const std::vector<PlaylistItem>& rows);

}  // namespace orvalis::listfiles
