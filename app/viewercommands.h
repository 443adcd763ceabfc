#pragma once

#include "platform/services.h"

#include <QObject>

#include <memory>

namespace pelmaris::app {

class ListPage;
class MenuCommands;
class TForm4;
enum class ViewerStep;

// The picture viewer `Form4`: made hidden after the main window, it shows the selected
// row's picture on "ミレルLiteで開く" and follows the list while it shows, whether a row is
// clicked or chosen with the keyboard; its own keys move through the list.
class ViewerCommands : public QObject {
    Q_OBJECT

public:
    ViewerCommands(const platform::Services &services, MenuCommands &menus, ListPage &list,
                   QObject *parent = nullptr);
    ~ViewerCommands() override;

    // Makes the viewer window; the window does this once it exists itself.
    void createViewer();
    TForm4 *Form4() const { return m_form4.get(); }

    void pm1OpenByMirelLiteClick();
    // A click on a row while the viewer shows opens that row in it.
    void followList();
    // The viewer's keys: the list selects the previous, next, first or last row.
    void step(ViewerStep step);

private:
    platform::Services m_services;
    ListPage &m_list;
    std::unique_ptr<TForm4> m_form4;
};

} // namespace pelmaris::app
