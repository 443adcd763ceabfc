#pragma once

// The window the row-command tests drive: a real main window over the fake desktop,
// shown, with a folder of three small pictures scanned and listed.

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
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QItemSelectionModel>
#include <QListView>
#include <QPushButton>
#include <QTest>

namespace rowwindow {

using pelmaris::testfiles::readFile;
using pelmaris::testfiles::writeFile;

using pelmaris::app::Command;
using pelmaris::app::nameOf;
using pelmaris::app::TPelmarisForm;
using pelmaris::fakes::FakePlatform;
using pelmaris::fakes::FakeShell;

// Blanks, quotes, URL and shell characters, a leading '-' and Japanese in one name.
inline const QString Awkward = QStringLiteral("-x \"q\" it's #1 %20 & 写 真.png");
inline const QStringList Names = {QStringLiteral("a.png"), Awkward, QStringLiteral("c.png")};
inline const QString CrLf = QStringLiteral("\r\n");

inline QByteArray png(QColor color)
{
    QImage image(10, 8, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return bytes;
}

inline QList<FakeShell::Call> callsOf(const FakeShell &shell, const QStringList &kinds)
{
    QList<FakeShell::Call> out;
    for (const FakeShell::Call &c : shell.calls)
        if (kinds.contains(c.kind))
            out << c;
    return out;
}

inline const QStringList Launches = {"open",       "start",    "openWith",
                                     "properties", "showItem", "trash"};

// A shown window over its own folder of three pictures, listed and all checked.
struct Window : pelmaris::testwindow::WindowFixture {
    Window()
        : WindowFixture({},
                        [](FakePlatform &platform, pelmaris::platform::Services &) {
                            for (const QString &name : Names)
                                writeFile(folderOf(platform) + u'/' + name, png(Qt::darkCyan));
                        }),
          pics(folderOf(fake))
    {
    }
    bool ready() { return show() && scan(pics) && form.ListModel->rowCount() == Names.size(); }
    QString path(const QString &name) const { return pics + u'/' + name; }
    int rowOf(const QString &name) const
    {
        const auto &items = form.ListModel->items();
        for (size_t r = 0; r < items.size(); ++r)
            if (items[r].caption == path(name))
                return int(r);
        return -1;
    }
    // A click on the row, as the user selects it.
    void select(const QString &name)
    {
        form.List->ListView1Click(form.ListModel->index(rowOf(name), 0));
    }
    // Opens the list menu and chooses the entry, which does nothing while it is disabled.
    void choose(Command entry)
    {
        form.List->PopupMenu1Popup();
        trigger(entry);
    }
    // The scan leaves the first row selected.
    void unselect() { form.ui().ListView1Icons->selectionModel()->clearSelection(); }
    int selectedRow() const
    {
        const QModelIndex current = form.ui().ListView1Icons->selectionModel()->currentIndex();
        return form.ui().ListView1Icons->selectionModel()->isRowSelected(current.row(), {})
                   ? current.row()
                   : -1;
    }

    QString pics;

private:
    static QString folderOf(const FakePlatform &fake)
    {
        return fake.root() + QStringLiteral("/pics");
    }
};

} // namespace rowwindow
