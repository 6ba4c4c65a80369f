#pragma once

#include <functional>
#include <unordered_map>

// Every action the player window can run has an identifier: the menus, the key and mouse
// maps, the transport bar and the desktop's media keys all reach a command through it, and
// each part of the player registers the handlers of the commands it runs in a CommandTable
// as the player is put together. The rows of the commands (names, labels, the rules of their
// menu items) are the player's own (player/CommandRows.h).
namespace orvalis {

enum class CommandId : int {
    // System menu
    AboutSystemMenu = 16,

    // File
    OpenFile = 32771,
    OpenUrl = 32819,
    OpenCaptionFile = 32836,
    CloseFile = 32785,

    // Window
    FullScreen = 32777,
    Maximized = 32774,
    PlaylistWindow = 32775,
    KeepAspect = 32827,
    AlwaysOnTop = 32773,
    HideMainWindow = 32824,
    TransportBar = 32809,

    // Bookmarks
    BookmarkToggle = 32856,
    BookmarkPrevious = 32858,
    BookmarkNext = 32859,
    BookmarkClearAll = 32857,

    // Playback and position
    PreviousItem = 32813,
    NextItem = 32814,
    GoToStart = 32835,
    GoToEnd = 32812,
    GoToRepeatStart = 32830,
    JumpBack = 32805,
    JumpForward = 32804,
    JumpBackLarge = 32806,
    JumpForwardLarge = 32807,
    RepeatItem = 32821,
    RepeatSetStart = 32800,
    RepeatSetEnd = 32801,
    RepeatClearStart = 32853,
    RepeatClearEnd = 32854,
    RepeatClear = 32802,
    RateHalf = 32778,
    RateDouble = 32776,
    RateNormal = 32779,

    // Captions
    CaptionSmoothing = 32828,
    CaptionBold = 32829,
    CaptionLarger = 32790,
    CaptionSmaller = 32791,
    CaptionUp = 32792,
    CaptionDown = 32793,
    CaptionAreaLarger = 32822,
    CaptionAreaSmaller = 32823,
    CaptionSyncLater = 32797,
    CaptionSyncEarlier = 32798,
    CaptionSyncReset = 32799,
    CaptionHide = 32789,
    CaptionFileView = 32810,
    CaptionLanguage = 32811,

    // Picture
    BrightnessUp = 32840,
    BrightnessReset = 32846,
    BrightnessDown = 32841,
    ContrastUp = 32842,
    ContrastReset = 32847,
    ContrastDown = 32843,
    SaturationUp = 32844,
    SaturationReset = 32848,
    SaturationDown = 32845,
    SaveFrame = 32850,
    FullScreenSize = 32803,
    Zoom05 = 32794,
    Zoom10 = 32795,
    Zoom15 = 32826,
    Zoom20 = 32796,
    PanScanLess = 32832,
    PanScanMore = 32831,
    PanScanNone = 32834,
    AspectOriginal = 32837,
    Aspect4x3 = 32838,
    Aspect16x9 = 32839,

    // Sound
    VolumeUp = 32782,
    VolumeDown = 32786,
    Mute = 32788,
    SystemVolume = 32855,

    // Optical drives
    Drive1Open = 32783,
    Drive1Close = 32784,
    Drive2Open = 32780,
    Drive2Close = 32781,

    // Program
    About = 57664,
    Settings = 32787,
    ShutdownScheduler = 32860,
    Exit = 32772,

    // Actions without a menu item, reached by keys, the mouse, the transport bar's
    // buttons and the desktop's media keys. Their numbers lie outside every menu's range.
    PlayPause = 34001,
    Play = 34002,
    Pause = 34003,
    Stop = 34004,
    CaptionBorder = 34005,   // caption outline on/off (the D key)
    EscapeMinimise = 34006,  // hide the transport bar, pause, minimise
    QuickMinimise = 34007,   // hide the transport bar and minimise, playing on
    GrowWindow = 34008,
    ShrinkWindow = 34009,
    PictureSliders = 34010,  // the transport bar's row of picture sliders, out and back

    // Caption menu items of this player's own, after the ones above in number.
    CaptionIgnoreStyle = 34101,   // styled subtitle tracks drawn as plain captions, on/off
    CaptionTwoLanguages = 34102,  // a second caption language shown with the first, on/off
};

constexpr int commandNumber(CommandId id) {
    return static_cast<int>(id);
}

// The handlers of the commands: each part of the player registers the ones it runs, once,
// when it is built. Registering an identifier again replaces its handler.
class CommandTable {
public:
    using Handler = std::function<void()>;
    void add(CommandId id, Handler handler);
    // Runs the command's handler; false when it has none.
    bool run(CommandId id) const;
    bool handles(CommandId id) const;

private:
    std::unordered_map<int, Handler> handlers_;
};

}  // namespace orvalis
