#pragma once

#include <QIcon>
#include <QList>

namespace pelmaris::app {

// `ImageList3`: the icons of the help page's buttons, in their order: help, version
// information, properties, support, home page. Drawn by the program itself, so that they
// look the same whatever icon theme the desktop has, or none.
QList<QIcon> ImageList3();

} // namespace pelmaris::app
