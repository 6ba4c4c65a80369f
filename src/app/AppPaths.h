#pragma once

#include <string>

// Where the player keeps its files, after the XDG base directories.
namespace orvalis::paths {

// $XDG_CONFIG_HOME/Corvane SoftWare/Orvalis.conf (default ~/.config/...)
std::string settingsFile();
// $XDG_DATA_HOME/Orvalis (default ~/.local/share/Orvalis): Bookmark.ini, URL.txt, Orvalis.ini
std::string dataDir();
std::string configHome();
std::string dataHome();
std::string homeDir();

}  // namespace orvalis::paths
