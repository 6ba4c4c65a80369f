#include "playlist/PlaylistMenu.h"

#include <array>
#include <utility>

#include "base/Naming.h"

namespace orvalis {

namespace {

constexpr std::array<std::pair<int, int>, 6> kTransparency{{{0, playlist_cmd::Transparency0},
                                                            {10, playlist_cmd::Transparency10},
                                                            {20, playlist_cmd::Transparency20},
                                                            {30, playlist_cmd::Transparency30},
                                                            {40, playlist_cmd::Transparency40},
                                                            {50, playlist_cmd::Transparency50}}};

PlaylistMenuItem command(int id, std::string label, bool enabled = true, bool checked = false) {
    PlaylistMenuItem item;
    item.command = id;
    item.label = std::move(label);
    item.enabled = enabled;
    item.checked = checked;
    return item;
}

PlaylistMenuItem separator() {
    PlaylistMenuItem item;
    item.separator = true;
    return item;
}

PlaylistMenuItem submenu(std::string label, std::vector<PlaylistMenuItem> items) {
    PlaylistMenuItem item;
    item.label = std::move(label);
    item.submenu = std::move(items);
    return item;
}

PlaylistMenuItem recentSubmenu(const RecentLists& recents) {
    std::vector<PlaylistMenuItem> items;
    for (int k = 1; k <= recents.count(); ++k) {
        std::string entry = *recents.newest(k);
        std::string label = std::string(fileNamePart(entry)) + " (&" + std::to_string(k) + ")";
        items.push_back(command(playlist_cmd::FirstRecent + k - 1, std::move(label), true,
                                entry == recents.lastListFile));
    }
    items.push_back(separator());
    items.push_back(command(playlist_cmd::ClearRecents, "전체 목록 삭제"));
    return submenu("최근 목록 파일(&E)", std::move(items));
}

PlaylistMenuItem transparencySubmenu(int alphaPercent) {
    const char* labels[] = {"투명도 없음(&0)\tCtrl+0", "10% (&1)\tCtrl+1", "20% (&2)\tCtrl+2",
                            "30% (&3)\tCtrl+3",        "40% (&4)\tCtrl+4", "50% (&5)\tCtrl+5"};
    std::vector<PlaylistMenuItem> items;
    for (size_t i = 0; i < kTransparency.size(); ++i)
        items.push_back(command(kTransparency[i].second, labels[i], true,
                                kTransparency[i].first == alphaPercent));
    return submenu("투명도 선택(&T)", std::move(items));
}

}  // namespace

std::vector<PlaylistMenuItem> playlistContextMenu(const Playlist& playlist, bool playerShown) {
    std::vector<PlaylistMenuItem> menu;
    if (playlist.recents().count() > 0) {
        menu.push_back(recentSubmenu(playlist.recents()));
        menu.push_back(separator());
    }
    bool rows = !playlist.model().empty();
    menu.push_back(command(playlist_cmd::ToggleMainWindow, playerShown
                                                               ? "메인창 감추기(&V)\t (휠 클릭)"
                                                               : "메인창 보이기(&V)\t (휠 클릭)"));
    menu.push_back(command(playlist_cmd::ShowControls, "재생관련 제어버튼 보이기(&W)", true,
                           playlist.showControls));
    menu.push_back(transparencySubmenu(playlist.alphaPercent));
    menu.push_back(command(playlist_cmd::ColourSchemes, "색상 구성표 선택(&S)..."));
    menu.push_back(command(playlist_cmd::Shuffle, "임의 순서 재생(&R)", rows));
    menu.push_back(command(playlist_cmd::CheckPaths, "목록파일 경로 검사(&C)", rows));
    menu.push_back(command(playlist_cmd::CheckDuplicates, "중복된 파일 검사(&D)", rows));
    menu.push_back(command(playlist_cmd::ShowCount, "전체 목록 개수(&A)...", rows));
    menu.push_back(command(playlist_cmd::Exit, "프로그램 종료(&X)"));
    return menu;
}

std::optional<int> transparencyOfCommand(int id) {
    for (auto [percent, cmd] : kTransparency)
        if (cmd == id) return percent;
    return std::nullopt;
}

int commandOfTransparency(int percent) {
    for (auto [p, cmd] : kTransparency)
        if (p == percent) return cmd;
    return 0;
}

std::optional<int> recentOfCommand(int id) {
    if (id < playlist_cmd::FirstRecent || id >= playlist_cmd::FirstRecent + RecentLists::kMax)
        return std::nullopt;
    return id - playlist_cmd::FirstRecent + 1;
}

}  // namespace orvalis
