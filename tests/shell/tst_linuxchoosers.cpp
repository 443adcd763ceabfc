#include "platform/linux/gioshell.h"
#include "platform/linux/linuxdialogs.h"
#include "platform/linux/openwithdialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace pelmaris::platform;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

// The three-way question and the open-with chooser, offscreen; the applications come
// from a sandbox of XDG folders.
class TestLinuxChoosers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void threeWayQuestion_data();
    void threeWayQuestion();
    void applicationsForType();
    void chooserGivesTheEntry();

private:
    QTemporaryDir m_dir;
};

void TestLinuxChoosers::initTestCase()
{
    // Before GIO's first look at the folders, which it keeps for the process.
    const QString data = m_dir.path() + "/data";
    qputenv("XDG_DATA_HOME", (m_dir.path() + "/home").toUtf8());
    qputenv("XDG_DATA_DIRS", data.toUtf8());
    qputenv("XDG_CONFIG_HOME", (m_dir.path() + "/config").toUtf8());
    qputenv("XDG_CONFIG_DIRS", (m_dir.path() + "/etc").toUtf8());
    writeFile(data + "/applications/viewer.desktop",
              "[Desktop Entry]\nType=Application\nName=Viewer\nExec=sh %f\n"
              "MimeType=image/png;\nIcon=image-x-generic\n");
    writeFile(data + "/applications/hidden.desktop",
              "[Desktop Entry]\nType=Application\nName=Hidden\nExec=sh %f\n"
              "MimeType=image/png;\nNoDisplay=true\n");
    // The registrations as the desktop's database keeps them.
    writeFile(data + "/applications/mimeinfo.cache",
              "[MIME Cache]\nimage/png=viewer.desktop;hidden.desktop;\n"
              "text/plain=editor.desktop;\n");
    writeFile(data + "/applications/editor.desktop",
              "[Desktop Entry]\nType=Application\nName=Editor\nExec=sh %f\n"
              "MimeType=text/plain;\n");
}

void TestLinuxChoosers::threeWayQuestion_data()
{
    QTest::addColumn<QString>("press"); // a button's text, or "Escape"
    QTest::addColumn<int>("answer");
    QTest::newRow("yes") << "はい" << int(Answer::Yes);
    QTest::newRow("no") << "いいえ" << int(Answer::No);
    QTest::newRow("cancel") << "キャンセル" << int(Answer::Cancel);
    QTest::newRow("closed") << "Escape" << int(Answer::Cancel);
}

void TestLinuxChoosers::threeWayQuestion()
{
    QFETCH(QString, press);
    QStringList buttons;
    QString caption;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        caption = box->windowTitle();
        for (QAbstractButton *b : box->buttons())
            buttons << b->text();
        if (press == "Escape") {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton *b : box->buttons())
            if (b->text() == press)
                b->click();
    });
    LinuxDialogs dialogs("Pelmaris");
    QTEST(int(dialogs.askYesNoCancel(nullptr, "更新しますか？")), "answer");
    QCOMPARE(caption, "Pelmaris");
    buttons.sort();
    QStringList expected{"はい", "いいえ", "キャンセル"};
    expected.sort();
    QCOMPARE(buttons, expected);
}

void TestLinuxChoosers::applicationsForType()
{
    const QList<gio::Application> apps = gio::applicationsFor("image/png");
    QCOMPARE(apps.size(), 1);
    QCOMPARE(apps[0].name, "Viewer");
    QCOMPARE(apps[0].entryFile, m_dir.path() + "/data/applications/viewer.desktop");
    QCOMPARE(apps[0].icon, "image-x-generic");
    QVERIFY(gio::applicationsFor("application/x-pelmaris-nothing").isEmpty());
}

void TestLinuxChoosers::chooserGivesTheEntry()
{
    const QList<gio::Application> apps = {{"/a/one.desktop", "One", {}},
                                          {"/a/two.desktop", "Two", {}}};
    OpenWithDialog dialog("/p/a b.png", apps);
    auto *list = dialog.findChild<QListWidget *>("applications");
    QVERIFY(list);
    QCOMPARE(list->count(), 2);
    dialog.chooseRow(1);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.chosenEntry(), "/a/two.desktop");
    QVERIFY(dialog.chosenProgram().isEmpty());
}

QTEST_MAIN(TestLinuxChoosers)
#include "tst_linuxchoosers.moc"
