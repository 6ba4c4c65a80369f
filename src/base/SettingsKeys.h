#pragma once

#include <string>
#include <string_view>
#include <type_traits>

#include "base/SettingsStore.h"

// Every key of the settings tree, once: its section, its name, its type and the default each
// reader passes. Readers and writers name a key of this table (settings::get(store,
// keys::FontSize)); no key name is spelt anywhere else. The file keeps the names and value
// encodings below, so an existing settings file reads as it always did.
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
// Sections made per entry: these name the parent, and the keys below take the entry's own
// section with in(): urlEntrySection(i), schemeSection(name).
inline constexpr const char* UrlEntry = "Config\\URL\\<n>";
inline constexpr const char* Scheme = "Playlist\\Skins\\<name>";

}  // namespace orvalis::sections

// Colours as the settings file stores them: COLORREF values (0x00BBGGRR), in decimal.
namespace orvalis::colours {

inline constexpr int Black = 0x000000;
inline constexpr int White = 0xFFFFFF;
inline constexpr int IdleBackground = 0x404040;     // dark grey behind no video
inline constexpr int Track = 0x967373;              // the seek track
inline constexpr int TrackRepeating = 0xFF8080;     // the seek track while the item repeats
inline constexpr int CaptionText = 0xB3DEF5;        // warm pale yellow
inline constexpr int CaptionColourKey = 0x0A0A0A;   // the caption overlay's colour key
inline constexpr int SecondCaptionText = 0x00FFFF;  // yellow, the second language's lines

}  // namespace orvalis::colours

namespace orvalis::settings {

enum class Type {
    Int,
    Flag,    // an integer, 0 or 1; read as true when it is not 0
    Colour,  // an integer, a COLORREF
    Text,
};

// Who reads a key. Most readers pass the same default; a few keys are read with another.
enum class Context {
    AtStart,     // the player's start, or the first use of a key
    AfterSheet,  // the player reading the settings again when the sheet closes
    Sheet,       // the settings sheet reading its pages
    SheetReset,  // what the sheet's "reset page" sets
};

template <typename V>
struct Defaults {
    V start{};
    V afterSheet = start;
    V sheet = start;
    V reset = sheet;
};

template <Type T>
struct Key {
    using Value = std::conditional_t<T == Type::Text, std::string_view, int>;
    std::string_view section;
    std::string_view name;
    Defaults<Value> defaults;

    constexpr Value def(Context context = Context::AtStart) const {
        switch (context) {
            case Context::AfterSheet:
                return defaults.afterSheet;
            case Context::Sheet:
                return defaults.sheet;
            case Context::SheetReset:
                return defaults.reset;
            case Context::AtStart:
                break;
        }
        return defaults.start;
    }
    // The key in the section of one entry (a stream address, a colour scheme); the section
    // must outlive the returned key.
    constexpr Key in(std::string_view entrySection) const {
        Key k = *this;
        k.section = entrySection;
        return k;
    }
};

using IntKey = Key<Type::Int>;
using FlagKey = Key<Type::Flag>;
using ColourKey = Key<Type::Colour>;
using TextKey = Key<Type::Text>;

// The table. Columns: type, name in code, section, key, defaults (at start; then, where they
// differ, .afterSheet, .sheet and .reset, each one the one before it when left out).
// clang-format off
#define ORVALIS_SETTINGS_KEYS(X) \
    X(Text, AppName, Version, "AppName", {}) \
    X(Text, OSVersion, Version, "OSVersion", {}) \
    X(Text, ExePath, Version, "ExePath", {}) \
    X(Text, ExeFile, Version, "ExeFile", {}) \
    X(Text, ShellFileName, Config, "ShellFileName", {}) \
    X(Flag, Repeat, Config, "Repeat", {0}) \
    X(Flag, ShowMainDlg, Config, "ShowMainDlg", {1}) \
    X(Flag, AlwaysOnTop, Config, "Always On Top", {0}) \
    X(Flag, ShowPlayList, Config, "ShowPlayList", {1}) \
    X(Flag, AspectRatio, Config, "AspectRatio", {1}) \
    X(Int, Volume, Config, "Volume", {5}) \
    X(Flag, Mute, Config, "Mute", {0}) \
    X(Int, Interval, Config, "Interval", {10}) \
    X(Int, IntervalCtrl, Config, "IntervalCtrl", {30}) \
    X(Flag, ShowFrameNumber, Config, "Show Frame Number", {0}) \
    X(Flag, AutoHideOnAudio, Config, "AutoHideOnAudio", {.start = 0, .afterSheet = 1, .sheet = 0}) \
    X(Flag, Maximized, Config, "Maximized", {0}) \
    X(Flag, SaveMaximized, Config, "Save Maximized", {0}) \
    X(Flag, AutoCdrom, Config, "Auto CDROM", {1}) \
    X(Text, DefaultFolder, Config, "Default Folder", {}) \
    X(Text, RecentFolder, Config, "Recent Folder", {}) \
    X(Int, ActivePage, Config, "ActivePage", {0}) \
    X(Flag, ShowTooltipAll, Config, "Show Tooltip All", {1}) \
    X(Flag, ShowTooltipVolume, Config, "Show Tooltip Volume", {1}) \
    X(Flag, ShowTooltipSpeed, Config, "Show Tooltip Speed", {1}) \
    X(Flag, ShowTooltipPanScan, Config, "Show Tooltip PanScan", {1}) \
    X(Flag, ShowTooltipCaptionSynch, Config, "Show Tooltip Caption Synch", {1}) \
    X(Flag, ShowTooltipCaptionSize, Config, "Show Tooltip Caption Size", {1}) \
    X(Flag, ShowTooltipCaptionOffset, Config, "Show Tooltip Caption Offset", {1}) \
    X(Flag, ShowTooltipCaptionLanguage, Config, "Show Tooltip Caption Language", {1}) \
    X(Flag, ShowTooltipCaptionSpace, Config, "Show Tooltip Caption Space", {1}) \
    X(Int, Brightness, Config, "Brignt", {0}) \
    X(Int, Contrast, Config, "Contrast", {0}) \
    X(Int, Saturation, Config, "Saturation", {0}) \
    /* the player window's place; -3000: none saved. right and bottom follow the window */ \
    X(Int, ScreenLeft, Screen, "left", {-3000}) \
    X(Int, ScreenTop, Screen, "top", {-3000}) \
    X(Int, ScreenRight, Screen, "right", {}) \
    X(Int, ScreenBottom, Screen, "bottom", {}) \
    X(Int, BorderSize, ConfigScreen, "Border Size", {15}) \
    X(Int, BackMode, ConfigCustom, "Back Mode", {1}) \
    X(Colour, BackColor, ConfigCustom, "Back Color", {colours::IdleBackground}) \
    X(Text, BackImage, ConfigCustom, "Back Image", {}) \
    X(Int, EscKey, ConfigCustom, "Esc Key", {0}) \
    X(Int, PlayKey, ConfigCustom, "Play Key", {0}) \
    X(Int, StopKey, ConfigCustom, "Stop Key", {0}) \
    X(Int, MouseWheel, ConfigCustom, "Mouse Wheel", {1}) \
    X(Int, WheelClick, ConfigCustom, "Wheel Click", {1}) \
    X(Int, TrackHeight, ConfigControl, "Track Height", {15}) \
    X(Colour, TrackColor1, ConfigControl, "Track Color1", {colours::Track}) \
    X(Colour, TrackColor2, ConfigControl, "Track Color2", {colours::TrackRepeating}) \
    X(Flag, UseGradient, ConfigControl, "Use Gradient", {1}) \
    X(Int, TitleSize, ConfigControl, "Title Size", {9}) \
    X(Flag, UseRepeatCtrl, ConfigControl, "Use Repeat Ctrl", {1}) \
    X(Flag, AutoHide, ConfigControl, "Auto Hide", {0}) \
    X(Int, ComeBackTime, ConfigControl, "ComeBack Time", {3}) \
    X(Flag, UseBookmark, ConfigControl, "Use Bookmark", {1}) \
    X(Flag, UseSkip, ConfigControl, "Use Skip", {0}) \
    X(Int, SkipStartMin, ConfigControl, "Skip Start Min", {0}) \
    X(Int, SkipStartSec, ConfigControl, "Skip Start Sec", {0}) \
    X(Int, SkipEndMin, ConfigControl, "Skip End Min", {0}) \
    X(Int, SkipEndSec, ConfigControl, "Skip End Sec", {0}) \
    X(Int, CapturePath, ConfigControl, "Path", {1}) \
    X(Text, ImageFolder, ConfigControl, "Image Folder", {}) \
    X(Flag, SaveScreenValue, ConfigControl, "Save Screen Value", {1}) \
    X(Flag, BeepSound, ConfigControl, "Beep Sound", {.start = 1, .reset = 0}) \
    X(Text, SoundFile, ConfigControl, "Sound File", {}) \
    X(Flag, HardwareDecoding, ConfigControl, "Hardware Decoding", {1}) \
    X(Flag, PlayContinue, ConfigPlaylist, "Play Continue", {1}) \
    /* Repeat List and Auto Delete are on only at 1 */ \
    X(Int, RepeatList, ConfigPlaylist, "Repeat List", {0}) \
    X(Flag, ShowControls, ConfigPlaylist, "Show Controls", {0}) \
    X(Flag, AutoCheck, ConfigPlaylist, "Auto Check", {0}) \
    X(Int, AutoDelete, ConfigPlaylist, "Auto Delete", {0}) \
    X(Flag, AddItem, ConfigPlaylist, "Add Item", {1}) \
    X(Flag, AddFromCdrom, ConfigPlaylist, "Add From CDROM", {0}) \
    X(Flag, ShowCaption, Caption, "Show Caption", {1}) \
    X(Text, FontName, Caption, "FontName", {.start = "돋움", .afterSheet = "돋움", .sheet = "굴림"}) \
    X(Int, FontSize, Caption, "FontSize", {.start = 37, .afterSheet = 20, .sheet = 20}) \
    X(Flag, FontBold, Caption, "FontBold", {1}) \
    X(Flag, FontAlias, Caption, "FontAlias", {.start = 0, .afterSheet = 1, .sheet = 0}) \
    X(Flag, FontBorder, Caption, "FontBorder", {0}) \
    X(Int, FontOffset, Caption, "FontOffset", {.start = -27, .afterSheet = 0, .sheet = 0}) \
    X(Colour, FontColor, Caption, "FontColor", {.start = colours::CaptionText, .afterSheet = colours::White, .sheet = colours::CaptionText}) \
    X(Colour, BorderColor, Caption, "BorderColor", {colours::Black}) \
    X(Int, CaptionBottom, Caption, "Caption Bottom", {10}) \
    X(Int, CaptionMargin, Caption, "Caption Margin", {.start = 10, .afterSheet = 10, .sheet = 20}) \
    X(Int, CaptionSpace, Caption, "Caption Space", {0}) \
    X(Int, CaptionSynch, Caption, "Caption Synch", {0}) \
    X(Int, CaptionDivideLength, Caption, "Caption Divide Length", {40}) \
    X(Int, CaptionGap, Caption, "Caption Gap", {2}) \
    X(Int, CaptionAlign, Caption, "Caption Align", {.start = 1, .afterSheet = 1, .sheet = 0}) \
    X(Flag, AddOneLine, Caption, "Add One Line", {1}) \
    X(Colour, ColorKey, Caption, "ColorKey", {colours::CaptionColourKey}) \
    X(Flag, UseCaptionFolder, Caption, "Use Caption Folder", {0}) \
    X(Flag, IgnoreSubtitleStyle, Caption, "Ignore Subtitle Style", {0}) \
    X(Flag, ShowTwoLanguages, Caption, "Show Two Languages", {0}) \
    X(Int, SecondCaptionSynch, Caption, "Second Caption Synch", {0}) \
    X(Int, SecondFontOffset, Caption, "Second Font Offset", {-4}) \
    X(Colour, SecondFontColor, Caption, "Second Font Color", {colours::SecondCaptionText}) \
    X(Flag, SecondCaptionBelow, Caption, "Second Caption Below", {0}) \
    X(Int, CaptionFolderCount, CaptionFolders, "Count", {0}) \
    X(Int, ShutdownYear, ConfigShutdown, "Year", {0}) \
    X(Int, ShutdownMonth, ConfigShutdown, "Month", {0}) \
    X(Int, ShutdownDay, ConfigShutdown, "Day", {0}) \
    X(Int, ShutdownHour, ConfigShutdown, "Hour", {0}) \
    X(Int, ShutdownMinute, ConfigShutdown, "Minute", {0}) \
    X(Int, ShutdownSecond, ConfigShutdown, "Second", {0}) \
    X(Int, ShutdownLeftTime, ConfigShutdown, "Left Time", {4}) \
    X(Int, UrlCount, ConfigUrl, "Count", {0}) \
    X(Text, UrlCurrent, ConfigUrl, "Current", {}) \
    X(Int, UrlColumnWidth0, ConfigUrl, "Column Width0", {100}) \
    X(Int, UrlColumnWidth1, ConfigUrl, "Column Width1", {300}) \
    X(Text, UrlName, UrlEntry, "Name", {}) \
    X(Text, UrlAddress, UrlEntry, "URL", {}) \
    X(Int, PlaylistAlpha, Playlist, "Alpha", {0}) \
    X(Int, ListCount, PlaylistLists, "nItemCount", {0}) \
    X(Text, ListCurrent, PlaylistLists, "Current", {}) \
    X(Int, RecentCount, PlaylistRecents, "nCount", {0}) \
    X(Text, LastListFile, PlaylistRecents, "Last M3U", {}) \
    /* the playlist window's place; the defaults follow the screen */ \
    X(Int, PlaylistLeft, PlaylistScreen, "left", {}) \
    X(Int, PlaylistTop, PlaylistScreen, "top", {}) \
    X(Int, PlaylistRight, PlaylistScreen, "right", {}) \
    X(Int, PlaylistBottom, PlaylistScreen, "bottom", {}) \
    X(Int, SchemeCount, PlaylistSkins, "NumberOfSkin", {0}) \
    X(Text, SchemeName, PlaylistSkins, "SkinName", {}) \
    X(Colour, SchemeBackColor, Scheme, "BackColor", {}) \
    X(Colour, SchemeSelectedColor, Scheme, "SelectedColor", {}) \
    X(Colour, SchemeTextColor, Scheme, "TextColor", {}) \
    X(Colour, SchemeTextFocusedColor, Scheme, "TextFocusedColor", {})
// clang-format on

}  // namespace orvalis::settings

namespace orvalis::keys {

#define ORVALIS_SETTINGS_KEY(kind, ident, sect, text, ...) \
    inline constexpr settings::Key<settings::Type::kind> ident{sections::sect, text, __VA_ARGS__};
ORVALIS_SETTINGS_KEYS(ORVALIS_SETTINGS_KEY)
#undef ORVALIS_SETTINGS_KEY

}  // namespace orvalis::keys

namespace orvalis::settings {

// Every key of the table, for checks that go over all of them.
struct KeyName {
    std::string_view section;
    std::string_view name;
    Type type;
};
#define ORVALIS_SETTINGS_KEY_NAME(kind, ident, ...) \
    KeyName{keys::ident.section, keys::ident.name, Type::kind},
inline constexpr KeyName kAllKeys[] = {ORVALIS_SETTINGS_KEYS(ORVALIS_SETTINGS_KEY_NAME)};
#undef ORVALIS_SETTINGS_KEY_NAME

int get(const SettingsStore& store, const IntKey& key, Context context = Context::AtStart);
int get(const SettingsStore& store, const ColourKey& key, Context context = Context::AtStart);
bool get(const SettingsStore& store, const FlagKey& key, Context context = Context::AtStart);
std::string get(const SettingsStore& store, const TextKey& key, Context context = Context::AtStart);

// A read whose default follows the moment (a place on the screen, a scheme's colours).
int getOr(const SettingsStore& store, const IntKey& key, int def);
int getOr(const SettingsStore& store, const ColourKey& key, int def);
std::string getOr(const SettingsStore& store, const TextKey& key, std::string_view def);

void put(SettingsStore& store, const IntKey& key, int value);
void put(SettingsStore& store, const ColourKey& key, int value);
void put(SettingsStore& store, const FlagKey& key, bool value);
void put(SettingsStore& store, const TextKey& key, std::string_view value);

template <Type T>
void remove(SettingsStore& store, const Key<T>& key) {
    store.removeKey(key.section, key.name);
}

// Keys made at run time. Lists (the play list, recent list files, colour scheme names,
// caption folders) keep their entries under "0", "1", …
std::string indexKey(int index);
// "Config\URL\<n>", the section of one stream address.
std::string urlEntrySection(int index);
// "Playlist\Skins\<name>", the section of one colour scheme.
std::string schemeSection(std::string_view name);

}  // namespace orvalis::settings
