#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/SettingsStore.h"

namespace orvalis {

inline constexpr const char* kAppName = "Orvalis";
// The player window's title: the name followed by one blank.
inline constexpr const char* kWindowTitle = "Orvalis ";

// The operating-system text kept in Version/OSVersion. Readers compare it with "95", "98"
// or "XP" to choose behaviour; on this system it is "Linux", so those branches never apply.
std::string osVersionText();

// The paths a start was given, in order: every file argument made absolute against cwd, a
// file manager's "file://" URI turned into its path, addresses with "://" as given. The
// arguments are the system's bytes and stay so: nothing is split, trimmed or re-encoded.
std::vector<std::string> commandLinePaths(const std::vector<std::string>& args,
                                          const std::string& cwd);

// The local path of a "file://" URI (after the scheme), its escapes decoded to the bytes
// they stand for: a dropped file's name as the file system has it.
std::string fileUriPath(std::string_view uri);

// The process's current folder, as the system's bytes; empty when it has none.
std::string currentFolder();

// Config/ShellFileName's text for these paths: each one followed by ";". It is a record
// for other programs; the paths themselves travel as a list.
std::string commandLineList(const std::vector<std::string>& paths);

// Version/AppName, OSVersion, ExePath, ExeFile, and Config/ShellFileName = "".
void writeStartupValues(SettingsStore& store, const std::string& exeFile);

}  // namespace orvalis
