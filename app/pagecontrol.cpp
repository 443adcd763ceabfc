#include "app/pagecontrol.h"

namespace pelmaris::app {

void PageTabBar::setTabWidth(int width)
{
    if (width == m_width)
        return;
    m_width = width;
    // The bar caches its tab sizes; setting a text anew makes it lay them out again.
    for (int i = 0; i < count(); ++i)
        setTabText(i, tabText(i));
    updateGeometry();
    update();
}

QSize PageTabBar::tabSizeHint(int index) const
{
    QSize size = QTabBar::tabSizeHint(index);
    if (m_width > 0)
        size.setWidth(m_width);
    return size;
}

PageControl::PageControl(QWidget *parent) : QTabWidget(parent), m_bar(new PageTabBar(this))
{
    setTabBar(m_bar);
    m_bar->setFocusPolicy(Qt::NoFocus); // the pages take no keyboard focus on Tab
    m_bar->setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::NoFocus);
}

} // namespace pelmaris::app
