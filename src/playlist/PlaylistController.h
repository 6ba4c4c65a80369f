#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Prompter.h"
#include "base/SettingsStore.h"
#include "playlist/ColorScheme.h"
#include "playlist/FileSystemView.h"
#include "playlist/Playlist.h"
#include "playlist/PlaylistMenu.h"
#include "ports/Commands.h"
#include "ports/Geometry.h"
#include "ports/PlaylistPort.h"

namespace orvalis {

// The player window as the playlist window sees it. A member left empty is done without.
struct PlaylistHost {
    // Opens a path and plays it (the player window's open-file operation).
    std::function<void(const std::string&)> openPath;
    // Play, Pause, Stop, Exit, HideMainWindow (the show/hide toggle) and FullScreen.
    std::function<void(CommandId)> runCommand;
    std::function<bool()> mediaLoaded;
    // The player window is shown (its ShowMainDlg state, not merely a mapped window).
    std::function<bool()> playerShown;
    // The player window's screen modes (full screen, maximized): while one is on, the wheel
    // scrolls the list and a middle click does the Hide button's action.
    std::function<bool()> playerInScreenMode;
    std::function<void()> minimizePlayer;
    // The player window's context menu, at the pointer.
    std::function<void()> showPlayerMenu;
    // The player window's rectangle, for snapping.
    std::function<std::optional<geometry::Rect>()> playerRect;
    // The player window's on-screen tip at the pointer; without it the list shows its own.
    std::function<void(const std::string&, int milliseconds)> showTip;
};

enum class PlaylistButton {
    Add,
    Delete,
    Clear,
    Sort,
    Save,  // the edit row
    Check,
    Hide,
    MinimizeMain,
    MainMenu,  // the top row
    Previous,
    Play,
    Pause,
    Stop,
    Next,  // the control row
};

// The control row's play buttons as the player's state sets them.
struct ControlButtons {
    bool playDown = false;
    bool pauseDown = false;
    bool pauseEnabled = false;
    bool stopEnabled = false;
    bool operator==(const ControlButtons&) const = default;
};

// What the logic asks of the window that draws it.
class PlaylistWindowView {
public:
    virtual ~PlaylistWindowView() = default;
    // Rows were added, removed or reordered.
    virtual void rowsChanged() = 0;
    // Only selections or markers changed.
    virtual void rowsRepainted() = 0;
    virtual void showRow(int row) = 0;
    virtual void setOpacity(int alpha) = 0;  // 0 ... 255
    virtual bool isShown() const = 0;
    virtual void setShown(bool shown) = 0;
    virtual geometry::Rect windowRect() const = 0;
    // keepListHeight: the window grows or shrinks by the control row.
    virtual void setControlsShown(bool shown, bool keepListHeight) = 0;
    virtual void setControlButtons(const ControlButtons& state) = 0;
    virtual void setScheme(const ColorScheme& scheme) = 0;
    // Runs the colour-scheme dialog; true when it closed with OK.
    virtual bool runSchemeDialog() = 0;
    // Something worth keeping changed: save a little later.
    virtual void requestSave() = 0;
    virtual void showTip(const std::string& text, int milliseconds) = 0;
    virtual void setBusy(bool busy) = 0;
};

// Keys the list tells apart; everything else is Other.
enum class ListKey { Enter, Up, Down, Delete, Digit, Other };

// The playlist window's behaviour without its widgets: the play list, the current item, the
// buttons, keys, mouse and menu, transparency, the colour scheme and what is kept across
// runs. The player window's logic reaches it as its PlaylistPort.
class PlaylistController final : public PlaylistPort {
public:
    PlaylistController(SettingsStore& settings, Prompter& prompter, const FileSystemView& files,
                       PlaylistHost host);

    void attachView(PlaylistWindowView* view) { view_ = view; }
    Playlist& playlist() { return playlist_; }
    const Playlist& playlist() const { return playlist_; }
    const PlaylistModel& rows() const { return playlist_.model(); }

    // Window creation: the list, the recent list files, the switches, the scheme and the
    // transparency from the settings.
    void initialise();
    // Writes the list, the current item, the recent list files, the switches and the
    // window's place in one go. The window calls it a little after changes and when it ends.
    void saveState();
    bool hasUnsavedChanges() const { return dirty_; }

    const ColorScheme& scheme() const { return scheme_; }
    bool inSkinDialog() const { return inSkinDialog_; }
    const ControlButtons& controlButtons() const { return buttons_; }

    // Input. key(): true when the key belongs to the player window (forward it unchanged).
    bool key(ListKey key, bool ctrl, int digit = -1);
    bool wheelGoesToPlayer() const;
    // row -1: the empty area below the rows.
    void click(int row, bool ctrl, bool shift);
    void rightClick(int row);
    void doubleClick();
    void middleClick();
    // A row drag begins on row; the rows to move are the selected ones.
    void beginDrag(int row);
    // The dragged rows are dropped before dropRow (-1: after the last row).
    void dropRows(int dropRow);
    void activationChanged(bool active);
    void button(PlaylistButton which);
    std::string buttonTip(PlaylistButton which) const;
    std::vector<PlaylistMenuItem> contextMenu() const;
    void menuCommand(int id);
    // Ctrl+0 ... Ctrl+5, in the list or passed on by the player window.
    void transparencyKey(int digit);
    // A move of the window: snapped to the player window while it is shown, and to the
    // screen's edges.
    geometry::Rect snap(const geometry::Rect& proposed, const geometry::Rect& screen) const;
    // The window was moved or sized by the user.
    void placementChanged();

    // PlaylistPort
    bool isEmpty() const override { return playlist_.model().empty(); }
    void playEntry(int which) override;
    void playPrevious() override;
    bool addPaths(const std::vector<std::string>& paths) override;
    void dropFiles(const std::vector<std::string>& paths) override;
    void checkPaths() override;
    void openFilesDialog() override;
    bool isShown() const override;
    void setShown(bool shown) override;
    std::optional<geometry::Rect> rect() const override;
    void opaqueForOpen() override;
    void restoreTransparency() override;
    void openRequestDone() override { playlist_.fileOpened(); }
    void showPlaying() override;
    void showPaused() override;
    void showStopped() override;
    void disableButtons() override;
    void setShowControls(bool on) override;
    void repaint() override;

private:
    void act(const PlayRequest& request);
    void changed();
    void repainted();
    void setTransparency(int percent, bool save);
    void chooseTransparency(int percent);
    void applyScheme(std::string_view name);
    void runSchemeDialog();
    void moveSelection(int delta);
    void toggleMainWindow();
    void hideButtonAction();
    void tip(const std::optional<std::string>& text);
    void command(CommandId id) const;
    bool mediaLoaded() const;
    bool playerShown() const;
    void setControlButtons(const ControlButtons& state);

    SettingsStore& settings_;
    PlaylistHost host_;
    Playlist playlist_;
    PlaylistWindowView* view_ = nullptr;
    ColorScheme scheme_;
    ControlButtons buttons_;
    bool initialised_ = false;
    bool inSkinDialog_ = false;
    bool dirty_ = false;
    int anchor_ = -1;              // where a Shift-click range starts
    bool opaqueForVideo_ = false;  // opaque for a medium that may show video
};

}  // namespace orvalis
