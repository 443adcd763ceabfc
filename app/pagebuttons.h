#pragma once

#include "platform/services.h"

#include <QIcon>
#include <QList>

class QPushButton;

namespace pelmaris::app {

// The images of the two page buttons "選択表示" and "一括表示" (`ImageListBtnBrowse`):
// 0 Edge, 1 Chrome, 2 the chosen program; -1 shows none.
class PageButtons {
public:
    PageButtons(const platform::Services &services, QPushButton *browseChecked,
                QPushButton *browseAll);

    QList<QIcon> ImageListBtnBrowse;

    void setImage(int image);
    int image() const { return m_image; }
    // The image for a browser program by its file name; another program's own icon goes
    // into slot 2 first.
    void showBrowser(const QString &browserName1);

private:
    platform::Services m_services;
    QPushButton *m_browseChecked;
    QPushButton *m_browseAll;
    int m_image = -1;
};

} // namespace pelmaris::app
