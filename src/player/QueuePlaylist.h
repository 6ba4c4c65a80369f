#pragma once

#include <string>
#include <vector>

#include "player/PlayerPorts.h"

namespace orvalis {

class MediaEngine;
class Prompter;
class SettingsStore;

// The files of the command line, a second start and drops, played in order: the player's
// list while it has no playlist window.
class QueuePlaylist final : public PlaylistPort {
public:
    QueuePlaylist(MediaEngine& engine, Prompter& prompter, SettingsStore& settings)
        : engine_(engine), prompter_(prompter), settings_(settings) {}

    bool isEmpty() const override { return items_.empty(); }
    void playEntry(int which) override;
    void playPrevious() override;
    void addPathList(const std::string& list) override;
    void dropFiles(const std::vector<std::string>& paths) override;
    void checkPaths() override {}
    void openFilesDialog() override;
    bool isShown() const override { return false; }
    void setShown(bool) override {}
    std::optional<geometry::Rect> rect() const override { return std::nullopt; }
    void opaqueForOpen() override {}
    void restoreTransparency() override {}
    void openRequestDone() override {}
    void showPlaying() override {}
    void showPaused() override {}
    void showStopped() override {}
    void disableButtons() override {}
    void setShowControls(bool) override {}
    void repaint() override {}

    const std::vector<std::string>& items() const { return items_; }
    int current() const { return current_; }

private:
    void addAndPlay(const std::vector<std::string>& paths);

    MediaEngine& engine_;
    Prompter& prompter_;
    SettingsStore& settings_;
    std::vector<std::string> items_;
    int current_ = -1;
};

}  // namespace orvalis
