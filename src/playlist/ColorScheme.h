#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/SettingsKeys.h"
#include "base/SettingsStore.h"

// The playlist's colour schemes: the record, the colours' form, the set kept in the
// settings store and the rules for drawing a row with a scheme.
namespace orvalis {

// A colour as the settings store and the .clr files keep it: 0x00BBGGRR, red in the low
// byte. The high byte is carried along untouched and ignored when drawing.
using Colorref = std::uint32_t;

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

// The one place where a stored colour becomes red, green and blue and back.
constexpr Rgb toRgb(Colorref c) {
    return {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>((c >> 8) & 0xFF),
            static_cast<std::uint8_t>((c >> 16) & 0xFF)};
}
constexpr Colorref fromRgb(Rgb rgb) {
    return Colorref(rgb.red) | (Colorref(rgb.green) << 8) | (Colorref(rgb.blue) << 16);
}

// The four colour slots in the order of the dialog's slot list.
enum class SchemeSlot { Back = 0, Selected = 1, Text = 2, TextFocused = 3 };
inline constexpr int kSlotCount = 4;
inline constexpr std::array<SchemeSlot, kSlotCount> kAllSlots = {
    SchemeSlot::Back, SchemeSlot::Selected, SchemeSlot::Text, SchemeSlot::TextFocused};
// "배경색", "선택된 항목 배경색", "항목 글자색", "재생 항목 글자색".
const std::array<const char*, kSlotCount>& slotNames();

struct ColorScheme {
    std::string name;
    Colorref backColor = 0;         // list background and the empty area
    Colorref selectedColor = 0;     // background of selected rows
    Colorref textColor = 0;         // text of ordinary rows
    Colorref textFocusedColor = 0;  // text of the playing row

    Colorref slot(SchemeSlot s) const;
    void setSlot(SchemeSlot s, Colorref c);
    bool operator==(const ColorScheme&) const = default;
};

namespace schemes {

// Settings keys under the section "Playlist\Skins" and in each scheme's own section.
inline constexpr std::string_view kNumberOfSkin = keys::SchemeCount.name;
inline constexpr std::string_view kSkinName = keys::SchemeName.name;
inline constexpr std::string_view kSelectedColor = keys::SchemeSelectedColor.name;

inline constexpr const char* kDefaultName = "Blue";
// The dialog's table holds at most this many schemes; copying stops at kCopyLimit.
inline constexpr int kTableSize = 100;
inline constexpr int kCopyLimit = 50;
// A name typed by the user: at most 50 CP949 units, so that it always fits a record.
inline constexpr std::size_t kNameUnits = 50;

// The eleven schemes written on first use, Black first.
const std::vector<ColorScheme>& factorySet();
// Blue's colours: the defaults of every colour read by ApplyScheme.
const ColorScheme& defaultScheme();

// "Playlist\Skins\<name>".
std::string sectionOf(std::string_view name);

// A name as the settings file can hold it as part of a section name: control characters
// become blanks and blanks at the end go (the file would drop them, and the scheme would
// lose its colours). Every name entering the program passes through here.
std::string storableName(std::string_view name);

// The set as stored: NumberOfSkin names (never more than kTableSize), each with its four
// colours (0 when missing or unreadable). Names that are empty are skipped.
std::vector<ColorScheme> readSet(const SettingsStore& store);
// Replaces the stored set in one write: the count, the names under "0" … "n-1", each
// scheme's colours and SkinName. Name keys beyond the count and sections of schemes no
// longer in the set are left where they are.
void writeSet(SettingsStore& store, const std::vector<ColorScheme>& set, std::string_view skinName);
void writeFactorySet(SettingsStore& store);

// SkinName as stored, with the caller's default.
std::string storedName(const SettingsStore& store, std::string_view def);

}  // namespace schemes

// The scheme to draw the list with. A name without colours falls back to "Blue"; the factory
// set is written first when the store holds no scheme at all, and only then, so that a user's
// set is never overwritten by a missing or garbled entry. Colours that cannot be read take
// Blue's values.
ColorScheme ApplyScheme(SettingsStore& store, std::string_view name);

// How one row of the list is drawn with a scheme.
struct RowPaint {
    bool fill = false;  // fill the row with fillColor
    Colorref fillColor = 0;
    bool insertionMark = false;  // a 1-pixel line along the row's top edge in markColor
    Colorref markColor = 0;
    Colorref textColor = 0;
};
inline constexpr Colorref kInsertionMarkColor = 0x28323C;
// The row rectangle is moved this far right; the text stands this far inside it.
inline constexpr int kRowShiftX = 2;
inline constexpr int kTextOffsetX = 3;
inline constexpr int kTextOffsetY = 2;

RowPaint rowPaint(const ColorScheme& scheme, bool selected, bool dropTarget, bool playing);

}  // namespace orvalis
