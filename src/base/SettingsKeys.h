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

// Default colours of the settings, as the settings file stores them: COLORREF values
// (0x00BBGGRR), written in decimal.
namespace orvalis::colours {

inline constexpr int IdleBackground = 0x404040;  // dark grey behind no video
inline constexpr int Track = 0x967373;           // the seek track
inline constexpr int TrackRepeating = 0xFF8080;  // the seek track while the item repeats
inline constexpr int CaptionText = 0xB3DEF5;     // warm pale yellow, at start
inline constexpr int CaptionTextAfterSheet = 0xFFFFFF;  // white, read again after the sheet
inline constexpr int CaptionBorder = 0x000000;

}  // namespace orvalis::colours
