#include "app/pelmarisform.h"

#include "app/pagecontrol.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QFileSystemModel>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <limits>

namespace pelmaris::app {

namespace {

template <typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QPushButton *button(const QString &caption, const char *name, QWidget *parent = nullptr)
{
    return named(new QPushButton(caption, parent), name);
}

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

TPelmarisForm::TPelmarisForm(const platform::Services &services, QStringList launchParameters,
                             QWidget *parent)
    : QMainWindow(parent), m_services(services), m_launchParameters(std::move(launchParameters))
{
    setObjectName(QStringLiteral("PelmarisForm"));
    setWindowTitle(QStringLiteral("Form1"));
    QFont font;
    font.setFamilies({QStringLiteral("Meiryo UI"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("Noto Sans JP")});
    font.setPointSize(9);
    setFont(font);
    setWindowIcon(QIcon(QStringLiteral(":/pelmaris/pelmaris.png")));
    // The window stays disabled until it is shown for the first time.
    setEnabled(false);

    StatusPanel0 = named(new QLabel, "StatusPanel0");
    StatusPanel1 = named(new QLabel, "StatusPanel1");
    StatusPanel0->setFixedWidth(160);
    StatusPanel1->setFixedWidth(450);
    StatusPanel0->setAlignment(Qt::AlignCenter);
    StatusPanel1->setAlignment(Qt::AlignCenter);
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(StatusPanel0);
    statusBar()->addWidget(StatusPanel1);

    PageControl1 = named(new PageControl, "PageControl1");
    setCentralWidget(PageControl1);
    buildFilePage();
    buildSearchPage();
    buildHelpPage();
    const QStyle *st = style();
    PageControl1->addTab(TabSheetFile, st->standardIcon(QStyle::SP_DriveHDIcon),
                         QStringLiteral("ファイル"));
    PageControl1->addTab(TabSheetSearch, st->standardIcon(QStyle::SP_DirIcon),
                         QStringLiteral("フォルダ"));
    PageControl1->addTab(TabSheetHelp, st->standardIcon(QStyle::SP_DialogHelpButton),
                         QStringLiteral("ヘルプ"));
    buildMenus();
    buildListViews();
    wireScan();
    wireGallery();

    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TPelmarisForm::Timer1Timer);
    Timer1->start();

    connect(PageControl1, &QTabWidget::currentChanged, this, &TPelmarisForm::PageControl1Change);
    connect(ChkBxShowHidden, &QCheckBox::clicked, this, &TPelmarisForm::ChkBxShowHiddenClick);

    setAcceptDrops(true);
    FormCreate();
}

TPelmarisForm::~TPelmarisForm() = default;

void TPelmarisForm::buildFilePage()
{
    TabSheetFile = named(new QWidget, "TabSheetFile");
    auto *grid = new QGridLayout(TabSheetFile);
    grid->setObjectName(QStringLiteral("GridPanel4"));

    GbShortCut1 = named(new QGroupBox(QStringLiteral("起動ショートカット")), "GbShortCut1");
    auto *shortcuts = new QVBoxLayout(GbShortCut1);
    btnSendTo = button(QStringLiteral("「送る」に登録・削除"), "btnSendTo");
    btnDeskTop = button(QStringLiteral("デスクトップに登録・削除"), "btnDeskTop");
    btnStartMenu = button(QStringLiteral("スタートメニューに登録・削除"), "btnStartMenu");
    btnStartUp = button(QStringLiteral("スタートアップに登録・削除"), "btnStartUp");
    for (QPushButton *b : {btnSendTo, btnDeskTop, btnStartMenu, btnStartUp}) {
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        shortcuts->addWidget(b);
    }

    GbColorMode = named(new QGroupBox(QStringLiteral("カラーモード")), "GbColorMode");
    auto *colours = new QGridLayout(GbColorMode);
    rbBrowserLight = named(new QRadioButton(QStringLiteral("ライトモード")), "rbBrowserLight");
    rbbrowserDark = named(new QRadioButton(QStringLiteral("ダークモード")), "rbbrowserDark");
    rbBrowserLight->setChecked(true);
    colours->addWidget(rbBrowserLight, 0, 0);
    colours->addWidget(rbbrowserDark, 0, 1);
    colours->addWidget(new QWidget, 0, 2);
    for (int c = 0; c < 3; ++c)
        colours->setColumnStretch(c, 1);

    GbBrowser = named(new QGroupBox(QStringLiteral("ブラウザ設定")), "GbBrowser");
    auto *browsers = new QGridLayout(GbBrowser);
    rbBrowserDefault =
        named(new QRadioButton(QStringLiteral("既定のブラウザ")), "rbBrowserDefault");
    Label2 = named(new QLabel(QStringLiteral("()")), "Label2");
    BtnChangeDefaultBrowser1 = button(QStringLiteral("変更"), "BtnChangeDefaultBrowser1");
    rbBrowserEdge = named(new QRadioButton(QStringLiteral("Microsoft Edge")), "rbBrowserEdge");
    rbBrowserChrome = named(new QRadioButton(QStringLiteral("Google Chrome")), "rbBrowserChrome");
    rbBrowserElse = named(new QRadioButton(QStringLiteral("任意のブラウザ")), "rbBrowserElse");
    Label4 = named(new QLabel(QStringLiteral("()")), "Label4");
    btnChangeOtherBrowser1 = button(QStringLiteral("変更"), "btnChangeOtherBrowser1");
    rbBrowserDefault->setChecked(true);
    browsers->addWidget(rbBrowserDefault, 0, 0);
    browsers->addWidget(Label2, 0, 1);
    browsers->addWidget(BtnChangeDefaultBrowser1, 0, 2);
    browsers->addWidget(rbBrowserEdge, 1, 0);
    browsers->addWidget(rbBrowserChrome, 1, 1);
    browsers->addWidget(rbBrowserElse, 2, 0);
    browsers->addWidget(Label4, 2, 1);
    browsers->addWidget(btnChangeOtherBrowser1, 2, 2);
    for (int i = 0; i < 3; ++i) {
        browsers->setColumnStretch(i, 1);
        browsers->setRowStretch(i, 1);
    }

    GbSetting3 = named(new QGroupBox(QStringLiteral("その他設定")), "GbSetting3");
    auto *others = new QVBoxLayout(GbSetting3);
    ChkBxSpreadTree =
        named(new QCheckBox(QStringLiteral("起動時に前回フォルダ位置を復元")), "ChkBxSpreadTree");
    ChkBxShowHidden = named(new QCheckBox(QStringLiteral("隠し属性のフォルダ・ファイルも対象")),
                            "ChkBxShowHidden");
    ChkBxCloseQuery = named(new QCheckBox(QStringLiteral("終了時に確認")), "ChkBxCloseQuery");
    ChkBxSaveStatus = named(new QCheckBox(QStringLiteral("終了時の状態を保存")), "ChkBxSaveStatus");
    for (QCheckBox *box : {ChkBxSpreadTree, ChkBxShowHidden, ChkBxCloseQuery, ChkBxSaveStatus})
        others->addWidget(box);

    grid->addWidget(GbShortCut1, 0, 0, 8, 1);
    grid->addWidget(GbColorMode, 0, 1, 1, 1);
    grid->addWidget(GbBrowser, 1, 1, 3, 1);
    grid->addWidget(GbSetting3, 4, 1, 4, 1);
    for (int r = 0; r < 8; ++r)
        grid->setRowStretch(r, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
}

void TPelmarisForm::buildSearchPage()
{
    TabSheetSearch = named(new QWidget, "TabSheetSearch");
    auto *page = new QVBoxLayout(TabSheetSearch);
    page->setContentsMargins(0, 0, 0, 0);

    Panel2 = named(new QWidget, "Panel2");
    auto *panel = new QVBoxLayout(Panel2);
    panel->setContentsMargins(0, 0, 0, 0);
    Splitter1 = named(new QSplitter(Qt::Horizontal), "Splitter1");
    Splitter1->setHandleWidth(4);
    Splitter1->setOpaqueResize(true);
    Splitter1->setChildrenCollapsible(false);
    panel->addWidget(Splitter1);

    PnTreeView = named(new QWidget, "PnTreeView");
    auto *treeLayout = new QVBoxLayout(PnTreeView);
    treeLayout->setContentsMargins(0, 0, 0, 0);
    btnBrowse3 = button(QStringLiteral("一括表示"), "btnBrowse3");
    btnBrowse3->setEnabled(false);
    treeLayout->addStretch(); // the folder tree goes above, once it is made
    treeLayout->addWidget(btnBrowse3);
    btnCancel3 = button(QStringLiteral("キャンセル"), "btnCancel3", PnTreeView);
    btnCancel3->hide();

    PnListView = named(new QWidget, "PnListView");
    auto *listLayout = new QVBoxLayout(PnListView);
    listLayout->setContentsMargins(0, 0, 0, 0);
    Bevel1 = named(new QFrame, "Bevel1");
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    listLayout->addWidget(Bevel1);

    GridPanel2 = named(new QWidget, "GridPanel2");
    auto *options = new QGridLayout(GridPanel2);
    options->setContentsMargins(4, 0, 4, 0);
    CheckBoxAll1 = named(new QCheckBox(QStringLiteral("全選択")), "CheckBoxAll1");
    CheckBoxAll1->setChecked(true);
    CheckBoxTop10 = named(new QCheckBox(QStringLiteral("10%")), "CheckBoxTop10");
    RbPreView = named(new QRadioButton(QStringLiteral("プレビュー表示")), "RbPreView");
    RbPreView->setChecked(true);
    RbReport = named(new QRadioButton(QStringLiteral("詳細表示")), "RbReport");
    BtnShuffle1 = button(QStringLiteral("シャッフル"), "BtnShuffle1");
    const QList<QWidget *> cells = {CheckBoxAll1, CheckBoxTop10, RbPreView, RbReport, BtnShuffle1};
    for (int c = 0; c < cells.size(); ++c) {
        options->addWidget(cells[c], 0, c);
        options->setColumnStretch(c, 1);
    }
    GridPanel2->setEnabled(false);
    CheckBoxAll1->setEnabled(false);
    CheckBoxTop10->setEnabled(false);
    BtnShuffle1->setEnabled(false);
    listLayout->addWidget(GridPanel2);

    ListView1 = named(new QStackedWidget, "ListView1");
    ListView1Icons = named(new QListView, "ListView1Icons");
    ListView1Icons->setViewMode(QListView::IconMode);
    ListView1Icons->setUniformItemSizes(true);
    ListView1Icons->setResizeMode(QListView::Adjust);
    ListView1Icons->setLayoutMode(QListView::Batched);
    ListView1Icons->setMovement(QListView::Static);
    ListView1Details = named(new QTreeView, "ListView1Details");
    ListView1Details->setRootIsDecorated(false);
    ListView1Details->setUniformRowHeights(true);
    ListView1Details->setAllColumnsShowFocus(true);
    ListView1->addWidget(ListView1Icons);
    ListView1->addWidget(ListView1Details);
    listLayout->addWidget(ListView1, 1);

    btnBrowse1 = button(QStringLiteral("選択表示"), "btnBrowse1");
    btnBrowse1->setEnabled(false);
    listLayout->addWidget(btnBrowse1);
    btnCancel1 = button(QStringLiteral("キャンセル"), "btnCancel1", PnListView);
    btnCancel1->hide();

    Splitter1->addWidget(PnTreeView);
    Splitter1->addWidget(PnListView);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({170, 600});

    page->addWidget(Panel2, 1);
    buildLayoutRow();
    page->addWidget(GridPanel1);
}

void TPelmarisForm::buildLayoutRow()
{
    GridPanel1 = named(new QWidget, "GridPanel1");
    auto *row = new QGridLayout(GridPanel1);
    row->setContentsMargins(0, 2, 0, 2);
    RadioButton11 = named(new QRadioButton(QStringLiteral("自動調整")), "RadioButton11");
    RadioButton12 = named(new QRadioButton(QStringLiteral("表示数(個)")), "RadioButton12");
    RadioButton21 = named(new QRadioButton(QStringLiteral("等幅(列)")), "RadioButton21");
    RadioButton31 = named(new QRadioButton(QStringLiteral("等高(行)")), "RadioButton31");
    RadioButton41 = named(new QRadioButton(QStringLiteral("横幅(%)")), "RadioButton41");
    RadioButton51 = named(new QRadioButton(QStringLiteral("おまかせ")), "RadioButton51");
    NumberBox12 = named(new QSpinBox, "NumberBox12");
    NumberBox21 = named(new QSpinBox, "NumberBox21");
    NumberBox31 = named(static_cast<QSpinBox *>(new NoWheelSpinBox), "NumberBox31");
    NumberBox41 = named(new QSpinBox, "NumberBox41");
    setUpNumberBox(NumberBox12, 20);
    setUpNumberBox(NumberBox21, 10);
    setUpNumberBox(NumberBox31, 5);
    setUpNumberBox(NumberBox41, 100);
    RadioButton12->setChecked(true);

    row->addWidget(RadioButton11, 0, 0);
    int column = 1;
    for (auto [radio, box] : {std::pair{RadioButton12, NumberBox12},
                              {RadioButton21, NumberBox21},
                              {RadioButton31, NumberBox31},
                              {RadioButton41, NumberBox41}}) {
        row->addWidget(radio, 0, column++, Qt::AlignRight);
        row->addWidget(box, 0, column++, Qt::AlignLeft);
        box->setContentsMargins(0, 0, 20, 0);
    }
    row->addWidget(RadioButton51, 0, column);
    for (int c = 0; c < 10; ++c)
        row->setColumnStretch(c, 1);
    GridPanel1->setEnabled(false);
}

void TPelmarisForm::buildHelpPage()
{
    TabSheetHelp = named(new QWidget, "TabSheetHelp");
    auto *page = new QVBoxLayout(TabSheetHelp);
    GrdPnlHelp = named(new QWidget, "GrdPnlHelp");
    page->addWidget(GrdPnlHelp);
    auto *grid = new QGridLayout(GrdPnlHelp);
    btnHelp = button(QStringLiteral("ヘルプ表示"), "btnHelp");
    bnAbout = button(QStringLiteral("バージョン情報"), "bnAbout");
    btnProperties = button(QStringLiteral("プロパティ表示"), "btnProperties");
    btnDonation = button(QStringLiteral("開発支援"), "btnDonation");
    btnHomeSite = button(QStringLiteral("ホームページ"), "btnHomeSite");
    int r = 0;
    for (QPushButton *b : {btnHelp, bnAbout, btnProperties, btnDonation, btnHomeSite}) {
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        b->setCursor(Qt::PointingHandCursor);
        grid->addWidget(b, r, 0);
        grid->setRowStretch(r++, 1);
    }
    Memo1 = named(new QPlainTextEdit, "Memo1");
    Memo1->hide();
    Memo1->setEnabled(false);
    grid->addWidget(Memo1, 0, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
}

} // namespace pelmaris::app
