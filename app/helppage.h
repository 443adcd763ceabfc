#pragma once

#include "app/formcontrols.h"

#include <QWidget>

namespace pelmaris::app {

// The "ヘルプ" page: help, about, properties, the maker's pages.
class HelpPage : public QWidget {
    Q_OBJECT
public:
    explicit HelpPage(FormControls &ui, QWidget *parent = nullptr);
};

} // namespace pelmaris::app
