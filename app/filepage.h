#pragma once

#include "app/formcontrols.h"

#include <QWidget>

namespace pelmaris::app {

// The "ファイル" page: shortcut buttons, colour mode, browser choice, other settings.
class FilePage : public QWidget {
    Q_OBJECT
public:
    explicit FilePage(FormControls &ui, QWidget *parent = nullptr);
};

} // namespace pelmaris::app
