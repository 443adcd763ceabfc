#include "scan/imagelistmodel.h"
#include "scan/thumbnail.h"

#include <QAbstractItemModelTester>
#include <QBuffer>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

using namespace pelmaris::scan;

namespace {

ListItem row(const QString &path)
{
    ListItem item;
    item.caption = path;
    item.subItems = {"png", "1,234", "40", "30", "2024/05/06 07:08:09"};
    return item;
}

QByteArray cellJpeg(QColor colour)
{
    QImage cell(96, 96, QImage::Format_RGB32);
    cell.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    cell.save(&buffer, "jpeg", 85);
    return bytes;
}

void fill(ImageListModel &model, int n)
{
    std::vector<ListItem> rows;
    std::vector<QByteArray> thumbs;
    for (int i = 0; i < n; ++i) {
        rows.push_back(row(QStringLiteral("/p/f%1/img%2.png").arg(i % 3).arg(i)));
        thumbs.push_back(cellJpeg(i % 2 ? Qt::red : Qt::blue));
    }
    model.appendRows(std::move(rows), std::move(thumbs));
}

} // namespace

class TestImageListModel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void passesTheModelTester()
    {
        ImageListModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        fill(model, 10);
        fill(model, 5);
        model.setAllChecked(false);
        QVERIFY(model.setData(model.index(3, 0), Qt::Checked, Qt::CheckStateRole));
        model.reorder({14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0});
        model.removeRows(2, 3);
        model.setDecoration(ImageListModel::Decoration::SmallIcon);
        model.clearRows(false);
        fill(model, 2);
        model.clearRows(true);
    }

    void rowsShowTheirTexts()
    {
        ImageListModel model;
        fill(model, 3);
        QCOMPARE(model.columnCount(), 6);
        QCOMPARE(model.data(model.index(1, 0)).toString(), QStringLiteral("/p/f1/img1.png"));
        QCOMPARE(model.data(model.index(1, ImageListModel::ByteSize)).toString(),
                 QStringLiteral("1,234"));
        QCOMPARE(model.data(model.index(1, 0), Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("バイト数"));
        model.setHeaderData(2, Qt::Horizontal, QStringLiteral("バイト数 ▲"));
        model.ResetColumnCaptions();
        QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("バイト数"));
        QCOMPARE(model.data(model.index(2, 0), ImageListModel::DataKeyRole).toInt(), 2);
    }

    void checkAllIsOneChange()
    {
        ImageListModel model;
        fill(model, 1000);
        QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
        model.setAllChecked(false);
        QCOMPARE(changes.size(), 1);
        QCOMPARE(model.checkedCount(), 0);
        const int n = model.setCheckedWhere([](int, const ListItem &item) {
            return item.caption.contains(QStringLiteral("/f1/"));
        });
        QCOMPARE(changes.size(), 2);
        QCOMPARE(n, 333);
        QCOMPARE(model.checkedPaths().size(), 333);
    }

    // Removing rows keeps every other row's own thumbnail.
    void rowsKeepTheirThumbnails()
    {
        ImageListModel model;
        fill(model, 4); // blue, red, blue, red
        model.removeRows(0, 1);
        QCOMPARE(model.imageCount(), 4);
        const QPixmap first = model.data(model.index(0, 0), Qt::DecorationRole).value<QPixmap>();
        QCOMPARE(first.size(), QSize(96, 96));
        QVERIFY(qRed(first.toImage().pixel(48, 48)) > 200);
        model.clearRows(false);
        fill(model, 1);
        QCOMPARE(model.item(0).imageIndex, 4);
    }

    void reorderKeepsSelections()
    {
        ImageListModel model;
        fill(model, 3);
        const QPersistentModelIndex kept(model.index(0, 2));
        model.reorder({2, 1, 0});
        QCOMPARE(kept.row(), 2);
        QCOMPARE(model.item(0).caption, QStringLiteral("/p/f2/img2.png"));
    }
};

QTEST_MAIN(TestImageListModel)
#include "tst_imagelistmodel.moc"
