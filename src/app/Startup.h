#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/SettingsStore.h"

namespace orvalis {

inline constexpr const char* kAppName = "Orvalis";
// The player window's title: the name followed by one blank.
inline constexpr const char* kWindowTitle = "Orvalis ";

// The operating-system text kept in Version/OSVersion. Readers compare it with "95", "98"
// or "XP" to choose behaviour; on this system it is "Linux", so those branches never apply.
std::string osVersionText();

// The command-line list: every file argument made absolute against cwd (addresses with
// "://" stay as given), each followed by one ";". Empty when there are no arguments.
std::string buildCommandLineList(const std::vector<std::string>& args, const std::string& cwd);

// Splits a list back into its entries (empty pieces dropped).
std::vector<std::string> splitCommandLineList(std::string_view list);

// Version/AppName, OSVersion, ExePath, ExeFile, and Config/ShellFileName = "".
void writeStartupValues(SettingsStore& store, const std::string& exeFile);

}  // namespace orvalis
