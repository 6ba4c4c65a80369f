#include "app/QtPrompter.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace orvalis {

QString QtPrompter::qtFilter(const std::string& mfcFilter) {
    const QStringList parts = QString::fromStdString(mfcFilter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed();
        if (name.isEmpty() && patterns.isEmpty()) break;
        patterns.replace(';', ' ');
        // Qt takes the patterns from the last parentheses of the name.
        int open = name.lastIndexOf('(');
        if (open >= 0 && name.endsWith(')')) name = name.left(open).trimmed();
        filters << QStringLiteral("%1 (%2)").arg(name, patterns);
    }
    return filters.join(QStringLiteral(";;"));
}

MessageResult QtPrompter::message(const MessageRequest& r) {
    QMessageBox box(parent_);
    box.setWindowTitle(QString::fromStdString(r.title));
    box.setText(QString::fromStdString(r.text));
    switch (r.icon) {
        case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
        case MessageIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
        case MessageIcon::Stop: box.setIcon(QMessageBox::Critical); break;
        case MessageIcon::None: break;
    }
    switch (r.buttons) {
        case MessageButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case MessageButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MessageButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case MessageButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Yes: return MessageResult::Yes;
        case QMessageBox::No: return MessageResult::No;
        case QMessageBox::Cancel: return MessageResult::Cancel;
        default: return MessageResult::Ok;
    }
}

std::vector<std::string> QtPrompter::openFiles(const FileDialogRequest& r, bool multiple) {
    QString start = QString::fromStdString(r.folder);
    if (!r.fileName.empty()) {
        start = start.isEmpty() ? QString::fromStdString(r.fileName)
                                : start + '/' + QString::fromStdString(r.fileName);
    }
    std::vector<std::string> out;
    const QString title = QString::fromStdString(r.title);
    if (multiple) {
        for (const QString& f : QFileDialog::getOpenFileNames(parent_, title, start, qtFilter(r.filter)))
            out.push_back(f.toStdString());
    } else {
        QString f = QFileDialog::getOpenFileName(parent_, title, start, qtFilter(r.filter));
        if (!f.isEmpty()) out.push_back(f.toStdString());
    }
    return out;
}

std::optional<std::string> QtPrompter::saveFile(const FileDialogRequest& r) {
    QFileDialog dialog(parent_, QString::fromStdString(r.title), QString::fromStdString(r.folder),
                       qtFilter(r.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The program asks its own overwrite question where it has one.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!r.fileName.empty()) dialog.selectFile(QString::fromStdString(r.fileName));
    if (!r.defaultSuffix.empty()) dialog.setDefaultSuffix(QString::fromStdString(r.defaultSuffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

std::optional<std::string> QtPrompter::chooseFolder(const std::string& title,
                                                    const std::string& start) {
    QString dir = QFileDialog::getExistingDirectory(parent_, QString::fromStdString(title),
                                                    QString::fromStdString(start));
    if (dir.isEmpty()) return std::nullopt;
    return dir.toStdString();
}

}  // namespace orvalis
