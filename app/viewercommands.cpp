#include "app/viewercommands.h"

#include "app/menucommands.h"
#include "app/tform4.h"
#include "app/windowroutines.h"
#include "scan/imagelistmodel.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>

namespace pelmaris::app {

ViewerCommands::ViewerCommands(const FormContext &context, QObject *parent)
    : QObject(parent), m_c(context)
{
    m_c.menus.claim(Command::pm1OpenByMirelLite, [this] { pm1OpenByMirelLiteClick(); });
}

ViewerCommands::~ViewerCommands() = default;

void ViewerCommands::createViewer()
{
    if (m_form4)
        return;
    m_form4 = std::make_unique<TForm4>(m_c.services);
    // A picture that does not decode still shows the viewer, with a notice.
    connect(m_form4.get(), &TForm4::pictureShown, this, [this](bool decoded) {
        if (!decoded)
            m_c.ui.StatusPanel1->clear();
    });
    connect(m_form4.get(), &TForm4::stepRequested, this, &ViewerCommands::step);
    // A row chosen with the keyboard is followed as a clicked one is.
    connect(m_c.ui.ListView1Icons->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ViewerCommands::followList);
}

void ViewerCommands::pm1OpenByMirelLiteClick()
{
    const int row = m_c.routines.selectedRow();
    if (row < 0 || !m_form4)
        return;
    m_form4->openFile(m_c.model.item(row).caption);
}

void ViewerCommands::followList()
{
    if (!m_form4 || !m_form4->isVisible())
        return;
    const int row = m_c.routines.selectedRow();
    // A click on the row that the viewer shows already changes nothing.
    if (row >= 0 && m_c.model.item(row).caption == m_form4->path())
        return;
    pm1OpenByMirelLiteClick();
}

void ViewerCommands::step(ViewerStep step)
{
    const int rows = m_c.model.rowCount();
    if (rows == 0)
        return;
    const int current = m_c.routines.selectedRow();
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
        m_c.routines.selectRow(row);
}

} // namespace pelmaris::app
