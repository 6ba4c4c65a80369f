#include "player/ContextMenu.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "player/KeyMap.h"
#include "player/Shortcuts.h"

namespace orvalis {

namespace {

using C = CommandId;

struct Entry {
    enum Kind { Item, Separator, Open, Close } kind;
    CommandId id{};
    const char* label = nullptr;  // of a submenu
};

constexpr Entry item(C c) {
    return {Entry::Item, c};
}
constexpr Entry submenu(const char* label) {
    return {Entry::Open, {}, label};
}
constexpr Entry kSeparator{Entry::Separator};
constexpr Entry kEnd{Entry::Close};

// The menu's layout. Every command with a menu label appears exactly once.
// clang-format off
constexpr std::array kLayout = {
    item(C::OpenFile), item(C::OpenUrl), item(C::OpenCaptionFile), item(C::CloseFile),
    kSeparator,
    item(C::FullScreen), item(C::Maximized), item(C::PlaylistWindow), item(C::TransportBar),
    item(C::KeepAspect), item(C::AlwaysOnTop),
    kSeparator,
    submenu("재생(&P)"),
        item(C::PreviousItem), item(C::NextItem),
        kSeparator,
        item(C::GoToStart), item(C::GoToEnd), item(C::GoToRepeatStart),
        kSeparator,
        item(C::JumpBack), item(C::JumpForward), item(C::JumpBackLarge), item(C::JumpForwardLarge),
        kSeparator,
        item(C::RepeatItem), item(C::RepeatSetStart), item(C::RepeatSetEnd),
        item(C::RepeatClearStart), item(C::RepeatClearEnd), item(C::RepeatClear),
        kSeparator,
        item(C::RateHalf), item(C::RateDouble), item(C::RateNormal),
    kEnd,
    submenu("화면(&V)"),
        item(C::FullScreenSize), item(C::Zoom05), item(C::Zoom10), item(C::Zoom15), item(C::Zoom20),
        kSeparator,
        item(C::PanScanLess), item(C::PanScanMore), item(C::PanScanNone),
        kSeparator,
        item(C::AspectOriginal), item(C::Aspect4x3), item(C::Aspect16x9),
        kSeparator,
        item(C::BrightnessUp), item(C::BrightnessReset), item(C::BrightnessDown),
        kSeparator,
        item(C::ContrastUp), item(C::ContrastReset), item(C::ContrastDown),
        kSeparator,
        item(C::SaturationUp), item(C::SaturationReset), item(C::SaturationDown),
        kSeparator,
        item(C::SaveFrame),
    kEnd,
    // The filter submenu goes here, at kFilterMenuPosition.
    submenu(kCaptionMenuLabel),
        item(C::CaptionSmoothing), item(C::CaptionBold),
        kSeparator,
        item(C::CaptionLarger), item(C::CaptionSmaller), item(C::CaptionUp), item(C::CaptionDown),
        item(C::CaptionAreaLarger), item(C::CaptionAreaSmaller),
        kSeparator,
        item(C::CaptionSyncLater), item(C::CaptionSyncEarlier), item(C::CaptionSyncReset),
        kSeparator,
        item(C::CaptionHide), item(C::CaptionFileView), item(C::CaptionLanguage),
        item(C::CaptionTwoLanguages), item(C::CaptionIgnoreStyle),
    kEnd,
    submenu("북마크(&B)"),
        item(C::BookmarkToggle), item(C::BookmarkPrevious), item(C::BookmarkNext),
        kSeparator,
        item(C::BookmarkClearAll),
    kEnd,
    submenu("음량(&N)"),
        item(C::VolumeUp), item(C::VolumeDown), item(C::Mute),
        kSeparator,
        item(C::SystemVolume),
    kEnd,
    submenu("CD 드라이브(&D)"),
        item(C::Drive1Open), item(C::Drive1Close),
        kSeparator,
        item(C::Drive2Open), item(C::Drive2Close),
    kEnd,
    kSeparator,
    item(C::Settings), item(C::ShutdownScheduler), item(C::About),
    kSeparator,
    item(C::Exit),
};
// clang-format on

// A name shown in a menu: "&" would mark a mnemonic, "&&" shows it.
std::string menuText(const std::string& name) {
    std::string out;
    for (char c : name) {
        if (c == '&') out += '&';
        out += c;
    }
    return out;
}

std::string jumpLabel(int setting, bool forward, CommandId id) {
    return jumpStepText(setting) + (forward ? "초 앞으로 이동\t" : "초 뒤로 이동\t") +
           shortcutText(id);
}

// The drive's items are numbered 5 to 8 in their mnemonic, as their function keys are.
std::string driveLabel(const std::string& drive, bool open, int n, CommandId id) {
    return menuText(drive) + (open ? ": CDROM 열기(&" : ": CDROM 닫기(&") + std::to_string(n) +
           ")\t" + shortcutText(id);
}

// The exit item names its keys without spaces: "Alt+F4".
std::string compact(std::string keys) {
    for (std::size_t at; (at = keys.find(" + ")) != std::string::npos;) keys.replace(at, 3, "+");
    return keys;
}

// Live labels: the jump steps, the full-screen and exit texts, the drive names.
void setLabel(MenuItem& m, const MenuState& s) {
    const bool full = s.fullScreen || s.maximized;
    const auto& drives = s.drives;
    const C id = static_cast<C>(m.command);
    switch (id) {
        case C::JumpBack:
        case C::JumpBackLarge:
        case C::JumpForward:
        case C::JumpForwardLarge: {
            const bool large = id == C::JumpBackLarge || id == C::JumpForwardLarge;
            const bool forward = id == C::JumpForward || id == C::JumpForwardLarge;
            m.label = jumpLabel(large ? s.jumps.intervalCtrl : s.jumps.interval, forward, id);
            break;
        }
        case C::FullScreen:
            if (full) m.label = "일반화면 보기(&M)\t" + shortcutText(id);
            break;
        case C::Exit:
            // Out of full screen the item has always named Esc too, whatever "Esc Key" makes
            // of the key there.
            m.label = std::string(commandLabel(id)) + "\t" + compact(shortcutText(id)) +
                      (full ? "" : "/Esc");
            return;
        // Without a drive the item keeps its plain label (and is disabled).
        case C::Drive1Open:
        case C::Drive1Close:
        case C::Drive2Open:
        case C::Drive2Close: {
            const bool second = id == C::Drive2Open || id == C::Drive2Close;
            const bool open = id == C::Drive1Open || id == C::Drive2Open;
            if (drives.size() > (second ? 1u : 0u))
                m.label = driveLabel(drives[second ? 1 : 0], open, (second ? 7 : 5) + !open, id);
            break;
        }
        default:
            break;
    }
    // Esc runs what the options and the screen mode make of it: the item it runs says so.
    const KeyAction esc = mapKey(keys::Escape, {}, KeyContext{s.escKey, full});
    if (esc.kind == KeyAction::Kind::Command && esc.command == id) m.label += "/Esc";
}

void setChecks(MenuItem& m, const MenuState& s) {
    const CommandInfo* info = findCommand(static_cast<C>(m.command));
    if (!info) return;
    m.checkable = info->checked != nullptr;
    m.checked = m.checkable && info->checked(s);
    m.enabled = !info->enabled || info->enabled(s);
}

MenuItem ofKind(MenuItem::Kind kind) {
    MenuItem m;
    m.kind = kind;
    return m;
}

MenuItem filterMenu(const std::vector<FilterInfo>& filters) {
    MenuItem menu = ofKind(MenuItem::Kind::Submenu);
    menu.label = kFilterMenuLabel;
    for (int i = 0; i < static_cast<int>(filters.size()) && i < kFilterCommandCount; ++i) {
        const FilterInfo& f = filters[static_cast<std::size_t>(i)];
        MenuItem m;
        m.command = filterCommand(i);
        m.label = menuText(f.name) + " (&" + std::to_string(i + 1) + ")";
        m.enabled = f.hasProperties;
        menu.children.push_back(std::move(m));
    }
    return menu;
}

// The encodings a caption file can be read in again, the one in force checked.
MenuItem captionEncodingMenu(const MenuState& s) {
    MenuItem menu = ofKind(MenuItem::Kind::Submenu);
    menu.label = kCaptionEncodingMenuLabel;
    const auto choices = captionEncodingChoices();
    for (int i = 0; i < static_cast<int>(choices.size()); ++i) {
        const CaptionEncodingChoice& c = choices[static_cast<std::size_t>(i)];
        MenuItem m;
        m.command = captionEncodingCommand(i);
        m.label = std::string(c.label);
        m.checkable = true;
        m.enabled = s.captionsLoaded;
        if (!c.encoding) {
            m.checked = s.captionsLoaded && !s.captionEncodingChosen;
            if (m.checked) m.label += " : " + std::string(text::encodingName(s.captionEncoding));
        } else {
            m.checked =
                s.captionsLoaded && s.captionEncodingChosen && s.captionEncoding == *c.encoding;
        }
        menu.children.push_back(std::move(m));
    }
    return menu;
}

}  // namespace

std::vector<MenuItem> buildContextMenu(const MenuState& state) {
    std::vector<MenuItem> top;
    std::vector<std::vector<MenuItem>*> open{&top};
    for (const Entry& e : kLayout) {
        std::vector<MenuItem>& into = *open.back();
        switch (e.kind) {
            case Entry::Item: {
                MenuItem m;
                m.command = commandNumber(e.id);
                m.label = menuLabel(e.id);
                setLabel(m, state);
                setChecks(m, state);
                into.push_back(std::move(m));
                break;
            }
            case Entry::Separator:
                into.push_back(ofKind(MenuItem::Kind::Separator));
                break;
            case Entry::Open: {
                MenuItem m = ofKind(MenuItem::Kind::Submenu);
                m.label = e.label;
                into.push_back(std::move(m));
                open.push_back(&into.back().children);
                break;
            }
            case Entry::Close:
                open.pop_back();
                break;
        }
    }
    for (MenuItem& m : top) {
        if (m.kind != MenuItem::Kind::Submenu || m.label != kCaptionMenuLabel) continue;
        m.children.push_back(ofKind(MenuItem::Kind::Separator));
        m.children.push_back(captionEncodingMenu(state));
    }
    if (!state.filters.empty()) {
        auto at = top.begin() + std::min<std::ptrdiff_t>(kFilterMenuPosition, std::ssize(top));
        top.insert(at, filterMenu(state.filters));
    }
    return top;
}

const MenuItem* findMenuItem(const std::vector<MenuItem>& menu, int command) {
    for (const MenuItem& m : menu) {
        if (m.kind == MenuItem::Kind::Command && m.command == command) return &m;
        if (m.kind == MenuItem::Kind::Submenu) {
            if (const MenuItem* found = findMenuItem(m.children, command)) return found;
        }
    }
    return nullptr;
}

}  // namespace orvalis
