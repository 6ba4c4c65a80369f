#include "settings/SheetTables.h"

#include "base/SettingsKeys.h"
#include "settings/FileAssociations.h"

namespace orvalis {

ValueKind PageField::kind() const {
    switch (control) {
        case FieldControl::Text:
        case FieldControl::FontCombo:
            return ValueKind::Text;
        case FieldControl::FolderList:
            return ValueKind::List;
        default:
            return ValueKind::Number;
    }
}

int SheetPage::fieldIndex(std::string_view key) const {
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].key == key) return static_cast<int>(i);
    return -1;
}

int SheetPage::fieldIndexById(int id) const {
    if (id == 0) return -1;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].id == id) return static_cast<int>(i);
    return -1;
}

const PageButton* SheetPage::button(int id) const {
    for (const auto& b : buttons)
        if (b.id == id) return &b;
    return nullptr;
}

namespace {

using C = FieldControl;

constexpr const char* kPictureFilter =
    "그림 파일 (*.bmp;*.jpg;*.jpeg;*.png;*.gif)|*.bmp;*.jpg;*.jpeg;*.png;*.gif|모든 파일 (*.*)|*.*||";
// The sound is played by libmpv, so more than wave files will do.
constexpr const char* kSoundFilter =
    "소리 파일 (*.wav;*.mp3;*.ogg;*.wma)|*.wav;*.mp3;*.ogg;*.wma|모든 파일 (*.*)|*.*||";

// Reads a table row as it is written: store key and control first, the rest by name.
struct F {
    PageField f;
    // A field of a settings key: what the sheet reads when the key is missing and what its
    // reset sets come from the key's table.
    template <settings::Type T>
    F(const settings::Key<T>& key, FieldControl control) : F("", key.name, control) {
        f.section = std::string(key.section);
        if constexpr (T == settings::Type::Text) {
            f.readText = std::string(key.def(settings::Context::Sheet));
            f.resetText = std::string(key.def(settings::Context::SheetReset));
        } else {
            f.readNumber = key.def(settings::Context::Sheet);
            f.resetNumber = key.def(settings::Context::SheetReset);
        }
    }
    F(std::string_view section, std::string_view key, FieldControl control) {
        f.section = std::string(section);
        f.key = std::string(key);
        f.control = control;
    }
    F& id(int v) { return f.id = v, *this; }
    F& label(const char* v) { return f.label = v, *this; }
    F& file(const char* v) { return f.exportKey = v, *this; }
    F& keptByReset() { return f.resets = false, *this; }
    F& suffix(const char* v) { return f.suffix = v, *this; }
    F& group(const char* v) { return f.group = v, *this; }
    F& tip(const char* v) { return f.tooltip = v, *this; }
    F& choices(std::vector<Choice> v) { return f.choices = std::move(v), *this; }
    F& outOfRange(int v) { return f.outOfRange = v, *this; }
    F& browse(BrowseKind kind, int v, const char* tooltip = "") {
        f.browse = kind;
        f.browseId = v;
        f.browseTooltip = tooltip;
        return *this;
    }
    F& range(int lo, int hi) { return f.minimum = lo, f.maximum = hi, *this; }
    F& picturesWhenEmpty() { return f.picturesFolderWhenEmpty = true, *this; }
    F& spin() { return f.spin = true, *this; }
    F& dialog(const char* title, const char* filter = "") {
        f.browseTitle = title;
        f.browseFilter = filter;
        return *this;
    }
    F& sameRow() { return f.sameRow = true, *this; }
    F& beside(int choiceId) { return f.besideChoice = choiceId, *this; }
    F& grid(int columns) { return f.gridColumns = columns, *this; }
    F& indented() { return f.indented = true, *this; }
    operator PageField() const { return f; }
};

SheetPage makePage(int index, const char* tabText, int dialogId, const char* exportSection) {
    SheetPage p;
    p.index = index;
    p.tabText = tabText;
    p.dialogId = dialogId;
    p.exportSection = exportSection;
    return p;
}

EnableRule enabledWhen(std::string_view sourceKey, RuleCondition condition, int value,
                       std::vector<int> controls, bool offWhenDisabled = false) {
    EnableRule r;
    r.sourceKey = std::string(sourceKey);
    r.condition = condition;
    r.value = value;
    r.controls = std::move(controls);
    r.offWhenDisabled = offWhenDisabled;
    return r;
}

SheetPage generalPage() {
    auto tooltip = [](const settings::FlagKey& key, int id, const char* label, const char* file) {
        return F(key, C::Check).id(id).label(label).file(file);
    };
    SheetPage p = makePage(page::General, "일반 설정", 141, "General");
    // clang-format off
    p.fields = {
        F(keys::Interval, C::Number).id(1005).label("좌/우 방향키").suffix("초 앞/뒤로 이동").file("Interval"),
        F(keys::IntervalCtrl, C::Number).id(1006).label("Ctrl + 좌/우 방향키").suffix("초 앞/뒤로 이동").file("IntervalCtrl"),
        F(keys::AutoHideOnAudio, C::Check).id(1084).label("음악파일 메인창 자동 감춤").file("AutoHide"),
        F(keys::AutoCdrom, C::Check).id(1085).label("CDROM 자동 실행").file("AutoCDROM"),
        F(keys::SaveMaximized, C::Check).id(1087).label("전체화면 종료시 전체화면으로 재시작").file("SaveMaximize"),
        F(keys::DefaultFolder, C::Text).id(1040).label("파일 열기 기본 폴더").browse(BrowseKind::Folder, 1039).dialog("파일 열기 기본 폴더").file("DefaultFolder"),
        tooltip(keys::ShowTooltipAll, 1007, "툴팁 정보 표시", "TooltipAll"),
        tooltip(keys::ShowTooltipVolume, 1008, "볼륨", "TooltipVolume").grid(2).indented(),
        tooltip(keys::ShowTooltipSpeed, 1009, "재생 속도", "TooltipSpeed"),
        tooltip(keys::ShowTooltipCaptionSynch, 1013, "자막 싱크", "TooltipCaptionSynch"),
        tooltip(keys::ShowTooltipCaptionSize, 1011, "자막 크기", "TooltipCaptionSize"),
        tooltip(keys::ShowTooltipCaptionOffset, 1012, "자막 하단 여백", "TooltipCaptionOffset"),
        tooltip(keys::ShowTooltipCaptionLanguage, 1014, "자막 언어", "TooltipCaptionLanguage"),
        tooltip(keys::ShowTooltipCaptionSpace, 1015, "자막 공간 크기", "TooltipCaptionSpace"),
        tooltip(keys::ShowTooltipPanScan, 1016, "팬&&스캔 비율", "TooltipPanScan"),
    };
    // clang-format on
    return p;
}

SheetPage captionPage() {
    SheetPage p = makePage(page::Caption, "자막 설정", 140, "Caption");
    // clang-format off
    p.fields = {
        F(keys::FontName, C::FontCombo).label("글꼴").tip("복잡한 글꼴 사용시 자막 표시가 느려질 수 있습니다.").file("FontName"),
        F(keys::FontSize, C::Number).label("크기").spin().sameRow().file("FontSize"),
        F(keys::FontOffset, C::None),
        F(keys::AddOneLine, C::Check).label("기본 한줄").tip("한줄 자막인 경우 한줄의 아래 여백을 넣어줍니다").file("OneLine"),
        F(keys::FontBold, C::Check).label("굵게").sameRow().file("FontBold"),
        F(keys::FontAlias, C::Check).label("부드럽게").tip("AntiAlias 효과 (느려질 수 있음)").sameRow().file("FontAlias"),
        F(keys::FontBorder, C::Check).label("테두리").tip("테두리 효과 (느려질 수 있음)").sameRow().file("FontBorder"),
        F(keys::FontColor, C::Colour).label("색상선택").file("FontColor"),
        F(keys::BorderColor, C::Colour).id(1004).label("테두리 색상").sameRow().file("BorderColor"),
        F(keys::ColorKey, C::Colour).label("자막 컬러키 설정").tip("미디어 재생이 다시 시작될 때 적용됨").sameRow().file("ColorKey"),
        F(keys::CaptionMargin, C::Number).label("좌우 여백 (%)").spin().file("Margin"),
        F(keys::CaptionSynch, C::Number).label("자막 싱크").suffix("x 0.1초 (-5분~+5분)").spin().range(-3000, 3000).file("Synch"),
        F(keys::CaptionSpace, C::Number).label("자막 공간 (%)").spin().file("CaptionSpace"),
        F(keys::CaptionDivideLength, C::Number).label("자동 줄바꿈").tip("한 줄의 길이가 주어진 값보다 긴 경우 자동으로 나눠줍니다").spin().file("DivideLength"),
        F(keys::CaptionGap, C::Number).label("줄 간격(픽셀)").tip("자막 라인의 간격을 조절합니다").spin().sameRow().file("CaptionGap"),
        F(keys::CaptionAlign, C::Combo).label("정렬 방식").choices({{"왼쪽"}, {"가운데"}, {"오른쪽"}}).file("CaptionAlign"),
        F(keys::UseCaptionFolder, C::Check).label("지정된 자막 폴더 우선 검색").group("자막 폴더").file("UseCaptionFolder"),
        F(keys::CaptionFolderCount, C::FolderList).id(1025).group("자막 폴더").dialog("자막 폴더 추가").file("CaptionFolder"),
    };
    // clang-format on
    p.rules = {enabledWhen(keys::FontBorder.name, RuleCondition::NonZero, 0, {1004})};
    p.buttons = {
        {1027, "추가", ButtonAction::AddFolder, std::string(keys::CaptionFolderCount.name)},
        {1026, "삭제", ButtonAction::DeleteFolder, std::string(keys::CaptionFolderCount.name)}};
    return p;
}

SheetPage customPage() {
    SheetPage p = makePage(page::Custom, "사용자 정의", 142, "Custom");
    // clang-format off
    p.fields = {
        F(keys::EscKey, C::Radio).group(" Esc 키").choices({{"창크기 최소화"}, {"재생 중지"}, {"프로그램 종료"}}).file("Esc"),
        F(keys::PlayKey, C::Radio).group(" Play 버튼 (Play되고 있는 경우)").choices({{"다음 항목 재생"}, {"다시 열기"}, {"프로그램 종료"}}).file("Play"),
        F(keys::StopKey, C::Radio).group(" Stop 버튼 (Stop되어 있는 경우)").choices({{"파일 닫기"}, {"파일 열기"}, {"프로그램 종료"}}).file("Stop"),
        F(keys::MouseWheel, C::Radio).group(" 마우스 휠 (Shift key : 트랙 이동 <-> 볼륨 조절)").choices({{"트랙 이동"}, {"볼륨 조절"}, {"창 크기 조절"}}).file("Wheel"),
        F(keys::WheelClick, C::Radio).group(" 마우스 휠 클릭").choices({{"화면 전환"}, {"목록창 보기"}, {"창크기 최소화"}}).file("WheelClick"),
        F(keys::BackMode, C::Radio).group("메인창 배경색상 또는 배경그림 설정").choices({{"그림", 1020}, {"색상", 1019}}).file("BackMode"),
        F(keys::BackColor, C::Colour).id(1021).group("메인창 배경색상 또는 배경그림 설정").beside(1019).file("BackColor"),
        F(keys::BackImage, C::Text).id(1022).group("메인창 배경색상 또는 배경그림 설정").beside(1020).browse(BrowseKind::File, 1023).dialog("열기", kPictureFilter).file("BackImage"),
    };
    // clang-format on
    p.rules = {enabledWhen(keys::BackMode.name, RuleCondition::Equals, 1, {1021}),
               enabledWhen(keys::BackMode.name, RuleCondition::Equals, 0, {1022, 1023})};
    return p;
}

SheetPage controlPage() {
    SheetPage p = makePage(page::Control, "콘트롤 패널", 167, "Control");
    // clang-format off
    p.fields = {
        F(keys::TrackColor1, C::Colour).id(1030).label("기본 색상").file("TrackColor1"),
        F(keys::TrackColor2, C::Colour).id(1004).label("반복시 색상").sameRow().file("TrackColor2"),
        F(keys::TrackHeight, C::Number).id(1032).label("트랙 굵기").suffix("(15)").spin().file("TrackHeight"),
        F(keys::UseGradient, C::Check).id(1042).label("입체 효과 사용").sameRow().file("Gradient"),
        F(keys::TitleSize, C::Number).id(1035).label("제목 크기").suffix("(9)").spin().file("TitleSize"),
        F(keys::UseRepeatCtrl, C::Check).id(1036).label("반복 구간 영역 표시 (숨겨져도 기능은 동작함)").file("UseRepeatCtrl"),
        F(keys::UseBookmark, C::Check).id(1037).label("북마크 기능 사용").file("Bookmark"),
        F(keys::AutoHide, C::Check).id(1038).label("전체, 최대화면에서만 콘트롤바 자동 숨김").keptByReset(),
        F(keys::UseSkip, C::Check).id(1083).label("재생 스킵 영역 사용").file("UseSkip"),
        F(keys::SkipStartMin, C::Number).id(1040).label("시작 :").suffix("분").indented().file("SkipStartMin"),
        F(keys::SkipStartSec, C::Number).id(1043).suffix("초").sameRow().file("SkipStartSec"),
        F(keys::SkipEndMin, C::Number).id(1046).label("끝 :").suffix("분").indented().file("SkipEndMin"),
        F(keys::SkipEndSec, C::Number).id(1047).suffix("초").sameRow().file("SkipEndSec"),
    };
    // clang-format on
    p.rules = {
        enabledWhen(keys::UseSkip.name, RuleCondition::NonZero, 0, {1040, 1043, 1046, 1047})};
    return p;
}

SheetPage playlistPage() {
    SheetPage p = makePage(page::Playlist, "재생 목록창", 168, "Playlist");
    // clang-format off
    p.fields = {
        F(keys::AutoDelete, C::Check).id(1091).label("새 항목 추가시 기존 목록 자동 제거").file("AutoDelete"),
        F(keys::AutoCheck, C::Check).id(1087).label("프로그램 시작시 목록 자동 검사").file("AutoCheck"),
        F(keys::ShowControls, C::Check).id(1090).label("재생관련 제어버튼 표시").file("ShowControls"),
        F(keys::AddItem, C::Check).id(1089).label("재생되는 파일 목록창에 유지시킴").file("AddItem"),
        F(keys::AddFromCdrom, C::Check).id(1088).label("CDROM 경로에 있는 파일도 포함").indented().file("AddFromCDROM"),
        F(keys::PlayContinue, C::Check).id(1084).label("다음 항목 자동 재생 시작").file("PlayContinue"),
        F(keys::RepeatList, C::Check).id(1083).label("재생 목록 순환 반복").file("RepeatList"),
    };
    // clang-format on
    p.rules = {enabledWhen(keys::AddItem.name, RuleCondition::NonZero, 0, {1088})};
    return p;
}

SheetPage screenPage() {
    SheetPage p = makePage(page::Screen, "캡쳐 및 화면 설정", 170, "Screen");
    // clang-format off
    p.fields = {
        F(keys::CapturePath, C::Radio).group("화면 캡쳐").choices({{"미디어와 같은 경로", 1080, "CDROM일 경우는 저장되지 않음"}, {"사용자 지정 경로", 1079}}).outOfRange(1).file("ImagePath"),
        F(keys::ImageFolder, C::Text).id(1055).group("화면 캡쳐").beside(1079).browse(BrowseKind::Folder, 1023, "이미지 저장 경로 선택").dialog("이미지 저장 경로 선택").picturesWhenEmpty().file("ImageFolder"),
        F(keys::BeepSound, C::Check).id(1056).label("이미지 저장 완료 후 사운드로 알림").group("화면 캡쳐").file("Beep"),
        F(keys::SoundFile, C::Text).label("사운드 파일").group("화면 캡쳐").indented().browse(BrowseKind::File, 1058).dialog("열기", kSoundFilter).file("SoundFile"),
        F(keys::SaveScreenValue, C::Check).id(1057).label("설정값 유지").group("영상 화면 제어 (밝기/선명도)"),
        F(keys::ComeBackTime, C::Number).id(1035).suffix("초 후에 제어 버튼으로 복귀").group("영상 화면 제어 (밝기/선명도)").spin(),
        F(keys::BorderSize, C::Number).id(1036).label("메인창 크기 조절 영역").suffix("픽셀").spin().file("Resize"),
        F(keys::HardwareDecoding, C::Check).id(1059).label("하드웨어 디코딩 사용 (그래픽 카드가 지원할 때)").tip("프로그램을 다시 시작할 때 적용됨").file("HardwareDecoding"),
    };
    // clang-format on
    // Without a sound file there is nothing to play: the beep box is off and cannot be used.
    p.rules = {enabledWhen(keys::SoundFile.name, RuleCondition::TextSet, 0, {1056, 1025}, true)};
    p.buttons = {{1025, "▶", ButtonAction::PlaySound, std::string(keys::SoundFile.name)}};
    return p;
}

SheetPage associationPage() {
    SheetPage p = makePage(page::Association, "프로그램 연결", 161, "FileExt");
    p.buttons = {{1081, "전체 선택", ButtonAction::CheckAll, ""},
                 {1082, "선택 해제", ButtonAction::ClearAll, ""}};
    p.note =
        "같은 파일 형식을 쓰는 확장자(mpg, mpeg, mpe, m1v, m2v, mp2 …)는 하나로 연결되어 함께 "
        "선택됩니다.";
    const auto& table = associatedExtensions();
    for (std::size_t i = 0; i < table.size(); ++i) {
        PageField f = F("", table[i].extension, C::Check).id(table[i].id).keptByReset().grid(i == 0 ? 3 : 0);
        f.label = std::string(table[i].extension) + " 파일";
        f.exportKey = "FileExt" + std::to_string(i);
        if (table[i].mimeTypes.empty())
            f.tooltip = "이 데스크톱에는 " + std::string(table[i].extension) +
                        " 파일의 형식이 없어 연결할 수 없습니다.";
        p.fields.push_back(std::move(f));
    }
    return p;
}

}  // namespace

const std::vector<SheetPage>& sheetPages() {
    static const std::vector<SheetPage> pages = {generalPage(),    captionPage(),  customPage(),
                                                 controlPage(),    playlistPage(), screenPage(),
                                                 associationPage()};
    return pages;
}

}  // namespace orvalis
