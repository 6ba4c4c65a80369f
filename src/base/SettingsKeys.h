#pragma once

// Section names of the settings tree, in one place. Key names stay at their readers:
// each reader passes its own default, and a key read in one place only is clearest there.
namespace orvalis::sections {

inline constexpr const char* Version = "Version";
inline constexpr const char* Config = "Config";
inline constexpr const char* Screen = "Screen";
inline constexpr const char* ConfigScreen = "Config\\Screen";
inline constexpr const char* ConfigCustom = "Config\\Custom";
inline constexpr const char* ConfigControl = "Config\\Control";
inline constexpr const char* ConfigPlaylist = "Config\\Playlist";
inline constexpr const char* ConfigShutdown = "Config\\Shutdown";
inline constexpr const char* ConfigUrl = "Config\\URL";
inline constexpr const char* Caption = "Caption";
inline constexpr const char* CaptionFolders = "Caption\\Caption Folders";
inline constexpr const char* Playlist = "Playlist";
inline constexpr const char* PlaylistLists = "Playlist\\Lists";
inline constexpr const char* PlaylistRecents = "Playlist\\Recents";
inline constexpr const char* PlaylistScreen = "Playlist\\Screen";
inline constexpr const char* PlaylistSkins = "Playlist\\Skins";

}  // namespace orvalis::sections
