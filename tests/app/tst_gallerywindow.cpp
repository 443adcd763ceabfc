// The main window's gallery controls after a real scan of a small folder: the two page
// buttons, the colour scheme, the layout row's guards, the browser choice and its menu,
// and the browser choice that the settings bring back.

#include "app/currentoptions.h"
#include "app/gallerycommands.h"
#include "app/listcommands.h"
#include "app/pelmarisform.h"
#include "app/scancommands.h"
#include "fakeservices.h"
#include "scan/imagelistmodel.h"
#include "scan/scancontroller.h"
#include "testfiles.h"
#include "windowfixture.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <algorithm>
#include <functional>
#include <memory>

using pelmaris::app::TPelmarisForm;
using pelmaris::fakes::FakePlatform;
using pelmaris::fakes::FakeShell;
using pelmaris::platform::SpecialFolder;
using pelmaris::testwindow::Command;
using pelmaris::testwindow::WindowFixture;

namespace {

using pelmaris::testfiles::writeFile;

const QString NotFound = QStringLiteral("ブラウザを見付けられませんでした\r\n\r\n");

QByteArray png(QColor color)
{
    QImage image(12, 9, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return bytes;
}

QString readText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// What an image's address must look like in the page: a file: URL, every byte but the
// unreserved ones and "/" percent-encoded.
QString expectedUrl(const QString &path)
{
    // A drive's path ("C:\\…" on Windows) gets the third slash of a path from a root.
    const QString slashed = QDir::fromNativeSeparators(path);
    return QLatin1String(slashed.startsWith(u'/') ? "file://" : "file:///") +
           QString::fromLatin1(QUrl::toPercentEncoding(slashed, "/:"));
}

// The addresses of the page's image lines, in page order (header images carry no title).
QStringList pageImages(const QString &page)
{
    static const QRegularExpression image(QStringLiteral("<img src=\"([^\"]+)\" title="));
    QStringList out;
    for (auto it = image.globalMatch(page); it.hasNext();)
        out << it.next().captured(1);
    return out;
}

QList<FakeShell::Call> starts(const FakeShell &shell)
{
    QList<FakeShell::Call> out;
    for (const FakeShell::Call &c : shell.calls)
        if (c.kind == QLatin1String("start") || c.kind == QLatin1String("open"))
            out << c;
    return out;
}

struct Window : WindowFixture {
    explicit Window(const QByteArray &ini = {},
                    const std::function<void(FakePlatform &)> &prepare = {})
        : WindowFixture({}, [&](FakePlatform &platform, pelmaris::platform::Services &) {
              if (prepare)
                  prepare(platform);
              if (!ini.isEmpty()) {
                  const QString appData = platform.folders.path(SpecialFolder::AppData);
                  writeFile(appData + QStringLiteral("/Wendelmoor/Pelmaris/Pelmaris.ini"), ini);
              }
          })
    {
    }
    QString page() const { return readText(form.TempHtmlFileName1); }
};

} // namespace

class TestGalleryWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void pageButtons_data();
    void pageButtons();
    void colourScheme();
    void layoutRow_data();
    void layoutRow();
    void browserChoice_data();
    void browserChoice();
    void browserMenu_data();
    void browserMenu();
    void otherBrowserCancelled();
    void pageWriteFailureReportedBrowserStillStarts();
    void browseOneImage();
    void savedChoicesAtStart();
    void pageFromThumbnails_data();
    void pageFromThumbnails();

private:
    QString pic(const QString &name) const
    {
        // The system's own form, as the scan lists it.
        return QDir::toNativeSeparators(m_dir.filePath(QStringLiteral("pics/") + name));
    }
    // A shown window with the three pictures listed, all checked.
    bool scanned(Window &w) const;

    QTemporaryDir m_dir;
};

void TestGalleryWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    // A blank and Japanese in the names, and a file that is found but is no picture.
    QVERIFY(writeFile(pic("a.png"), png(Qt::red)));
    QVERIFY(writeFile(pic("b b.png"), png(Qt::green)));
    QVERIFY(writeFile(pic("写真.png"), png(Qt::blue)));
    QVERIFY(writeFile(pic("notes.txt"), "notes"));
}

bool TestGalleryWindow::scanned(Window &w) const
{
    return w.show() && w.scan(m_dir.filePath(QStringLiteral("pics"))) &&
           w.form.ListModel->rowCount() == 3 && w.form.ListModel->checkedCount() == 3;
}

void TestGalleryWindow::pageButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("listOrder"); // rows rearranged to this order first
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<QStringList>("expected"); // empty: every ScanList path

    const QStringList abc = {"a.png", "b b.png", "写真.png"};
    const QStringList reversed = {"写真.png", "b b.png", "a.png"};
    QTest::newRow("選択表示, every row") << "btnBrowse1" << abc << abc << abc;
    QTest::newRow("選択表示, checked rows in list order")
        << "btnBrowse1" << reversed << QStringList{"a.png", "写真.png"}
        << QStringList{"写真.png", "a.png"};
    QTest::newRow("選択表示, one row")
        << "btnBrowse1" << abc << QStringList{"b b.png"} << QStringList{"b b.png"};
    QTest::newRow("選択表示, nothing checked")
        << "btnBrowse1" << abc << QStringList() << QStringList();
    // The whole scan, the file that is no picture included, whatever is checked.
    QTest::newRow("一括表示") << "btnBrowse3" << reversed << QStringList{"a.png"} << QStringList();
    QTest::newRow("一括表示, nothing checked")
        << "btnBrowse3" << abc << QStringList() << QStringList();
}

void TestGalleryWindow::pageButtons()
{
    QFETCH(QString, button);
    QFETCH(QStringList, listOrder);
    QFETCH(QStringList, checked);
    QFETCH(QStringList, expected);

    Window w;
    QVERIFY(scanned(w));
    auto &model = *w.form.ListModel;
    std::vector<int> order;
    for (const QString &name : listOrder)
        order.push_back(int(w.captions().indexOf(pic(name))));
    QVERIFY(!std::count(order.begin(), order.end(), -1));
    model.reorder(order);
    for (int row = 0; row < model.rowCount(); ++row) {
        const bool on = checked.contains(QFileInfo(model.item(row).caption).fileName());
        model.setData(model.index(row, 0), on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
    }

    QStringList paths;
    for (const QString &name : expected)
        paths << pic(name);
    if (button == QLatin1String("btnBrowse3")) {
        paths = w.form.ScanList();
        QCOMPARE(paths.size(), 4);
        QVERIFY(paths.contains(pic("notes.txt")));
    }

    auto *pushButton = w.form.findChild<QPushButton *>(button);
    QVERIFY(pushButton && pushButton->isEnabled());
    pushButton->click();

    if (paths.isEmpty()) {
        QVERIFY(starts(w.fake.shell).isEmpty());
        QCOMPARE(w.page(), QString()); // still the empty file made at start
        QVERIFY(w.fake.dialogs.calls.isEmpty());
        return;
    }
    QStringList urls;
    for (const QString &p : paths)
        urls << expectedUrl(p);
    const QString page = w.page();
    QCOMPARE(pageImages(page), urls);
    QVERIFY(page.contains(QStringLiteral(" (%1) RangeView<br>\r\n").arg(paths.size())));

    const auto calls = starts(w.fake.shell);
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].kind, QStringLiteral("start"));
    QCOMPARE(calls[0].target, w.fake.shell.htmlProgram);
    QCOMPARE(w.form.BrowserName1, w.fake.shell.htmlProgram);
    QCOMPARE(calls[0].parameters, u'"' + w.form.TempHtmlFileName1 + u'"');
    QVERIFY(w.fake.dialogs.calls.isEmpty());
}

void TestGalleryWindow::colourScheme()
{
    Window w;
    QVERIFY(scanned(w));
    const QString buttonRule =
        QStringLiteral("\r\n#button button {background: #373737; color: #ffffff}\r\n");

    w.form.rbbrowserDark->click();
    QCOMPARE(w.fake.styles.switches, QList<bool>{true});
    w.form.btnBrowse1->click();
    QString page = w.page();
    QVERIFY(page.contains(buttonRule));
    QVERIFY(page.contains(
        QStringLiteral("\r\nbody {background: #272727; color: #ffffff} a {color: #ffffff}\r\n")));

    w.form.rbBrowserLight->click();
    QCOMPARE(w.fake.styles.switches, (QList<bool>{true, false}));
    w.form.btnBrowse3->click();
    page = w.page();
    QVERIFY(!page.contains(QStringLiteral("#button button")));
    QVERIFY(page.contains(
        QStringLiteral("\r\nbody {background: #f0f0f0; color: #000000} a {color: #000000}\r\n")));
    QCOMPARE(starts(w.fake.shell).size(), 2);
}

void TestGalleryWindow::layoutRow_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("typed");
    QTest::addColumn<int>("kept");
    QTest::addColumn<QString>("radio"); // checked afterwards
    QTest::addColumn<QString>("label"); // the page's layout label

    // Three rows are listed; the page is then written on the 1920 x 1040 work area.
    QTest::newRow("range 0") << "NumberBox12" << 0 << 1 << "RadioButton12"
                             << "RangeView";
    QTest::newRow("range -5") << "NumberBox12" << -5 << 1 << "RadioButton12"
                              << "RangeView";
    QTest::newRow("range 500") << "NumberBox12" << 500 << 3 << "RadioButton12"
                               << "RangeView";
    QTest::newRow("range 2") << "NumberBox12" << 2 << 2 << "RadioButton12"
                             << "RangeView";
    QTest::newRow("width 150") << "NumberBox41" << 150 << 100 << "RadioButton41"
                               << "Width 100%";
    QTest::newRow("width 0") << "NumberBox41" << 0 << 1 << "RadioButton41"
                             << "Width 1%";
    QTest::newRow("width 50") << "NumberBox41" << 50 << 50 << "RadioButton41"
                              << "Width 50%";
    // The other boxes have no guard and leave the chosen layout alone.
    QTest::newRow("columns 7") << "NumberBox21" << 7 << 7 << "RadioButton51"
                               << "RealSize";
    QTest::newRow("rows 0") << "NumberBox31" << 0 << 0 << "RadioButton51"
                            << "RealSize";
}

void TestGalleryWindow::layoutRow()
{
    QFETCH(QString, box);
    QFETCH(int, typed);
    QFETCH(int, kept);
    QFETCH(QString, radio);
    QFETCH(QString, label);

    Window w;
    QVERIFY(scanned(w));
    w.form.RadioButton51->click();
    auto *spin = w.form.findChild<QSpinBox *>(box);
    QVERIFY(spin);
    spin->setValue(typed);
    QCOMPARE(spin->value(), kept);
    auto *checkedRadio = w.form.findChild<QRadioButton *>(radio);
    QVERIFY(checkedRadio);
    QVERIFY(checkedRadio->isChecked());

    w.form.btnBrowse1->click();
    QVERIFY2(w.page().contains(QStringLiteral(" (3) ") + label + QStringLiteral("<br>\r\n")),
             qPrintable(w.page()));
}

void TestGalleryWindow::browserChoice_data()
{
    QTest::addColumn<QString>("radio");
    QTest::addColumn<QString>("installedAs"); // the name the fake shell finds, or none
    QTest::addColumn<QString>("browser");     // BrowserName1 afterwards
    QTest::addColumn<int>("image");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("checked"); // the radio checked afterwards

    const QString edge = "/opt/microsoft/msedge/microsoft-edge";
    const QString chrome = "/opt/google/chrome/google-chrome";
    QTest::newRow("Edge") << "rbBrowserEdge"
                          << "microsoft-edge-stable" << edge << 0 << QString() << "rbBrowserEdge";
    QTest::newRow("Chrome") << "rbBrowserChrome"
                            << "google-chrome.desktop" << chrome << 1 << QString()
                            << "rbBrowserChrome";
    // A browser that is not there is no choice: the one before stays, whole.
    QTest::newRow("Edge missing") << "rbBrowserEdge" << QString() << chrome << 1
                                  << NotFound + "Microsoft Edge"
                                  << "rbBrowserChrome";
    QTest::newRow("back to the default") << "rbBrowserDefault" << QString() << "/usr/bin/firefox"
                                         << 2 << QString() << "rbBrowserDefault";
}

void TestGalleryWindow::browserChoice()
{
    QFETCH(QString, radio);
    QFETCH(QString, installedAs);
    QFETCH(QString, browser);
    QFETCH(int, image);
    QFETCH(QString, message);
    QFETCH(QString, checked);

    Window w;
    QVERIFY(scanned(w));
    if (!installedAs.isEmpty())
        w.fake.shell.installed.insert(installedAs, browser);
    if (radio != QLatin1String("rbBrowserChrome")) {
        // somewhere to come back from
        w.fake.shell.installed.insert("google-chrome", "/opt/google/chrome/google-chrome");
        w.form.rbBrowserChrome->click();
        w.fake.shell.installed.remove("google-chrome");
    }
    w.fake.dialogs.calls.clear();

    auto *button = w.form.findChild<QRadioButton *>(radio);
    QVERIFY(button);
    button->click();
    QVERIFY(w.form.findChild<QRadioButton *>(checked)->isChecked());
    QCOMPARE(button->isChecked(), radio == checked);
    QCOMPARE(w.form.BrowserName1, browser);
    QCOMPARE(w.form.pageButtonImage(), image);
    QCOMPARE(w.form.StatusPanel1->text(), browser);
    QCOMPARE(w.fake.dialogs.texts("message"),
             message.isEmpty() ? QStringList() : QStringList{message});
    // The options hold the choice the buttons show, also one put back with its signals
    // held.
    const pelmaris::app::Options &o = w.form.options().values();
    QCOMPARE((QList<bool>{o.browserDefault, o.browserEdge, o.browserChrome, o.browserElse}),
             (QList<bool>{w.form.rbBrowserDefault->isChecked(), w.form.rbBrowserEdge->isChecked(),
                          w.form.rbBrowserChrome->isChecked(), w.form.rbBrowserElse->isChecked()}));

    w.fake.shell.calls.clear();
    w.form.btnBrowse1->click();
    const auto calls = starts(w.fake.shell);
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].kind, QStringLiteral("start"));
    QCOMPARE(calls[0].target, browser);
}

void TestGalleryWindow::browserMenu_data()
{
    QTest::addColumn<QString>("radio");
    QTest::addColumn<QString>("item");

    QTest::newRow("default") << "rbBrowserDefault"
                             << "pm2Default";
    QTest::newRow("Edge") << "rbBrowserEdge"
                          << "pm2Edge";
    QTest::newRow("Chrome") << "rbBrowserChrome"
                            << "pm2Chrome";
    QTest::newRow("any program") << "rbBrowserElse"
                                 << "pm2Else";
}

void TestGalleryWindow::browserMenu()
{
    QFETCH(QString, radio);
    QFETCH(QString, item);

    Window w;
    QVERIFY(scanned(w));
    w.fake.dialogs.files = {QStringLiteral("/opt/b/MyBrowser")};
    // installed, since a missing one is no choice
    w.fake.shell.installed.insert(QStringLiteral("microsoft-edge"), QStringLiteral("/usr/bin/me"));
    w.fake.shell.installed.insert(QStringLiteral("google-chrome"),
                                  QStringLiteral("/usr/bin/google-chrome"));
    auto *button = w.form.findChild<QRadioButton *>(radio);
    QVERIFY(button);
    button->click();
    QVERIFY(button->isChecked());

    // The right-click of either page button marks the matching item, and only that one.
    for (QPushButton *page : {w.form.btnBrowse1, w.form.btnBrowse3}) {
        Q_EMIT page->customContextMenuRequested(QPoint(2, 2));
        QStringList marked;
        for (QAction *a : w.form.PopupMenu2->actions())
            if (a->isChecked())
                marked << a->objectName();
        QCOMPARE(marked, QStringList{item});
        w.form.PopupMenu2->hide();
    }

    // An item chooses as its radio button does.
    w.fake.shell.installed.insert(QStringLiteral("google-chrome"),
                                  QStringLiteral("/usr/bin/google-chrome"));
    w.entry(Command::pm2Chrome)->trigger();
    QVERIFY(w.form.rbBrowserChrome->isChecked());
    QCOMPARE(w.form.BrowserName1, QStringLiteral("/usr/bin/google-chrome"));
    QCOMPARE(w.form.pageButtonImage(), 1);
}

// "任意のブラウザ" with nothing remembered, its program dialog cancelled: nothing of the
// browser chosen before stays on show; a cancelled "変更" keeps the program picked earlier.
void TestGalleryWindow::otherBrowserCancelled()
{
    Window w;
    QVERIFY(scanned(w));
    w.fake.shell.installed.insert(QStringLiteral("google-chrome"),
                                  QStringLiteral("/usr/bin/google-chrome"));
    w.form.rbBrowserChrome->click();
    QCOMPARE(w.form.pageButtonImage(), 1);
    QVERIFY(w.form.StatusPanel1->text().contains(QStringLiteral("google-chrome")));

    w.form.rbBrowserElse->click(); // no file scripted: the dialog is cancelled
    QVERIFY(w.form.BrowserName1.isEmpty());
    QCOMPARE(w.form.pageButtonImage(), -1);
    QVERIFY(!w.form.StatusPanel1->text().contains(QStringLiteral("google-chrome")));
    QVERIFY(!w.form.Label4->text().contains(QStringLiteral("Chrome")));

    w.fake.dialogs.files = {QStringLiteral("/opt/b/MyBrowser")};
    w.form.btnChangeOtherBrowser1->click();
    QCOMPARE(w.form.BrowserName2, QStringLiteral("/opt/b/MyBrowser"));
    QCOMPARE(w.form.Label4->text(), QStringLiteral("(Mybrowser)"));
    w.form.btnChangeOtherBrowser1->click(); // cancelled
    QCOMPARE(w.form.BrowserName2, QStringLiteral("/opt/b/MyBrowser"));
    QCOMPARE(w.form.BrowserName1, QStringLiteral("/opt/b/MyBrowser"));
}

// A page file that cannot be written is reported, and the browser still starts on it.
void TestGalleryWindow::pageWriteFailureReportedBrowserStillStarts()
{
    Window w;
    QVERIFY(scanned(w));
    const QString page = w.form.TempHtmlFileName1;
    QVERIFY(QFile::remove(page));
    QVERIFY(QDir().mkdir(page)); // something that is no regular file has taken its name
    w.fake.shell.calls.clear();
    w.form.btnBrowse1->click();
    QCOMPARE(w.fake.dialogs.texts("message"),
             QStringList{"Create HtmlFile Failed, Try Again a little later\r\n" + page});
    const auto calls = starts(w.fake.shell);
    QCOMPARE(calls.size(), 1);
    QVERIFY(calls[0].parameters.contains(page) || calls[0].target == page);
    QVERIFY(QDir().rmdir(page));
}

void TestGalleryWindow::browseOneImage()
{
    Window w;
    QVERIFY(scanned(w));
    QItemSelectionModel *selection = w.form.ListView1Icons->selectionModel();
    QAction *browse = w.entry(Command::pm1Browse);
    selection->clear();
    w.form.List->PopupMenu1Popup();
    QVERIFY(!browse->isEnabled());
    w.form.Gallery->pm1BrowseClick(); // the handler itself also refuses
    QVERIFY(starts(w.fake.shell).isEmpty());

    const QModelIndex second = w.form.ListModel->index(1, 0);
    selection->setCurrentIndex(second,
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    w.form.List->PopupMenu1Popup();
    QVERIFY(browse->isEnabled());
    browse->trigger();
    const auto calls = starts(w.fake.shell);
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].target, w.form.BrowserName1);
    QCOMPARE(calls[0].parameters, u'"' + w.form.ListModel->item(1).caption + u'"');
}

void TestGalleryWindow::savedChoicesAtStart()
{
    // The saved program wins over the one the Edge lookup finds, and a program named
    // like Edge keeps the Edge picture after a scan.
    Window w("[OPTION]\r\nBrowserDefault=0\r\nBrowserEdge=1\r\n"
             "BrowserName=/opt/microsoft/msedge/msedge\r\nBrowserLight=0\r\nBrowserDark=1\r\n",
             [](FakePlatform &fake) {
                 fake.shell.installed.insert(QStringLiteral("microsoft-edge"),
                                             QStringLiteral("/usr/bin/microsoft-edge"));
             });
    QVERIFY(w.fake.dialogs.calls.isEmpty());
    QVERIFY(w.form.rbBrowserEdge->isChecked());
    QVERIFY(w.form.rbbrowserDark->isChecked());
    QCOMPARE(w.fake.styles.switches, QList<bool>{true});
    QCOMPARE(w.form.BrowserName1, QStringLiteral("/opt/microsoft/msedge/msedge"));
    QVERIFY(std::any_of(w.fake.shell.calls.cbegin(), w.fake.shell.calls.cend(),
                        [](const FakeShell::Call &c) { return c.kind == QLatin1String("find"); }));

    QVERIFY(scanned(w));
    QCOMPARE(w.form.pageButtonImage(), 0);
    w.form.btnBrowse1->click();
    QVERIFY(w.page().contains(QStringLiteral("#button button")));
    const auto calls = starts(w.fake.shell);
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].target, QStringLiteral("/opt/microsoft/msedge/msedge"));
}

void TestGalleryWindow::pageFromThumbnails_data()
{
    QTest::addColumn<bool>("cache"); // "サムネイルキャッシュを使う"
    QTest::newRow("from the cache's thumbnails") << true;
    QTest::newRow("cache switched off: the originals, loaded lazily") << false;
}

void TestGalleryWindow::pageFromThumbnails()
{
    QFETCH(bool, cache);
    Window w;
    QVERIFY(scanned(w));
    w.form.ChkBxThumbnailCache->setChecked(cache);
    w.form.ChkBxPageThumbnails->setChecked(true);
    w.form.btnBrowse1->click();
    QTRY_COMPARE_WITH_TIMEOUT(starts(w.fake.shell).size(), 1, 20000);
    QVERIFY(!w.form.Gallery->isPreparingPage());
    QVERIFY(w.fake.dialogs.calls.isEmpty());

    static const QRegularExpression line(
        QStringLiteral("<a href=\"([^\"]+)\" target=\"_blank\"><img data-src=\"([^\"]+)\"([^>]*) "
                       "title="));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                           QStringLiteral("/thumbnails/large/");
    const QString page = w.page();
    int lines = 0;
    for (auto it = line.globalMatch(page); it.hasNext(); ++lines) {
        const QRegularExpressionMatch m = it.next();
        // Paths in the system's own form, as the list shows them.
        const QString original = QDir::toNativeSeparators(QUrl(m.captured(1)).toLocalFile());
        QCOMPARE(original, w.captions().at(lines));
        const QString shown = QDir::toNativeSeparators(QUrl(m.captured(2)).toLocalFile());
        if (cache) {
            QCOMPARE(QFileInfo(shown).path() + '/', QDir::fromNativeSeparators(folder));
            QCOMPARE(QImage(shown).size(), QSize(12, 9));
            QCOMPARE(m.captured(3),
                     QStringLiteral(" width=\"12\" height=\"9\" alt=\"\" decoding=\"async\""));
        } else {
            QCOMPARE(shown, original);
            QCOMPARE(m.captured(3), QStringLiteral(" decoding=\"async\""));
        }
    }
    QCOMPARE(lines, 3);
}

QTEST_MAIN(TestGalleryWindow)
#include "tst_gallerywindow.moc"
