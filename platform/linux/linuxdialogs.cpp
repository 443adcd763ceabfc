#include "platform/linux/linuxdialogs.h"

#include "platform/linux/darkstyle.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace pelmaris::platform {

namespace {

// "*.csv" gives "csv"; a pattern that names no single extension ("*", "*.*") none.
QString extensionOf(const QString &pattern)
{
    if (!pattern.startsWith(QStringLiteral("*.")))
        return {};
    const QString extension = pattern.mid(2);
    for (const QChar c : extension) {
        if (c == u'*' || c == u'?' || c == u'[' || c == u' ' || c == u'.')
            return {};
    }
    return extension;
}

// A desktop's own file dialog keeps the desktop's colours; in the dark scheme Qt's dialog
// is used, which takes the program's style.
QFileDialog::Options schemeOptions()
{
    if (qobject_cast<const DarkStyle *>(QApplication::style()))
        return QFileDialog::DontUseNativeDialog;
    return {};
}

// Takes a selected link as the answer where the plain dialog would open the folder it
// points at. Only Qt's own dialog can be told so; a desktop's dialog follows links.
class LinkChoosingDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;
    bool chooseLinks = false;

    void accept() override
    {
        const QStringList files = selectedFiles();
        if (chooseLinks && files.size() == 1 && QFileInfo(files.constFirst()).isSymLink()) {
            QDialog::accept();
            return;
        }
        QFileDialog::accept();
    }
};

FileDialogAnswer runFileDialog(QWidget *parent, const FileDialogRequest &request, bool save)
{
    LinkChoosingDialog dialog(parent, request.title, request.directory);
    dialog.setOptions(schemeOptions());
    if (request.chooseLinks && !save) {
        dialog.chooseLinks = true;
        dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontResolveSymlinks);
        // The dialog names a selected file in its name box, but not a folder, and Open
        // takes what the box names: a link to a folder is named there too.
        QObject::connect(
            &dialog, &QFileDialog::currentChanged, &dialog, [&dialog](const QString &path) {
                const QFileInfo info(path);
                auto *name = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                if (name && info.isSymLink() && info.isDir())
                    name->setText(info.fileName());
            });
    }
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.confirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    QStringList names;
    for (const FileFilter &filter : request.filters)
        names << filter.name + QStringLiteral(" (") + filter.pattern + u')';
    if (!names.isEmpty()) {
        dialog.setNameFilters(names);
        dialog.selectNameFilter(names.at(qBound(0, request.filterIndex, int(names.size()) - 1)));
    }
    if (save && request.typeExtension) {
        // The dialog adds the extension before it asks about overwriting, so it asks
        // about the name that will be written.
        const auto followType = [&dialog, &names, &request](const QString &selected) {
            const qsizetype i = names.indexOf(selected);
            dialog.setDefaultSuffix(i < 0 ? QString() : extensionOf(request.filters.at(i).pattern));
        };
        followType(dialog.selectedNameFilter());
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followType);
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    FileDialogAnswer answer;
    answer.path = dialog.selectedFiles().constFirst();
    answer.filterIndex = int(qMax<qsizetype>(0, names.indexOf(dialog.selectedNameFilter())));
    return answer;
}

} // namespace

void LinuxDialogs::message(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, m_title, text, QMessageBox::Ok, parent);
    box.exec();
}

void LinuxDialogs::messageCentered(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, m_title, text, QMessageBox::Ok);
    box.adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        box.move(screen->availableGeometry().center() - box.rect().center());
    box.exec();
}

void LinuxDialogs::error(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Critical, m_title, text, QMessageBox::Ok, parent);
    box.exec();
}

bool LinuxDialogs::askYesNo(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Question, m_title, text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

QString LinuxDialogs::openFileName(QWidget *parent, const QString &title, const QString &start,
                                   const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, title, start, filter, nullptr, schemeOptions());
}

QString LinuxDialogs::saveFileName(QWidget *parent, const QString &title, const QString &start,
                                   const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, title, start, filter, nullptr, schemeOptions());
}

Answer LinuxDialogs::askYesNoCancel(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Question, m_title, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("はい"));
    box.button(QMessageBox::No)->setText(QStringLiteral("いいえ"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel; // also when the box is closed
    }
}

} // namespace pelmaris::platform

namespace pelmaris::platform {

FileDialogAnswer LinuxDialogs::saveFile(QWidget *parent, const FileDialogRequest &request)
{
    return runFileDialog(parent, request, true);
}

FileDialogAnswer LinuxDialogs::openFile(QWidget *parent, const FileDialogRequest &request)
{
    return runFileDialog(parent, request, false);
}

} // namespace pelmaris::platform
