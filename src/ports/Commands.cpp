#include "ports/Commands.h"

#include <array>

namespace orvalis {

namespace {

using C = CommandId;

constexpr std::array kCommands = {
    CommandInfo{C::OpenFile, "open-file", "파일 열기(&O)...\tF3"},
    CommandInfo{C::OpenUrl, "open-url", "인터넷 파일 열기(&U)...\tU"},
    CommandInfo{C::OpenCaptionFile, "open-caption-file", "자막 파일 열기...\tCtrl + F3"},
    CommandInfo{C::CloseFile, "close-file", "파일 닫기(&E)\tF4"},
    CommandInfo{C::FullScreen, "full-screen", "전체화면 보기(&M)\tEnter"},
    CommandInfo{C::Maximized, "maximized", "최대화면 보기(&R)\tCtrl + Enter"},
    CommandInfo{C::PlaylistWindow, "playlist-window", "재생목록창 보기(&L)\tF12 (휠 클릭)"},
    CommandInfo{C::KeepAspect, "keep-aspect", "화면 비율 유지\tO"},
    CommandInfo{C::AlwaysOnTop, "always-on-top", "항상 최상위 윈도우로(&T)\tT"},
    CommandInfo{C::BookmarkToggle, "bookmark-toggle", "현재 위치 북마크에 추가/삭제\tB"},
    CommandInfo{C::BookmarkPrevious, "bookmark-previous", "이전 북마크 위치로 이동"},
    CommandInfo{C::BookmarkNext, "bookmark-next", "다음 북마크 위치로 이동"},
    CommandInfo{C::BookmarkClearAll, "bookmark-clear-all", "북마크 모두 삭제\tShift + B"},
    CommandInfo{C::TransportBar, "transport-bar", "콘트롤패널 보기/감추기\tInsert"},
    CommandInfo{C::PreviousItem, "previous-item", "이전 항목 재생\tPageUp"},
    CommandInfo{C::NextItem, "next-item", "다음 항목 재생\tPageDown"},
    CommandInfo{C::GoToStart, "go-to-start", "맨 처음으로 이동\tHome"},
    CommandInfo{C::GoToEnd, "go-to-end", "끝 부분으로 이동\tEnd"},
    CommandInfo{C::GoToRepeatStart, "go-to-repeat-start",
                "반복 구간 시작 위치로 이동\tShift + Home"},
    CommandInfo{C::JumpBack, "jump-back", "10초 뒤로 이동\tLeft"},
    CommandInfo{C::JumpForward, "jump-forward", "10초 앞으로 이동\tRight"},
    CommandInfo{C::JumpBackLarge, "jump-back-large", "60초 뒤로 이동\tCtrl + Left"},
    CommandInfo{C::JumpForwardLarge, "jump-forward-large", "60초 앞으로 이동\tCtrl + Right"},
    CommandInfo{C::RepeatItem, "repeat-item", "현재 항목 계속 반복\tR"},
    CommandInfo{C::RepeatSetStart, "repeat-set-start", "반복 구간 시작\t("},
    CommandInfo{C::RepeatSetEnd, "repeat-set-end", "반복 구간 종료\t)"},
    CommandInfo{C::RepeatClearStart, "repeat-clear-start", "시작 구간 해제\tShift + ("},
    CommandInfo{C::RepeatClearEnd, "repeat-clear-end", "종료 구간 해제\tShift + )"},
    CommandInfo{C::RepeatClear, "repeat-clear", "반복 구간 해제\t8,  Ctrl + \\"},
    CommandInfo{C::RateHalf, "rate-half", "현재 속도 x 0.5배 느린 재생\tCtrl + <"},
    CommandInfo{C::RateDouble, "rate-double", "현재 속도 x 2.0배 빠른 재생\tCtrl + >"},
    CommandInfo{C::RateNormal, "rate-normal", "원래 속도 (1.0배속) 재생\tCtrl + /"},
    CommandInfo{C::CaptionSmoothing, "caption-smoothing", "자막 글꼴 부드럽게"},
    CommandInfo{C::CaptionBold, "caption-bold", "자막 글꼴 굵게 표시"},
    CommandInfo{C::CaptionLarger, "caption-larger", "자막 크기 확대\t+"},
    CommandInfo{C::CaptionSmaller, "caption-smaller", "자막 크기 축소\t-"},
    CommandInfo{C::CaptionUp, "caption-up", "자막 위치 위로 이동\tShift + Up"},
    CommandInfo{C::CaptionDown, "caption-down", "자막 위치 아래로 이동\tShift + Down"},
    CommandInfo{C::CaptionAreaLarger, "caption-area-larger", "자막 영역 크기 증가\tAlt + WheelUp"},
    CommandInfo{C::CaptionAreaSmaller, "caption-area-smaller",
                "자막 영역 크기 감소\tAlt + WheelDown"},
    CommandInfo{C::CaptionSyncLater, "caption-sync-later", "자막 싱크 0.5초 느리게\t < (,)"},
    CommandInfo{C::CaptionSyncEarlier, "caption-sync-earlier", "자막 싱크 0.5초 빠르게\t > (.)"},
    CommandInfo{C::CaptionSyncReset, "caption-sync-reset", "자막 싱크 원래대로\t /"},
    CommandInfo{C::CaptionHide, "caption-hide", "자막 감추기\tH"},
    CommandInfo{C::CaptionFileView, "caption-file-view", "자막 파일 보기\tCtrl + M"},
    CommandInfo{C::CaptionLanguage, "caption-language", "자막 언어 변환\tCtrl + L"},
    CommandInfo{C::BrightnessUp, "brightness-up", "밝기 증가\tCtrl + E"},
    CommandInfo{C::BrightnessReset, "brightness-reset", "밝기 초기값\tCtrl + W"},
    CommandInfo{C::BrightnessDown, "brightness-down", "밝기 감소\tCtrl + Q"},
    CommandInfo{C::ContrastUp, "contrast-up", "대비 증가\tCtrl + D"},
    CommandInfo{C::ContrastReset, "contrast-reset", "대비 초기값\tCtrl + S"},
    CommandInfo{C::ContrastDown, "contrast-down", "대비 감소\tCtrl + A"},
    CommandInfo{C::SaturationUp, "saturation-up", "색상 증가\tCtrl + C"},
    CommandInfo{C::SaturationReset, "saturation-reset", "색상 초기값\tCtrl + X"},
    CommandInfo{C::SaturationDown, "saturation-down", "색상 감소\tCtrl + Z"},
    CommandInfo{C::SaveFrame, "save-frame", "현재 영상 이미지로 저장\tCtrl + F"},
    CommandInfo{C::FullScreenSize, "full-screen-size", "전체/기본 크기(&1)\t1"},
    CommandInfo{C::Zoom05, "zoom-0.5", "0.5 배 크기(&2)\t2"},
    CommandInfo{C::Zoom10, "zoom-1.0", "1.0 배 크기(&3)\t3"},
    CommandInfo{C::Zoom15, "zoom-1.5", "1.5 배 크기(&4)\t4"},
    CommandInfo{C::Zoom20, "zoom-2.0", "2.0 배 크기(&5)\t5"},
    CommandInfo{C::PanScanLess, "pan-scan-less", "팬&&스캔 크기 감소\t["},
    CommandInfo{C::PanScanMore, "pan-scan-more", "팬&&스캔 크기 증가\t]"},
    CommandInfo{C::PanScanNone, "pan-scan-none", "팬&&스캔 크기 없음\t\\"},
    CommandInfo{C::AspectOriginal, "aspect-original", "원래 비율\tCtrl + F5"},
    CommandInfo{C::Aspect4x3, "aspect-4x3", "4 : 3  모드\tCtrl + F6"},
    CommandInfo{C::Aspect16x9, "aspect-16x9", "16 : 9 모드\tCtrl + F7"},
    CommandInfo{C::VolumeUp, "volume-up", "음량 증가\tUp"},
    CommandInfo{C::VolumeDown, "volume-down", "음량 감소\tDown"},
    CommandInfo{C::Mute, "mute", "음 소거\tM"},
    CommandInfo{C::SystemVolume, "system-volume", "시스템 볼륨 조절\tCtrl + V"},
    CommandInfo{C::Drive1Open, "drive1-open", "CD 드라이브 #1 열기(&5)\tF5"},
    CommandInfo{C::Drive1Close, "drive1-close", "CD 드라이브 #1 닫기(&6)\tF6"},
    CommandInfo{C::Drive2Open, "drive2-open", "CD 드라이브 #2 열기(&7)\tF7"},
    CommandInfo{C::Drive2Close, "drive2-close", "CD 드라이브 #2 닫기(&8)\tF8"},
    CommandInfo{C::About, "about", "Orvalis 플레이어(&A)...\tF1"},
    CommandInfo{C::Settings, "settings", "환경 설정(&C)...\tF2"},
    CommandInfo{C::ShutdownScheduler, "shutdown-scheduler", "취침 예약 기능(&Z)...\tCtrl + P"},
    CommandInfo{C::Exit, "exit", "프로그램 종료(&X)\tAlt + F4 / Esc"},
    // Outside the main menu.
    CommandInfo{C::AboutSystemMenu, "about-system-menu", "Orvalis 정보(&A)..."},
    CommandInfo{C::HideMainWindow, "hide-main-window", "메인창 숨기기(&V)\t 휠 클릭"},
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
    CommandInfo{C::CaptionIgnoreStyle, "caption-ignore-style", "자막 스타일 무시"},
    CommandInfo{C::CaptionTwoLanguages, "caption-two-languages",
                "두 언어 자막 함께 보기\tShift + L"},
};

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
