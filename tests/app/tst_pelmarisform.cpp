#include "app/currentoptions.h"
#include "app/menucommands.h"
#include "app/pagecontrol.h"
#include "app/pelmarisform.h"
#include "fakeservices.h"
#include "platform/inifile.h"
#include "testfiles.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>
#include <QTreeView>

#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using pelmaris::app::TPelmarisForm;
using pelmaris::fakes::FakePlatform;
using pelmaris::platform::IniFile;
using pelmaris::platform::SpecialFolder;

namespace {

using pelmaris::testfiles::readFile;
using pelmaris::testfiles::writeFile;

QString appData(const FakePlatform &fake)
{
    return fake.folders.paths.value(int(SpecialFolder::AppData));
}

QString perUserIni(const FakePlatform &fake, const QString &base = QStringLiteral("Pelmaris"))
{
    return appData(fake) + QStringLiteral("/Wendelmoor/") + base + u'/' + base +
           QStringLiteral(".ini");
}

std::unique_ptr<TPelmarisForm> makeForm(FakePlatform &fake)
{
    return std::make_unique<TPelmarisForm>(fake.services(), QStringList());
}

bool showForm(TPelmarisForm &form)
{
    form.show();
    return QTest::qWaitForWindowExposed(&form);
}

} // namespace

class TestPelmarisForm : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void startsOnTheFolderPage();
    void startGeometry_data();
    void startGeometry();
    void statusClockShowsMemoryLoad();
    void savedSettingsReachTheControls();
    void userChoicesReachTheOptions();
    void unreadSettingsAreNotReplaced_data();
    void unreadSettingsAreNotReplaced();
    void saveStatusUncheckedGivesDefaultsNextTime();
    void anotherExecutableName();
    void unsaveableSettingsStillClose();
    void closeRefusedWhileBusy();
    void closeConfirmation_data();
    void closeConfirmation();
    void tempFilesGoneAfterClose();
    void cancelButtonGeometry_data();
    void cancelButtonGeometry();
    void tabsAndCancelButtonFollowResize();
    void savedTreeScrollAppliedOnlyAtStart();
};

void TestPelmarisForm::startsOnTheFolderPage()
{
    FakePlatform fake;
    auto form = makeForm(fake);
    QVERIFY(!form->isEnabled()); // until the first show
    QCOMPARE(form->windowTitle(), QStringLiteral("ペルマリス"));
    QCOMPARE(form->ui().PageControl1->currentWidget(), form->ui().TabSheetSearch);
    QCOMPARE(form->ui().PageControl1->tabText(form->ui().PageControl1->currentIndex()),
             QStringLiteral("フォルダ"));
    QVERIFY(QFileInfo(form->state().TempHtmlFileName1).isFile());

    QVERIFY(showForm(*form));
    QVERIFY(form->isEnabled());
    // The first start opens the tree at the desktop folder.
    QCOMPARE(form->treeSelectedPath(), fake.folders.path(SpecialFolder::Desktop));
    QVERIFY(form->ui().btnCancel1->isHidden());
    QVERIFY(!form->ui().btnBrowse1->isEnabled());
}

void TestPelmarisForm::startGeometry_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QRect>("geometry");

    // Three quarters of the 1920 x 1040 work area is 1440 x 780.
    QTest::newRow("first start, centred") << QByteArray() << QRect(240, 130, 1440, 780);
    QTest::newRow("Left and Top only")
        << QByteArray("[POSITION]\nLeft=100\nTop=50\n") << QRect(100, 50, 1440, 780);
    QTest::newRow("garbage file") << QByteArray("\0\x01\xff[POSITION\nLeft=\0", 20)
                                  << QRect(240, 130, 1440, 780);
    // A monitor removed since: the window comes back into the primary work area.
    QTest::newRow("wholly off every screen")
        << QByteArray("[POSITION]\nLeft=5000\nTop=5000\nRight=6600\nBottom=5800\n")
        << QRect(320, 240, 1600, 800);
}

void TestPelmarisForm::startGeometry()
{
    QFETCH(QByteArray, ini);
    QFETCH(QRect, geometry);

    FakePlatform fake;
    if (!ini.isEmpty())
        QVERIFY(writeFile(perUserIni(fake), ini));
    auto form = makeForm(fake);
    QVERIFY(showForm(*form));
    QCOMPARE(form->geometry(), geometry);
    QCOMPARE(form->ui().NumberBox12->value(), 20);
}

void TestPelmarisForm::statusClockShowsMemoryLoad()
{
    FakePlatform fake;
    fake.system.load = 73;
    auto form = makeForm(fake);
    const QRegularExpression clock(
        QStringLiteral("^\\d{4}/\\d{2}/\\d{2}  \\d{2}:\\d{2}:\\d{2}  (\\d+)%$"));
    const QRegularExpressionMatch match = clock.match(form->ui().StatusPanel0->text());
    QVERIFY2(match.hasMatch(), qPrintable(form->ui().StatusPanel0->text()));
    QCOMPARE(match.captured(1), QStringLiteral("73"));

    // The timer reads the load afresh on every tick.
    fake.system.load = 5;
    QTRY_COMPARE_WITH_TIMEOUT(clock.match(form->ui().StatusPanel0->text()).captured(1),
                              QStringLiteral("5"), 2500);
}

void TestPelmarisForm::savedSettingsReachTheControls()
{
    FakePlatform fake;
    const QString ini = perUserIni(fake);
    QVERIFY(writeFile(ini, "[position]\nstate=2\n"
                           "[OPTION]\nBrowserEdge=1\nBrowserChrome=1\nRangeVal=0x1E\n"
                           "ThumbnailCache=0\n"));
    auto form = makeForm(fake);
    QCOMPARE(form->settingsFileToRead(), ini);
    QVERIFY(form->isMaximized());
    // Within a group the last key read as set wins.
    QVERIFY(form->ui().rbBrowserChrome->isChecked());
    QVERIFY(!form->ui().rbBrowserEdge->isChecked());
    QVERIFY(!form->ui().rbBrowserDefault->isChecked());
    QCOMPARE(form->ui().NumberBox12->value(), 30);
    QVERIFY(!form->ui().ChkBxThumbnailCache->isChecked());

    QVERIFY(showForm(*form));
    QVERIFY(form->close());
    const QByteArray written = readFile(ini);
    QVERIFY2(written.contains("\r\nState=2\r\n"), written.constData());
    QVERIFY(!written.contains("state="));
    const IniFile again = IniFile::parse(written);
    QCOMPARE(again.readInteger("OPTION", "RangeVal", 0), 30);
    QCOMPARE(again.readInteger("OPTION", "BrowserChrome", 0), 1);
    QCOMPARE(again.readInteger("OPTION", "BrowserEdge", 1), 0);
    QCOMPARE(again.readInteger("OPTION", "ThumbnailCache", 1), 0);
    const QRegularExpression closeTime(
        QStringLiteral("^\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}:\\d{2}$"));
    QVERIFY(closeTime.match(again.readString("PROGRAM", "LastClose", {})).hasMatch());
}

void TestPelmarisForm::userChoicesReachTheOptions()
{
    FakePlatform fake;
    auto form = makeForm(fake);
    QVERIFY(showForm(*form));
    const pelmaris::app::CurrentOptions &options = form->options();
    QVERIFY(options.values().thumbnailCache);
    QCOMPARE(options.scanOrder(), pelmaris::scan::ScanOrder::NumericAscending);

    int changes = 0;
    connect(&options, &pelmaris::app::CurrentOptions::changed, this, [&] { ++changes; });
    form->ui().ChkBxThumbnailCache->click();
    form->ui().rbbrowserDark->click();
    form->ui().NumberBox21->setValue(7);
    form->menus().action(pelmaris::app::Command::pm3RandomOut)->trigger();
    QCOMPARE(changes, 4);
    const pelmaris::app::Options &o = options.values();
    QVERIFY(!o.thumbnailCache);
    QVERIFY(o.browserDark && !o.browserLight);
    QCOMPARE(o.horizVal, 7);
    QCOMPARE(options.scanOrder(), pelmaris::scan::ScanOrder::Random);
    QVERIFY(!o.numSortA);

    // What the close writes is what the options hold.
    QVERIFY(form->close());
    const IniFile saved = IniFile::parse(readFile(perUserIni(fake)));
    QCOMPARE(saved.readInteger("OPTION", "ThumbnailCache", 1), 0);
    QCOMPARE(saved.readInteger("OPTION", "BrowserDark", 0), 1);
    QCOMPARE(saved.readInteger("OPTION", "HorizVal", 0), 7);
    QCOMPARE(saved.readInteger("OPTION", "TreeViewRandomOut", 0), 1);
    QCOMPARE(saved.readInteger("OPTION", "TreeViewNumSortA", 1), 0);
}

void TestPelmarisForm::unreadSettingsAreNotReplaced_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("too large") << "large";
    QTest::newRow("a FIFO") << "fifo";
}

void TestPelmarisForm::unreadSettingsAreNotReplaced()
{
    QFETCH(QString, kind);
    FakePlatform fake;
    const QString ini = perUserIni(fake);
    QByteArray before;
    if (kind == "large") {
        before = "[Mine]\n" + QByteArray(IniFile::MaxFileSize, 'x');
        QVERIFY(writeFile(ini, before));
    } else {
        QVERIFY(QDir().mkpath(QFileInfo(ini).absolutePath()));
        QCOMPARE(::mkfifo(QFile::encodeName(ini).constData(), 0600), 0);
    }
    auto form = makeForm(fake);
    QVERIFY(showForm(*form));
    QVERIFY(form->close()); // neither hangs on the FIFO nor refuses to close
    QCOMPARE(fake.dialogs.texts("error").size(), 1);
    QVERIFY(fake.dialogs.texts("error").first().contains(ini));
    if (kind == "large")
        QCOMPARE(readFile(ini), before);
    else
        QVERIFY(!QFileInfo(ini).isFile());
}

void TestPelmarisForm::saveStatusUncheckedGivesDefaultsNextTime()
{
    FakePlatform fake;
    const QString ini = perUserIni(fake);
    QVERIFY(writeFile(ini, "[Mine]\na=1\n[OPTION]\nRangeVal=7\nCloseQuery=0\n"));
    {
        auto form = makeForm(fake);
        QCOMPARE(form->ui().NumberBox12->value(), 7);
        QVERIFY(showForm(*form));
        form->ui().ChkBxSaveStatus->setChecked(false);
        form->ui().NumberBox12->setValue(9);
        QVERIFY(form->close());
    }
    QCOMPARE(IniFile::load(ini).sectionNames(), QStringList({"Mine", "PROGRAM"}));

    auto next = makeForm(fake);
    QVERIFY(next->ui().ChkBxSaveStatus->isChecked());
    QCOMPARE(next->ui().NumberBox12->value(), 20);
    QVERIFY(next->ui().RadioButton12->isChecked());
}

void TestPelmarisForm::anotherExecutableName()
{
    FakePlatform fake;
    const QString bin = fake.root() + QStringLiteral("/bin");
    fake.system.exe = bin + QStringLiteral("/Foo");
    const QString perUser = perUserIni(fake, QStringLiteral("Foo"));
    // A file beside the executable seeds the first start.
    QVERIFY(writeFile(bin + QStringLiteral("/Foo.ini"), "[OPTION]\nRangeVal=12\n"));
    {
        auto form = makeForm(fake);
        QCOMPARE(form->settingsFileToRead(), bin + QStringLiteral("/Foo.ini"));
        QCOMPARE(form->settingsFileToWrite(), perUser);
        QCOMPARE(form->ui().NumberBox12->value(), 12);
        QVERIFY(showForm(*form));
        QVERIFY(form->close());
    }
    const IniFile written = IniFile::load(perUser);
    QCOMPARE(written.readString("PROGRAM", "Name", {}), QStringLiteral("Foo"));
    QCOMPARE(written.readString("PROGRAM", "Path", {}), bin + u'/');
    QCOMPARE(written.readString("PROGRAM", "IniFile", {}), perUser);
    QCOMPARE(written.readString("PROGRAM", "Version", {}), QStringLiteral("V1.6"));

    auto next = makeForm(fake);
    QCOMPARE(next->settingsFileToRead(), perUser);
    QCOMPARE(next->ui().NumberBox12->value(), 12);
}

void TestPelmarisForm::unsaveableSettingsStillClose()
{
    FakePlatform fake;
    // Root writes through permissions; a parent that is a regular file stops everyone.
    const QString blocker = fake.root() + QStringLiteral("/blocker");
    QVERIFY(writeFile(blocker, "not a folder"));
    fake.folders.paths.insert(int(SpecialFolder::AppData), blocker + QStringLiteral("/config"));
    fake.system.exe = blocker + QStringLiteral("/bin/Pelmaris");

    auto form = makeForm(fake);
    QVERIFY(showForm(*form));
    const QString html = form->state().TempHtmlFileName1;
    QVERIFY(form->close());
    const QStringList errors = fake.dialogs.texts(QStringLiteral("error"));
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains(QStringLiteral("Pelmaris.ini")), qPrintable(errors.first()));
    QVERIFY(!QFileInfo::exists(html));
}

void TestPelmarisForm::closeRefusedWhileBusy()
{
    FakePlatform fake;
    auto form = makeForm(fake);
    QVERIFY(showForm(*form));
    form->SetCloseEnabled(false);
    QVERIFY(!form->close());
    QVERIFY(form->isVisible());
    QVERIFY(!QFileInfo::exists(perUserIni(fake)));
    QVERIFY(QFileInfo::exists(form->state().TempHtmlFileName1));

    form->SetCloseEnabled(true);
    QVERIFY(form->close());
    QVERIFY(QFileInfo::exists(perUserIni(fake)));
}

void TestPelmarisForm::closeConfirmation_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<bool>("answer");

    QTest::newRow("not asked") << false << false;
    QTest::newRow("answer No") << true << false;
    QTest::newRow("answer Yes") << true << true;
}

void TestPelmarisForm::closeConfirmation()
{
    QFETCH(bool, confirm);
    QFETCH(bool, answer);
    const bool closes = !confirm || answer;

    FakePlatform fake;
    auto form = makeForm(fake);
    QVERIFY(showForm(*form));
    form->ui().ChkBxCloseQuery->setChecked(confirm);
    fake.dialogs.answers = {answer};

    QCOMPARE(form->close(), closes);
    QCOMPARE(fake.dialogs.texts(QStringLiteral("ask")),
             confirm ? QStringList({QStringLiteral("終了してもよいですか？")}) : QStringList());
    QCOMPARE(form->isVisible(), !closes);
    QCOMPARE(QFileInfo::exists(perUserIni(fake)), closes);
    QCOMPARE(QFileInfo::exists(form->state().TempHtmlFileName1), !closes);
    if (closes)
        QCOMPARE(IniFile::load(perUserIni(fake)).readInteger("OPTION", "CloseQuery", -1),
                 int(confirm));
}

void TestPelmarisForm::tempFilesGoneAfterClose()
{
    FakePlatform fake;
    auto form = makeForm(fake);
    QVERIFY(showForm(*form));
    const QStringList temps = {form->state().TempHtmlFileName1, form->state().TempIconFileName1,
                               form->state().TempIconFileName4};
    for (const QString &t : temps)
        QCOMPARE(QFileInfo(t).absolutePath(), QDir(fake.system.temp).absolutePath());
    QVERIFY(!QFileInfo::exists(form->state().TempFileName1));

    const QByteArray page = "<html>\r\n<img src=\"/home/someone/写真/a.jpg\">\r\n</html>\r\n";
    QVERIFY(writeFile(form->state().TempHtmlFileName1, page));
    QVERIFY(writeFile(form->state().TempIconFileName1, "ico"));
    QVERIFY(writeFile(form->state().TempIconFileName4, "icon"));
    // A second name for the page's data shows what was left on the disk.
    const QString second = fake.root() + QStringLiteral("/page-data");
    QCOMPARE(::link(QFile::encodeName(form->state().TempHtmlFileName1).constData(),
                    QFile::encodeName(second).constData()),
             0);

    QVERIFY(form->close());
    for (const QString &t : temps)
        QVERIFY2(!QFileInfo::exists(t), qPrintable(t));
    const QByteArray left = readFile(second);
    QCOMPARE(left.size(), page.size());
    QVERIFY(!left.contains("jpg"));
    QCOMPARE(QByteArray(left).replace('\0', "").replace("\r\n", ""), QByteArray());
}

void TestPelmarisForm::cancelButtonGeometry_data()
{
    QTest::addColumn<QSize>("control");
    QTest::addColumn<QRect>("button");

    QTest::newRow("800 x 400") << QSize(800, 400) << QRect(300, 150, 200, 100);
    QTest::newRow("300 x 400") << QSize(300, 400) << QRect(75, 150, 150, 100);
    QTest::newRow("square takes half") << QSize(400, 400) << QRect(100, 150, 200, 100);
    QTest::newRow("odd sizes truncate") << QSize(801, 403) << QRect(300, 151, 200, 100);
}

void TestPelmarisForm::cancelButtonGeometry()
{
    QFETCH(QSize, control);
    QFETCH(QRect, button);

    QWidget panel;
    panel.resize(control);
    auto *cancel = new QPushButton(QStringLiteral("キャンセル")); // the panel takes ownership
    TPelmarisForm::CenterCancelButton(cancel, &panel);
    QCOMPARE(cancel->parentWidget(), &panel);
    QCOMPARE(cancel->geometry(), button);
}

void TestPelmarisForm::tabsAndCancelButtonFollowResize()
{
    FakePlatform fake;
    auto form = makeForm(fake);
    QVERIFY(showForm(*form));
    for (const QSize size : {QSize(1000, 700), QSize(1203, 655)}) {
        form->resize(size);
        QTRY_COMPARE(form->size(), size);
        const int pageWidth = form->ui().PageControl1->width();
        QCOMPARE(form->ui().PageControl1->pageTabBar()->tabWidth(), pageWidth / 4);

        QCOMPARE(form->ui().btnCancel1->parentWidget(), form->ui().PnListView);
        const QSize list = form->ui().PnListView->size();
        const QSize expected(list.width() > list.height() ? list.width() / 4 : list.width() / 2,
                             list.height() / 4);
        QCOMPARE(form->ui().btnCancel1->size(), expected);
        QCOMPARE(form->ui().btnCancel1->pos(), QPoint((list.width() - expected.width()) / 2,
                                                      (list.height() - expected.height()) / 2));
    }
}

void TestPelmarisForm::savedTreeScrollAppliedOnlyAtStart()
{
    FakePlatform fake;
    QVERIFY(writeFile(perUserIni(fake), "[OPTION]\nScrollPos=40\n"));
    // A folder whose long names make the tree wide only once the user opens it.
    QString deep = fake.root() + QStringLiteral("/wide");
    for (int i = 0; i < 4; ++i)
        deep += u'/' + QString(120, QChar(u'a' + i));
    QVERIFY(QDir().mkpath(deep));
    auto form = makeForm(fake);
    QVERIFY(showForm(*form));
    QScrollBar *bar = form->ui().ShellTreeView1->horizontalScrollBar();
    const int atStart = bar->value();
    QVERIFY(atStart < 40); // the tree at the desktop is too narrow to scroll that far

    form->navigateTree(deep);
    QTRY_VERIFY(bar->maximum() >= 40);
    QTest::qWait(200); // later folder loads leave the position where it is
    QCOMPARE(bar->value(), atStart);
}

QTEST_MAIN(TestPelmarisForm)
#include "tst_pelmarisform.moc"
