#include "app/pagebuttons.h"

#include "gallery/browserchoice.h"

#include <QApplication>
#include <QPushButton>
#include <QStyle>

namespace pelmaris::app {

PageButtons::PageButtons(const platform::Services &services, QPushButton *browseChecked,
                         QPushButton *browseAll)
    : m_services(services), m_browseChecked(browseChecked), m_browseAll(browseAll)
{
    const QStyle *st = QApplication::style();
    ImageListBtnBrowse = {
        QIcon::fromTheme(QStringLiteral("microsoft-edge"),
                         st->standardIcon(QStyle::SP_ComputerIcon)),
        QIcon::fromTheme(QStringLiteral("google-chrome"),
                         st->standardIcon(QStyle::SP_DriveNetIcon)),
        QIcon::fromTheme(QStringLiteral("web-browser"), st->standardIcon(QStyle::SP_DesktopIcon)),
    };
}

void PageButtons::setImage(int image)
{
    m_image = image;
    const QIcon icon =
        image >= 0 && image < ImageListBtnBrowse.size() ? ImageListBtnBrowse[image] : QIcon();
    m_browseChecked->setIcon(icon);
    m_browseAll->setIcon(icon);
}

void PageButtons::showBrowser(const QString &browserName1)
{
    const int image = gallery::browserButtonImage(browserName1);
    if (image == gallery::ProgramImage) {
        const QIcon icon = gallery::programIcon(m_services, browserName1);
        if (!icon.isNull())
            ImageListBtnBrowse[gallery::ProgramImage] = icon;
    }
    setImage(image);
}

} // namespace pelmaris::app
