#include "playlist/ColorScheme.h"

#include <algorithm>

#include "base/SettingsKeys.h"

namespace orvalis {

const std::array<const char*, kSlotCount>& slotNames() {
    static const std::array<const char*, kSlotCount> names = {"배경색", "선택된 항목 배경색",
                                                              "항목 글자색", "재생 항목 글자색"};
    return names;
}

Colorref ColorScheme::slot(SchemeSlot s) const {
    switch (s) {
        case SchemeSlot::Back:
            return backColor;
        case SchemeSlot::Selected:
            return selectedColor;
        case SchemeSlot::Text:
            return textColor;
        case SchemeSlot::TextFocused:
            return textFocusedColor;
    }
    return backColor;
}

void ColorScheme::setSlot(SchemeSlot s, Colorref c) {
    switch (s) {
        case SchemeSlot::Back:
            backColor = c;
            break;
        case SchemeSlot::Selected:
            selectedColor = c;
            break;
        case SchemeSlot::Text:
            textColor = c;
            break;
        case SchemeSlot::TextFocused:
            textFocusedColor = c;
            break;
    }
}

namespace schemes {

namespace {

constexpr std::array<const settings::ColourKey*, kSlotCount> kColorKeys = {
    &keys::SchemeBackColor, &keys::SchemeSelectedColor, &keys::SchemeTextColor,
    &keys::SchemeTextFocusedColor};

ColorScheme readColors(const SettingsStore& store, std::string_view name,
                       const ColorScheme& defaults) {
    ColorScheme s;
    s.name = std::string(name);
    const std::string section = sectionOf(name);
    for (int i = 0; i < kSlotCount; ++i) {
        auto def = static_cast<int>(defaults.slot(kAllSlots[i]));
        s.setSlot(kAllSlots[i],
                  static_cast<Colorref>(settings::getOr(store, kColorKeys[i]->in(section), def)));
    }
    return s;
}

void writeColors(SettingsStore& store, const ColorScheme& s) {
    const std::string section = sectionOf(s.name);
    for (int i = 0; i < kSlotCount; ++i)
        settings::put(store, kColorKeys[i]->in(section), static_cast<int>(s.slot(kAllSlots[i])));
}

}  // namespace

const std::vector<ColorScheme>& factorySet() {
    static const std::vector<ColorScheme> set = {
        {"Black", 0x000000, 0x404040, 0xA0AFB4, 0xEBEBEB},
        {"Blue", 0xBC7E6D, 0xDDAC9F, 0x532F25, 0xFFFFFF},
        {"Ivory", 0xB4E6F5, 0x87C8DC, 0x1E2832, 0x018AFF},
        {"Pink", 0xB4C8DC, 0x8CA0B4, 0x14283C, 0xFFFFFF},
        {"Red", 0x5D5CEA, 0x9999FF, 0x303030, 0xFFFFFF},
        {"Green", 0xAFBEAB, 0x9CA998, 0x646464, 0x000000},
        {"SkyBlue", 0xC39200, 0xC3AE76, 0x4C4C4C, 0xFFFFFF},
        {"DarkGrey", 0x605A51, 0x7F786D, 0xDFD3C8, 0xFFFFFF},
        {"LightCyan", 0xFFE2C3, 0xFDF0E1, 0x4C4C4C, 0x018AFF},
        {"RoyalBlue", 0xAB6513, 0xC57A0F, 0xFFFFFF, 0xFFFEA3},
        {"Windows 2000", 0xA56E3A, 0xCC9C71, 0x5E0000, 0xFFFFFF},
    };
    return set;
}

const ColorScheme& defaultScheme() {
    return factorySet()[1];
}

std::string sectionOf(std::string_view name) {
    return settings::schemeSection(name);
}

std::string storableName(std::string_view name) {
    std::string out(name);
    for (char& c : out) {
        auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) c = ' ';
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

std::vector<ColorScheme> readSet(const SettingsStore& store) {
    int count = settings::get(store, keys::SchemeCount);
    count = std::clamp(count, 0, kTableSize);
    std::vector<ColorScheme> set;
    const ColorScheme zero;
    for (int i = 0; i < count; ++i) {
        std::string name =
            storableName(store.getString(sections::PlaylistSkins, settings::indexKey(i)));
        if (!name.empty()) set.push_back(readColors(store, name, zero));
    }
    return set;
}

void writeSet(SettingsStore& store, const std::vector<ColorScheme>& set,
              std::string_view skinName) {
    SettingsBatch batch(store);
    settings::put(store, keys::SchemeCount, static_cast<int>(set.size()));
    for (std::size_t i = 0; i < set.size(); ++i) {
        store.putString(sections::PlaylistSkins, settings::indexKey(static_cast<int>(i)),
                        set[i].name);
        writeColors(store, set[i]);
    }
    settings::put(store, keys::SchemeName, skinName);
}

void writeFactorySet(SettingsStore& store) {
    writeSet(store, factorySet(), kDefaultName);
}

std::string storedName(const SettingsStore& store, std::string_view def) {
    return settings::getOr(store, keys::SchemeName, def);
}

}  // namespace schemes

ColorScheme ApplyScheme(SettingsStore& store, std::string_view requested) {
    std::string name = schemes::storableName(requested);
    const std::string section = schemes::sectionOf(name);
    if (settings::getOr(store, keys::SchemeBackColor.in(section), -1) == -1) {
        if (schemes::readSet(store).empty()) schemes::writeFactorySet(store);
        name = schemes::kDefaultName;
    }
    return schemes::readColors(store, name, schemes::defaultScheme());
}

RowPaint rowPaint(const ColorScheme& scheme, bool selected, bool dropTarget, bool playing) {
    RowPaint p;
    if (selected) {
        p.fill = true;
        p.fillColor = scheme.selectedColor;
    } else if (dropTarget) {
        p.insertionMark = true;
        p.markColor = kInsertionMarkColor;
    } else {
        p.fill = true;
        p.fillColor = scheme.backColor;
    }
    p.textColor = playing ? scheme.textFocusedColor : scheme.textColor;
    return p;
}

}  // namespace orvalis
