#pragma once

#include "app/formcontrols.h"
#include "app/formstate.h"
#include "app/settings.h"

#include <QObject>

#include <functional>
#include <variant>
#include <vector>

class QAction;

namespace pelmaris::app {

class CurrentOptions;
class FolderTree;
class MenuCommands;

// Binds the options to the controls that show them, walking the settings' key table: the
// restored settings are shown, and every change of a control is written into the current
// options. Setting a control runs its handler as a user's change does, so the radio
// buttons' actions (the browser lookup, the colour scheme) take effect while the settings
// are restored.
class SettingsBinding {
public:
    SettingsBinding(FormControls &ui, FormState &state, MenuCommands &menus, FolderTree &tree,
                    CurrentOptions &options);

    // Shows restored settings; `windowWidth` is the width the window has just been given.
    void apply(const Options &options, int windowWidth);
    // The options to save: the current ones, with what their owners keep.
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
    // Writes what the controls show into the current options. A radio group is read
    // whole, so that a check moved with the new button's signals blocked still counts.
    void readControls();

    FormControls &m_ui;
    FormState &m_state;
    FolderTree &m_tree;
    CurrentOptions &m_options;
    QObject m_context; // of the controls' connections
    std::vector<Bound> m_bound;
    int m_windowWidth = 0;
};

} // namespace pelmaris::app
