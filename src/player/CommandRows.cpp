#include "player/CommandRows.h"

#include <array>

#include "player/ContextMenu.h"

namespace orvalis {

namespace {

using C = CommandId;

// The rules of the menu items' check marks and greyed state.
// clang-format off
bool loaded(const MenuState& s) { return s.loaded; }
bool videoLoaded(const MenuState& s) { return s.loaded && s.hasVideo; }
bool windowed(const MenuState& s) { return !s.fullScreen && !s.maximized; }
bool fullScreenOnly(const MenuState& s) { return s.fullScreen && !s.maximized; }
bool maximized(const MenuState& s) { return s.maximized; }
bool mainWindowShown(const MenuState& s) { return s.mainWindowShown; }
bool playlistShown(const MenuState& s) { return s.playlistShown; }
bool alwaysOnTop(const MenuState& s) { return s.alwaysOnTop; }
bool keepAspect(const MenuState& s) { return s.keepAspect; }
bool repeatItem(const MenuState& s) { return s.repeatItem; }
bool muted(const MenuState& s) { return s.muted; }
bool captionSmoothing(const MenuState& s) { return s.captionSmoothing; }
bool captionsLoaded(const MenuState& s) { return s.captionsLoaded; }
bool captionsHidden(const MenuState& s) { return !s.showCaption; }
bool severalLanguages(const MenuState& s) { return s.captionsLoaded && s.captionLanguages > 1; }
bool ignoreStyle(const MenuState& s) { return s.ignoreSubtitleStyle; }
bool twoLanguages(const MenuState& s) { return s.twoLanguages; }
bool firstDrive(const MenuState& s) { return !s.drives.empty(); }
bool secondDrive(const MenuState& s) { return s.drives.size() >= 2; }
// The zoom last chosen, checked while the window is neither full screen nor maximized.
template <int code>
bool zoomed(const MenuState& s) { return windowed(s) && s.zoomCode == code; }

constexpr std::array kCommands = {
    CommandInfo{C::OpenFile, "open-file", "파일 열기(&O)..."},
    CommandInfo{C::OpenUrl, "open-url", "인터넷 파일 열기(&U)..."},
    CommandInfo{C::OpenCaptionFile, "open-caption-file", "자막 파일 열기...", nullptr, &loaded},
    CommandInfo{C::CloseFile, "close-file", "파일 닫기(&E)", nullptr, &loaded},
    CommandInfo{C::FullScreen, "full-screen", "전체화면 보기(&M)", &fullScreenOnly},
    CommandInfo{C::Maximized, "maximized", "최대화면 보기(&R)", &maximized},
    CommandInfo{C::PlaylistWindow, "playlist-window", "재생목록창 보기(&L)", &playlistShown, &mainWindowShown},
    CommandInfo{C::KeepAspect, "keep-aspect", "화면 비율 유지", &keepAspect, &windowed},
    CommandInfo{C::AlwaysOnTop, "always-on-top", "항상 최상위 윈도우로(&T)", &alwaysOnTop},
    CommandInfo{C::BookmarkToggle, "bookmark-toggle", "현재 위치 북마크에 추가/삭제"},
    CommandInfo{C::BookmarkPrevious, "bookmark-previous", "이전 북마크 위치로 이동"},
    CommandInfo{C::BookmarkNext, "bookmark-next", "다음 북마크 위치로 이동"},
    CommandInfo{C::BookmarkClearAll, "bookmark-clear-all", "북마크 모두 삭제"},
    CommandInfo{C::TransportBar, "transport-bar", "콘트롤패널 보기/감추기"},
    CommandInfo{C::PreviousItem, "previous-item", "이전 항목 재생"},
    CommandInfo{C::NextItem, "next-item", "다음 항목 재생"},
    CommandInfo{C::GoToStart, "go-to-start", "맨 처음으로 이동"},
    CommandInfo{C::GoToEnd, "go-to-end", "끝 부분으로 이동"},
    CommandInfo{C::GoToRepeatStart, "go-to-repeat-start", "반복 구간 시작 위치로 이동"},
    CommandInfo{C::JumpBack, "jump-back", "10초 뒤로 이동"},
    CommandInfo{C::JumpForward, "jump-forward", "10초 앞으로 이동"},
    CommandInfo{C::JumpBackLarge, "jump-back-large", "60초 뒤로 이동"},
    CommandInfo{C::JumpForwardLarge, "jump-forward-large", "60초 앞으로 이동"},
    CommandInfo{C::RepeatItem, "repeat-item", "현재 항목 계속 반복", &repeatItem},
    CommandInfo{C::RepeatSetStart, "repeat-set-start", "반복 구간 시작"},
    CommandInfo{C::RepeatSetEnd, "repeat-set-end", "반복 구간 종료"},
    CommandInfo{C::RepeatClearStart, "repeat-clear-start", "시작 구간 해제"},
    CommandInfo{C::RepeatClearEnd, "repeat-clear-end", "종료 구간 해제"},
    CommandInfo{C::RepeatClear, "repeat-clear", "반복 구간 해제"},
    CommandInfo{C::RateHalf, "rate-half", "현재 속도 x 0.5배 느린 재생"},
    CommandInfo{C::RateDouble, "rate-double", "현재 속도 x 2.0배 빠른 재생"},
    CommandInfo{C::RateNormal, "rate-normal", "원래 속도 (1.0배속) 재생"},
    CommandInfo{C::CaptionSmoothing, "caption-smoothing", "자막 글꼴 부드럽게", &captionSmoothing},
    CommandInfo{C::CaptionBold, "caption-bold", "자막 글꼴 굵게 표시"},
    CommandInfo{C::CaptionLarger, "caption-larger", "자막 크기 확대"},
    CommandInfo{C::CaptionSmaller, "caption-smaller", "자막 크기 축소"},
    CommandInfo{C::CaptionUp, "caption-up", "자막 위치 위로 이동"},
    CommandInfo{C::CaptionDown, "caption-down", "자막 위치 아래로 이동"},
    CommandInfo{C::CaptionAreaLarger, "caption-area-larger", "자막 영역 크기 증가"},
    CommandInfo{C::CaptionAreaSmaller, "caption-area-smaller", "자막 영역 크기 감소"},
    CommandInfo{C::CaptionSyncLater, "caption-sync-later", "자막 싱크 0.5초 느리게"},
    CommandInfo{C::CaptionSyncEarlier, "caption-sync-earlier", "자막 싱크 0.5초 빠르게"},
    CommandInfo{C::CaptionSyncReset, "caption-sync-reset", "자막 싱크 원래대로"},
    CommandInfo{C::CaptionHide, "caption-hide", "자막 감추기", &captionsHidden, &captionsLoaded},
    CommandInfo{C::CaptionFileView, "caption-file-view", "자막 파일 보기", nullptr, &captionsLoaded},
    CommandInfo{C::CaptionLanguage, "caption-language", "자막 언어 변환", nullptr, &severalLanguages},
    CommandInfo{C::BrightnessUp, "brightness-up", "밝기 증가"},
    CommandInfo{C::BrightnessReset, "brightness-reset", "밝기 초기값"},
    CommandInfo{C::BrightnessDown, "brightness-down", "밝기 감소"},
    CommandInfo{C::ContrastUp, "contrast-up", "대비 증가"},
    CommandInfo{C::ContrastReset, "contrast-reset", "대비 초기값"},
    CommandInfo{C::ContrastDown, "contrast-down", "대비 감소"},
    CommandInfo{C::SaturationUp, "saturation-up", "색상 증가"},
    CommandInfo{C::SaturationReset, "saturation-reset", "색상 초기값"},
    CommandInfo{C::SaturationDown, "saturation-down", "색상 감소"},
    CommandInfo{C::SaveFrame, "save-frame", "현재 영상 이미지로 저장", nullptr, &videoLoaded},
    CommandInfo{C::FullScreenSize, "full-screen-size", "전체/기본 크기(&1)"},
    CommandInfo{C::Zoom05, "zoom-0.5", "0.5 배 크기(&2)", &zoomed<2>},
    CommandInfo{C::Zoom10, "zoom-1.0", "1.0 배 크기(&3)", &zoomed<3>},
    CommandInfo{C::Zoom15, "zoom-1.5", "1.5 배 크기(&4)", &zoomed<4>},
    CommandInfo{C::Zoom20, "zoom-2.0", "2.0 배 크기(&5)", &zoomed<5>},
    CommandInfo{C::PanScanLess, "pan-scan-less", "팬&&스캔 크기 감소"},
    CommandInfo{C::PanScanMore, "pan-scan-more", "팬&&스캔 크기 증가"},
    CommandInfo{C::PanScanNone, "pan-scan-none", "팬&&스캔 크기 없음"},
    CommandInfo{C::AspectOriginal, "aspect-original", "원래 비율", nullptr, &windowed},
    CommandInfo{C::Aspect4x3, "aspect-4x3", "4 : 3  모드", nullptr, &windowed},
    CommandInfo{C::Aspect16x9, "aspect-16x9", "16 : 9 모드", nullptr, &windowed},
    CommandInfo{C::VolumeUp, "volume-up", "음량 증가"},
    CommandInfo{C::VolumeDown, "volume-down", "음량 감소"},
    CommandInfo{C::Mute, "mute", "음 소거", &muted},
    CommandInfo{C::SystemVolume, "system-volume", "시스템 볼륨 조절"},
    CommandInfo{C::Drive1Open, "drive1-open", "CD 드라이브 #1 열기(&5)", nullptr, &firstDrive},
    CommandInfo{C::Drive1Close, "drive1-close", "CD 드라이브 #1 닫기(&6)", nullptr, &firstDrive},
    CommandInfo{C::Drive2Open, "drive2-open", "CD 드라이브 #2 열기(&7)", nullptr, &secondDrive},
    CommandInfo{C::Drive2Close, "drive2-close", "CD 드라이브 #2 닫기(&8)", nullptr, &secondDrive},
    CommandInfo{C::About, "about", "Orvalis 플레이어(&A)..."},
    CommandInfo{C::Settings, "settings", "환경 설정(&C)..."},
    CommandInfo{C::ShutdownScheduler, "shutdown-scheduler", "취침 예약 기능(&Z)..."},
    CommandInfo{C::Exit, "exit", "프로그램 종료(&X)"},
    // Outside the main menu.
    CommandInfo{C::AboutSystemMenu, "about-system-menu", "Orvalis 정보(&A)..."},
    CommandInfo{C::HideMainWindow, "hide-main-window", "메인창 숨기기(&V)"},
    CommandInfo{C::PlayPause, "play-pause", ""},
    CommandInfo{C::Play, "play", ""},
    CommandInfo{C::Pause, "pause", ""},
    CommandInfo{C::Stop, "stop", ""},
    CommandInfo{C::CaptionBorder, "caption-border", ""},
    CommandInfo{C::EscapeMinimise, "escape-minimise", ""},
    CommandInfo{C::QuickMinimise, "quick-minimise", ""},
    CommandInfo{C::GrowWindow, "grow-window", ""},
    CommandInfo{C::ShrinkWindow, "shrink-window", ""},
    CommandInfo{C::PictureSliders, "picture-sliders", ""},
    CommandInfo{C::CaptionIgnoreStyle, "caption-ignore-style", "자막 스타일 무시", &ignoreStyle},
    CommandInfo{C::CaptionTwoLanguages, "caption-two-languages", "두 언어 자막 함께 보기", &twoLanguages, &captionsLoaded},
};
// clang-format on

}  // namespace

std::optional<int> filterIndexOf(int commandNumber) {
    int index = commandNumber - kFilterCommandFirst;
    if (index < 0 || index >= kFilterCommandCount) return std::nullopt;
    return index;
}

namespace {

using E = text::Encoding;
constexpr CaptionEncodingChoice kCaptionEncodings[] = {
    {std::nullopt, "자동 감지(&A)"}, {E::Utf8, "UTF-8"},
    {E::Cp949, "한국어 (CP949)"},    {E::ShiftJis, "일본어 (Shift-JIS)"},
    {E::EucJp, "일본어 (EUC-JP)"},   {E::Gb18030, "중국어 간체 (GB18030)"},
    {E::Big5, "중국어 번체 (Big5)"}, {E::Windows1252, "서유럽어 (Windows-1252)"},
};

}  // namespace

std::span<const CaptionEncodingChoice> captionEncodingChoices() {
    return kCaptionEncodings;
}

std::optional<int> captionEncodingIndexOf(int commandNumber) {
    const int index = commandNumber - kCaptionEncodingCommandFirst;
    if (index < 0 || index >= static_cast<int>(std::size(kCaptionEncodings))) return std::nullopt;
    return index;
}

std::span<const CommandInfo> allCommands() {
    return kCommands;
}

std::optional<CommandId> commandByNumber(int number) {
    for (const auto& c : kCommands) {
        if (commandNumber(c.id) == number) return c.id;
    }
    return std::nullopt;
}

std::optional<CommandId> commandByName(std::string_view name) {
    for (const auto& c : kCommands) {
        if (c.name == name) return c.id;
    }
    return std::nullopt;
}

const CommandInfo* findCommand(CommandId id) {
    for (const auto& c : kCommands) {
        if (c.id == id) return &c;
    }
    return nullptr;
}

std::string_view commandLabel(CommandId id) {
    const CommandInfo* info = findCommand(id);
    return info ? info->label : std::string_view{};
}

}  // namespace orvalis
