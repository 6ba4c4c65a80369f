#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "ports/PlayerView.h"
#include "ports/PlaylistPort.h"
#include "ports/Timers.h"
#include "ports/TransportPort.h"

namespace orvalis::test {

class FakeTimers final : public TimerService {
public:
    void start(TimerId id, int ms) override { active[id] = ms; }
    void kill(TimerId id) override { active.erase(id); }
    bool isActive(TimerId id) const override { return active.count(id) != 0; }
    std::map<TimerId, int> active;
};

class FakeView final : public PlayerView {
public:
    geometry::Rect windowRect() const override { return fullScreen ? screen : rect; }
    geometry::Rect screenRect() const override { return screen; }
    void setWindowRect(const geometry::Rect& r) override {
        if (!fullScreen) rect = r;
    }
    void setPictureLayout(const geometry::Layout& l, geometry::ScreenMode m) override {
        layout = l;
        mode = m;
    }
    void setFullScreen(bool on) override { fullScreen = on; }
    void setTopMost(bool on) override { topMost = on; }
    void setWindowShown(bool s) override { shown = s; }
    void minimize() override { minimized = true; }
    void focus() override {}
    void setPointer(PointerShape s) override { pointer = s; }
    geometry::Point cursorPos() const override { return cursor; }
    void repaint() override { ++repaints; }
    void setBackground(int mode_, int colour, const std::string& image) override {
        backMode = mode_;
        backColor = colour;
        backImage = image;
    }
    std::optional<geometry::Size> backgroundImageSize() const override { return imageSize; }
    bool hasVideoSurface() const override { return true; }
    bool shiftHeld() const override { return shift; }
    bool ctrlHeld() const override { return ctrl; }

    geometry::Rect rect{0, 0, 0, 0};
    geometry::Rect screen{0, 0, 1920, 1080};
    geometry::Layout layout;
    geometry::ScreenMode mode = geometry::ScreenMode::Normal;
    bool fullScreen = false, topMost = false, shown = false, minimized = false;
    bool shift = false, ctrl = false;
    PointerShape pointer = PointerShape::Arrow;
    geometry::Point cursor{0, 0};
    int repaints = 0;
    int backMode = -1, backColor = -1;
    std::string backImage;
    std::optional<geometry::Size> imageSize;
};

class FakeTransport final : public TransportPort {
public:
    void setDuration(double s) override { duration = s; }
    void setPosition(double s) override { position = s; }
    void setTitle(const std::string& t) override { title = t; }
    void showPlaying() override { state = "playing"; }
    void showPaused() override { state = "paused"; }
    void showStopped() override { state = "stopped"; }
    void disableButtons() override { state = "disabled"; }
    void setTrackColour(int c) override { trackColour = c; }
    void updateRepeatRange(double a, double b) override {
        rangeA = a;
        rangeB = b;
    }
    void place(const geometry::Rect& r, bool s) override {
        placed = r;
        shown = s;
    }
    bool isShown() const override { return shown; }
    void refresh() override {}
    void refreshCaptionButtons(const CaptionButtons& c) override { captions = c; }
    void showMuteState(bool m) override { muted = m; }
    void setVolumeStep(int s) override { volumeStep = s; }
    void setBookmarkMarks(const std::vector<int>& s) override { marks = s; }
    void clearBookmarkMarks() override {
        marks.clear();
        marksCleared = true;
    }
    void setShowFrameNumber(bool on) override { frameNumber = on; }
    void setPictureValues(const PictureControls& p) override { picture = p; }
    void toggleAdjustRow() override { adjustRowOpen = !adjustRowOpen; }

    double duration = -1, position = -1, rangeA = -1, rangeB = -1;
    std::string title, state;
    int trackColour = -1;
    geometry::Rect placed;
    bool shown = false, marksCleared = false;
    CaptionButtons captions;
    bool muted = false, frameNumber = false, adjustRowOpen = false;
    int volumeStep = -1;
    std::vector<int> marks;
    PictureControls picture;
};

class FakePlaylist final : public PlaylistPort {
public:
    bool isEmpty() const override { return empty; }
    void playEntry(int w) override { log.push_back("playEntry " + std::to_string(w)); }
    void playPrevious() override { log.push_back("playPrevious"); }
    bool addPaths(const std::vector<std::string>& paths) override {
        std::string entry = "addPaths";
        for (const auto& p : paths) entry += (&p == &paths.front() ? " " : "|") + p;
        log.push_back(entry);
        return true;
    }
    void dropFiles(const std::vector<std::string>& p) override {
        log.push_back("drop " + std::to_string(p.size()));
    }
    void checkPaths() override { log.push_back("checkPaths"); }
    void openFilesDialog() override { log.push_back("openDialog"); }
    bool isShown() const override { return shown; }
    void setShown(bool s) override { shown = s; }
    std::optional<geometry::Rect> rect() const override { return std::nullopt; }
    void opaqueForOpen() override {}
    void restoreTransparency() override {}
    void openRequestDone() override {}
    void showPlaying() override {}
    void showPaused() override {}
    void showStopped() override {}
    void disableButtons() override {}
    void setShowControls(bool on) override { controls = on; }
    void repaint() override {}

    bool empty = false, shown = true, controls = false;
    std::vector<std::string> log;
};

}  // namespace orvalis::test
