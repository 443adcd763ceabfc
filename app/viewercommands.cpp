#include "app/viewercommands.h"

#include "app/menucommands.h"
#include "app/tform4.h"
#include "app/windowroutines.h"
#include "scan/imagelistmodel.h"

#include <QLabel>

namespace pelmaris::app {

ViewerCommands::ViewerCommands(const FormContext &context, QObject *parent)
    : QObject(parent), m_c(context)
{
    m_c.menus.claim(Command::pm1OpenByMirelLite, [this] { pm1OpenByMirelLiteClick(); });
}

ViewerCommands::~ViewerCommands() = default;

void ViewerCommands::createViewer()
{
    if (!m_form4)
        m_form4 = std::make_unique<TForm4>(m_c.services);
}

void ViewerCommands::pm1OpenByMirelLiteClick()
{
    const int row = m_c.routines.selectedRow();
    if (row < 0 || !m_form4)
        return;
    // A picture that does not decode still shows the viewer, with a notice.
    if (!m_form4->openFile(m_c.model.item(row).caption))
        m_c.ui.StatusPanel1->clear();
}

void ViewerCommands::followList()
{
    if (m_form4 && m_form4->isVisible())
        pm1OpenByMirelLiteClick();
}

} // namespace pelmaris::app
