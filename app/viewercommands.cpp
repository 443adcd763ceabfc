#include "app/viewercommands.h"

#include "app/listpage.h"
#include "app/menucommands.h"
#include "app/tform4.h"
#include "scan/imagelistmodel.h"

#include <QItemSelectionModel>

namespace pelmaris::app {

ViewerCommands::ViewerCommands(const platform::Services &services, MenuCommands &menus,
                               ListPage &list, QObject *parent)
    : QObject(parent), m_services(services), m_list(list)
{
    menus.claim(Command::pm1OpenByMirelLite, [this] { pm1OpenByMirelLiteClick(); });
}

ViewerCommands::~ViewerCommands() = default;

void ViewerCommands::createViewer()
{
    if (m_form4)
        return;
    m_form4 = std::make_unique<TForm4>(m_services);
    // A picture that does not decode still shows the viewer, with a notice.
    connect(m_form4.get(), &TForm4::pictureShown, this, [this](bool decoded) {
        if (!decoded)
            m_list.setStatus(QString());
    });
    connect(m_form4.get(), &TForm4::stepRequested, this, &ViewerCommands::step);
    // A row chosen with the keyboard is followed as a clicked one is.
    connect(m_list.selection(), &QItemSelectionModel::currentRowChanged, this,
            &ViewerCommands::followList);
}

void ViewerCommands::pm1OpenByMirelLiteClick()
{
    const int row = m_list.selectedRow();
    if (row < 0 || !m_form4)
        return;
    m_form4->openFile(m_list.rows().item(row).caption);
}

void ViewerCommands::followList()
{
    if (!m_form4 || !m_form4->isVisible())
        return;
    const int row = m_list.selectedRow();
    // A click on the row that the viewer shows already changes nothing.
    if (row >= 0 && m_list.rows().item(row).caption == m_form4->path())
        return;
    pm1OpenByMirelLiteClick();
}

void ViewerCommands::step(ViewerStep step)
{
    const int rows = m_list.rows().rowCount();
    if (rows == 0)
        return;
    const int current = m_list.selectedRow();
    int row = current;
    switch (step) {
    case ViewerStep::Previous:
        row = current < 0 ? 0 : std::max(0, current - 1);
        break;
    case ViewerStep::Next:
        row = current < 0 ? 0 : std::min(rows - 1, current + 1);
        break;
    case ViewerStep::First:
        row = 0;
        break;
    case ViewerStep::Last:
        row = rows - 1;
        break;
    }
    // The list moves to the row; following it shows its picture.
    if (row != current)
        m_list.selectRow(row);
}

} // namespace pelmaris::app
