#include "app/settingsbinding.h"

#include "app/currentoptions.h"
#include "app/foldertree.h"
#include "app/menucommands.h"

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

template <class... F> struct Overloaded : F... {
    using F::operator()...;
};
template <class... F> Overloaded(F...) -> Overloaded<F...>;

// Unchecks every member of an exclusive group, which a click can never do.
void uncheckAll(const std::vector<QObject *> &members)
{
    for (QObject *o : members) {
        if (auto *b = qobject_cast<QRadioButton *>(o)) {
            const bool exclusive = b->autoExclusive();
            b->setAutoExclusive(false);
            b->setChecked(false);
            b->setAutoExclusive(exclusive);
        } else if (auto *a = qobject_cast<QAction *>(o)) {
            QActionGroup *group = a->actionGroup();
            const auto policy = group->exclusionPolicy();
            group->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
            a->setChecked(false);
            group->setExclusionPolicy(policy);
        }
    }
}

} // namespace

SettingsBinding::SettingsBinding(FormControls &ui, FormState &state, MenuCommands &menus,
                                 FolderTree &tree, CurrentOptions &options)
    : m_ui(ui), m_state(state), m_tree(tree), m_options(options)
{
    const auto entry = [&menus](Command c) { return menus.action(c); };
    const Custom treeWidth{
        [this](const Options &o) {
            m_ui.Splitter1->setSizes(
                {qMax(0, o.treeViewWidth), qMax(1, m_windowWidth - o.treeViewWidth)});
        },
        [this](Options &o) { o.treeViewWidth = m_ui.Splitter1->sizes().value(0); }};
    const Custom scrollPosition{[this](const Options &o) { m_state.ScrollPos = o.scrollPos; },
                                [this](Options &o) {
                                    o.scrollPos =
                                        m_tree.view() ? m_tree.scrollPosition() : m_state.ScrollPos;
                                }};
    m_bound = {
        {&Options::spreadTree, ui.ChkBxSpreadTree},
        {&Options::showHidden, ui.ChkBxShowHidden},
        {&Options::closeQuery, ui.ChkBxCloseQuery},
        {&Options::saveStatus, ui.ChkBxSaveStatus},
        {&Options::currentDir, &FormState::CurrentDir1},
        {&Options::treeViewWidth, treeWidth},
        {&Options::treeViewScanDetail, entry(Command::pm3ScanDetail), 1},
        {&Options::treeViewScanNameOnly, entry(Command::pm3ScanNameOnly), 1},
        {&Options::numSortA, entry(Command::pm3NumSortA), 2},
        {&Options::numSortD, entry(Command::pm3NumSortD), 2},
        {&Options::dicSortA, entry(Command::pm3DicSortA), 2},
        {&Options::dicSortD, entry(Command::pm3DicSortD), 2},
        {&Options::randomOut, entry(Command::pm3RandomOut), 2},
        {&Options::scrollPos, scrollPosition},
        {&Options::autoSized, ui.RadioButton11, 3},
        {&Options::rangeView, ui.RadioButton12, 3},
        {&Options::rangeVal, ui.NumberBox12, 3},
        {&Options::fixedWidth, ui.RadioButton21, 3},
        {&Options::horizVal, ui.NumberBox21, 3},
        {&Options::fixedHeight, ui.RadioButton31, 3},
        {&Options::vertVal, ui.NumberBox31, 3},
        {&Options::setWidth, ui.RadioButton41, 3},
        {&Options::widthVal, ui.NumberBox41, 3},
        {&Options::asIs, ui.RadioButton51, 3},
        {&Options::browserDefault, ui.rbBrowserDefault, 4},
        {&Options::browserEdge, ui.rbBrowserEdge, 4},
        {&Options::browserChrome, ui.rbBrowserChrome, 4},
        {&Options::browserElse, ui.rbBrowserElse, 4},
        {&Options::browserName, &FormState::BrowserName1},
        {&Options::browserName2, &FormState::BrowserName2},
        {&Options::browserLight, ui.rbBrowserLight, 5},
        {&Options::browserDark, ui.rbbrowserDark, 5},
        {&Options::thumbnailCache, ui.ChkBxThumbnailCache},
        {&Options::pageThumbnails, ui.ChkBxPageThumbnails},
    };
    // The connections end with the binding, whatever the controls do while they go.
    const auto read = [this] { readControls(); };
    for (const Bound &b : m_bound) {
        std::visit(
            Overloaded{
                [&](QCheckBox *box) {
                    QObject::connect(box, &QCheckBox::toggled, &m_context, read);
                },
                [&](QRadioButton *radio) {
                    QObject::connect(radio, &QRadioButton::toggled, &m_context, read);
                },
                [&](QAction *a) { QObject::connect(a, &QAction::toggled, &m_context, read); },
                [&](QSpinBox *box) {
                    QObject::connect(box, &QSpinBox::valueChanged, &m_context, read);
                },
                [](QString FormState::*) {},
                [](const Custom &) {},
            },
            b.target);
    }
}

const SettingsBinding::Bound &SettingsBinding::boundTo(const OptionKey::Member &member) const
{
    for (const Bound &b : m_bound)
        if (b.member == member)
            return b;
    Q_UNREACHABLE();
}

void SettingsBinding::apply(const Options &o, int windowWidth)
{
    m_windowWidth = windowWidth;
    // Within a group of radio buttons or entries the last one read as true wins; a group
    // whose keys are all false ends with none checked.
    int group = 0;
    bool anyChecked = false;
    std::vector<QObject *> members;
    for (const OptionKey &key : OptionKeys) {
        const Bound &b = boundTo(key.member);
        if (b.group != group) {
            if (group != 0 && !anyChecked)
                uncheckAll(members);
            group = b.group;
            anyChecked = false;
            members.clear();
        }
        std::visit(
            Overloaded{
                [&](QCheckBox *box) { box->setChecked(o.*std::get<bool Options::*>(b.member)); },
                [&](QRadioButton *radio) {
                    members.push_back(radio);
                    if (o.*std::get<bool Options::*>(b.member)) {
                        radio->setChecked(true);
                        anyChecked = true;
                    }
                },
                [&](QAction *entry) {
                    members.push_back(entry);
                    if (o.*std::get<bool Options::*>(b.member)) {
                        entry->setChecked(true);
                        anyChecked = true;
                    }
                },
                [&](QSpinBox *box) { box->setValue(o.*std::get<int Options::*>(b.member)); },
                [&](QString FormState::*field) {
                    m_state.*field = o.*std::get<QString Options::*>(b.member);
                },
                [&](const Custom &custom) { custom.apply(o); },
            },
            b.target);
    }
    if (group != 0 && !anyChecked)
        uncheckAll(members);
    // What the controls took (a number clamped to its box, one check per group) is what
    // is in force; it is also what the close writes back.
    readControls();
}

void SettingsBinding::readControls()
{
    Options o = m_options.values();
    for (const Bound &b : m_bound) {
        std::visit(
            Overloaded{
                [&](QCheckBox *box) { o.*std::get<bool Options::*>(b.member) = box->isChecked(); },
                [&](QRadioButton *radio) {
                    o.*std::get<bool Options::*>(b.member) = radio->isChecked();
                },
                [&](QAction *entry) {
                    o.*std::get<bool Options::*>(b.member) = entry->isChecked();
                },
                [&](QSpinBox *box) { o.*std::get<int Options::*>(b.member) = box->value(); },
                [](QString FormState::*) {},
                [](const Custom &) {},
            },
            b.target);
    }
    m_options.setValues(o);
}

Options SettingsBinding::collect() const
{
    Options o = m_options.values();
    for (const OptionKey &key : OptionKeys) {
        const Bound &b = boundTo(key.member);
        std::visit(Overloaded{
                       [](QCheckBox *) {},
                       [](QRadioButton *) {},
                       [](QAction *) {},
                       [](QSpinBox *) {},
                       [&](QString FormState::*field) {
                           o.*std::get<QString Options::*>(b.member) = m_state.*field;
                       },
                       [&](const Custom &custom) { custom.collect(o); },
                   },
                   b.target);
    }
    return o;
}

} // namespace pelmaris::app
