#pragma once

#include "app/formcontrols.h"
#include "app/formstate.h"
#include "app/settings.h"

#include <functional>
#include <variant>
#include <vector>

class QAction;

namespace pelmaris::app {

class FolderTree;
class MenuCommands;

// Carries the options between the settings and the controls that show them, walking the
// settings' key table. Setting a control runs its handler as a user's change does, so the
// radio buttons' actions (the browser lookup, the colour scheme) take effect while the
// settings are restored.
class SettingsBinding {
public:
    SettingsBinding(FormControls &ui, FormState &state, MenuCommands &menus, FolderTree &tree);

    // `windowWidth` is the width the window has just been given.
    void apply(const Options &options, int windowWidth);
    Options collect() const;

private:
    // What shows one option: a control, a state field, or a pair of steps of its own.
    struct Custom {
        std::function<void(const Options &)> apply;
        std::function<void(Options &)> collect;
    };
    using Target = std::variant<QCheckBox *, QRadioButton *, QAction *, QSpinBox *,
                                QString FormState::*, Custom>;
    struct Bound {
        OptionKey::Member member;
        Target target;
        int group = 0; // radio buttons or entries of one group share a number
    };
    const Bound &boundTo(const OptionKey::Member &member) const;
    void endGroup(int group, bool anyChecked);

    FormControls &m_ui;
    FormState &m_state;
    FolderTree &m_tree;
    std::vector<Bound> m_bound;
    int m_windowWidth = 0;
};

} // namespace pelmaris::app
