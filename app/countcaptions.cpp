#include "app/countcaptions.h"

#include "scan/listtexts.h"

#include <QCheckBox>
#include <QPushButton>

namespace pelmaris::app {

CountCaptions::CountCaptions(QCheckBox *checkAll, QCheckBox *topTen, QPushButton *browseChecked,
                             QPushButton *browseAll)
    : m_checkAll(checkAll), m_topTen(topTen), m_browseChecked(browseChecked), m_browseAll(browseAll)
{
}

void CountCaptions::plainCounts()
{
    m_checkAll->setText(scan::checkAllPlainCaption());
    m_topTen->setText(scan::topTenPlainCaption());
}

void CountCaptions::rowCounts(qint64 rows)
{
    m_checkAll->setText(scan::checkAllCaption(rows));
    m_topTen->setText(scan::topTenCaption(rows));
}

void CountCaptions::checkedCount(qint64 checked)
{
    m_browseChecked->setText(scan::browseCheckedCaption(checked));
}

void CountCaptions::noneChecked()
{
    m_browseChecked->setText(scan::browseCheckedPlainCaption());
}

void CountCaptions::scanRunning()
{
    m_browseAll->setText(scan::browseAllPlainCaption());
}

void CountCaptions::filesFound(qint64 files)
{
    m_browseAll->setText(scan::browseAllCaption(files));
}

} // namespace pelmaris::app
