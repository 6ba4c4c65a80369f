// The built program's caption commands, run as a process without any display.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "base/TextCodec.h"
#include "support/TestSupport.h"

using namespace orvalis;

namespace {

struct Outcome {
    int status = -1;
    std::string output;  // stdout and stderr
};

// The program with these arguments, with no display and no Qt platform named.
Outcome runOrvalis(const std::string& args) {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                                std::string(ORVALIS_BINARY_DIR) + "/orvalis " + args + " 2>&1";
    Outcome run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) run.output.append(buffer, n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace

TEST(CaptionCommands, ConvertAndInfoRunWithoutADisplayAndNeverHarmTheInput) {
    const std::string dir = test::freshDir("caption-commands");
    const std::string in = dir + "/film.smi";
    const std::string sami = *text::toCp949(
        "<SAMI><BODY>\r\n"
        "<SYNC Start=1000><P Class=KRCC><font color=\"#ffff00\">안녕</font>\r\n"
        "<SYNC Start=1500><P Class=ENCC>Hello\r\n"
        "<SYNC Start=3000><P Class=KRCC>&nbsp;\r\n"
        "<SYNC Start=4000><P Class=KRCC>잘 가\r\n"
        "</BODY></SAMI>\r\n");
    test::writeFile(in, sami);

    Outcome info = runOrvalis("--caption-info " + in);
    EXPECT_EQ(info.status, 0) << info.output;
    EXPECT_NE(info.output.find("encoding: CP949\n"), std::string::npos) << info.output;
    EXPECT_NE(info.output.find("class KRCC: 2 cues, 00:00:01,000 --> 00:00:19,000\n"),
              std::string::npos)
        << info.output;
    EXPECT_NE(info.output.find("class EGCC: 1 cue, 00:00:01,500 --> 00:00:16,500\n"),
              std::string::npos)
        << info.output;

    Outcome convert = runOrvalis("--convert " + in + " " + dir + "/film.srt");
    EXPECT_EQ(convert.status, 0) << convert.output;
    EXPECT_EQ(test::readFile(dir + "/film.srt"),
              "1\n00:00:01,000 --> 00:00:03,000\n<font color=\"#FFFF00\">안녕</font>\n\n"
              "2\n00:00:04,000 --> 00:00:19,000\n잘 가\n\n");
    convert = runOrvalis("--convert " + in + " " + dir + "/film.en.vtt --class ENCC");
    EXPECT_EQ(convert.status, 0) << convert.output;
    EXPECT_EQ(test::readFile(dir + "/film.en.vtt"),
              "WEBVTT\n\n00:00:01.500 --> 00:00:16.500\nHello\n\n");

    // Onto itself, by its name or through a second link: refused.
    ASSERT_EQ(::link(in.c_str(), (dir + "/same.smi").c_str()), 0);
    for (const std::string& out : {in, dir + "/same.smi"}) {
        Outcome self = runOrvalis("--convert " + in + " " + out);
        EXPECT_NE(self.status, 0);
        EXPECT_NE(self.output.find("is the input file itself"), std::string::npos) << self.output;
    }
    // Into a folder that cannot be made (its parent is a file), from a file that is not
    // there, and a class the file does not have.
    Outcome folder = runOrvalis("--convert " + in + " " + in + "/out.srt");
    EXPECT_EQ(folder.status, 1);
    EXPECT_NE(folder.output.find("cannot write " + in + "/out.srt"), std::string::npos)
        << folder.output;
    Outcome missing = runOrvalis("--convert " + dir + "/none.smi " + dir + "/none.srt");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.output.find("cannot read " + dir + "/none.smi"), std::string::npos);
    Outcome noClass = runOrvalis("--convert " + in + " " + dir + "/x.srt --class JPCC");
    EXPECT_EQ(noClass.status, 1);
    EXPECT_NE(noClass.output.find("has no class JPCC (it has KRCC, EGCC)"), std::string::npos)
        << noClass.output;
    EXPECT_TRUE(test::readFile(dir + "/x.srt").empty());
    EXPECT_EQ(runOrvalis("--convert " + in).status, 2);

    EXPECT_EQ(test::readFile(in), sami);
}
