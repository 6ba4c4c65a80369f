#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/Adjustments.h"
#include "engine/MediaBackend.h"
#include "engine/MediaEngine.h"
#include "player/Commands.h"
#include "player/Geometry.h"

// What the player window's logic asks of the pieces around it. The widgets implement these;
// tests replace them. Each part of the player that is not a window of its own (captions,
// bookmarks, the shutdown schedule) is reached through its port too.
namespace orvalis {

enum class PointerShape { Arrow, Wait, Blank, Move };

// The main window itself.
class PlayerView {
public:
    virtual ~PlayerView() = default;
    virtual geometry::Rect windowRect() const = 0;
    // The available area of the screen that holds the window.
    virtual geometry::Rect screenRect() const = 0;
    virtual std::optional<geometry::Rect> taskbarRect() const { return std::nullopt; }
    virtual void setWindowRect(const geometry::Rect& rect) = 0;
    virtual void setPictureLayout(const geometry::Layout& layout, geometry::ScreenMode mode) = 0;
    virtual void setFullScreen(bool on) = 0;
    virtual void setTopMost(bool on) = 0;
    virtual void setWindowShown(bool shown) = 0;
    virtual void minimize() = 0;
    virtual void focus() = 0;
    virtual void setPointer(PointerShape shape) = 0;
    virtual geometry::Point cursorPos() const = 0;  // screen coordinates
    virtual void repaint() = 0;
    virtual void setBackground(int backMode, int backColor, const std::string& backImage) = 0;
    // Pixel size of the background picture, when it loads.
    virtual std::optional<geometry::Size> backgroundImageSize() const = 0;
    virtual bool hasVideoSurface() const = 0;
    virtual bool shiftHeld() const = 0;
    virtual bool ctrlHeld() const = 0;
};

// What the transport bar's caption controls show: whether captions are loaded, how many
// languages the file has, and the caption flags (smoothing is the "FontAlias" value).
struct CaptionButtons {
    bool loaded = false;
    int languages = 0;
    bool smoothing = false;
    bool bold = false;
    bool border = false;
    bool shown = true;
    bool operator==(const CaptionButtons&) const = default;
};

// The transport bar over the bottom of the window. It shows what it is given and reports
// what the user does; it holds no playback state of its own.
class TransportPort {
public:
    virtual ~TransportPort() = default;
    // Seconds; zero, negative or unknown (a stream) disables the track, Pause and Stop and
    // shows "00:00:00". Clears the repeat range.
    virtual void setDuration(double seconds) = 0;
    virtual void setPosition(double seconds) = 0;
    virtual void setTitle(const std::string& title) = 0;
    virtual void showPlaying() = 0;
    virtual void showPaused() = 0;
    virtual void showStopped() = 0;
    virtual void disableButtons() = 0;
    // The track's colour (a COLORREF): "Track Color2" while the item repeats, else
    // "Track Color1". Rereads "Use Gradient".
    virtual void setTrackColour(int colorref) = 0;
    virtual void updateRepeatRange(double a, double b) = 0;
    // Shows or hides the caption controls and sets their checks; run after every caption
    // command and whenever captions are loaded or dropped.
    virtual void refreshCaptionButtons(const CaptionButtons& captions) = 0;
    // The mute button's picture.
    virtual void showMuteState(bool muted) = 0;
    // The volume wedge's fill for a step 0..19.
    virtual void setVolumeStep(int step) = 0;
    // The bookmarks of the medium, in whole seconds, drawn as ticks on the track.
    virtual void setBookmarkMarks(const std::vector<int>& seconds) = 0;
    virtual void clearBookmarkMarks() = 0;
    // "Show Frame Number": the total-time text shows the count of seconds played.
    virtual void setShowFrameNumber(bool on) = 0;
    // The positions of the brightness and contrast sliders.
    virtual void setPictureValues(const PictureControls& picture) = 0;
    // Folds the row of picture sliders out, or back.
    virtual void toggleAdjustRow() = 0;
    // The bar's rectangle in screen coordinates, and whether it is shown.
    virtual void place(const geometry::Rect& rect, bool shown) = 0;
    virtual bool isShown() const = 0;
    // Rereads the bar's settings ("Config\Control") and lays it out again.
    virtual void refresh() = 0;
};

// What the transport bar reports that is not a command of the command table: the drags on
// its track, repeat bar, volume wedge and picture sliders, and the time display's mode. The
// player window implements it; the bar's buttons reach the player as commands instead.
class TransportListener {
public:
    virtual ~TransportListener() = default;

    // The pointer is over the seek track (dragging: with the button down): show the
    // target, in tenths of a second, beside the pointer ("00:01:05", with Shift "65.4").
    virtual void seekPreview(int tenths, bool dragging) = 0;
    // The button went up over the track: seek to tenths x 0.1 seconds and give the bar the
    // position. seekPreviewEnded follows.
    virtual void seekCommit(int tenths) = 0;
    // The pointer left the track or let go of it: hide the preview, and let the bar's
    // auto-hide timer run again.
    virtual void seekPreviewEnded() = 0;

    // The repeat range dragged on the repeat bar, in seconds; the message shows it while
    // the drag lasts. The range is the player's to store and to give back to the bar.
    virtual void repeatRangeDragged(double start, double end) = 0;
    // The drag ended: hide the message, let the bar hide again.
    virtual void repeatRangeDragEnded() = 0;

    // The volume wedge set a step 0..19 (on press, every move and release), with the
    // volume message each time.
    virtual void volumeDragged(int step) = 0;

    // A picture slider moved: the value in the player's own range (brightness 0..10000,
    // contrast 0..20000) for PictureControls::set.
    virtual void pictureChanged(PictureKind kind, int value) = 0;

    // The user cycled the time display; the player keeps "Show Frame Number" from it.
    virtual void timeDisplayChanged(bool showsCount) = 0;

    // A drag on the bar began or ended: the bar must stay shown until it ends, wherever the
    // pointer goes (the player's bar hold).
    virtual void holdBar(bool held) = 0;
};

// The playlist window.
class PlaylistPort {
public:
    virtual ~PlaylistPort() = default;
    virtual bool isEmpty() const = 0;
    virtual void playEntry(int which) = 0;  // -1 the next, -2 the current item
    virtual void playPrevious() = 0;
    // The paths of a start or a second start, each one whole: adds and plays. True when
    // one of them is on its way to play.
    virtual bool addPaths(const std::vector<std::string>& paths) = 0;
    // Files dropped on the player window.
    virtual void dropFiles(const std::vector<std::string>& paths) = 0;
    virtual void checkPaths() = 0;
    virtual void openFilesDialog() = 0;
    virtual bool isShown() const = 0;
    virtual void setShown(bool shown) = 0;
    virtual std::optional<geometry::Rect> rect() const = 0;
    virtual void opaqueForOpen() = 0;
    virtual void restoreTransparency() = 0;
    virtual void openRequestDone() = 0;
    virtual void showPlaying() = 0;
    virtual void showPaused() = 0;
    virtual void showStopped() = 0;
    virtual void disableButtons() = 0;
    virtual void setShowControls(bool on) = 0;
    virtual void repaint() = 0;
};

// The captions: model, renderer and their commands.
// The encoding a caption file was read in: the one chosen for it, or the one it showed.
struct CaptionEncodingState {
    text::Encoding encoding = text::Encoding::Utf8;
    bool chosen = false;
};

class CaptionPort {
public:
    virtual ~CaptionPort() = default;
    virtual bool findCaptionFile(const std::string& mediaPath) = 0;
    virtual bool loaded() const = 0;
    virtual void unload() = 0;
    // The caption step of the playback tick.
    virtual void lookup(double position) = 0;
    virtual void clearText() = 0;
    virtual void draw() = 0;
    virtual void afterSeek(double position) = 0;
    // A caption file dropped on the window while a medium is open.
    virtual void loadDropped(const std::string& path) = 0;
    virtual void holdExpired(bool playing, bool paused) = 0;
    virtual void resetSync() = 0;
    virtual int syncOffset() const = 0;
    virtual void setSyncOffset(int tenths) = 0;
    virtual void createFont() = 0;
    virtual void reparse() = 0;
    // The caption commands (size, position, sync, space, show, editor, language, style).
    virtual void command(CommandId id) = 0;
    virtual int languageCount() const = 0;
    virtual CaptionEncodingState captionEncoding() const = 0;
    // Reads the caption file again in this encoding (nothing: the one it shows), and keeps
    // the choice for the file.
    virtual void rereadCaptionFile(std::optional<text::Encoding> encoding) = 0;
};

// What the captions need of the player window around them.
struct CaptionFrame {
    int width = 0;  // the client area the caption is laid out in
    int height = 0;
    bool barShown = false;  // the transport bar lies over the picture
    int barHeight = 0;
};

class CaptionHost {
public:
    virtual ~CaptionHost() = default;
    // Loaded, playing, paused, has video, captions loaded.
    virtual const EngineFlags& mediaFlags() const = 0;
    virtual void setCaptionsLoaded(bool loaded) = 0;
    // Pauses a playing medium, resumes a paused one.
    virtual void pauseOrResume() = 0;
    virtual CaptionFrame captionFrame() const = 0;
    virtual bool fullScreenOrMaximized() const = 0;
    virtual void exitFullScreen() = 0;
    // Sizes the window to the picture with the caption room ("Caption Space") below it.
    virtual void applyCaptionSpace() = 0;
    // The transport bar's caption controls follow the caption state.
    virtual void refreshCaptionButtons() = 0;
    virtual void setBusyCursor(bool busy) = 0;
};

class BookmarkPort {
public:
    virtual ~BookmarkPort() = default;
    virtual void load(const std::string& mediaPath, double duration) = 0;
    virtual void save() = 0;
    virtual void toggle(double position) = 0;
    virtual void clearAll() = 0;
    // Where the previous or next bookmark lies, if there is one to go to.
    virtual std::optional<double> previous(double position) = 0;
    virtual std::optional<double> next(double position) = 0;
    // The settings changed: the seek track's marks follow "Use Bookmark".
    virtual void refreshMarks() {}
};

// Saving the picture now shown.
class CapturePort {
public:
    virtual ~CapturePort() = default;
    virtual void capture() = 0;
};

// The player's dialogs and the desktop tools it opens.
class DialogPort {
public:
    virtual ~DialogPort() = default;
    // The stream address dialog: the address to open, or nothing.
    virtual std::optional<std::string> askStreamAddress() = 0;
    virtual void showAbout() = 0;
    virtual void showFilterDetails(const FilterInfo& filter) = 0;
    virtual void openSystemMixer() = 0;
    // Opens or closes the tray of an optical drive (0 or 1).
    virtual void moveTray(int drive, bool open) = 0;
    virtual std::vector<std::string> opticalDrives() const = 0;
};

class ShutdownPort {
public:
    virtual ~ShutdownPort() = default;
    virtual bool atEndOfMedium() const = 0;
    virtual void clearEndOfMedium() = 0;
    virtual void runShutdown() = 0;
    virtual void clockTick() = 0;
    // The scheduler's dialog (it disarms the previous schedule first).
    virtual void schedule() = 0;
};

class SettingsSheetPort {
public:
    virtual ~SettingsSheetPort() = default;
    // Runs the sheet modally; true when it closed with OK.
    virtual bool run() = 0;
};

class OsdPort {
public:
    virtual ~OsdPort() = default;
    // Shows an adjustment message by the placement rule; 0 ms means 1500, negative stays.
    virtual void show(const std::string& text, int durationMs = 0) = 0;
    // A message at a screen point (the drag previews of the transport bar).
    virtual void showAt(const std::string& text, geometry::Point screen, int durationMs) = 0;
    virtual void hide() = 0;
};

}  // namespace orvalis
