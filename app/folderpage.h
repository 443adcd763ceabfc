#pragma once

#include "app/formcontrols.h"

#include <QWidget>

namespace pelmaris::scan {
class ImageListModel;
}

namespace pelmaris::app {

class ListViewState;

// The "フォルダ" page: the folder tree's panel, the image list with its option row and
// its two views over one model, and the gallery layout row beneath. The folder tree
// itself is made later, at start-up (FolderTree).
class FolderPage : public QWidget {
    Q_OBJECT
public:
    FolderPage(FormControls &ui, ListViewState &list, scan::ImageListModel *model,
               QWidget *parent = nullptr);

private:
    void buildListPanel(FormControls &ui, scan::ImageListModel *model);
    // The option row and the views show the list's state; the user's choices go into it
    // before any handler of the controls runs.
    void bindListState(FormControls &ui, ListViewState &list);
    void buildLayoutRow(FormControls &ui);
};

} // namespace pelmaris::app
