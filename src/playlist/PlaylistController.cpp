#include "playlist/PlaylistController.h"

#include <algorithm>

#include "base/SettingsStore.h"
#include "playlist/PlaylistGeometry.h"

namespace orvalis {

PlaylistController::PlaylistController(SettingsStore& settings, Prompter& prompter,
                                       const FileSystemView& files, PlaylistHost host)
    : settings_(settings), host_(std::move(host)), playlist_(settings, prompter, files) {}

// ---------------------------------------------------------------------------------------------
// Life

void PlaylistController::initialise() {
    playlist_.load();
    applyScheme(schemes::storedName(settings_, ""));
    if (view_) {
        view_->setControlsShown(playlist_.showControls, false);
        view_->setControlButtons(buttons_);
        view_->rowsChanged();
        if (int marked = rows().firstMarked(); marked >= 0) view_->showRow(marked);
    }
    setTransparency(playlist_.alphaPercent, true);
    initialised_ = true;
    dirty_ = false;
}

void PlaylistController::saveState() {
    SettingsBatch batch(settings_);
    playlist_.save();
    if (view_) {
        geometry::Rect r = view_->windowRect();
        if (!r.empty()) writePlaylistPlacement(settings_, {r.left, r.top, r.right, r.bottom});
    }
    dirty_ = false;
}

void PlaylistController::placementChanged() {
    dirty_ = true;
    if (view_) view_->requestSave();
}

void PlaylistController::changed() {
    dirty_ = true;
    if (view_) {
        view_->rowsChanged();
        view_->requestSave();
    }
}

void PlaylistController::repainted() {
    if (view_) view_->rowsRepainted();
}

// Every operation that may start a row ends here: the rows are shown as they now are before
// the player window is asked to open, because opening calls back into the list.
void PlaylistController::act(const PlayRequest& request) {
    changed();
    if (request.opens()) {
        if (view_ && !rows().empty())
            view_->showRow(std::clamp(request.row, 0, rows().count() - 1));
        if (host_.openPath) host_.openPath(request.path);
    } else if (request.stops()) {
        command(CommandId::Stop);
    }
}

void PlaylistController::command(CommandId id) const {
    if (host_.runCommand) host_.runCommand(id);
}

bool PlaylistController::mediaLoaded() const {
    return host_.mediaLoaded && host_.mediaLoaded();
}

bool PlaylistController::playerShown() const {
    return !host_.playerShown || host_.playerShown();
}

void PlaylistController::tip(const std::optional<std::string>& text) {
    if (!text) return;
    if (host_.showTip) {
        host_.showTip(*text, kPlaylistTipMilliseconds);
    } else if (view_) {
        view_->showTip(*text, kPlaylistTipMilliseconds);
    }
}

// ---------------------------------------------------------------------------------------------
// Transparency and colours

void PlaylistController::setTransparency(int percent, bool save) {
    int alpha = playlist_.SetTransparency(percent, save);
    if (view_) {
        view_->setOpacity(alpha);
        view_->rowsRepainted();
    }
}

// The user's own choice shows at once, video or not.
void PlaylistController::chooseTransparency(int percent) {
    opaqueForVideo_ = false;
    setTransparency(percent, true);
}

void PlaylistController::transparencyKey(int digit) {
    if (digit >= 0 && digit <= 5) chooseTransparency(digit * 10);
}

// While the window is active it is opaque; it takes its transparency back when another
// window becomes active. The colour dialog keeps it as it is, and so does a video.
void PlaylistController::activationChanged(bool active) {
    if (!initialised_ || playlist_.alphaPercent == 0 || inSkinDialog_ || opaqueForVideo_) return;
    setTransparency(active ? 0 : playlist_.alphaPercent, false);
}

// A medium being opened may be a video, which the window must not show through; the user's
// step (alphaPercent, and Alpha in the settings) stays as it was.
void PlaylistController::opaqueForOpen() {
    opaqueForVideo_ = true;
    setTransparency(0, false);
}

void PlaylistController::restoreTransparency() {
    if (!opaqueForVideo_) return;
    opaqueForVideo_ = false;
    setTransparency(playlist_.alphaPercent, false);
}

void PlaylistController::applyScheme(std::string_view name) {
    scheme_ = ApplyScheme(settings_, name);
    if (view_) view_->setScheme(scheme_);
}

void PlaylistController::runSchemeDialog() {
    if (!view_) return;
    inSkinDialog_ = true;
    bool accepted = view_->runSchemeDialog();
    inSkinDialog_ = false;
    if (accepted) applyScheme(schemes::storedName(settings_, schemes::kDefaultName));
}

// ---------------------------------------------------------------------------------------------
// Keys and mouse

bool PlaylistController::key(ListKey key, bool ctrl, int digit) {
    switch (key) {
        case ListKey::Enter:
            if (int first = rows().FirstSelected(); first >= 0) {
                act(playlist_.PlayItem(first));
            } else {
                command(CommandId::FullScreen);
            }
            return false;
        case ListKey::Up:
        case ListKey::Down:
            if (mediaLoaded()) return true;
            moveSelection(key == ListKey::Up ? -1 : 1);
            return false;
        case ListKey::Delete:
            playlist_.DeleteSelected();
            changed();
            return false;
        case ListKey::Digit:
            if (digit == 0) {
                if (ctrl) transparencyKey(0);
                return false;  // a plain 0 goes nowhere
            }
            if (ctrl && digit >= 1 && digit <= 5) {
                transparencyKey(digit);
                return false;
            }
            return true;
        case ListKey::Other:
            return true;
    }
    return true;
}

bool PlaylistController::wheelGoesToPlayer() const {
    bool mode = host_.playerInScreenMode && host_.playerInScreenMode();
    return mediaLoaded() && !mode;
}

void PlaylistController::moveSelection(int delta) {
    const PlaylistModel& m = rows();
    if (m.empty()) return;
    int from = -1;
    for (int i = 0; i < m.count() && from < 0; ++i)
        if (m.at(i).focused) from = i;
    if (from < 0) from = m.FirstSelected();
    int to =
        from < 0 ? (delta > 0 ? 0 : m.count() - 1) : std::clamp(from + delta, 0, m.count() - 1);
    click(to, false, false);
    if (view_) view_->showRow(to);
}

void PlaylistController::click(int row, bool ctrl, bool shift) {
    PlaylistModel& m = playlist_.model();
    if (!m.valid(row)) {
        if (!ctrl && !shift) m.clearSelection();
    } else if (shift && m.valid(anchor_)) {
        if (!ctrl) m.clearSelection();
        for (int i = std::min(anchor_, row); i <= std::max(anchor_, row); ++i)
            m.at(i).selected = true;
    } else if (ctrl) {
        m.at(row).selected = !m.at(row).selected;
        anchor_ = row;
    } else {
        m.clearSelection();
        m.at(row).selected = true;
        anchor_ = row;
    }
    if (m.valid(row))
        for (int i = 0; i < m.count(); ++i) m.at(i).focused = i == row;
    m.clickedIndex = m.FirstSelected();
    repainted();
}

void PlaylistController::rightClick(int row) {
    if (rows().valid(row) && !rows().at(row).selected) click(row, false, false);
}

void PlaylistController::doubleClick() {
    if (int first = rows().FirstSelected(); first >= 0) act(playlist_.PlayItem(first));
}

void PlaylistController::middleClick() {
    bool mode = host_.playerInScreenMode && host_.playerInScreenMode();
    if (mode) {
        hideButtonAction();
    } else {
        toggleMainWindow();
    }
}

void PlaylistController::beginDrag(int row) {
    if (rows().valid(row) && !rows().at(row).selected) click(row, false, false);
}

void PlaylistController::dropRows(int dropRow) {
    if (rows().selectedCount() == 0) return;
    playlist_.model().moveSelected(dropRow);
    changed();
}

geometry::Rect PlaylistController::snap(const geometry::Rect& proposed,
                                        const geometry::Rect& screen) const {
    std::optional<geometry::Rect> player;
    if (playerShown() && host_.playerRect) player = host_.playerRect();
    return geometry::snapRect(proposed, screen, std::nullopt, player);
}

// ---------------------------------------------------------------------------------------------
// Buttons and the context menu

void PlaylistController::toggleMainWindow() {
    command(CommandId::HideMainWindow);
}

// With the player window hidden the playlist is all there is of the program, so its Hide
// button ends the program instead of leaving nothing on the screen.
void PlaylistController::hideButtonAction() {
    if (playerShown()) {
        setShown(false);
    } else {
        command(CommandId::Exit);
    }
}

void PlaylistController::button(PlaylistButton which) {
    switch (which) {
        case PlaylistButton::Add:
            if (auto started = playlist_.AddFilesDialog()) {
                act(*started);
            }
            break;
        case PlaylistButton::Delete:
            playlist_.DeleteSelected();
            changed();
            break;
        case PlaylistButton::Clear:
            playlist_.ClearAll();
            changed();
            break;
        case PlaylistButton::Sort:
            if (view_) view_->setBusy(true);
            playlist_.SortByName();
            changed();
            if (view_) view_->setBusy(false);
            break;
        case PlaylistButton::Save:
            playlist_.SaveList();
            changed();
            break;
        case PlaylistButton::Check:
            checkPaths();
            break;
        case PlaylistButton::Hide:
            hideButtonAction();
            break;
        case PlaylistButton::MinimizeMain:
            if (host_.minimizePlayer) host_.minimizePlayer();
            break;
        case PlaylistButton::MainMenu:
            if (host_.showPlayerMenu) host_.showPlayerMenu();
            break;
        case PlaylistButton::Previous:
            playPrevious();
            break;
        case PlaylistButton::Play:
            command(CommandId::Play);
            break;
        case PlaylistButton::Pause:
            command(CommandId::Pause);
            break;
        case PlaylistButton::Stop:
            command(CommandId::Stop);
            break;
        case PlaylistButton::Next:
            playEntry(-1);
            break;
    }
}

std::string PlaylistController::buttonTip(PlaylistButton which) const {
    switch (which) {
        case PlaylistButton::Add:
            return "파일 추가";
        case PlaylistButton::Delete:
            return "선택 항목 삭제";
        case PlaylistButton::Clear:
            return "전체 목록 삭제";
        case PlaylistButton::Sort:
            return "이름순 정렬";
        case PlaylistButton::Save:
            return "목록 파일 저장";
        case PlaylistButton::Check:
            return "목록파일 경로 검사";
        case PlaylistButton::Hide:
            return playerShown() ? "목록창 감춤" : "프로그램 종료";
        case PlaylistButton::MinimizeMain:
            return "메인창 최소화";
        case PlaylistButton::MainMenu:
            return "메인 메뉴";
        case PlaylistButton::Previous:
            return "이전 파일";
        case PlaylistButton::Play:
            return "재생";
        case PlaylistButton::Pause:
            return "일시 정지";
        case PlaylistButton::Stop:
            return "정지";
        case PlaylistButton::Next:
            return "다음 파일";
    }
    return {};
}

std::vector<PlaylistMenuItem> PlaylistController::contextMenu() const {
    return playlistContextMenu(playlist_, playerShown());
}

void PlaylistController::menuCommand(int id) {
    if (auto percent = transparencyOfCommand(id)) {
        chooseTransparency(*percent);
        return;
    }
    if (auto k = recentOfCommand(id)) {
        act(playlist_.OpenRecent(*k));
        return;
    }
    switch (id) {
        case playlist_cmd::ToggleMainWindow:
            toggleMainWindow();
            break;
        case playlist_cmd::ShowControls:
            playlist_.toggleShowControls();
            if (view_) view_->setControlsShown(playlist_.showControls, true);
            break;
        case playlist_cmd::ColourSchemes:
            runSchemeDialog();
            break;
        case playlist_cmd::Shuffle:
            if (!rows().empty()) act(playlist_.Shuffle(timeSeededRandom()));
            break;
        case playlist_cmd::CheckPaths:
            checkPaths();
            break;
        case playlist_cmd::CheckDuplicates:
            tip(playlist_.CheckDuplicates());
            changed();
            break;
        case playlist_cmd::ShowCount:
            playlist_.ShowCount();
            break;
        case playlist_cmd::Exit:
            command(CommandId::Exit);
            break;
        case playlist_cmd::ClearRecents:
            playlist_.ClearRecents();
            dirty_ = true;
            if (view_) view_->requestSave();
            break;
        default:
            break;
    }
}

// ---------------------------------------------------------------------------------------------
// PlaylistPort

void PlaylistController::playEntry(int which) {
    act(playlist_.PlayEntry(which, mediaLoaded()));
}

void PlaylistController::playPrevious() {
    act(playlist_.PlayPrevious());
}

bool PlaylistController::addPaths(const std::vector<std::string>& paths) {
    if (view_) view_->setBusy(true);
    PlayRequest request = playlist_.AddPaths(paths);
    if (view_) view_->setBusy(false);
    act(request);
    return request.opens();
}

void PlaylistController::dropFiles(const std::vector<std::string>& paths) {
    if (view_) view_->setBusy(true);
    PlayRequest request = playlist_.DropFiles(paths);
    if (view_) view_->setBusy(false);
    act(request);
}

// An empty list has nothing to check, and a start-up check of it shows no tip.
void PlaylistController::checkPaths() {
    if (rows().empty()) return;
    tip(playlist_.CheckPaths());
    changed();
}

void PlaylistController::openFilesDialog() {
    act(playlist_.OpenAndPlay());
}

bool PlaylistController::isShown() const {
    return view_ && view_->isShown();
}

void PlaylistController::setShown(bool shown) {
    if (view_) view_->setShown(shown);
}

std::optional<geometry::Rect> PlaylistController::rect() const {
    if (!view_) return std::nullopt;
    return view_->windowRect();
}

void PlaylistController::setControlButtons(const ControlButtons& state) {
    buttons_ = state;
    if (view_) view_->setControlButtons(state);
}

void PlaylistController::showPlaying() {
    setControlButtons({true, false, true, true});
}

void PlaylistController::showPaused() {
    setControlButtons({false, true, true, true});
}

void PlaylistController::showStopped() {
    setControlButtons({false, false, false, true});
}

// The medium was closed: there is no video to keep the window opaque for.
void PlaylistController::disableButtons() {
    setControlButtons({});
    restoreTransparency();
}

void PlaylistController::setShowControls(bool on) {
    if (on == playlist_.showControls) return;
    playlist_.showControls = on;
    if (view_) view_->setControlsShown(on, true);
}

void PlaylistController::repaint() {
    repainted();
}

}  // namespace orvalis
