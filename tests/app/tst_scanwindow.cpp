// The main window driving a real scan and list build over folders made at test time:
// status texts, captions, enabling, cancel, the tree click, the two check boxes and the
// paths that come from outside (launch parameters and drops).

#include "app/gallerycommands.h"
#include "app/listcommands.h"
#include "app/pelmarisform.h"
#include "app/scancommands.h"
#include "app/statuslabel.h"
#include "fakeservices.h"
#include "scan/imagelistmodel.h"
#include "scan/listtexts.h"
#include "scan/pathorder.h"
#include "scan/scancontroller.h"
#include "testfiles.h"
#include "windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QPixmap>
#include <QPushButton>
#include <QSemaphore>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <atomic>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using pelmaris::app::TPelmarisForm;
using pelmaris::fakes::FakePlatform;
using pelmaris::scan::ImageListModel;
using pelmaris::scan::ListItem;
using pelmaris::scan::ScanController;
using pelmaris::testwindow::Command;
using pelmaris::testwindow::nameOf;
using pelmaris::testwindow::WindowFixture;

namespace {

using pelmaris::testfiles::writeFile;

QByteArray encode(QSize size, QColor color, const char *format)
{
    return pelmaris::testfiles::encodeImage(size, color, format);
}

// Qt reads GIF but cannot write it: a 1 x 1 picture by hand, colour 0 of a two-entry table.
QByteArray gifOnePixel(QColor color)
{
    QByteArray gif("GIF87a\x01\x00\x01\x00\x80\x00\x00", 13);
    gif.append(char(color.red())).append(char(color.green())).append(char(color.blue()));
    gif.append("\0\0\0", 3);
    gif.append(",\0\0\0\0\x01\x00\x01\x00\x00", 10);
    gif.append("\x02\x02\x44\x01\x00;", 6); // clear, index 0, end
    return gif;
}

QStringList captions(const ImageListModel &model)
{
    QStringList out;
    for (const ListItem &item : model.items())
        out << item.caption;
    return out;
}

QList<bool> checks(const ImageListModel &model)
{
    QList<bool> out;
    for (const ListItem &item : model.items())
        out << item.checked;
    return out;
}

struct Window : WindowFixture {
    using WindowFixture::WindowFixture;
    // Idle, and both cancel buttons gone with the work.
    bool idle()
    {
        return waitIdle() && form.ui().btnCancel1->isHidden() && form.ui().btnCancel3->isHidden();
    }
    // The status text at the moment the walk has ended and the build has begun.
    void recordWalkEnd()
    {
        QObject::connect(form.Scanner, &ScanController::scanFinished, &form,
                         [this] { walkEndText = form.ui().StatusPanel1->text(); });
    }
    bool scan(const QString &folder, bool additive = false)
    {
        form.navigateTree(folder);
        if (form.treeSelectedPath() != folder)
            return false;
        additive ? form.Scan->pm3AddDetectClick() : form.Scan->ShellTreeView1DblClick();
        return idle();
    }

    QString walkEndText;
};

} // namespace

class TestScanWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void statusAndCaptions_data();
    void statusAndCaptions();
    void rowsComeFromTheDecoderInListOrder();
    void additiveScan_data();
    void additiveScan();
    void cancelScanListsWhatWasFound_data();
    void cancelScanListsWhatWasFound();
    void cancelBuildKeepsRowsChecked();
    void whatCouldNotBeListedIsTold();
    void thumbnailCacheFollowsItsSwitch_data();
    void thumbnailCacheFollowsItsSwitch();
    void treeClick_data();
    void treeClick();
    void checkAllAndFirstTenth();
    void pathFromOutside_data();
    void pathFromOutside();
    void treeMenuFollowsTheWork();
    void saveEntriesAreOffWhileTheListBuilds();

private:
    QString at(const QString &relative) const { return m_dir.filePath(relative); }

    QTemporaryDir m_dir;
    QStringList m_mixedImages; // relative to mixed/
    QHash<QString, QColor> m_colors;
};

void TestScanWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir().mkpath(at("empty")));

    const QByteArray jpeg = encode(QSize(64, 48), Qt::blue, "jpeg");
    const QByteArray damaged = jpeg.left(100); // cut inside the header tables
    for (const QString &folder : {QStringLiteral("junk"), QStringLiteral("mixed")}) {
        QVERIFY(writeFile(at(folder + "/damaged.jpg"), damaged));
        QVERIFY(writeFile(at(folder + "/words.jpg"), "not a picture, only a name"));
        QVERIFY(writeFile(at(folder + "/notes.txt"), "notes"));
    }
    QVERIFY(writeFile(at("junk/data.bin"), QByteArray(300, '\x7f')));

    // Six images of four formats, one in a hidden folder, one a PNG named .jpg; three
    // files that do not decode, and a link back to the top that must not be walked.
    const struct {
        const char *name;
        QByteArray bytes;
        QColor color;
    } images[] = {
        {"a.png", encode(QSize(40, 30), Qt::red, "png"), Qt::red},
        {"b.bmp", encode(QSize(30, 40), Qt::green, "bmp"), Qt::green},
        {"sub/c.gif", gifOnePixel(Qt::magenta), Qt::magenta},
        {"sub/deep/d.jpg", jpeg, Qt::blue},
        {".hidden/e.png", encode(QSize(20, 20), Qt::yellow, "png"), Qt::yellow},
        {"sub/png-named.jpg", encode(QSize(50, 20), Qt::cyan, "png"), Qt::cyan},
    };
    for (const auto &image : images) {
        const QString name = QString::fromLatin1(image.name);
        QVERIFY(writeFile(at("mixed/" + name), image.bytes));
        m_mixedImages << name;
        m_colors.insert(name, image.color);
    }
    QCOMPARE(::symlink(QFile::encodeName(at("mixed")).constData(),
                       QFile::encodeName(at("mixed/loop")).constData()),
             0);

    const QByteArray small = encode(QSize(8, 6), Qt::gray, "png");
    for (const char *name :
         {"tree/a/1.png", "tree/a/deep/4.png", "tree/A/2.png", "tree/ab/3.png", "tree/5.png"})
        QVERIFY(writeFile(at(QString::fromLatin1(name)), small));
    QVERIFY(QDir().mkpath(at("tree/none")));

    for (int i = 0; i < 25; ++i)
        QVERIFY(writeFile(at(QStringLiteral("many/%1.png").arg(i)), small));

    // A slow picture first, so a build cancelled at its start cannot have finished.
    QVERIFY(writeFile(at("slow/0.png"), encode(QSize(2500, 2500), Qt::darkRed, "png")));
    for (int i = 1; i <= 20; ++i)
        QVERIFY(writeFile(at(QStringLiteral("slow/%1.png").arg(i)), small));

    // Two thousand entries: a cancel right after the start may land before, inside or after
    // the walk, and the checks hold wherever it lands.
    for (int d = 0; d < 40; ++d) {
        for (int f = 0; f < 50; ++f)
            QVERIFY(writeFile(at(QStringLiteral("wide/%1/%2.txt").arg(d).arg(f)), QByteArray()));
        if (d % 8 == 0)
            QVERIFY(writeFile(at(QStringLiteral("wide/%1/pic.png").arg(d)), small));
    }

    QVERIFY(writeFile(at("param/p.png"), small));
    QVERIFY(writeFile(at("param/list.csv"), "\"" + at("param/p.png").toUtf8() + "\"\r\n"));
    QVERIFY(writeFile(at("param/other/q.png"), small));
    QVERIFY(QDir().mkpath(at("linked")));
    QCOMPARE(::symlink("../tree/5.png", QFile::encodeName(at("linked/to-image.png")).constData()),
             0);
}

void TestScanWindow::statusAndCaptions_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("namesOnly");
    QTest::addColumn<QString>("walkEnd");
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("captions"); // 全選択, 選択表示, 10%, 一括表示
    QTest::addColumn<bool>("gridPanel2");
    QTest::addColumn<bool>("gridPanel1");
    QTest::addColumn<bool>("browse1Enabled");

    QTest::newRow("empty folder") << "empty" << false << "0 発見しました"
                                  << "0 / 0 該当ありません" << 0
                                  << QStringList{"全選択(0)", "選択表示(0)", "10%(0)",
                                                 "一括表示(0)"}
                                  << false << false << true;
    QTest::newRow("only files that do not decode")
        << "junk" << false << "4 発見しました"
        << "0 / 4 該当ありません" << 0
        << QStringList{"全選択(0)", "選択表示(0)", "10%(0)", "一括表示(4)"} << false << false
        << true;
    QTest::newRow("images among other files")
        << "mixed" << false << "9 発見しました"
        << "6 / 9 発見しました" << 6
        << QStringList{"全選択(6)", "選択表示(6)", "10%(1)", "一括表示(9)"} << true << true << true;
    // With the detail scan switched off in the settings only ScanList is filled.
    QTest::newRow("names only") << "mixed" << true << "9 発見しました"
                                << "9 発見しました" << 0
                                << QStringList{"全選択", "選択表示", "10%", "一括表示(9)"} << false
                                << true << false;
}

void TestScanWindow::statusAndCaptions()
{
    QFETCH(QString, folder);
    QFETCH(bool, namesOnly);
    QFETCH(QString, walkEnd);
    QFETCH(QString, status);
    QFETCH(int, rows);
    QFETCH(QStringList, captions);
    QFETCH(bool, gridPanel2);
    QFETCH(bool, gridPanel1);
    QFETCH(bool, browse1Enabled);

    Window w;
    QVERIFY(w.show());
    w.entry(Command::pm3ScanNameOnly)->setChecked(namesOnly);
    QVERIFY(w.entry(Command::pm3ScanDetail)->isChecked() != namesOnly);
    w.recordWalkEnd();
    QVERIFY(w.scan(at(folder)));

    QCOMPARE(w.walkEndText, walkEnd);
    QCOMPARE(w.form.ui().StatusPanel1->text(), status);
    QCOMPARE(w.form.ListModel->rowCount(), rows);
    QCOMPARE(QStringList({w.form.ui().CheckBoxAll1->text(), w.form.ui().btnBrowse1->text(),
                          w.form.ui().CheckBoxTop10->text(), w.form.ui().btnBrowse3->text()}),
             captions);
    QCOMPARE(w.form.ui().GridPanel2->isEnabled(), gridPanel2);
    QCOMPARE(w.form.ui().GridPanel1->isEnabled(), gridPanel1);
    QCOMPARE(w.form.ui().btnBrowse1->isEnabled(), browse1Enabled);
    QVERIFY(w.form.ui().btnBrowse3->isEnabled());
    QCOMPARE(w.form.ListModel->checkedCount(), rows);
    QCOMPARE(w.form.state().DblClickPath1, at(folder));
    QCOMPARE(w.form.state().CurrentDir1, at(folder) + u'/');
    QVERIFY(w.form.closeEnabled());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TestScanWindow::rowsComeFromTheDecoderInListOrder()
{
    Window w;
    QVERIFY(w.show());
    QVERIFY(w.scan(at("mixed")));
    const ImageListModel &model = *w.form.ListModel;

    // The link back to the top is neither walked nor listed; the hidden folder is.
    const QStringList scanned = w.form.ScanList();
    QCOMPARE(scanned.size(), 9);
    for (const QString &path : scanned)
        QVERIFY2(!path.contains("/loop"), qPrintable(path));

    QStringList expected;
    for (const QString &path : scanned)
        if (m_mixedImages.contains(path.mid(at("mixed/").size())))
            expected << path;
    QCOMPARE(expected.size(), m_mixedImages.size());
    QCOMPARE(captions(model), expected);
    QCOMPARE(checks(model), QList<bool>(6, true));

    const QHash<QString, QStringList> details = {
        {"a.png", {"png", "40", "30"}},         {"b.bmp", {"bmp", "30", "40"}},
        {"sub/c.gif", {"gif", "1", "1"}},       {"sub/deep/d.jpg", {"jpeg", "64", "48"}},
        {".hidden/e.png", {"png", "20", "20"}}, {"sub/png-named.jpg", {"png", "50", "20"}},
    };
    for (int row = 0; row < model.rowCount(); ++row) {
        const ListItem &item = model.item(row);
        const QString name = item.caption.mid(at("mixed/").size());
        QCOMPARE(QStringList({item.subItems[ListItem::Format], item.subItems[ListItem::Width],
                              item.subItems[ListItem::Height]}),
                 details.value(name));
        QCOMPARE(item.subItems[ListItem::ByteSize],
                 pelmaris::scan::formatCount(QFileInfo(item.caption).size()));

        // The preview shows each picture's own thumbnail, letter-boxed in white.
        const QPixmap thumb = model.data(model.index(row, 0), Qt::DecorationRole).value<QPixmap>();
        QCOMPARE(thumb.size(), QSize(96, 96));
        const QImage image = thumb.toImage();
        const QColor centre = image.pixelColor(48, 48);
        const QColor want = m_colors.value(name);
        QVERIFY2(qAbs(centre.red() - want.red()) < 24 && qAbs(centre.green() - want.green()) < 24 &&
                     qAbs(centre.blue() - want.blue()) < 24,
                 qPrintable(name + " " + centre.name()));
        if (name == "sub/png-named.jpg") // 50 x 20: rows 29 to 66 drawn, above is background
            QCOMPARE(image.pixelColor(48, 10), QColor(Qt::white));
    }

    // The first row is selected; the tree stays at the scanned folder.
    QCOMPARE(w.form.ui().ListView1Icons->currentIndex().row(), 0);
    QCOMPARE(w.form.treeSelectedPath(), at("mixed"));
}

void TestScanWindow::additiveScan_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("walkEnd");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QStringList>("captions"); // 全選択, 選択表示, 10%, 一括表示

    QTest::newRow("another folder")
        << "mixed/sub"
        << "mixed" << 9 << "9 発見しました"
        << "9 / 12 発見しました"
        << QStringList{"全選択(9)", "選択表示(9)", "10%(1)", "一括表示(9)"};
    QTest::newRow("the same folder twice")
        << "mixed"
        << "mixed" << 12 << "9 発見しました"
        << "12 / 15 発見しました"
        << QStringList{"全選択(12)", "選択表示(12)", "10%(1)", "一括表示(9)"};
}

void TestScanWindow::additiveScan()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(int, rows);
    QFETCH(QString, walkEnd);
    QFETCH(QString, status);
    QFETCH(QStringList, captions);

    Window w;
    QVERIFY(w.show());
    QVERIFY(w.scan(at(first)));
    const QStringList before = ::captions(*w.form.ListModel);
    w.recordWalkEnd();
    QVERIFY(w.scan(at(second), true));

    QCOMPARE(w.form.state().PrevCount1, before.size());
    QCOMPARE(w.walkEndText, walkEnd);
    QCOMPARE(w.form.ui().StatusPanel1->text(), status);
    const QStringList after = ::captions(*w.form.ListModel);
    QCOMPARE(after.size(), rows);
    QCOMPARE(after.mid(0, before.size()), before);
    QCOMPARE(checks(*w.form.ListModel), QList<bool>(rows, true));
    QCOMPARE(QStringList({w.form.ui().CheckBoxAll1->text(), w.form.ui().btnBrowse1->text(),
                          w.form.ui().CheckBoxTop10->text(), w.form.ui().btnBrowse3->text()}),
             captions);
    // No duplicate check: every image of the second folder is appended once more.
    for (const QString &image : m_mixedImages) {
        const int times = after.count(at("mixed/" + image));
        QVERIFY2(times == (first == second            ? 2
                           : image.startsWith("sub/") ? 2
                                                      : 1),
                 qPrintable(image));
    }

    // A new scan starts from an empty list again.
    QVERIFY(w.scan(at("mixed/sub")));
    QCOMPARE(w.form.state().PrevCount1, 0);
    QCOMPARE(w.form.ListModel->rowCount(), 3);
    QCOMPARE(w.form.ui().StatusPanel1->text(), QStringLiteral("3 / 3 発見しました"));
}

void TestScanWindow::cancelScanListsWhatWasFound_data()
{
    QTest::addColumn<bool>("namesOnly");
    QTest::newRow("names and details") << false;
    QTest::newRow("names only") << true;
}

void TestScanWindow::cancelScanListsWhatWasFound()
{
    QFETCH(bool, namesOnly);
    Window w;
    QVERIFY(w.show());
    w.entry(Command::pm3ScanNameOnly)->setChecked(namesOnly);
    // The walk is held before its twentieth folder below "wide" until the cancel is in.
    QSemaphore reached;
    QSemaphore release;
    std::atomic<int> reads{0};
    w.fake.fileSystem.beforeRead = [&](const QString &folder) {
        if (folder.startsWith(at("wide/")) && ++reads == 20) {
            reached.release();
            release.acquire();
        }
    };
    w.recordWalkEnd();
    w.form.navigateTree(at("wide"));
    w.form.Scan->ShellTreeView1DblClick();
    QVERIFY(w.form.ui().btnCancel3->isVisible());
    QVERIFY(!w.form.close());
    QVERIFY(w.form.isVisible());
    QVERIFY(reached.tryAcquire(1, 20000));
    w.form.ui().btnCancel3->click();
    QVERIFY(w.form.state().CancelFlag3);
    QVERIFY(w.form.closeEnabled());
    release.release();
    QVERIFY(w.idle());

    // Whatever the walk had collected is ordered, counted and built; the rest is not.
    const QStringList found = w.form.ScanList();
    QVERIFY2(found.size() > 0 && found.size() < 19 * 51, qPrintable(QString::number(found.size())));
    if (namesOnly) {
        // No list building follows to replace the cancel text: the count closes the scan.
        QCOMPARE(w.walkEndText, pelmaris::scan::scanFoundText(found.size()));
        QCOMPARE(w.form.ui().StatusPanel1->text(), w.walkEndText);
        QCOMPARE(w.form.ListModel->rowCount(), 0);
        QVERIFY(w.form.close());
        return;
    }
    QCOMPARE(w.walkEndText,
             QStringLiteral(" フォルダスキャンを打切りました %1 アイテムリスト作成準備中..")
                 .arg(found.size()));
    QStringList sorted = found;
    pelmaris::scan::RandomEngine unused(1);
    pelmaris::scan::SortScanList(sorted, pelmaris::scan::ScanOrder::NumericAscending, unused);
    QCOMPARE(found, sorted);
    QStringList images;
    for (const QString &path : found) {
        QVERIFY(path.startsWith(at("wide/")));
        if (path.endsWith(".png"))
            images << path;
    }
    QCOMPARE(::captions(*w.form.ListModel), images);
    QCOMPARE(w.form.ListModel->checkedCount(), images.size());
    QCOMPARE(w.form.ui().btnBrowse3->text(),
             QStringLiteral("一括表示(%1)").arg(pelmaris::scan::formatCount(found.size())));
    QCOMPARE(w.form.ui().StatusPanel1->text(),
             QStringLiteral("%1 / %2 %3")
                 .arg(images.size())
                 .arg(pelmaris::scan::formatCount(found.size()))
                 .arg(images.isEmpty() ? "該当ありません" : "発見しました"));
    QVERIFY(w.form.close());
}

void TestScanWindow::cancelBuildKeepsRowsChecked()
{
    Window w;
    QVERIFY(w.show());
    QVERIFY(w.scan(at("mixed/sub")));
    const QStringList before = captions(*w.form.ListModel);
    QCOMPARE(before.size(), 3);

    // The walk's end starts the build; cancel it there, before any poll could finish it.
    bool closeAfterCancel = false;
    QObject::connect(w.form.Scanner, &ScanController::scanFinished, &w.form, [&] {
        QVERIFY(w.form.ui().btnCancel1->isVisible());
        QVERIFY(!w.form.closeEnabled());
        w.form.ui().btnCancel1->click();
        closeAfterCancel = w.form.closeEnabled();
    });
    QVERIFY(w.scan(at("slow"), true));
    QVERIFY(closeAfterCancel);
    QVERIFY(w.form.state().CancelFlag1);

    const QStringList after = captions(*w.form.ListModel);
    QVERIFY2(after.size() < 3 + 21, qPrintable(QString::number(after.size())));
    QCOMPARE(after.mid(0, 3), before);
    QCOMPARE(after.mid(3), w.form.ScanList().mid(0, after.size() - 3));
    QCOMPARE(w.form.ListModel->checkedCount(), after.size());
    const int n = after.size();
    QCOMPARE(w.form.ui().StatusPanel1->text(), QStringLiteral("%1 / 24 発見しました").arg(n));
    QCOMPARE(w.form.ui().CheckBoxAll1->text(), QStringLiteral("全選択(%1)").arg(n));
    QCOMPARE(w.form.ui().btnBrowse1->text(), QStringLiteral("選択表示(%1)").arg(n));
    QVERIFY(w.form.ui().GridPanel2->isEnabled());
    QVERIFY(w.form.close());
}

void TestScanWindow::whatCouldNotBeListedIsTold()
{
    // A name that is no valid text in the locale's encoding cannot be listed; the user is
    // told after the scan, beside the usual text.
    const QByteArray folder = QFile::encodeName(at("badname"));
    QVERIFY(QDir().mkpath(at("badname")));
    QVERIFY(writeFile(at("badname/ok.png"), encode(QSize(4, 4), Qt::green, "png")));
    // A file and a folder of such names: the text then runs past the end of the panel.
    const QByteArray bad = folder + "/\xff\xfe.png";
    const QByteArray badFolder = folder + "/\xff\xfd";
    const QByteArray inBadFolder = badFolder + "/in.png";
    QCOMPARE(::mkdir(badFolder.constData(), 0700), 0);
    for (const QByteArray &name : {bad, inBadFolder}) {
        const int fd = ::open(name.constData(), O_CREAT | O_WRONLY, 0600);
        QVERIFY(fd >= 0);
        ::close(fd);
    }

    Window w;
    QVERIFY(w.show());
    QVERIFY(w.scan(at("badname")));
    const QString status = w.form.ui().StatusPanel1->text();
    QVERIFY2(status.startsWith(QStringLiteral("1 / 1 発見しました  ")), qPrintable(status));
    QVERIFY2(status.contains(QStringLiteral("一覧から除外")), qPrintable(status));
    // The panel shows the beginning with the counts, cut at its end; the tooltip all.
    QCOMPARE(w.form.ui().StatusPanel1->toolTip(), status);
    const auto *panel = qobject_cast<pelmaris::app::StatusLabel *>(w.form.ui().StatusPanel1);
    QVERIFY(panel);
    const QString shown = panel->shownText();
    QVERIFY2(shown.startsWith(QStringLiteral("1 / 1 発見しました")) && shown.endsWith(u'…') &&
                 panel->fontMetrics().horizontalAdvance(shown) <= panel->contentsRect().width(),
             qPrintable(shown));
    // Qt's removal cannot name them.
    ::unlink(inBadFolder.constData());
    ::rmdir(badFolder.constData());
    ::unlink(bad.constData());
}

void TestScanWindow::thumbnailCacheFollowsItsSwitch_data()
{
    QTest::addColumn<bool>("on");
    QTest::newRow("on") << true;
    QTest::newRow("off") << false;
}

void TestScanWindow::thumbnailCacheFollowsItsSwitch()
{
    QFETCH(bool, on);
    const QString folder = at(on ? "cache-on" : "cache-off");
    const QString picture = folder + "/big.png";
    QVERIFY(writeFile(picture, encode(QSize(400, 300), Qt::darkCyan, "png")));
    const QString uri = QUrl::fromLocalFile(picture).toString(QUrl::FullyEncoded);
    const QString cached = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                           "/thumbnails/normal/" +
                           QCryptographicHash::hash(uri.toUtf8(), QCryptographicHash::Md5).toHex() +
                           ".png";
    QFile::remove(cached);

    Window w;
    QVERIFY(w.show());
    w.form.ui().ChkBxThumbnailCache->setChecked(on);
    QVERIFY(w.scan(folder));
    QCOMPARE(w.form.ListModel->rowCount(), 1);
    QCOMPARE(QFileInfo::exists(cached), on);
    QFile::remove(cached);
}

void TestScanWindow::treeClick_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("inside");

    // "tree/ab" shares the prefix of "tree/a" and "tree/A" differs only in case.
    QTest::newRow("a folder") << "tree/a" << QStringList{"tree/a/1.png", "tree/a/deep/4.png"};
    QTest::newRow("letter case counts") << "tree/A" << QStringList{"tree/A/2.png"};
    QTest::newRow("nothing inside") << "tree/none" << QStringList{};
    QTest::newRow("the scanned folder") << "tree"
                                        << QStringList{"tree/5.png", "tree/A/2.png", "tree/a/1.png",
                                                       "tree/a/deep/4.png", "tree/ab/3.png"};
}

void TestScanWindow::treeClick()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, inside);

    Window w;
    QVERIFY(w.show());
    QVERIFY(w.scan(at("tree")));
    QCOMPARE(w.form.ListModel->rowCount(), 5);

    w.form.navigateTree(at(folder));
    QCOMPARE(w.form.treeSelectedPath(), at(folder));
    w.form.Scan->ShellTreeView1Click();

    QCOMPARE(w.form.state().CurrentDir1, at(folder));
    QCOMPARE(w.form.ui().btnBrowse1->text(), QStringLiteral("選択表示(%1)").arg(inside.size()));
    QVERIFY(!w.form.ui().CheckBoxAll1->isChecked());
    QVERIFY2(w.form.ui().StatusPanel1->text().endsWith(QFileInfo(at(folder)).fileName()),
             qPrintable(w.form.ui().StatusPanel1->text()));
    // The rows inside come first, checked; every other row follows, unchecked.
    const ImageListModel &model = *w.form.ListModel;
    QStringList checkedFirst;
    for (int row = 0; row < model.rowCount(); ++row) {
        const ListItem &item = model.item(row);
        QCOMPARE(item.checked, row < inside.size());
        if (item.checked)
            checkedFirst << item.caption.mid(m_dir.path().size() + 1);
    }
    checkedFirst.sort();
    QStringList want = inside;
    want.sort();
    QCOMPARE(checkedFirst, want);
}

void TestScanWindow::checkAllAndFirstTenth()
{
    Window w;
    QVERIFY(w.show());
    QVERIFY(w.scan(at("many")));
    QCOMPARE(w.form.ListModel->rowCount(), 25);
    QCOMPARE(w.form.ui().CheckBoxTop10->text(), QStringLiteral("10%(3)"));
    QVERIFY(w.form.ui().CheckBoxAll1->isChecked());

    w.form.ui().CheckBoxTop10->click();
    QList<bool> firstThree(25, false);
    firstThree[0] = firstThree[1] = firstThree[2] = true;
    QCOMPARE(checks(*w.form.ListModel), firstThree);
    QCOMPARE(w.form.ui().btnBrowse1->text(), QStringLiteral("選択表示(3)"));
    QVERIFY(!w.form.ui().CheckBoxAll1->isChecked());

    w.form.ui().CheckBoxTop10->click();
    QCOMPARE(w.form.ListModel->checkedCount(), 0);
    QCOMPARE(w.form.ui().btnBrowse1->text(), QStringLiteral("選択表示"));

    w.form.ui().CheckBoxAll1->click();
    QCOMPARE(w.form.ListModel->checkedCount(), 25);
    QCOMPARE(w.form.ui().btnBrowse1->text(), QStringLiteral("選択表示(25)"));
    QVERIFY(!w.form.ui().CheckBoxTop10->isChecked());

    // The shuffle keeps the counts in the captions and the checked rows first.
    w.form.ui().CheckBoxTop10->click();
    w.form.List->BtnShuffle1Click();
    QCOMPARE(checks(*w.form.ListModel), firstThree);
    QCOMPARE(w.form.ui().CheckBoxAll1->text(), QStringLiteral("全選択(25)"));
    QCOMPARE(w.form.ui().CheckBoxTop10->text(), QStringLiteral("10%(3)"));
}

void TestScanWindow::pathFromOutside_data()
{
    QTest::addColumn<bool>("drop");
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QString>("scanned"); // empty: nothing is scanned
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("message"); // the centred box, before CR LF and the path

    const QString badParameter = QStringLiteral("「送る」の起動パラメータが不正です");
    const QString badDrop = QStringLiteral("ドラッグ＆ドロップに異状があります");
    QTest::newRow("parameter: folder") << false << QStringList{"param"} << "param" << 2 << "";
    QTest::newRow("parameter: folder with a trailing delimiter")
        << false << QStringList{"param/"} << "param" << 2 << "";
    QTest::newRow("parameter: hidden folder")
        << false << QStringList{"mixed/.hidden"} << "mixed/.hidden" << 1 << "";
    QTest::newRow("parameter: link to an image elsewhere scans its own folder")
        << false << QStringList{"linked/to-image.png"} << "linked" << 1 << "";
    QTest::newRow("parameter: image file")
        << false << QStringList{"param/other/q.png"} << "param/other" << 1 << "";
    QTest::newRow("parameter: list file is scanned, not loaded")
        << false << QStringList{"param/list.csv"} << "param" << 2 << "";
    QTest::newRow("parameter: only the first counts")
        << false << QStringList{"param/other", "mixed"} << "param/other" << 1 << "";
    QTest::newRow("parameter: missing")
        << false << QStringList{"param/gone"} << "" << 0 << badParameter;
    QTest::newRow("parameter: empty") << false << QStringList{""} << "" << 0 << badParameter;
    QTest::newRow("drop: three folders")
        << true << QStringList{"tree/a", "mixed", "param"} << "tree/a" << 2 << "";
    QTest::newRow("drop: file") << true << QStringList{"mixed/b.bmp"} << "mixed" << 6 << "";
    QTest::newRow("drop: missing") << true << QStringList{"gone.png"} << "" << 0 << badDrop;
}

void TestScanWindow::pathFromOutside()
{
    QFETCH(bool, drop);
    QFETCH(QStringList, paths);
    QFETCH(QString, scanned);
    QFETCH(int, rows);
    QFETCH(QString, message);

    QStringList absolute;
    for (const QString &p : paths)
        absolute << (p.isEmpty() ? p : at(p));
    Window w(drop ? QStringList() : absolute);
    QVERIFY(w.show());
    if (drop) {
        QList<QUrl> urls;
        for (const QString &p : absolute)
            urls << QUrl::fromLocalFile(p);
        QMimeData mime;
        mime.setUrls(urls);
        // Qt delivers a drop only to a widget that has accepted the drag's entry.
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&w.form, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w.form, &event);
    }
    QVERIFY(w.idle());

    QCOMPARE(w.form.state().TargetFileName1, absolute.first());
    QCOMPARE(w.form.ListModel->rowCount(), rows);
    if (message.isEmpty()) {
        QCOMPARE(w.fake.dialogs.calls.size(), 0);
        QCOMPARE(w.form.state().DblClickPath1, at(scanned));
        QVERIFY(!w.form.ScanList().isEmpty());
        for (const QString &path : w.form.ScanList())
            QVERIFY2(path.startsWith(at(scanned) + u'/'), qPrintable(path));
        QVERIFY(w.form.ui().StatusPanel1->text().endsWith(QStringLiteral(" 発見しました")));
    } else {
        QCOMPARE(w.fake.dialogs.texts("centered"),
                 QStringList{message + QStringLiteral("\r\n") + absolute.first()});
        QCOMPARE(w.fake.dialogs.calls.size(), 1);
        QVERIFY(w.form.state().DblClickPath1.isEmpty());
        QVERIFY(w.form.ScanList().isEmpty());
    }
}

void TestScanWindow::treeMenuFollowsTheWork()
{
    Window w;
    QVERIFY(w.show());
    const auto enabled = [&w](Command c) { return w.entry(c)->isEnabled(); };

    // Nothing listed: no additive scan.
    w.form.Scan->PopupMenu3Popup();
    QVERIFY(enabled(Command::Pm3StartDetect));
    QVERIFY(!enabled(Command::pm3AddDetect));
    QVERIFY(enabled(Command::pm3NumSortA));

    // While the walk runs every entry is off; while the list builds, the scans and orders.
    QStringList whileBuilding;
    QObject::connect(w.form.Scanner, &ScanController::scanFinished, &w.form, [&] {
        w.form.Scan->PopupMenu3Popup();
        for (QAction *a : w.form.ui().PopupMenu3->actions())
            if (a->isEnabled())
                whileBuilding << a->objectName();
    });
    w.form.navigateTree(at("mixed"));
    w.entry(Command::Pm3StartDetect)->trigger();
    QVERIFY(w.form.Scanner->isScanning());
    w.form.Scan->PopupMenu3Popup();
    for (QAction *a : w.form.ui().PopupMenu3->actions())
        QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
    // A second scan request meanwhile is refused.
    w.form.navigateTree(at("junk"));
    w.form.Scan->ShellTreeView1DblClick();
    QVERIFY(w.idle());
    QCOMPARE(w.form.state().DblClickPath1, at("mixed"));
    QCOMPARE(w.form.ScanList().size(), 9);
    for (Command name :
         {Command::Pm3StartDetect, Command::pm3AddDetect, Command::pm3NumSortA,
          Command::pm3NumSortD, Command::pm3DicSortA, Command::pm3DicSortD, Command::pm3RandomOut})
        QVERIFY2(!whileBuilding.contains(nameOf(name)), qPrintable(nameOf(name)));
    QCOMPARE(w.form.ListModel->rowCount(), 6);

    // With rows listed the additive scan is offered and its entry appends.
    w.form.Scan->PopupMenu3Popup();
    QVERIFY(enabled(Command::Pm3StartDetect));
    QVERIFY(enabled(Command::pm3AddDetect));
    w.form.navigateTree(at("mixed/sub"));
    w.entry(Command::pm3AddDetect)->trigger();
    QVERIFY(w.idle());
    QCOMPARE(w.form.ListModel->rowCount(), 9);
}

void TestScanWindow::saveEntriesAreOffWhileTheListBuilds()
{
    Window w;
    QVERIFY(w.show());
    QVERIFY(w.scan(at("mixed/sub")));
    // Opened while nothing runs, both menus offer their saves.
    w.form.Scan->PopupMenu3Popup();
    w.form.List->updateMenuEnabling();
    const Command saves[] = {Command::pm3SaveFileList, Command::pm1SaveListAs};
    for (Command name : saves)
        QVERIFY2(w.entry(name)->isEnabled(), qPrintable(nameOf(name)));

    // The build that follows the walk switches them off, menu opened again or not: chosen
    // meanwhile (a key, a menu left open) they would do nothing at all.
    QStringList onWhileBuilding;
    QObject::connect(w.form.Scanner, &ScanController::scanFinished, &w.form, [&] {
        QVERIFY(w.form.activity().fillsList());
        for (Command name : saves) {
            if (w.entry(name)->isEnabled())
                onWhileBuilding << nameOf(name);
            w.entry(name)->trigger();
        }
    });
    QVERIFY(w.scan(at("slow")));
    QCOMPARE(onWhileBuilding, QStringList());
    QVERIFY(w.fake.dialogs.calls.isEmpty());
    // The build over, they are back as the last opening left them.
    for (Command name : saves)
        QVERIFY2(w.entry(name)->isEnabled(), qPrintable(nameOf(name)));
}

QTEST_MAIN(TestScanWindow)
#include "tst_scanwindow.moc"
