#include <gtest/gtest.h>

#include "app/IniSettingsStore.h"
#include "app/SettingsKeys.h"
#include "app/Startup.h"
#include "support/TestSupport.h"

using namespace orvalis;

TEST(Startup, CommandLineListMakesFilesAbsoluteAndKeepsAddresses) {
    EXPECT_EQ(buildCommandLineList({}, "/home/u"), "");
    EXPECT_EQ(buildCommandLineList({"a.avi", "dir with blank/b c.mkv"}, "/home/u"),
              "/home/u/a.avi;/home/u/dir with blank/b c.mkv;");
    EXPECT_EQ(buildCommandLineList({"../x/./y.mp3", "/abs/z.wav"}, "/home/u/v"),
              "/home/u/x/y.mp3;/abs/z.wav;");
    EXPECT_EQ(buildCommandLineList({"http://radio.example/live?x=1", "mms://old/stream"}, "/h"),
              "http://radio.example/live?x=1;mms://old/stream;");
    EXPECT_EQ(buildCommandLineList({"file:///home/u/%ED%95%9C%EA%B8%80.avi"}, "/"), "/home/u/한글.avi;");
    EXPECT_EQ(splitCommandLineList("/a;/b c;;/d;"), (std::vector<std::string>{"/a", "/b c", "/d"}));
}

TEST(Startup, VersionValuesAndAnEmptyHandOverAreWritten) {
    test::MemorySettingsStore store;
    store.putString(sections::Config, "ShellFileName", "/old;");
    writeStartupValues(store, "/opt/one/two/three/orvalis");
    EXPECT_EQ(store.getString(sections::Version, "AppName"), "Orvalis");
    EXPECT_EQ(store.getString(sections::Version, "OSVersion"), "Linux");
    EXPECT_EQ(store.getString(sections::Version, "ExePath"), "/opt/one/two/three");
    EXPECT_EQ(store.getString(sections::Version, "ExeFile"), "/opt/one/two/three/orvalis");
    EXPECT_TRUE(store.has(sections::Config, "ShellFileName"));
    EXPECT_EQ(store.getString(sections::Config, "ShellFileName", "x"), "");
}
