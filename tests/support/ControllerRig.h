#pragma once
// The player window's logic with fakes all round: a store, timers the test fires, a backend
// that answers when told, a window, a transport bar and a playlist that record what they get.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "engine/FakeBackend.h"
#include "player/PlayerController.h"
#include "player/PlayerFakes.h"
#include "support/TestSupport.h"

namespace orvalis::test {

struct ControllerRig {
    explicit ControllerRig(std::vector<std::string> commandLine = {})
        : controller{{store, timers, backend, view, desktop, prompter}, std::move(commandLine)} {
        controller.attachTransport(&transport);
        controller.attachPlaylist(&playlist);
    }

    // The window shown and its deferred start-up step run.
    void start() {
        controller.initialise();
        controller.onTimer(TimerId::DeferredInit);
    }
    // Opens a medium, the backend answers, and the start-of-playback step runs.
    void play(const std::string& path, LoadedMedia media = {20.0, true, 640, 360, {}}) {
        controller.engine().openFile(path);
        backend.answerLoaded(media);
        EXPECT_TRUE(timers.isActive(TimerId::PlaybackStart)) << path;
        controller.onTimer(TimerId::PlaybackStart);
    }
    void tickAt(double position) {
        backend.pos = position;
        controller.onTimer(TimerId::PlaybackTick);
    }
    int seeks() const {
        return int(std::count_if(backend.calls.begin(), backend.calls.end(),
                                 [](const std::string& c) { return c.starts_with("seek"); }));
    }
    bool sought(double to) const {
        const std::string wanted = "seek " + std::to_string(to);
        return std::find(backend.calls.begin(), backend.calls.end(), wanted) != backend.calls.end();
    }

    MemorySettingsStore store;
    FakeTimers timers;
    FakeBackend backend;
    FakeView view;
    FakeDesktop desktop;
    FakePrompter prompter;
    FakeTransport transport;
    FakePlaylist playlist;
    PlayerController controller;
};

}  // namespace orvalis::test
