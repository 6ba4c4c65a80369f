// make install's files, installed from this build into a DESTDIR inside the private home
// (the prefix is the default /usr/local, never reached), checked by the desktop's own
// validators where they are installed, then removed again by make uninstall.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QProcess>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <filesystem>

#include "base/AppPaths.h"
#include "base/AtomicFile.h"
#include "base/DesktopEntry.h"
#include "settings/FileAssociations.h"
#include "support/TestSupport.h"

namespace orvalis {
namespace {

constexpr const char* kPrefix = "/usr/local";
const char* const kInstalled[] = {"bin/orvalis",
                                  "share/applications/orvalis.desktop",
                                  "share/icons/hicolor/scalable/apps/orvalis.svg",
                                  "share/metainfo/com.corvane.orvalis.metainfo.xml",
                                  "share/man/man1/orvalis.1",
                                  "share/doc/orvalis/README.md"};

struct Outcome {
    int code = -1;
    QString output;
};

Outcome run(const QString& program, const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted(10000) || !p.waitForFinished(120000)) return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAll())};
}

std::vector<std::string> regularFilesBelow(const std::string& dir) {
    std::vector<std::string> out;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(dir, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        if (it->is_regular_file(ec)) out.push_back(it->path().string());
    return out;
}

TEST(Install, IntoADestdirAndOutAgain) {
    const std::string destdir = test::freshDir("destdir");
    const std::string root = destdir + kPrefix;
    const QString destdirArg = QString::fromStdString("DESTDIR=" + destdir);
    Outcome install =
        run("env", {destdirArg, "cmake", "--install", ORVALIS_BINARY_DIR, "--prefix", kPrefix});
    ASSERT_EQ(install.code, 0) << install.output.toStdString();
    for (const char* file : kInstalled)
        EXPECT_TRUE(std::filesystem::is_regular_file(root + "/" + file)) << file;
    EXPECT_EQ(regularFilesBelow(destdir).size(), std::size(kInstalled));
    struct stat st {};
    ASSERT_EQ(::stat((root + "/bin/orvalis").c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IXOTH);

    // The entry is the packaged one naming the installed program: the very entry the
    // file-association page would write for it. The desktop's own validators take it.
    const QString entryPath = QString::fromStdString(root + "/share/applications/orvalis.desktop");
    EXPECT_EQ(test::readFile(entryPath.toStdString()), desktopEntryText("/usr/local/bin/orvalis"));
    const QString metainfo =
        QString::fromStdString(root + "/share/metainfo/com.corvane.orvalis.metainfo.xml");
    for (const auto& [tool, args] :
         {std::pair{"desktop-file-validate", QStringList{entryPath}},
          {"appstreamcli", {"validate", "--no-net", "--pedantic", metainfo}}}) {
        const QString exe = QStandardPaths::findExecutable(tool);
        if (exe.isEmpty()) continue;
        const Outcome v = run(exe, args);
        EXPECT_EQ(v.code, 0) << v.output.toStdString();
        if (QString(tool) == "desktop-file-validate") {
            EXPECT_TRUE(v.output.trimmed().isEmpty()) << v.output.toStdString();
        }
    }
    // The icon is an SVG document that XML readers take.
    QXmlStreamReader svg(QByteArray::fromStdString(
        test::readFile(root + "/share/icons/hicolor/scalable/apps/orvalis.svg")));
    ASSERT_TRUE(svg.readNextStartElement());
    EXPECT_EQ(svg.name().toString(), "svg");
    while (!svg.atEnd()) svg.readNext();
    EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();
    EXPECT_EQ(test::readFile(root + "/share/man/man1/orvalis.1").rfind(".TH ORVALIS 1", 0), 0u);
    // The about box's link: the installed program's own README, and nothing once it is gone.
    EXPECT_EQ(paths::documentationFile(root + "/bin"), root + "/share/doc/orvalis/README.md");

    Outcome uninstall = run("make", {"-s", "-C", ORVALIS_SOURCE_DIR, "uninstall",
                                     QString("PREFIX=") + kPrefix, destdirArg});
    ASSERT_EQ(uninstall.code, 0) << uninstall.output.toStdString();
    EXPECT_TRUE(regularFilesBelow(destdir).empty());
    EXPECT_EQ(paths::documentationFile(root + "/bin"), "");
}

TEST(Install, TheInstalledEntryServesTheFileAssociations) {
    const std::string home = test::freshDir("installed-entry");
    const std::string system = home + "/usr/share";
    makeDirectories(system + "/applications");
    test::writeFile(system + "/applications/orvalis.desktop", desktopEntryText("/usr/bin/orvalis"));
    AssociationPlaces places{home + "/config", home + "/data", "/usr/bin/orvalis", {}};
    DesktopAssociations installed(places, {home + "/nowhere", system});
    EXPECT_EQ(installed.installedEntryPath(), system + "/applications/orvalis.desktop");

    ExtensionStates avi{};
    avi[2] = true;
    ASSERT_TRUE(installed.apply(avi).ok);
    EXPECT_FALSE(std::filesystem::exists(installed.desktopEntryPath()));  // none of the user's
    EXPECT_EQ(installed.read(), avi);
    EXPECT_NE(test::readFile(installed.mimeappsPath()).find("video/x-msvideo=orvalis.desktop;"),
              std::string::npos);

    // Another copy of the program cannot lean on it: it writes the user's own entry, which
    // then stands before the installed one for both.
    places.programPath = "/home/me/build/orvalis";
    DesktopAssociations other(places, {system});
    EXPECT_EQ(other.read(), ExtensionStates{});
    ASSERT_TRUE(other.apply(avi).ok);
    EXPECT_EQ(other.read(), avi);
    EXPECT_EQ(installed.read(), ExtensionStates{});
}

}  // namespace
}  // namespace orvalis
