#include "deeptree.h"
#include "gallery/viewerloader.h"
#include "gallery/viewerpicture.h"
#include "picturefixtures.h"
#include "platform/filesystem.h"
#include "scan/decodebudget.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QLoggingCategory>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using pelmaris::gallery::loadViewerPicture;
using pelmaris::gallery::ViewerPicture;
using pelmaris::gallery::ViewerRequest;
using pelmaris::scan::DecodeBudget;

namespace {

QString writeImage(const QString &path, QSize size, const char *format,
                   QImageIOHandler::Transformations turn = QImageIOHandler::TransformationNone)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QImageWriter writer(path, format);
    writer.setTransformation(turn);
    writer.write(image);
    return path;
}

QString writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

ViewerPicture load(const QString &path, QSize screen = QSize(1920, 1080),
                   qint64 maxPixels = pelmaris::gallery::ViewerMaxPixels,
                   DecodeBudget *budget = nullptr)
{
    ViewerRequest request;
    request.path = path;
    request.screen = screen;
    request.maxPixels = maxPixels;
    request.budget = budget;
    return loadViewerPicture(*pelmaris::platform::makeSystemFileSystem(), request);
}

} // namespace

class TestViewerPicture : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void decodes_data();
    void decodes();
    void photoJustOverTheOldCapIsWhole();
    void forgedHeaderGetsTheListsVerdict();
    void turnedPhotoStaysAsStored();
    void unreadable_data();
    void unreadable();
    void pathLongerThanTheSystemNames();
    void memoryIsCountedWhileShown();
    void cancelledBeforeItStarts();
    void loaderDeliversOnlyTheLatest();

private:
    QTemporaryDir m_dir;
};

void TestViewerPicture::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // The damaged fixtures make the decoders complain; that is what they are for.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));
}

void TestViewerPicture::decodes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<qint64>("maxPixels");
    QTest::addColumn<QSize>("kept");
    QTest::addColumn<QSize>("preview");
    QTest::newRow("png whole") << "a b#%.png" << QByteArray("png") << qint64(1 << 20)
                               << QSize(400, 300) << QSize(200, 150);
    // JPEG lands exactly on the decoder's own 1/4 step.
    QTest::newRow("jpeg reduced by steps")
        << "写真.jpg" << QByteArray("jpeg") << qint64(10000) << QSize(100, 75) << QSize(0, 0);
    // A format that cannot decode reduced keeps only a copy of the screen's size.
    QTest::newRow("png over the pixels kept")
        << "-big.png" << QByteArray("png") << qint64(10000) << QSize(200, 150) << QSize(0, 0);
}

void TestViewerPicture::decodes()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    QFETCH(qint64, maxPixels);
    QFETCH(QSize, kept);
    QFETCH(QSize, preview);
    const QString path = writeImage(m_dir.filePath(name), QSize(400, 300), format.constData());
    const ViewerPicture picture = load(path, QSize(200, 200), maxPixels);
    QCOMPARE(picture.realSize, QSize(400, 300));
    QCOMPARE(picture.image.size(), kept);
    QCOMPARE(picture.preview.size(), preview);
    QCOMPARE(picture.reduced(), kept != QSize(400, 300));
    // JPEG shifts the colour a little.
    const QColor expected(Qt::darkCyan);
    QVERIFY2(std::abs(picture.edge.red() - expected.red()) <= 4 &&
                 std::abs(picture.edge.green() - expected.green()) <= 4 &&
                 std::abs(picture.edge.blue() - expected.blue()) <= 4,
             qPrintable(picture.edge.name()));
}

// A camera's picture above 24 megapixels used to come at half its size and be shown
// doubled. It is kept whole, with a screen-sized copy for the fitted window.
void TestViewerPicture::photoJustOverTheOldCapIsWhole()
{
    const QString path = m_dir.filePath("6200x4100.jpg");
    QVERIFY(picturefixtures::writeFlatJpeg(path, QSize(6200, 4100), false));
    const ViewerPicture picture = load(path);
    QCOMPARE(picture.realSize, QSize(6200, 4100));
    QCOMPARE(picture.image.size(), QSize(6200, 4100));
    QVERIFY(!picture.reduced());
    QCOMPARE(picture.preview.size(), QSize(1633, 1080));
}

// The header claims 20000 x 20000 over the data of a 16 x 16 picture. The list's check
// refuses every decode that would be large for so short a file; the small one it allows
// (the scale a thumbnail would take) is what the viewer shows, and its window stays
// that small.
void TestViewerPicture::forgedHeaderGetsTheListsVerdict()
{
    const QByteArray bytes = picturefixtures::jpegClaiming(QSize(20000, 20000), false);
    QVERIFY(!bytes.isEmpty());
    DecodeBudget budget(DecodeBudget::kDefaultBytes);
    const ViewerPicture picture =
        load(writeBytes(m_dir.filePath("forged.jpg"), bytes), QSize(1920, 1080),
             pelmaris::gallery::ViewerMaxPixels, &budget);
    QCOMPARE(picture.realSize, QSize(20000, 20000));
    QCOMPARE(picture.image.size(), QSize(2500, 2500));
    QVERIFY(picture.reduced());
    QVERIFY(budget.peak() < 64LL * 1024 * 1024);
}

// A photo taken upright is stored on its side with the EXIF turn; the viewer keeps it as
// stored (no turned copy of a large photo) and knows its upright size.
void TestViewerPicture::turnedPhotoStaysAsStored()
{
    QImage stored(40, 20, QImage::Format_RGB32);
    stored.fill(Qt::darkCyan);
    const QString path =
        writeBytes(m_dir.filePath("turned.jpg"), picturefixtures::jpegWithOrientation(stored, 6));
    const ViewerPicture picture = load(path, QSize(10, 10));
    QCOMPARE(picture.image.size(), QSize(40, 20));
    QCOMPARE(picture.turn, QImageIOHandler::TransformationRotate90);
    QCOMPARE(picture.uprightSize(), QSize(20, 40));
    QCOMPARE(picture.realSize, QSize(20, 40));
    // The preview is made upright from the stored picture.
    QCOMPARE(picture.preview.size(), QSize(5, 10));
}

void TestViewerPicture::unreadable_data()
{
    QTest::addColumn<QString>("path");
    const QString dir = m_dir.path();
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImage(64, 64, QImage::Format_RGB32).save(&buffer, "png");
    }
    QTest::newRow("damaged png") << writeBytes(dir + "/cut.png", png.left(png.size() / 2));
    QTest::newRow("not a picture") << writeBytes(dir + "/notes.jpg", "just words\n");
    QTest::newRow("empty file") << writeBytes(dir + "/empty.png", {});
    QTest::newRow("missing") << dir + "/gone.png";
    QTest::newRow("folder") << dir;
    const QString fifo = dir + "/pipe.png";
    ::mkfifo(QFile::encodeName(fifo).constData(), 0600);
    QTest::newRow("fifo") << fifo;
}

void TestViewerPicture::unreadable()
{
    QFETCH(QString, path);
    const ViewerPicture picture = load(path);
    QVERIFY(picture.image.isNull());
    QVERIFY(picture.realSize.isEmpty());
    QVERIFY(!picture.cancelled);
    QVERIFY(!picture.memory);
}

// The scan lists files below PATH_MAX's reach by walking folder by folder; the viewer
// opens them the same way.
void TestViewerPicture::pathLongerThanTheSystemNames()
{
    const QByteArray name(200, 'd');
    constexpr int depth = 25;
    // The chain's bottom file is replaced by a picture of the same name.
    const QString bottom = fixtures::makeDeepChain(m_dir.path(), depth, name, "x", depth);
    QVERIFY(!bottom.isEmpty());
    QVERIFY(QFile::encodeName(bottom).size() > PATH_MAX);
    // Reached folder by folder.
    const QString shallow = writeImage(m_dir.filePath("deep.png"), QSize(30, 20), "png");
    int fd = ::open(QFile::encodeName(m_dir.path()).constData(), O_RDONLY | O_DIRECTORY);
    for (int level = 0; fd >= 0 && level < depth; ++level) {
        const int next = ::openat(fd, name.constData(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    QVERIFY(fd >= 0);
    QCOMPARE(::renameat(AT_FDCWD, QFile::encodeName(shallow).constData(), fd, "x"), 0);
    ::close(fd);

    const ViewerPicture picture = load(bottom + QStringLiteral("/x"));
    QCOMPARE(picture.image.size(), QSize(30, 20));
    fixtures::removeDeepChain(m_dir.path(), depth, name, "x");
}

// The viewer decodes in the list's budget and keeps the picture's share while it shows
// it; a picture the budget cannot hold is not shown.
void TestViewerPicture::memoryIsCountedWhileShown()
{
    const QString path = writeImage(m_dir.filePath("counted.png"), QSize(1000, 500), "png");
    DecodeBudget budget(64LL * 1024 * 1024);
    {
        const ViewerPicture picture =
            load(path, QSize(1920, 1080), pelmaris::gallery::ViewerMaxPixels, &budget);
        QCOMPARE(picture.image.size(), QSize(1000, 500));
        QVERIFY(picture.memory);
        QCOMPARE(budget.inUse(), picture.image.sizeInBytes());
        QVERIFY(budget.peak() >= picture.image.sizeInBytes());
    }
    QCOMPARE(budget.inUse(), qint64(0));

    DecodeBudget tiny(1024 * 1024);
    const ViewerPicture refused =
        load(path, QSize(1920, 1080), pelmaris::gallery::ViewerMaxPixels, &tiny);
    QVERIFY(refused.image.isNull());
    QVERIFY(!refused.cancelled);
    QCOMPARE(tiny.peak(), qint64(0));
}

void TestViewerPicture::cancelledBeforeItStarts()
{
    const QString path = writeImage(m_dir.filePath("never.png"), QSize(100, 100), "png");
    DecodeBudget budget(64LL * 1024 * 1024);
    std::atomic<bool> cancel{true};
    ViewerRequest request;
    request.path = path;
    request.budget = &budget;
    request.cancel = &cancel;
    const ViewerPicture picture =
        loadViewerPicture(*pelmaris::platform::makeSystemFileSystem(), request);
    QVERIFY(picture.cancelled);
    QVERIFY(picture.image.isNull());
    QCOMPARE(budget.peak(), qint64(0));
}

// Three requests in a row: only the last one's picture arrives, on the loader's thread's
// way back to this one.
void TestViewerPicture::loaderDeliversOnlyTheLatest()
{
    DecodeBudget budget(DecodeBudget::kDefaultBytes);
    const auto fileSystem = pelmaris::platform::makeSystemFileSystem();
    pelmaris::gallery::ViewerLoader loader(*fileSystem, &budget);
    QStringList arrived;
    QObject::connect(&loader, &pelmaris::gallery::ViewerLoader::loaded,
                     [&](const QString &path, const ViewerPicture &) { arrived << path; });
    QStringList paths;
    for (const char *name : {"one.png", "two.png", "three.png"})
        paths << writeImage(m_dir.filePath(QString::fromLatin1(name)), QSize(50, 40), "png");
    for (const QString &path : paths)
        loader.load(path, QSize(1920, 1080));
    QVERIFY(loader.isLoading());
    QTRY_VERIFY(!loader.isLoading());
    QTRY_VERIFY(loader.isIdle());
    QCOMPARE(arrived, QStringList{paths.last()});

    // Cancelled: nothing arrives at all.
    loader.load(paths.first(), QSize(1920, 1080));
    loader.cancel();
    QTRY_VERIFY(loader.isIdle());
    QTest::qWait(50);
    QCOMPARE(arrived, QStringList{paths.last()});
}

QTEST_MAIN(TestViewerPicture)
#include "tst_viewerpicture.moc"
