// Pictures of the playlist window and the scheme dialog, for looking at them:
//   playlist_screens OUTPUT_FOLDER   (under a display; QT_SCALE_FACTOR=2 for a HiDPI look)
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <cstdio>

#include "base/SettingsKeys.h"
#include "playlist/PlaylistListView.h"
#include "playlist/PlaylistWindow.h"
#include "playlist/SchemeDialog.h"
#include "support/TestSupport.h"

using namespace orvalis;

namespace orvalis::test {
// The test helpers want a private home; these pictures need none.
const std::string& privateHome() {
    static const std::string home = "/nonexistent";
    return home;
}
}  // namespace orvalis::test

namespace {

QString out;

void save(QWidget& w, const char* name) {
    QCoreApplication::processEvents();
    w.grab().save(out + "/" + name + ".png");
    std::printf("%s/%s.png\n", qPrintable(out), name);
}

void fill(PlaylistWindow& window) {
    Playlist& p = window.controller().playlist();
    for (const char* path : {"/음악/아이유 - 밤편지.flac", "/영화/기생충 (2019).mkv",
                             "/video/Big Buck Bunny.webm", "/music/01 - Opening & Theme.mp3",
                             "/드라마/응답하라 1988 - 01화.mp4", "http://radio.example/live.mp3",
                             "/video/A very long file name that will not fit the "
                             "width of the list at all.avi"})
        p.AddPath(path);
    p.model().clearSelection();
    window.port().playEntry(1);
    window.controller().click(3, false, false);
    window.controller().click(4, true, false);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    out = argc > 1 ? argv[1] : ".";
    test::MemorySettingsStore settings;
    test::FakePrompter prompter;
    PlaylistHost host;
    schemes::writeFactorySet(settings);

    for (const char* scheme : {"Blue", "Black", "Ivory"}) {
        settings.putString(sections::PlaylistSkins, schemes::kSkinName, scheme);
        settings.putInt(sections::ConfigPlaylist, "Show Controls", std::string(scheme) == "Black");
        PlaylistWindow window(settings, prompter, host);
        window.resize(240, 300);
        fill(window);
        window.port().showPlaying();
        window.show();
        save(window, (std::string("playlist-") + scheme).c_str());
        settings.putInt(sections::PlaylistLists, "nItemCount", 0);
    }

    {
        // A row drag under way: the mark above the row it would go before.
        settings.putString(sections::PlaylistSkins, schemes::kSkinName, "Blue");
        PlaylistWindow window(settings, prompter, host);
        window.resize(240, 300);
        fill(window);
        window.show();
        QCoreApplication::processEvents();
        PlaylistListView& list = window.list();
        std::unique_ptr<QMimeData> mime(list.rowDragMime());
        QPoint over = list.visualRect(list.model()->index(5, 0)).center();
        QDragEnterEvent enter(over, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list.viewport(), &enter);
        save(window, "playlist-drag");
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(list.viewport(), &leave);

        // The context menu, caught while it is open.
        QTimer::singleShot(300, [] {
            if (QWidget* menu = QApplication::activePopupWidget()) {
                save(*menu, "playlist-menu");
                menu->close();
            }
        });
        QPoint at = list.visualRect(list.model()->index(2, 0)).center();
        QMouseEvent release(QEvent::MouseButtonRelease, at, list.viewport()->mapToGlobal(at),
                            Qt::RightButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list.viewport(), &release);
        settings.putInt(sections::PlaylistLists, "nItemCount", 0);
    }

    {
        SchemeDialog dialog(settings, prompter, nullptr);
        dialog.nameList()->setCurrentRow(2);
        dialog.show();
        save(dialog, "scheme-dialog");
        SchemeNameDialog names(nullptr);
        QTimer::singleShot(300, [&] {
            save(names, "scheme-name");
            names.reject();
        });
        names.askName("추가할 색상표 이름을 입력하세요.", "Ivory");
    }
    return 0;
}
