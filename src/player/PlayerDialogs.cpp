#include "player/PlayerDialogs.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "base/AppPaths.h"
#include "base/AtomicFile.h"
#include "base/SettingsKeys.h"
#include "player/Mpris.h"
#include "player/PlayerController.h"
#include "playlist/ListFiles.h"

namespace orvalis {

namespace {

std::string readMounts() {
    auto text = readWholeFile("/proc/self/mounts", 4u << 20);
    return text ? *text : std::string();
}

}  // namespace

PlayerDialogs::PlayerDialogs(QWidget* parent, PlayerController& controller, DesktopServices& desktop)
    : QObject(parent), parent_(parent), controller_(controller), desktop_(desktop) {
    drives_ = optical::findDrives();
    mounts_ = optical::parseMounts(readMounts());
    // The kernel marks /proc/self/mounts as changed (POLLPRI) whenever something is mounted.
    mountsFd_ = ::open("/proc/self/mounts", O_RDONLY | O_CLOEXEC);
    if (mountsFd_ >= 0) {
        mountsNotifier_ = new QSocketNotifier(mountsFd_, QSocketNotifier::Exception, this);
        connect(mountsNotifier_, &QSocketNotifier::activated, this, &PlayerDialogs::mountsChanged);
    }
}

PlayerDialogs::~PlayerDialogs() {
    delete mountsNotifier_;
    if (mountsFd_ >= 0) ::close(mountsFd_);
}

std::vector<std::string> PlayerDialogs::discMediaPatterns() {
    return optical::splitPatterns(listfiles::kMediaPatterns);
}

void PlayerDialogs::mountsChanged() {
    auto after = optical::parseMounts(readMounts());
    auto fresh = optical::newDiscMounts(mounts_, after, drives_);
    mounts_ = std::move(after);
    if (fresh.empty()) return;
    if (!settings::get(controller_.store(), keys::AutoCdrom)) return;
    for (const auto& mount : fresh) {
        if (auto file = optical::firstMediaFile(mount.mountPoint, discMediaPatterns())) {
            if (parent_->isMinimized()) parent_->showNormal();
            if (auto* playlist = controller_.playlist()) playlist->addPaths({*file});
            return;
        }
    }
}

std::optional<std::string> PlayerDialogs::askStreamAddress() {
    if (streamAddressDialog) return streamAddressDialog();
    return std::nullopt;
}

void PlayerDialogs::showAbout() {
    QDialog box(parent_);
    box.setWindowTitle(QStringLiteral("Orvalis 정보"));
    auto* layout = new QVBoxLayout(&box);
    auto* title = new QLabel(QStringLiteral("<b style='font-size:15pt'>Orvalis</b>"), &box);
    auto* text = new QLabel(
        QStringLiteral("동영상과 음악 파일, 인터넷 방송을 재생하고 SAMI 자막을 직접 그리는 "
                       "미디어 플레이어입니다.\n재생은 libmpv, 화면은 Qt가 맡습니다."),
        &box);
    text->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    layout->addWidget(title);
    layout->addWidget(text);
    // The program's own page is its documentation; without it there is no link at all.
    const std::string page =
        paths::documentationFile(QCoreApplication::applicationDirPath().toStdString());
    if (!page.empty()) {
        auto* link = new QPushButton(QStringLiteral("홈페이지"), &box);
        layout->addWidget(link, 0, Qt::AlignLeft);
        const std::string url = mpris::fileUrl(page);
        connect(link, &QPushButton::clicked, &box, [this, url] { desktop_.openUrl(url); });
    }
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    controller_.contextMenuOpened();
    box.exec();
    controller_.contextMenuClosed();
}

void PlayerDialogs::showFilterDetails(const FilterInfo& filter) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("필터 정보"),
                    QString::fromStdString(filter.name), QMessageBox::Ok, parent_);
    box.setInformativeText(QString::fromStdString(filter.details));
    box.exec();
}

void PlayerDialogs::openSystemMixer() {
    auto mixer = optical::findMixer();
    if (!mixer || mixer->empty()) return;
    QStringList args;
    for (size_t i = 1; i < mixer->size(); ++i) args << QString::fromStdString((*mixer)[i]);
    QProcess::startDetached(QString::fromStdString(mixer->front()), args);
}

void PlayerDialogs::moveTray(int drive, bool open) {
    if (drive < 0 || drive >= static_cast<int>(drives_.size())) return;
    const std::string& name = drives_[static_cast<size_t>(drive)];
    const std::string device = "/dev/" + name;
    MediaEngine& engine = controller_.engine();
    if (open && engine.flags().loaded) {
        auto mount = optical::mountPointOf(optical::parseMounts(readMounts()), name);
        if (mount && optical::isUnder(engine.currentFile(), *mount)) controller_.closeFile();
    }
    parent_->setCursor(Qt::WaitCursor);
    if (optical::moveTray(device, open) == optical::TrayResult::Busy) {
        // A mounted disc: the desktop's eject tool unmounts it first.
        const QString eject = QStandardPaths::findExecutable(QStringLiteral("eject"));
        if (!eject.isEmpty()) {
            QStringList args;
            if (!open) args << QStringLiteral("-t");
            args << QString::fromStdString(device);
            QProcess::startDetached(eject, args);
        }
    }
    parent_->unsetCursor();
}

}  // namespace orvalis
