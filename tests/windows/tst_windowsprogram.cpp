// The whole program on the Windows services: started on a folder with a Japanese name as
// its launch parameter, it lists the pictures, writes the gallery page and saves its
// settings when it closes.

#include "app/pelmarisform.h"
#include "app/programentry.h"
#include "app/scancommands.h"
#include "app/settings.h"
#include "platform/specialfolders.h"
#include "platform/systeminfo.h"
#include "platform/systemservices.h"
#include "scan/imagelistmodel.h"
#include "scan/scancontroller.h"
#include "testfiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>

using pelmaris::app::TPelmarisForm;
using pelmaris::platform::SpecialFolder;

class TestWindowsProgram : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listsWritesThePageAndSavesOnClose();
};

void TestWindowsProgram::listsWritesThePageAndSavesOnClose()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("写真フォルダ"));
    QVERIFY(QDir().mkpath(folder));
    const QStringList names{QStringLiteral("a.png"), QStringLiteral("青い 空.jpg"),
                            QStringLiteral("赤.png")};
    for (const QString &name : names) {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QVERIFY(image.save(folder + u'/' + name));
    }
    QVERIFY(pelmaris::testfiles::writeFile(folder + QStringLiteral("/メモ.txt"), "notes"));

    pelmaris::app::prepareApplication(*qApp);
    const auto system = pelmaris::platform::makeSystemServices(QApplication::applicationName());
    const auto services = system->services();
    // The browser is a program that ends at once, so that no window is left open; it is
    // the chosen one and the system's default for pages.
    // Named after the running program, as the settings file always is.
    const QString ini = pelmaris::app::iniFileToWrite(
        services.folders->path(SpecialFolder::AppData), services.system->executablePath());
    const QString browser = QDir::fromNativeSeparators(qEnvironmentVariable("SystemRoot")) +
                            QStringLiteral("/system32/hostname.exe");
    QVERIFY(QFile::exists(browser));
    // The default browser is looked up at start; the test's own prefix has none.
    QSettings classes(QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Classes"),
                      QSettings::NativeFormat);
    classes.setValue(QStringLiteral(".html/."), QStringLiteral("PelmarisTestPage"));
    classes.setValue(QStringLiteral("PelmarisTestPage/shell/open/command/."),
                     u'"' + QDir::toNativeSeparators(browser) + QStringLiteral("\" \"%1\""));
    classes.sync();
    QFile::remove(ini);
    QVERIFY(pelmaris::testfiles::writeFile(
        ini, QStringLiteral("[OPTION]\r\nBrowserDefault=0\r\nBrowserElse=1\r\nBrowserName=%1\r\n"
                            "BrowserName2=%1\r\n")
                 .arg(QDir::toNativeSeparators(browser))
                 .toLocal8Bit()));

    auto form =
        std::make_unique<TPelmarisForm>(services, QStringList{QDir::toNativeSeparators(folder)});
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QVERIFY(QTest::qWaitFor(
        [&] { return form->ListModel->rowCount() == names.size() && !form->Scanner->isBusy(); },
        30000));

    form->ui().btnBrowse1->click();
    QVERIFY(!form->state().TempHtmlFileName1.isEmpty());
    QFile page(form->state().TempHtmlFileName1);
    QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(form->state().TempHtmlFileName1));
    const QString html = QString::fromUtf8(page.readAll());
    for (const QString &name : names)
        QVERIFY2(html.contains(QString::fromLatin1(QUrl::toPercentEncoding(name))),
                 qPrintable(name));
    page.close();

    QVERIFY(form->close());
    QFile saved(ini);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray settings = saved.readAll();
    // Rewritten by the program: it names the program that wrote it and when it closed.
    QVERIFY2(settings.contains("[PROGRAM]") && settings.contains("LastClose="),
             settings.constData());
}

QTEST_MAIN(TestWindowsProgram)
#include "tst_windowsprogram.moc"
