#include "support/TestSupport.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <fstream>
#include <sstream>

#include "base/IniDocument.h"

namespace orvalis::test {

std::string freshDir(const std::string& name) {
    static int counter = 0;
    std::string dir = privateHome() + "/t" + std::to_string(++counter) + "-" + name;
    QDir().mkpath(QString::fromStdString(dir));
    return dir;
}

std::string mediaPath(const std::string& name) {
    return std::string(ORVALIS_MEDIA_DIR) + "/" + name;
}

std::string corpusDir(const std::string& sub) {
    std::string dir = std::string(ORVALIS_SOURCE_DIR) + "/../shared/corpus/" + sub;
    struct stat st {};
    return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? dir : std::string();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool waitUntil(const std::function<bool()>& pred, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!pred()) {
        if (clock.elapsed() > timeoutMs) return pred();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

void processEventsFor(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
}

int MemorySettingsStore::getInt(std::string_view section, std::string_view key, int def) const {
    const std::string v = getString(section, key);
    try {
        size_t used = 0;
        const long long n = std::stoll(v, &used);
        return has(section, key) && used == v.size() ? static_cast<int>(n) : def;
    } catch (...) {
        return def;
    }
}

std::string MemorySettingsStore::getString(std::string_view section, std::string_view key,
                                           std::string_view def) const {
    return has(section, key) ? data_.at(foldAsciiCase(section)).at(foldAsciiCase(key))
                             : std::string(def);
}

void MemorySettingsStore::putInt(std::string_view section, std::string_view key, int value) {
    putString(section, key, std::to_string(value));
}

void MemorySettingsStore::putString(std::string_view section, std::string_view key,
                                    std::string_view value) {
    if (!has(section, key)) order_[foldAsciiCase(section)].emplace_back(key);
    data_[foldAsciiCase(section)][foldAsciiCase(key)] = std::string(value);
    writes.push_back(std::string(section) + "/" + std::string(key) + "=" + std::string(value));
}

void MemorySettingsStore::removeKey(std::string_view section, std::string_view key) {
    if (!has(section, key)) return;
    data_[foldAsciiCase(section)].erase(foldAsciiCase(key));
    std::erase_if(order_[foldAsciiCase(section)],
                  [&](const std::string& k) { return foldAsciiCase(k) == foldAsciiCase(key); });
}

void MemorySettingsStore::removeSection(std::string_view section) {
    data_.erase(foldAsciiCase(section));
    order_.erase(foldAsciiCase(section));
}

std::vector<std::string> MemorySettingsStore::keys(std::string_view section) const {
    auto it = order_.find(foldAsciiCase(section));
    return it == order_.end() ? std::vector<std::string>{} : it->second;
}

bool MemorySettingsStore::has(std::string_view section, std::string_view key) const {
    auto it = data_.find(foldAsciiCase(section));
    return it != data_.end() && it->second.count(foldAsciiCase(key));
}

namespace {
// The first queued answer, or the given one when the queue is empty.
template <class T>
T takeFront(std::vector<T>& queue, T otherwise = {}) {
    if (queue.empty()) return otherwise;
    T first = std::move(queue.front());
    queue.erase(queue.begin());
    return first;
}
}  // namespace

MessageResult FakePrompter::message(const MessageRequest& request) {
    messages.push_back(request);
    const bool yesNo =
        request.buttons == MessageButtons::YesNo || request.buttons == MessageButtons::YesNoCancel;
    return takeFront(answers, yesNo ? MessageResult::Yes : MessageResult::Ok);
}

std::vector<std::string> FakePrompter::openFiles(const FileDialogRequest& request, bool) {
    dialogs.push_back(request);
    return takeFront(openAnswers);
}

std::optional<std::string> FakePrompter::saveFile(const FileDialogRequest& request) {
    dialogs.push_back(request);
    return takeFront(saveAnswers);
}

std::optional<std::string> FakePrompter::chooseFolder(const std::string& title,
                                                      const std::string& start) {
    dialogs.push_back({title, start, "", "", ""});
    return takeFront(folderAnswers);
}

}  // namespace orvalis::test
