#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>
#include <filesystem>

#include "app/QtTranslations.h"
#include "base/AppPaths.h"
#include "base/AtomicFile.h"
#include "base/IniSettingsStore.h"
#include "base/SettingsKeys.h"
#include "base/Startup.h"
#include "support/TestSupport.h"

using namespace orvalis;

TEST(Startup, CommandLinePathsAreAbsoluteWholeAndKeepTheirBytes) {
    using Paths = std::vector<std::string>;
    EXPECT_EQ(commandLinePaths({}, "/home/u"), Paths{});
    EXPECT_EQ(
        commandLinePaths({"dir with blank/b c.mkv", "../x/./y.mp3", "/abs/z.wav"}, "/home/u/v"),
        (Paths{"/home/u/v/dir with blank/b c.mkv", "/home/u/x/y.mp3", "/abs/z.wav"}));
    EXPECT_EQ(commandLinePaths({"http://radio.example/live?x=1;y=2", "mms://old/stream"}, "/h"),
              (Paths{"http://radio.example/live?x=1;y=2", "mms://old/stream"}));
    // ";", blanks at either end and names that are not UTF-8 (CP949 here) are names.
    EXPECT_EQ(commandLinePaths(
                  {"a;b.avi", " lead.avi", "trail.avi ", "\xc7\xd1\xb1\xdb.avi",
                   "file:///m/x%3By%20.avi", "file:///m/%C7%D1.avi", "file:///u/%ED%95%9C.avi"},
                  "/h"),
              (Paths{"/h/a;b.avi", "/h/ lead.avi", "/h/trail.avi ", "/h/\xc7\xd1\xb1\xdb.avi",
                     "/m/x;y .avi", "/m/\xc7\xd1.avi", "/u/한.avi"}));
    EXPECT_EQ(commandLineList({"/a", "/b c"}), "/a;/b c;");

    // The version values, and an empty hand-over list in place of the last run's.
    test::MemorySettingsStore store;
    store.putString(sections::Config, "ShellFileName", "/old;");
    writeStartupValues(store, "/opt/one/two/three/orvalis");
    EXPECT_EQ(store.getString(sections::Version, "ExePath"), "/opt/one/two/three");
    EXPECT_EQ(store.getString(sections::Version, "ExeFile"), "/opt/one/two/three/orvalis");
    EXPECT_TRUE(store.has(sections::Config, "ShellFileName"));
    EXPECT_EQ(store.getString(sections::Config, "ShellFileName", "x"), "");
}

TEST(Startup, QtsOwnDialogsSpeakKoreanWhereTheSystemHasTheTexts) {
    const QString file =
        QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ko.qm");
    QTranslator* translator = installQtTranslations(*QCoreApplication::instance());
    ASSERT_EQ(translator != nullptr, QFileInfo::exists(file)) << file.toStdString();
    if (!translator) return;
    EXPECT_EQ(QCoreApplication::translate("QColorDialog", "&Basic colors"),
              QStringLiteral("기본 색상(&B)"));
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

TEST(Startup, TheAboutLinkIsTheProgramsOwnDocumentationOrNothing) {
    const std::string prefix = test::freshDir("doc-prefix");
    makeDirectories(prefix + "/bin");
    test::writeFile(prefix + "/README.md", "another project's");
    EXPECT_EQ(paths::documentationFile(prefix + "/bin"), "");
    makeDirectories(prefix + "/share/man/man1");
    test::writeFile(prefix + "/share/man/man1/orvalis.1", ".TH ORVALIS 1\n");
    EXPECT_EQ(paths::documentationFile(prefix + "/bin"),
              std::filesystem::canonical(prefix + "/share/man/man1/orvalis.1").native());
}
