#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/IniDocument.h"
#include "settings/PageValues.h"

// The settings file: the pages' values in the classic INI layout ("Orvalis.ini"), the seven
// sections General, Caption, Custom, Control, Screen, Playlist and FileExt in that order,
// read and written key by key; what else a file holds stays where it stands.
namespace orvalis {

inline constexpr const char* kSettingsFileName = "Orvalis.ini";
inline constexpr const char* kSettingsFileFilter = "환경 파일 (*.ini)|*.ini||";
inline constexpr const char* kSettingsFileSuffix = "ini";
// The longest value a read returns, in CP949 units (a 255-byte buffer with its end mark).
inline constexpr std::size_t kProfileValueUnits = 254;

// An INI file read by the classic rules: names without regard to letter case, the first of
// duplicate sections or keys, one pair of quotes around a value dropped.
class ProfileReader {
public:
    // The bytes are decoded by the text rule (BOM, UTF-8, else CP949).
    explicit ProfileReader(std::string_view bytes);

    // The value, cut to 254 CP949 units on a character boundary; empty when missing.
    // cut, when given, tells whether the value was longer.
    std::string getString(std::string_view section, std::string_view key,
                          bool* cut = nullptr) const;
    // The leading decimal number of the value (sign and digits after any blanks); 0 when
    // there is none or the key is missing. Numbers past the 32-bit range give its end.
    int getInt(std::string_view section, std::string_view key) const;
    bool has(std::string_view section, std::string_view key) const;

private:
    IniDocument doc_;
};

// The leading decimal number of a text, as getInt reads it.
int profileNumber(std::string_view text);

// existingText (decoded) with every page's keys set, in file order. Sections and keys the
// file's layout does not name keep their place.
std::string settingsFileText(const PageValues& values, std::string_view existingText = {});

// Import: every page reads its section, in file order. A key the file holds is read as
// getInt and getString read it (an empty number is 0); a key it does not hold keeps the
// page's value. Then each page settles as at start (an empty image folder is the pictures
// folder, a beep without a sound file is off).
void applySettingsFile(PageValues& values, const ProfileReader& file);

enum class SettingsFileResult { Done, CannotRead, CannotWrite };

// Writes the pages into path: created when missing, otherwise edited key by key and
// replaced atomically. An existing file that cannot be read is left alone (CannotRead):
// writing over it would lose what it holds.
SettingsFileResult exportSettingsFile(const PageValues& values, const std::string& path);
// Fills the pages from path. A file that cannot be read changes nothing (CannotRead).
SettingsFileResult importSettingsFile(PageValues& values, const std::string& path);

}  // namespace orvalis
