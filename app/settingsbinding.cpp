#include "app/settingsbinding.h"

#include "app/foldertree.h"
#include "app/menucommands.h"

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QListView>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>

namespace pelmaris::app {

namespace {

// Sets a group of radio buttons the way reading the settings does: each key read as true
// checks its button (the last one wins); when none is true, none stays checked.
void applyRadioGroup(const QList<QAbstractButton *> &buttons, const QList<bool> &values)
{
    bool any = false;
    for (int i = 0; i < buttons.size(); ++i) {
        if (values[i]) {
            buttons[i]->setChecked(true);
            any = true;
        }
    }
    if (!any) {
        for (QAbstractButton *b : buttons) {
            const bool exclusive = b->autoExclusive();
            b->setAutoExclusive(false);
            b->setChecked(false);
            b->setAutoExclusive(exclusive);
        }
    }
}

void applyActionGroup(const QList<QAction *> &actions, const QList<bool> &values)
{
    QActionGroup *group = actions.first()->actionGroup();
    const auto policy = group->exclusionPolicy();
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    for (QAction *a : actions)
        a->setChecked(false);
    group->setExclusionPolicy(policy);
    for (int i = 0; i < actions.size(); ++i)
        if (values[i])
            actions[i]->setChecked(true);
}

} // namespace

SettingsBinding::SettingsBinding(FormControls &ui, FormState &state, MenuCommands &menus,
                                 FolderTree &tree)
    : m_ui(ui), m_state(state), m_menus(menus), m_tree(tree)
{
}

void SettingsBinding::apply(const Options &o, int windowWidth)
{
    FormControls &ui = m_ui;
    const auto act = [this](Command c) { return m_menus.action(c); };
    ui.ChkBxSpreadTree->setChecked(o.spreadTree);
    ui.ChkBxShowHidden->setChecked(o.showHidden);
    ui.ChkBxCloseQuery->setChecked(o.closeQuery);
    ui.ChkBxSaveStatus->setChecked(o.saveStatus);
    m_state.CurrentDir1 = o.currentDir;
    ui.Splitter1->setSizes({qMax(0, o.treeViewWidth), qMax(1, windowWidth - o.treeViewWidth)});
    applyActionGroup({act(Command::pm3ScanDetail), act(Command::pm3ScanNameOnly)},
                     {o.treeViewScanDetail, o.treeViewScanNameOnly});
    m_state.ScrollPos = o.scrollPos;
    applyActionGroup({act(Command::pm3NumSortA), act(Command::pm3NumSortD),
                      act(Command::pm3DicSortA), act(Command::pm3DicSortD),
                      act(Command::pm3RandomOut)},
                     {o.numSortA, o.numSortD, o.dicSortA, o.dicSortD, o.randomOut});
    ui.ListView1->setCurrentWidget(ui.ListView1Icons);

    applyRadioGroup({ui.RadioButton11}, {o.autoSized});
    applyRadioGroup({ui.RadioButton12}, {o.rangeView});
    ui.NumberBox12->setValue(o.rangeVal);
    applyRadioGroup({ui.RadioButton21}, {o.fixedWidth});
    ui.NumberBox21->setValue(o.horizVal);
    applyRadioGroup({ui.RadioButton31}, {o.fixedHeight});
    ui.NumberBox31->setValue(o.vertVal);
    applyRadioGroup({ui.RadioButton41}, {o.setWidth});
    ui.NumberBox41->setValue(o.widthVal);
    applyRadioGroup({ui.RadioButton51}, {o.asIs});
    if (!(o.autoSized || o.rangeView || o.fixedWidth || o.fixedHeight || o.setWidth || o.asIs))
        applyRadioGroup({ui.RadioButton11, ui.RadioButton12, ui.RadioButton21, ui.RadioButton31,
                         ui.RadioButton41, ui.RadioButton51},
                        {false, false, false, false, false, false});

    applyRadioGroup({ui.rbBrowserDefault, ui.rbBrowserEdge, ui.rbBrowserChrome, ui.rbBrowserElse},
                    {o.browserDefault, o.browserEdge, o.browserChrome, o.browserElse});
    m_state.BrowserName1 = o.browserName;
    m_state.BrowserName2 = o.browserName2;
    applyRadioGroup({ui.rbBrowserLight, ui.rbbrowserDark}, {o.browserLight, o.browserDark});
}

Options SettingsBinding::collect() const
{
    const FormControls &ui = m_ui;
    const auto checked = [this](Command c) { return m_menus.action(c)->isChecked(); };
    Options o;
    o.spreadTree = ui.ChkBxSpreadTree->isChecked();
    o.showHidden = ui.ChkBxShowHidden->isChecked();
    o.closeQuery = ui.ChkBxCloseQuery->isChecked();
    o.saveStatus = ui.ChkBxSaveStatus->isChecked();
    o.currentDir = o.spreadTree ? m_state.CurrentDir1 : QString();
    o.treeViewWidth = ui.Splitter1->sizes().value(0);
    o.treeViewScanDetail = checked(Command::pm3ScanDetail);
    o.treeViewScanNameOnly = checked(Command::pm3ScanNameOnly);
    o.numSortA = checked(Command::pm3NumSortA);
    o.numSortD = checked(Command::pm3NumSortD);
    o.dicSortA = checked(Command::pm3DicSortA);
    o.dicSortD = checked(Command::pm3DicSortD);
    o.randomOut = checked(Command::pm3RandomOut);
    o.scrollPos = m_tree.view() ? m_tree.scrollPosition() : m_state.ScrollPos;
    o.autoSized = ui.RadioButton11->isChecked();
    o.rangeView = ui.RadioButton12->isChecked();
    o.rangeVal = ui.NumberBox12->value();
    o.fixedWidth = ui.RadioButton21->isChecked();
    o.horizVal = ui.NumberBox21->value();
    o.fixedHeight = ui.RadioButton31->isChecked();
    o.vertVal = ui.NumberBox31->value();
    o.setWidth = ui.RadioButton41->isChecked();
    o.widthVal = ui.NumberBox41->value();
    o.asIs = ui.RadioButton51->isChecked();
    o.browserDefault = ui.rbBrowserDefault->isChecked();
    o.browserEdge = ui.rbBrowserEdge->isChecked();
    o.browserChrome = ui.rbBrowserChrome->isChecked();
    o.browserElse = ui.rbBrowserElse->isChecked();
    o.browserName = m_state.BrowserName1;
    o.browserName2 = m_state.BrowserName2;
    o.browserLight = ui.rbBrowserLight->isChecked();
    o.browserDark = ui.rbbrowserDark->isChecked();
    return o;
}

} // namespace pelmaris::app
