// The main of every test binary: a private home, then GoogleTest. Binaries built with
// ORVALIS_TEST_GUI get a QApplication (they run under the display make test provides);
// the others a QCoreApplication, so they need no display at all.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <link.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <clocale>
#include <cstring>
#include <memory>
#include <string>

#include "support/TestSupport.h"

// Sanitizer options, read by the sanitizers before main. Leaks inside the libraries we use
// are theirs (tests/lsan.supp lists them); ours are reported and fail the test.
// intercept_tls_get_addr=0: GCC 12's runtime takes some dynamic TLS blocks (the OpenGL
// driver's) for a glibc 2.19 layout by the chance of their address, and its leak check then
// crashes reading a range that does not exist ("Tracer caught signal 11").
extern "C" const char* __asan_default_options() {
    return "detect_leaks=1:abort_on_error=0:intercept_tls_get_addr=0";
}
extern "C" const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }
extern "C" const char* __lsan_default_options() {
    return "suppressions=" ORVALIS_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

namespace orvalis::test {

namespace {
std::string g_home;
}

const std::string& privateHome() { return g_home; }

}  // namespace orvalis::test

namespace {

void makePrivateHome() {
    char tmpl[] = "/tmp/orvalis-test-XXXXXX";
    const char* dir = ::mkdtemp(tmpl);
    if (!dir) std::abort();
    std::string home = dir;
    orvalis::test::g_home = home;
    auto sub = [&](const char* name) {
        std::string p = home + "/" + name;
        ::mkdir(p.c_str(), 0700);
        return p;
    };
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", sub("config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", sub("data").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", sub("cache").c_str(), 1);
    ::setenv("XDG_STATE_HOME", sub("state").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", sub("runtime").c_str(), 1);
    ::unsetenv("XDG_DATA_DIRS");
    ::unsetenv("XDG_CONFIG_DIRS");
    // No test reaches the user's desktop bus or the system's power-off: both addresses
    // lead nowhere unless a test starts its own daemon and points there.
    std::string nowhere = "unix:path=" + home + "/no-bus";
    ::setenv("DBUS_SESSION_BUS_ADDRESS", nowhere.c_str(), 1);
    ::setenv("DBUS_SYSTEM_BUS_ADDRESS", nowhere.c_str(), 1);
}

// The OpenGL stack loads driver modules and unloads them again; a leak report made after that
// would name whatever library took their place. Every module loaded by now stays loaded.
void keepLoadedModules() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            if (info->dlpi_name && info->dlpi_name[0])
                dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

bool listingOnly(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0) return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (listingOnly(argc, argv)) return RUN_ALL_TESTS();
    makePrivateHome();
    std::unique_ptr<QCoreApplication> app;
#ifdef ORVALIS_TEST_GUI
    if (!::getenv("DISPLAY") && !::getenv("WAYLAND_DISPLAY")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    app = std::make_unique<QApplication>(argc, argv);
#else
    app = std::make_unique<QCoreApplication>(argc, argv);
#endif
    std::setlocale(LC_NUMERIC, "C");
    int rc = RUN_ALL_TESTS();
    keepLoadedModules();
    app.reset();
    QDir(QString::fromStdString(orvalis::test::g_home)).removeRecursively();
    return rc;
}
