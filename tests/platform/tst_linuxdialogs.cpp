#include "platform/linux/linuxdialogs.h"
#include "platform/linux/linuxstyles.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace pelmaris::platform;

namespace {

FileDialogRequest listRequest(const QString &folder, int type)
{
    FileDialogRequest request;
    request.directory = folder;
    request.fileName = QStringLiteral("list");
    request.filters = {{QStringLiteral("CSV"), QStringLiteral("*.csv")},
                       {QStringLiteral("TEXT"), QStringLiteral("*.txt")},
                       {QStringLiteral("ALL"), QStringLiteral("*")}};
    request.filterIndex = type;
    return request;
}

// Plays the user: once the file dialog shows, optionally picks another type, then
// presses Save; answers an overwrite question Yes and counts it.
struct User {
    int chooseType = -1;
    int questions = 0;
    bool saved = false;
    QTimer timer;

    void start()
    {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, &timer, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                ++questions;
                box->button(QMessageBox::Yes)->click();
            } else if (auto *dialog = qobject_cast<QFileDialog *>(modal); dialog && !saved) {
                if (chooseType >= 0) {
                    auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
                    types->setCurrentIndex(chooseType);
                    Q_EMIT types->activated(chooseType);
                    Q_EMIT types->textActivated(types->itemText(chooseType));
                }
                saved = true;
                QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            }
        });
        timer.start();
    }
};

} // namespace

class TestLinuxDialogs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void savedNameTakesTheSelectedTypesExtension_data()
    {
        QTest::addColumn<int>("preselected");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("type");
        QTest::newRow("preselected TEXT") << 1 << -1 << "list.txt" << 1;
        QTest::newRow("preselected CSV") << 0 << -1 << "list.csv" << 0;
        QTest::newRow("changed to ALL") << 0 << 2 << "list" << 2;
        QTest::newRow("changed to TEXT") << 0 << 1 << "list.txt" << 1;
    }
    void savedNameTakesTheSelectedTypesExtension()
    {
        QFETCH(int, preselected);
        QFETCH(int, chosen);
        QFETCH(QString, name);
        QFETCH(int, type);
        QTemporaryDir dir;
        LinuxDialogs dialogs(QStringLiteral("Pelmaris"));
        User user;
        user.chooseType = chosen;
        user.start();
        const FileDialogAnswer answer =
            dialogs.saveFile(nullptr, listRequest(dir.path(), preselected));
        QCOMPARE(answer.path, dir.filePath(name));
        QCOMPARE(answer.filterIndex, type);
    }

    // The overwrite question is about the file that will be written, extension added.
    void overwriteIsAskedAboutTheFinalName()
    {
        QTemporaryDir dir;
        QFile existing(dir.filePath(QStringLiteral("list.txt")));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();
        LinuxDialogs dialogs(QStringLiteral("Pelmaris"));
        User user;
        user.start();
        const FileDialogAnswer answer = dialogs.saveFile(nullptr, listRequest(dir.path(), 1));
        QCOMPARE(answer.path, dir.filePath(QStringLiteral("list.txt")));
        QCOMPARE(user.questions, 1);
    }

    // In the dark scheme the dialog is Qt's own and dark; a desktop's dialog would not be.
    void fileDialogsFollowTheDarkScheme()
    {
        QTemporaryDir dir;
        LinuxStyles styles;
        LinuxDialogs dialogs(QStringLiteral("Pelmaris"));
        for (bool dark : {true, false}) {
            styles.setDark(dark);
            bool own = !dark;
            QColor window;
            QTimer::singleShot(50, [&] {
                auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                own = dialog->testOption(QFileDialog::DontUseNativeDialog);
                window = dialog->palette().color(QPalette::Window);
                dialog->reject();
            });
            dialogs.openFile(nullptr, listRequest(dir.path(), 0));
            QCOMPARE(own, dark);
            if (dark)
                QCOMPARE(window, QColor(darkcolors::Window));
        }
    }

    // A link to a folder among send-to targets is chosen, not opened; elsewhere the
    // dialog does not take a folder for a file.
    void linksToFoldersAreChosen_data()
    {
        QTest::addColumn<bool>("chooseLinks");
        QTest::newRow("send-to targets") << true;
        QTest::newRow("other dialogs") << false;
    }
    void linksToFoldersAreChosen()
    {
        QFETCH(bool, chooseLinks);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("target")));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("SendTo")));
        const QString link = dir.filePath(QStringLiteral("SendTo/to target"));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("target")), link));
        FileDialogRequest request;
        request.directory = dir.filePath(QStringLiteral("SendTo"));
        request.chooseLinks = chooseLinks;
        LinuxDialogs dialogs(QStringLiteral("Pelmaris"));
        bool stayedOpen = false;
        QTimer::singleShot(50, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            // a failed check must not leave the dialog waiting
            const auto closeAnyway = qScopeGuard([dialog] {
                if (dialog->isVisible())
                    dialog->reject();
            });
            auto *buttons = dialog->findChild<QDialogButtonBox *>();
            QVERIFY(buttons);
            QPushButton *open = buttons->button(QDialogButtonBox::Open);
            auto *files = dialog->findChild<QListView *>(QStringLiteral("listView"));
            QVERIFY(files);
            // The folder is listed by a thread of its own; the user clicks the link once
            // it shows.
            const auto clickLink = [&] {
                const QModelIndexList found = files->model()->match(
                    files->rootIndex().isValid() ? files->model()->index(0, 0, files->rootIndex())
                                                 : QModelIndex(),
                    Qt::DisplayRole, QStringLiteral("to target"), 1, Qt::MatchExactly);
                if (!found.isEmpty())
                    files->setCurrentIndex(found.constFirst());
                return !found.isEmpty();
            };
            QTRY_VERIFY_WITH_TIMEOUT(clickLink(), 10000);
            open->click();
            stayedOpen = dialog->isVisible();
        });
        const FileDialogAnswer answer = dialogs.openFile(nullptr, request);
        QCOMPARE(answer.path, chooseLinks ? link : QString());
        QCOMPARE(stayedOpen, !chooseLinks);
    }
};

QTEST_MAIN(TestLinuxDialogs)
#include "tst_linuxdialogs.moc"
