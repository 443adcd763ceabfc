#include "app/folderpage.h"

#include "app/listviewstate.h"
#include "app/widgetnames.h"
#include "scan/imagelistmodel.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QListView>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <limits>

namespace pelmaris::app {

namespace {

// A spin box that leaves the mouse wheel to its parent.
class NoWheelSpinBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    void wheelEvent(QWheelEvent *event) override { event->ignore(); }
};

void setUpNumberBox(QSpinBox *box, int value)
{
    // No range of their own: the page writer applies the only limits there are.
    box->setRange(std::numeric_limits<int>::min() + 1, std::numeric_limits<int>::max());
    box->setAlignment(Qt::AlignCenter);
    box->setValue(value);
}

} // namespace

FolderPage::FolderPage(FormControls &ui, ListViewState &list, scan::ImageListModel *model,
                       QWidget *parent)
    : QWidget(parent)
{
    ui.TabSheetSearch = named(static_cast<QWidget *>(this), "TabSheetSearch");
    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);

    ui.Panel2 = named(new QWidget, "Panel2");
    auto *panel = new QVBoxLayout(ui.Panel2);
    panel->setContentsMargins(0, 0, 0, 0);
    ui.Splitter1 = named(new QSplitter(Qt::Horizontal), "Splitter1");
    ui.Splitter1->setHandleWidth(4);
    ui.Splitter1->setOpaqueResize(true);
    ui.Splitter1->setChildrenCollapsible(false);
    panel->addWidget(ui.Splitter1);

    ui.PnTreeView = named(new QWidget, "PnTreeView");
    auto *treeLayout = new QVBoxLayout(ui.PnTreeView);
    treeLayout->setContentsMargins(0, 0, 0, 0);
    ui.btnBrowse3 = namedButton(QStringLiteral("一括表示"), "btnBrowse3");
    ui.btnBrowse3->setEnabled(false);
    treeLayout->addStretch(); // the folder tree goes above, once it is made
    treeLayout->addWidget(ui.btnBrowse3);
    ui.btnCancel3 = namedButton(QStringLiteral("キャンセル"), "btnCancel3", ui.PnTreeView);
    ui.btnCancel3->hide();

    buildListPanel(ui, model);
    bindListState(ui, list);

    ui.Splitter1->addWidget(ui.PnTreeView);
    ui.Splitter1->addWidget(ui.PnListView);
    ui.Splitter1->setStretchFactor(0, 0);
    ui.Splitter1->setStretchFactor(1, 1);
    ui.Splitter1->setSizes({170, 600});

    page->addWidget(ui.Panel2, 1);
    buildLayoutRow(ui);
    page->addWidget(ui.GridPanel1);
}

void FolderPage::buildListPanel(FormControls &ui, scan::ImageListModel *model)
{
    ui.PnListView = named(new QWidget, "PnListView");
    auto *listLayout = new QVBoxLayout(ui.PnListView);
    listLayout->setContentsMargins(0, 0, 0, 0);
    ui.Bevel1 = named(new QFrame, "Bevel1");
    ui.Bevel1->setFrameShape(QFrame::HLine);
    ui.Bevel1->setFrameShadow(QFrame::Sunken);
    listLayout->addWidget(ui.Bevel1);

    ui.GridPanel2 = named(new QWidget, "GridPanel2");
    auto *options = new QGridLayout(ui.GridPanel2);
    options->setContentsMargins(4, 0, 4, 0);
    ui.CheckBoxAll1 = named(new QCheckBox(QStringLiteral("全選択")), "CheckBoxAll1");
    ui.CheckBoxTop10 = named(new QCheckBox(QStringLiteral("10%")), "CheckBoxTop10");
    ui.RbPreView = named(new QRadioButton(QStringLiteral("プレビュー表示")), "RbPreView");
    ui.RbReport = named(new QRadioButton(QStringLiteral("詳細表示")), "RbReport");
    ui.BtnShuffle1 = namedButton(QStringLiteral("シャッフル"), "BtnShuffle1");
    const QList<QWidget *> cells = {ui.CheckBoxAll1, ui.CheckBoxTop10, ui.RbPreView, ui.RbReport,
                                    ui.BtnShuffle1};
    for (int c = 0; c < cells.size(); ++c) {
        options->addWidget(cells[c], 0, c);
        options->setColumnStretch(c, 1);
    }
    ui.GridPanel2->setEnabled(false);
    ui.CheckBoxAll1->setEnabled(false);
    ui.CheckBoxTop10->setEnabled(false);
    ui.BtnShuffle1->setEnabled(false);
    listLayout->addWidget(ui.GridPanel2);

    ui.ListView1 = named(new QStackedWidget, "ListView1");
    QListView *icons = ui.ListView1Icons = named(new QListView, "ListView1Icons");
    icons->setViewMode(QListView::IconMode);
    icons->setUniformItemSizes(true);
    icons->setResizeMode(QListView::Adjust);
    icons->setLayoutMode(QListView::Batched);
    icons->setMovement(QListView::Static);
    icons->setModel(model);
    icons->setIconSize(QSize(96, 96));
    icons->setGridSize(QSize(150, 124));
    icons->setWordWrap(false); // one line, elided at the left: the file name stays readable
    icons->setTextElideMode(Qt::ElideLeft);
    icons->setSelectionMode(QAbstractItemView::SingleSelection);
    // A row chosen with the keyboard is selected whole, as a click selects it, so that the
    // row commands and the viewer take it as the selected row.
    icons->setSelectionBehavior(QAbstractItemView::SelectRows);
    icons->setEditTriggers(QAbstractItemView::NoEditTriggers);
    icons->setMouseTracking(true);
    icons->setBatchSize(1000);

    QTreeView *details = ui.ListView1Details = named(new QTreeView, "ListView1Details");
    details->setRootIsDecorated(false);
    details->setUniformRowHeights(true);
    details->setAllColumnsShowFocus(true);
    details->setModel(model);
    details->setSelectionModel(icons->selectionModel()); // one selection for both views
    details->setSelectionBehavior(QAbstractItemView::SelectRows);
    details->setSelectionMode(QAbstractItemView::SingleSelection);
    details->setEditTriggers(QAbstractItemView::NoEditTriggers);
    details->setTextElideMode(Qt::ElideMiddle);
    details->header()->setStretchLastSection(false);
    for (QAbstractItemView *view :
         {static_cast<QAbstractItemView *>(icons), static_cast<QAbstractItemView *>(details)})
        view->setContextMenuPolicy(Qt::CustomContextMenu);
    ui.PnListView->setContextMenuPolicy(Qt::CustomContextMenu);

    ui.ListView1->addWidget(icons);
    ui.ListView1->addWidget(details);
    listLayout->addWidget(ui.ListView1, 1);

    ui.btnBrowse1 = namedButton(QStringLiteral("選択表示"), "btnBrowse1");
    ui.btnBrowse1->setEnabled(false);
    listLayout->addWidget(ui.btnBrowse1);
    ui.btnCancel1 = namedButton(QStringLiteral("キャンセル"), "btnCancel1", ui.PnListView);
    ui.btnCancel1->hide();
}

void FolderPage::bindListState(FormControls &ui, ListViewState &list)
{
    connect(ui.CheckBoxAll1, &QCheckBox::toggled, &list, &ListViewState::setAllChecked);
    connect(ui.CheckBoxTop10, &QCheckBox::toggled, &list, &ListViewState::setTopTenthChecked);
    connect(ui.RbPreView, &QRadioButton::toggled, &list, [&list](bool on) {
        if (on)
            list.setChosenForm(ListForm::Preview);
    });
    connect(ui.RbReport, &QRadioButton::toggled, &list, [&list](bool on) {
        if (on)
            list.setChosenForm(ListForm::Detail);
    });
    // What the program sets is shown without running the controls' handlers.
    const auto show = [&ui, &list] {
        for (auto [box, checked] : {std::pair{ui.CheckBoxAll1, list.allChecked()},
                                    {ui.CheckBoxTop10, list.topTenthChecked()}}) {
            const QSignalBlocker block(box);
            box->setChecked(checked);
        }
        QRadioButton *chosen = list.detailChosen() ? ui.RbReport : ui.RbPreView;
        if (!chosen->isChecked()) {
            const QSignalBlocker block(chosen);
            chosen->setChecked(true);
        }
        ui.ListView1->setCurrentWidget(list.shownForm() == ListForm::Detail
                                           ? static_cast<QWidget *>(ui.ListView1Details)
                                           : ui.ListView1Icons);
    };
    connect(&list, &ListViewState::changed, this, show);
    show();
}

void FolderPage::buildLayoutRow(FormControls &ui)
{
    ui.GridPanel1 = named(new QWidget, "GridPanel1");
    auto *row = new QGridLayout(ui.GridPanel1);
    row->setContentsMargins(0, 2, 0, 2);
    ui.RadioButton11 = named(new QRadioButton(QStringLiteral("自動調整")), "RadioButton11");
    ui.RadioButton12 = named(new QRadioButton(QStringLiteral("表示数(個)")), "RadioButton12");
    ui.RadioButton21 = named(new QRadioButton(QStringLiteral("等幅(列)")), "RadioButton21");
    ui.RadioButton31 = named(new QRadioButton(QStringLiteral("等高(行)")), "RadioButton31");
    ui.RadioButton41 = named(new QRadioButton(QStringLiteral("横幅(%)")), "RadioButton41");
    ui.RadioButton51 = named(new QRadioButton(QStringLiteral("おまかせ")), "RadioButton51");
    ui.NumberBox12 = named(new QSpinBox, "NumberBox12");
    ui.NumberBox21 = named(new QSpinBox, "NumberBox21");
    ui.NumberBox31 = named(static_cast<QSpinBox *>(new NoWheelSpinBox), "NumberBox31");
    ui.NumberBox41 = named(new QSpinBox, "NumberBox41");
    setUpNumberBox(ui.NumberBox12, 20);
    setUpNumberBox(ui.NumberBox21, 10);
    setUpNumberBox(ui.NumberBox31, 5);
    setUpNumberBox(ui.NumberBox41, 100);
    ui.RadioButton12->setChecked(true);

    row->addWidget(ui.RadioButton11, 0, 0);
    int column = 1;
    for (auto [radio, box] : {std::pair{ui.RadioButton12, ui.NumberBox12},
                              {ui.RadioButton21, ui.NumberBox21},
                              {ui.RadioButton31, ui.NumberBox31},
                              {ui.RadioButton41, ui.NumberBox41}}) {
        row->addWidget(radio, 0, column++, Qt::AlignRight);
        row->addWidget(box, 0, column++, Qt::AlignLeft);
        box->setContentsMargins(0, 0, 20, 0);
    }
    row->addWidget(ui.RadioButton51, 0, column);
    for (int c = 0; c < 10; ++c)
        row->setColumnStretch(c, 1);
    ui.GridPanel1->setEnabled(false);
}

} // namespace pelmaris::app
