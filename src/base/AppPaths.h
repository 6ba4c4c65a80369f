#pragma once

#include <string>

// Where the player keeps its files, after the XDG base directories.
namespace orvalis::paths {

// $XDG_CONFIG_HOME/Corvane SoftWare/Orvalis.conf (default ~/.config/...)
std::string settingsFile();
// $XDG_DATA_HOME/Orvalis (default ~/.local/share/Orvalis): Bookmark.ini, URL.txt, Orvalis.ini
std::string dataDir();
// $XDG_CACHE_HOME/Orvalis (default ~/.cache/Orvalis): files the player can make again
std::string cacheDir();
std::string configHome();
std::string dataHome();
std::string homeDir();
// The user's pictures folder: XDG_PICTURES_DIR of $XDG_CONFIG_HOME/user-dirs.dirs, else
// ~/Pictures, whichever exists first; the home folder when neither does.
std::string picturesDir();

// The program's own documentation for a program in exeDir: the README installed under
// share/doc/orvalis, else the installed man page, else the README of the source tree the
// program was built in. Empty when there is none: nothing else stands in for it.
std::string documentationFile(const std::string& exeDir);

}  // namespace orvalis::paths
