#include "player/ContextMenu.h"

#include <algorithm>
#include <array>
#include <iterator>

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

std::string jumpLabel(int setting, bool forward, const char* key) {
    return jumpStepText(setting) + (forward ? "초 앞으로 이동\t" : "초 뒤로 이동\t") + key;
}

// The drive's items are numbered 5 to 8 both in their mnemonic and their function key.
std::string driveLabel(const std::string& drive, bool open, int n) {
    std::string number = std::to_string(n);
    return menuText(drive) + (open ? ": CDROM 열기(&" : ": CDROM 닫기(&") + number + ")\tF" +
           number;
}

void setLabel(MenuItem& m, const MenuState& s) {
    const bool full = s.fullScreen || s.maximized;
    const auto& drives = s.drives;
    switch (static_cast<C>(m.command)) {
        case C::JumpBack:
            m.label = jumpLabel(s.jumps.interval, false, "Left");
            break;
        case C::JumpForward:
            m.label = jumpLabel(s.jumps.interval, true, "Right");
            break;
        case C::JumpBackLarge:
            m.label = jumpLabel(s.jumps.intervalCtrl, false, "Ctrl + Left");
            break;
        case C::JumpForwardLarge:
            m.label = jumpLabel(s.jumps.intervalCtrl, true, "Ctrl + Right");
            break;
        case C::FullScreen:
            m.label = full ? "일반화면 보기(&M)\tEnter/Esc" : "전체화면 보기(&M)\tEnter";
            break;
        case C::Exit:
            m.label = full ? "프로그램 종료(&X)\tAlt+F4" : "프로그램 종료(&X)\tAlt+F4/Esc";
            break;
        // Without a drive the item keeps its plain label (and is disabled).
        case C::Drive1Open:
            if (drives.size() >= 1) m.label = driveLabel(drives[0], true, 5);
            break;
        case C::Drive1Close:
            if (drives.size() >= 1) m.label = driveLabel(drives[0], false, 6);
            break;
        case C::Drive2Open:
            if (drives.size() >= 2) m.label = driveLabel(drives[1], true, 7);
            break;
        case C::Drive2Close:
            if (drives.size() >= 2) m.label = driveLabel(drives[1], false, 8);
            break;
        default:
            break;
    }
}

void setChecks(MenuItem& m, const MenuState& s) {
    const bool full = s.fullScreen || s.maximized;
    auto check = [&m](bool on) {
        m.checkable = true;
        m.checked = on;
    };
    auto zoom = [&](int code) { check(!full && s.zoomCode == code); };
    switch (static_cast<C>(m.command)) {
        case C::CloseFile:
        case C::OpenCaptionFile:
            m.enabled = s.loaded;
            break;
        case C::PlaylistWindow:
            check(s.playlistShown);
            m.enabled = s.mainWindowShown;
            break;
        case C::AlwaysOnTop:
            check(s.alwaysOnTop);
            break;
        case C::KeepAspect:
            check(s.keepAspect);
            m.enabled = !full;
            break;
        case C::RepeatItem:
            check(s.repeatItem);
            break;
        case C::CaptionSmoothing:
            check(s.captionSmoothing);
            break;
        case C::Mute:
            check(s.muted);
            break;
        case C::CaptionHide:
            check(!s.showCaption);
            m.enabled = s.captionsLoaded;
            break;
        case C::CaptionFileView:
            m.enabled = s.captionsLoaded;
            break;
        case C::CaptionLanguage:
            m.enabled = s.captionsLoaded && s.captionLanguages > 1;
            break;
        case C::CaptionIgnoreStyle:
            check(s.ignoreSubtitleStyle);
            break;
        case C::CaptionTwoLanguages:
            check(s.twoLanguages);
            m.enabled = s.captionsLoaded;
            break;
        case C::Zoom05:
            zoom(2);
            break;
        case C::Zoom10:
            zoom(3);
            break;
        case C::Zoom15:
            zoom(4);
            break;
        case C::Zoom20:
            zoom(5);
            break;
        case C::FullScreen:
            check(s.fullScreen && !s.maximized);
            break;
        case C::Maximized:
            check(s.maximized);
            break;
        case C::AspectOriginal:
        case C::Aspect4x3:
        case C::Aspect16x9:
            m.enabled = !full;
            break;
        case C::SaveFrame:
            m.enabled = s.loaded && s.hasVideo;
            break;
        case C::Drive1Open:
        case C::Drive1Close:
            m.enabled = !s.drives.empty();
            break;
        case C::Drive2Open:
        case C::Drive2Close:
            m.enabled = s.drives.size() >= 2;
            break;
        default:
            break;
    }
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
                m.label = std::string(commandLabel(e.id));
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
