// The main window as a user meets it: the preview after work in the detail view, the
// detail columns in a narrow window, the tree and the empty list at the first start, the
// tree after a scan, the start folders of the dialogs, and the dark scheme's check boxes.

#include "app/gallerycommands.h"
#include "app/listcommands.h"
#include "app/listfilecommands.h"
#include "app/ordercommands.h"
#include "app/pelmarisform.h"
#include "app/scancommands.h"
#include "fakeservices.h"
#include "platform/linux/linuxstyles.h"
#include "platform/specialfolders.h"
#include "scan/imagelistmodel.h"
#include "scan/scancontroller.h"
#include "testfiles.h"
#include "windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStyleOptionButton>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTreeView>

using pelmaris::app::TPelmarisForm;
using pelmaris::fakes::FakePlatform;
using pelmaris::platform::SpecialFolder;
using pelmaris::testwindow::WindowFixture;

namespace {

using pelmaris::testfiles::writeFile;

// A shown window over the fake desktop, or with the real style service when asked.
struct Window : WindowFixture {
    explicit Window(pelmaris::platform::Styles *styles = nullptr, QSize size = {900, 700})
        : WindowFixture({}, [styles](FakePlatform &, pelmaris::platform::Services &made) {
              if (styles)
                  made.styles = styles;
          })
    {
        form.resize(size);
    }
    // Twelve red pictures, wider than high, so that each thumbnail has bars.
    QString pictures()
    {
        const QString folder = fake.root() + QStringLiteral("/pics");
        for (int i = 0; i < 12; ++i)
            writeFile(folder + QStringLiteral("/p%1.png").arg(i),
                      pelmaris::testfiles::encodeImage(QSize(120, 90), Qt::red, "png"));
        return folder;
    }
};

// Red, also under the selection's tint.
int redPixels(const QImage &image, const QRect &rect)
{
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += c.red() > 150 && c.red() - c.green() > 100 && c.red() - c.blue() > 100;
        }
    return n;
}

// The largest brightness difference from the background inside the rectangle.
int contrast(const QImage &image, const QRect &rect, QColor background)
{
    int most = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            most = qMax(most, qAbs(qGray(image.pixel(x, y)) - qGray(background.rgb())));
    return most;
}

} // namespace

class TestLookWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void previewAfterDetailWork_data();
    void previewAfterDetailWork();
    void narrowWindowKeepsDetailsInView();
    void firstStartShowsWhereToBegin();
    void treeKeepsTheScannedFolder();
    void dialogsStartWhereUsedLast();
    void darkCheckBoxesAreVisible();
};

void TestLookWindow::previewAfterDetailWork_data()
{
    QTest::addColumn<bool>("shuffle");
    QTest::newRow("shuffle") << true;
    QTest::newRow("sort by a column") << false;
}

void TestLookWindow::previewAfterDetailWork()
{
    QFETCH(bool, shuffle);
    Window w;
    QVERIFY(w.show());
    QVERIFY(w.scan(w.pictures()));
    QListView *preview = w.form.ui().ListView1Icons;
    QCOMPARE(w.form.ListModel->rowCount(), 12);
    const QRect cell = preview->visualRect(w.form.ListModel->index(0, 0));
    QVERIFY(cell.height() > 96);

    w.form.ui().RbReport->click();
    if (shuffle)
        w.form.ui().BtnShuffle1->click();
    else
        w.form.Order->ListView1ColumnClick(2);
    w.form.ui().RbPreView->click();
    QVERIFY(preview->isVisible());

    // Every row keeps its whole cell: the thumbnail is drawn full size, the name below it.
    QTRY_COMPARE(preview->visualRect(w.form.ListModel->index(0, 0)).size(), cell.size());
    const QImage drawn = preview->viewport()->grab().toImage();
    for (int row : {0, 5, 11}) {
        const QRect r = preview->visualRect(w.form.ListModel->index(row, 0));
        QVERIFY2(redPixels(drawn, r) > 90 * 60, qPrintable(QString::number(row)));
    }
}

void TestLookWindow::narrowWindowKeepsDetailsInView()
{
    Window w(nullptr, QSize(1600, 800));
    QVERIFY(w.show());
    QVERIFY(w.scan(w.pictures()));
    w.form.ui().RbReport->click();
    QTreeView *details = w.form.ui().ListView1Details;
    QHeaderView *header = details->header();

    for (int width : {1024, 1400}) {
        w.form.resize(width, 768);
        QTRY_COMPARE(w.form.width(), width);
        QCoreApplication::processEvents();
        // The five details end inside the list; the path takes what is left.
        const int client = details->viewport()->width();
        QVERIFY2(header->sectionPosition(5) + header->sectionSize(5) <= client,
                 qPrintable(QStringLiteral("%1: %2 + %3 > %4")
                                .arg(width)
                                .arg(header->sectionPosition(5))
                                .arg(header->sectionSize(5))
                                .arg(client)));
        QVERIFY(header->sectionPosition(5) + header->sectionSize(5) > client - 4);
    }
    QCOMPARE(details->textElideMode(), Qt::ElideMiddle);
}

void TestLookWindow::firstStartShowsWhereToBegin()
{
    Window w;
    const QString desktop = w.fake.folders.path(SpecialFolder::Desktop);
    for (const char *name : {"one", "two", "three"})
        QVERIFY(QDir().mkpath(desktop + u'/' + QLatin1String(name)));
    QVERIFY(w.show());

    // The start folder heads the tree, its sub-folders below it in view.
    QTreeView *tree = w.form.findChild<QTreeView *>(QStringLiteral("ShellTreeView1"));
    QVERIFY(tree);
    QCOMPARE(w.form.treeSelectedPath(), desktop);
    const QModelIndex start = tree->currentIndex();
    QTRY_COMPARE(tree->model()->rowCount(start), 3);
    // At the top, give or take a row or two that a late listing above it may add.
    QTRY_VERIFY(tree->visualRect(start).top() < tree->viewport()->height() / 4);
    for (int r = 0; r < 3; ++r) {
        const QRect child = tree->visualRect(tree->model()->index(r, 0, start));
        QVERIFY(child.top() > 0 && child.bottom() < tree->viewport()->height());
    }

    // The empty list says how a scan starts; the hint goes once there are rows.
    const auto *hint = w.form.ui().ListView1Icons->findChild<QLabel *>(QStringLiteral("ListHint"));
    QVERIFY(hint);
    QVERIFY(hint->isVisible());
    QVERIFY(hint->text().contains(QStringLiteral("ダブルクリック")));
    QVERIFY(hint->text().contains(QStringLiteral("フォルダをスキャン")));
    // Gone as soon as the program works on the list, before any row arrives.
    bool shownWhileScanning = true;
    QObject::connect(&w.form.activity(), &pelmaris::app::Activity::changed, &w.form,
                     [&](pelmaris::app::Work work) {
                         if (work == pelmaris::app::Work::Scanning)
                             shownWhileScanning = hint->isVisible();
                     });
    QVERIFY(w.scan(w.pictures()));
    QVERIFY(!shownWhileScanning);
    QVERIFY(!hint->isVisible());
}

void TestLookWindow::treeKeepsTheScannedFolder()
{
    Window w;
    const QString top = w.fake.root() + QStringLiteral("/top");
    const QByteArray png = pelmaris::testfiles::encodeImage(QSize(8, 8), Qt::red, "png");
    for (const char *name : {"b/1.png", "b/deep/2.png", "c/3.png"})
        QVERIFY(writeFile(top + u'/' + QLatin1String(name), png));
    QVERIFY(w.show());
    QVERIFY(w.scan(top));

    QCOMPARE(w.form.ListModel->rowCount(), 3);
    QCOMPARE(w.form.treeSelectedPath(), top);
    QTreeView *tree = w.form.findChild<QTreeView *>(QStringLiteral("ShellTreeView1"));
    QVERIFY(tree->viewport()->rect().intersects(tree->visualRect(tree->currentIndex())));
    // The rows' folders were not opened on the way.
    for (int r = 0; r < tree->model()->rowCount(tree->currentIndex()); ++r)
        QVERIFY(!tree->isExpanded(tree->model()->index(r, 0, tree->currentIndex())));
}

void TestLookWindow::dialogsStartWhereUsedLast()
{
    Window w;
    QVERIFY(w.show());
    QVERIFY(w.scan(w.pictures()));
    pelmaris::fakes::FakeDialogs &dialogs = w.fake.dialogs;
    const QString documents = w.fake.folders.path(SpecialFolder::Documents);
    const QString saved = w.fake.root() + QStringLiteral("/lists");
    const QString opened = w.fake.root() + QStringLiteral("/other");
    QVERIFY(QDir().mkpath(saved));
    QVERIFY(writeFile(opened + QStringLiteral("/l.txt"), "x\r\n"));

    // Each list dialog first opens in the documents, later where it was last used.
    dialogs.fileAnswers = {{saved + QStringLiteral("/a.csv"), 0}, {}};
    w.form.ListFiles->pm1SaveListAsClick(nullptr);
    QTRY_VERIFY(w.form.ui().ListView1->isEnabled());
    w.form.ListFiles->pm1SaveListAsClick(nullptr);
    dialogs.fileAnswers = {{opened + QStringLiteral("/l.txt"), 0}, {}};
    w.form.ListFiles->pm1OpenListClick();
    QTRY_VERIFY(w.form.ui().ListView1->isEnabled());
    w.form.ListFiles->pm1OpenListClick();
    QStringList folders;
    for (const auto &request : dialogs.requests)
        folders << request.directory;
    QCOMPARE(folders, QStringList({documents, saved, documents, opened}));
    // The suggested name and the types stay as they were.
    QVERIFY(dialogs.requests.at(1).fileName.startsWith(
        QFileInfo(w.fake.system.executablePath()).completeBaseName()));
    QCOMPARE(dialogs.requests.at(1).filters.size(), 3);

    // The browser chooser: the installed programs, then the program chosen last.
    dialogs.files = {w.fake.root() + QStringLiteral("/programs/web")};
    w.form.Gallery->btnChangeOtherBrowser1Click();
    w.form.Gallery->btnChangeOtherBrowser1Click();
    QCOMPARE(dialogs.starts, QStringList({w.fake.folders.path(SpecialFolder::ProgramFiles),
                                          w.fake.root() + QStringLiteral("/programs/web")}));
}

void TestLookWindow::darkCheckBoxesAreVisible()
{
    pelmaris::platform::LinuxStyles styles;
    Window w(&styles);
    QVERIFY(w.show());
    QVERIFY(w.scan(w.pictures()));
    w.form.ui().rbbrowserDark->click();
    QVERIFY(styles.isDark());
    w.form.ui().RbReport->click();
    // The second row: the first is selected, and the selection's colour would stand out.
    w.form.ListModel->setData(w.form.ListModel->index(1, 0), Qt::Unchecked, Qt::CheckStateRole);
    w.form.ui().CheckBoxTop10->setChecked(false);
    QCoreApplication::processEvents();

    // An unchecked row's box stands out from the list's background.
    QTreeView *details = w.form.ui().ListView1Details;
    const QImage list = details->viewport()->grab().toImage();
    QStyleOptionViewItem item;
    item.initFrom(details->viewport());
    item.rect = details->visualRect(w.form.ListModel->index(1, 0));
    item.features = QStyleOptionViewItem::HasCheckIndicator;
    const QRect box =
        details->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &item, details);
    const QColor listBackground = details->palette().color(QPalette::Base);
    QVERIFY2(contrast(list, box, listBackground) > 60,
             qPrintable(QString::number(contrast(list, box, listBackground))));

    // An unchecked box on the panel has a visible edge, not a black square.
    QCheckBox *top10 = w.form.ui().CheckBoxTop10;
    QStyleOptionButton option;
    option.initFrom(top10);
    const QRect indicator =
        top10->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, top10);
    const QImage panel = top10->grab().toImage();
    const QColor panelBackground = top10->palette().color(QPalette::Window);
    QVERIFY2(contrast(panel, indicator, panelBackground) > 60,
             qPrintable(QString::number(contrast(panel, indicator, panelBackground))));

    w.form.ui().rbBrowserLight->click();
    QVERIFY(!styles.isDark());
}

QTEST_MAIN(TestLookWindow)
#include "tst_lookwindow.moc"
