#pragma once

#include "app/formcontrols.h"
#include "app/formstate.h"
#include "app/settings.h"

namespace pelmaris::app {

class FolderTree;
class MenuCommands;

// Carries the options between the settings and the controls that show them. Setting a
// control runs its handler as a user's change does, so the radio buttons' actions (the
// browser lookup, the colour scheme) take effect while the settings are restored.
class SettingsBinding {
public:
    SettingsBinding(FormControls &ui, FormState &state, MenuCommands &menus, FolderTree &tree);

    // `windowWidth` is the width the window has just been given.
    void apply(const Options &options, int windowWidth);
    Options collect() const;

private:
    FormControls &m_ui;
    FormState &m_state;
    MenuCommands &m_menus;
    FolderTree &m_tree;
};

} // namespace pelmaris::app
