#include "gallery/viewerpicture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using pelmaris::gallery::loadViewerPicture;

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

// A JPEG whose frame header claims 20000 x 20000 pixels; its scan data belongs to a
// 16 x 16 picture, so the decoder fills the rest, as with a cut-off download.
QByteArray hugeJpeg()
{
    QImage small(16, 16, QImage::Format_RGB32);
    small.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    small.save(&buffer, "jpeg");
    const qsizetype sof = bytes.indexOf(QByteArray("\xff\xc0", 2));
    if (sof < 0)
        return {};
    // Marker, length (2), precision (1), then height and width, big-endian.
    for (const qsizetype at : {sof + 5, sof + 7}) {
        bytes[at] = char(20000 >> 8);
        bytes[at + 1] = char(20000 & 0xff);
    }
    return bytes;
}

} // namespace

class TestViewerPicture : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void decodes_data();
    void decodes();
    void hugePictureIsBounded();
    void turnedPhotoIsUpright();
    void unreadable_data();
    void unreadable();

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
    QTest::addColumn<QSize>("shown");
    QTest::newRow("png whole") << "a b#%.png" << QByteArray("png") << qint64(1 << 20)
                               << QSize(400, 300);
    // JPEG lands exactly on the decoder's own 1/4 step.
    QTest::newRow("jpeg reduced by steps")
        << "写真.jpg" << QByteArray("jpeg") << qint64(10000) << QSize(100, 75);
    QTest::newRow("png reduced to the budget")
        << "-big.png" << QByteArray("png") << qint64(10000) << QSize(115, 86);
}

void TestViewerPicture::decodes()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    QFETCH(qint64, maxPixels);
    QFETCH(QSize, shown);
    const QString path = writeImage(m_dir.filePath(name), QSize(400, 300), format.constData());
    const auto picture = loadViewerPicture(path, maxPixels);
    QCOMPARE(picture.realSize, QSize(400, 300));
    QCOMPARE(picture.image.size(), shown);
}

void TestViewerPicture::hugePictureIsBounded()
{
    const QByteArray bytes = hugeJpeg();
    QVERIFY(!bytes.isEmpty());
    const auto picture = loadViewerPicture(writeBytes(m_dir.filePath("huge.jpg"), bytes));
    QCOMPARE(picture.realSize, QSize(20000, 20000));
    QVERIFY(!picture.image.isNull());
    QVERIFY(picture.image.sizeInBytes() <= 128LL * 1024 * 1024);
    QCOMPARE(picture.image.width(), picture.image.height());
}

void TestViewerPicture::turnedPhotoIsUpright()
{
    const QString path = writeImage(m_dir.filePath("turned.jpg"), QSize(40, 20), "jpeg",
                                    QImageIOHandler::TransformationRotate90);
    const auto picture = loadViewerPicture(path);
    QCOMPARE(picture.image.size(), QSize(20, 40));
    QCOMPARE(picture.realSize, QSize(20, 40));
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
    const auto picture = loadViewerPicture(path);
    QVERIFY(picture.image.isNull());
    QVERIFY(picture.realSize.isEmpty());
}

QTEST_GUILESS_MAIN(TestViewerPicture)
#include "tst_viewerpicture.moc"
