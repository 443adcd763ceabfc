#include "app/pelmarisform.h"

#include "gallery/browserchoice.h"
#include "gallery/pagelayout.h"
#include "gallery/pagewriter.h"
#include "platform/styles.h"
#include "scan/imagelistmodel.h"
#include "scan/scancontroller.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QTreeView>

namespace pelmaris::app {

namespace {

// Keeps a handler from running while the window sets a control itself.
struct Guard {
    explicit Guard(bool &flag) : m_flag(flag), m_was(flag) { flag = true; }
    ~Guard() { m_flag = m_was; }
    bool &m_flag;
    bool m_was;
};

} // namespace

void TPelmarisForm::wireGallery()
{
    m_wiredActions << QStringLiteral("pm1Browse") << QStringLiteral("pm2Default")
                   << QStringLiteral("pm2ChangeDefaultBrowser1") << QStringLiteral("pm2Edge")
                   << QStringLiteral("pm2Chrome") << QStringLiteral("pm2Else")
                   << QStringLiteral("pm2ChangeOtherBrowser1");
    for (QAction *a : PopupMenu2->actions())
        a->setEnabled(true);

    const QStyle *st = style();
    ImageListBtnBrowse = {
        QIcon::fromTheme(QStringLiteral("microsoft-edge"),
                         st->standardIcon(QStyle::SP_ComputerIcon)),
        QIcon::fromTheme(QStringLiteral("google-chrome"),
                         st->standardIcon(QStyle::SP_DriveNetIcon)),
        QIcon::fromTheme(QStringLiteral("web-browser"), st->standardIcon(QStyle::SP_DesktopIcon)),
    };

    connect(btnBrowse1, &QPushButton::clicked, this, &TPelmarisForm::btnBrowse1Click);
    connect(btnBrowse3, &QPushButton::clicked, this, &TPelmarisForm::btnBrowse3Click);
    for (QPushButton *b : {btnBrowse1, btnBrowse3}) {
        b->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(b, &QWidget::customContextMenuRequested, this, [this, b](const QPoint &pos) {
            PopupMenu2Popup();
            PopupMenu2->popup(b->mapToGlobal(pos));
        });
    }
    // Radio buttons act when they become checked, also when the settings check them.
    const auto onChecked = [this](QRadioButton *button, void (TPelmarisForm::*slot)()) {
        connect(button, &QRadioButton::toggled, this, [this, slot](bool checked) {
            if (checked)
                (this->*slot)();
        });
    };
    onChecked(rbBrowserDefault, &TPelmarisForm::rbBrowserDefaultClick);
    onChecked(rbBrowserEdge, &TPelmarisForm::rbBrowserEdgeClick);
    onChecked(rbBrowserChrome, &TPelmarisForm::rbBrowserChromeClick);
    onChecked(rbBrowserElse, &TPelmarisForm::rbBrowserElseClick);
    onChecked(rbBrowserLight, &TPelmarisForm::rbBrowserLightClick);
    onChecked(rbbrowserDark, &TPelmarisForm::rbbrowserDarkClick);
    connect(btnChangeOtherBrowser1, &QPushButton::clicked, this,
            &TPelmarisForm::btnChangeOtherBrowser1Click);
    connect(BtnChangeDefaultBrowser1, &QPushButton::clicked, this,
            &TPelmarisForm::BtnChangeDefaultBrowser1Click);

    const auto bind = [this](const char *name, void (TPelmarisForm::*slot)()) {
        connect(action(QString::fromLatin1(name)), &QAction::triggered, this, slot);
    };
    // The menu entries choose as the radio buttons do; a choice already made runs again.
    bind("pm2Default", &TPelmarisForm::rbBrowserDefaultClick);
    bind("pm2Edge", &TPelmarisForm::rbBrowserEdgeClick);
    bind("pm2Chrome", &TPelmarisForm::rbBrowserChromeClick);
    bind("pm2Else", &TPelmarisForm::rbBrowserElseClick);
    bind("pm2ChangeDefaultBrowser1", &TPelmarisForm::BtnChangeDefaultBrowser1Click);
    bind("pm2ChangeOtherBrowser1", &TPelmarisForm::btnChangeOtherBrowser1Click);
    bind("pm1Browse", &TPelmarisForm::pm1BrowseClick);

    connect(NumberBox12, &QSpinBox::valueChanged, this, &TPelmarisForm::NumberBox12Change);
    connect(NumberBox41, &QSpinBox::valueChanged, this, &TPelmarisForm::NumberBox41Change);
    GridPanel1->installEventFilter(this);
}

void TPelmarisForm::setPageButtonImage(int image)
{
    m_pageButtonImage = image;
    const QIcon icon =
        image >= 0 && image < ImageListBtnBrowse.size() ? ImageListBtnBrowse[image] : QIcon();
    btnBrowse1->setIcon(icon);
    btnBrowse3->setIcon(icon);
}

void TPelmarisForm::applyBrowserImage()
{
    const int image = gallery::browserButtonImage(BrowserName1);
    if (image == gallery::ProgramImage) {
        const QIcon icon = gallery::programIcon(m_services, BrowserName1);
        if (!icon.isNull())
            ImageListBtnBrowse[gallery::ProgramImage] = icon;
    }
    setPageButtonImage(image);
}

void TPelmarisForm::showBrowser(const gallery::BrowserShown &shown)
{
    if (shown.browserName1)
        BrowserName1 = *shown.browserName1;
    if (!shown.slot2Icon.isNull())
        ImageListBtnBrowse[gallery::ProgramImage] = shown.slot2Icon;
    setPageButtonImage(shown.buttonImage);
    if (shown.statusText)
        StatusPanel1->setText(*shown.statusText);
}

void TPelmarisForm::refreshBrowserLabels()
{
    Label2->setText(gallery::defaultBrowserLabel(m_services));
    Label4->setText(
        gallery::otherBrowserLabel(rbBrowserElse->isChecked(), BrowserName1, BrowserName2));
}

void TPelmarisForm::rbBrowserDefaultClick()
{
    if (!rbBrowserDefault->isChecked()) {
        rbBrowserDefault->setChecked(true); // runs this handler through its signal
        return;
    }
    showBrowser(gallery::chooseDefaultBrowser(m_services));
}

void TPelmarisForm::rbBrowserEdgeClick()
{
    if (!rbBrowserEdge->isChecked()) {
        rbBrowserEdge->setChecked(true); // runs this handler through its signal
        return;
    }
    showBrowser(gallery::chooseKnownBrowser(m_services, gallery::KnownBrowser::Edge));
}

void TPelmarisForm::rbBrowserChromeClick()
{
    if (!rbBrowserChrome->isChecked()) {
        rbBrowserChrome->setChecked(true); // runs this handler through its signal
        return;
    }
    showBrowser(gallery::chooseKnownBrowser(m_services, gallery::KnownBrowser::Chrome));
}

void TPelmarisForm::rbBrowserElseClick()
{
    // Nothing is asked while the settings are being restored.
    if (!m_shownOnce)
        return;
    if (!rbBrowserElse->isChecked()) {
        rbBrowserElse->setChecked(true); // runs this handler again through its signal
        return;
    }
    showBrowser(gallery::chooseOtherBrowser(m_services, this, BrowserName2));
}

void TPelmarisForm::btnChangeOtherBrowser1Click()
{
    Label4->clear();
    const auto picked = gallery::pickOtherBrowser(m_services, this, BrowserName2);
    if (!picked)
        return;
    BrowserName1 = BrowserName2;
    {
        const QSignalBlocker block(rbBrowserElse);
        rbBrowserElse->setChecked(true);
    }
    Label4->setText(gallery::browserLabel(BrowserName2));
    showBrowser(*picked);
}

void TPelmarisForm::BtnChangeDefaultBrowser1Click()
{
    Label2->clear();
    gallery::changeDefaultBrowser(m_services);
}

void TPelmarisForm::PopupMenu2Popup()
{
    const std::pair<QRadioButton *, const char *> items[] = {
        {rbBrowserDefault, "pm2Default"},
        {rbBrowserEdge, "pm2Edge"},
        {rbBrowserChrome, "pm2Chrome"},
        {rbBrowserElse, "pm2Else"},
    };
    for (QAction *a : PopupMenu2->actions())
        a->setChecked(false);
    for (const auto &[button, name] : items)
        if (button->isChecked())
            action(QString::fromLatin1(name))->setChecked(true);
}

void TPelmarisForm::pm1BrowseClick()
{
    const QModelIndex current = ListView1Icons->selectionModel()->currentIndex();
    if (!current.isValid() || !ListView1Icons->selectionModel()->isRowSelected(current.row(), {}))
        return;
    gallery::openInBrowser(m_services, BrowserName1, ListModel->item(current.row()).caption,
                           TempHtmlFileName1);
}

void TPelmarisForm::btnBrowse1Click()
{
    showPage(ListModel->checkedPaths());
}

void TPelmarisForm::btnBrowse3Click()
{
    showPage(ScanList());
}

void TPelmarisForm::showPage(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    gallery::PageRequest request;
    request.paths = paths;
    request.layout = layoutChoice();
    request.light = rbBrowserLight->isChecked();
    request.files = {TempHtmlFileName1, TempIconFileName1, TempIconFileName4};
    request.title = DblClickPath1;
    request.folderPath = treeSelectedPath();
    request.programIcon = windowIcon();
    request.browserName1 = BrowserName1;
    request.parent = this;
    gallery::CreateHtmlFile(m_services, request);
}

gallery::LayoutChoice TPelmarisForm::layoutChoice() const
{
    gallery::LayoutChoice choice;
    const std::pair<QRadioButton *, gallery::Layout> order[] = {
        {RadioButton11, gallery::Layout::AutoScaled},
        {RadioButton12, gallery::Layout::RangeView},
        {RadioButton21, gallery::Layout::FixedWidth},
        {RadioButton31, gallery::Layout::FixedHeight},
        {RadioButton41, gallery::Layout::WidthPercent},
    };
    choice.layout = gallery::Layout::RealSize;
    for (const auto &[button, layout] : order) {
        if (button->isChecked()) {
            choice.layout = layout;
            break;
        }
    }
    choice.rangeCount = NumberBox12->value();
    choice.columns = NumberBox21->value();
    choice.rows = NumberBox31->value();
    choice.widthPercent = NumberBox41->value();
    return choice;
}

void TPelmarisForm::NumberBox12Change()
{
    if (!m_shownOnce || m_settingNumberBox)
        return;
    const Guard guard(m_settingNumberBox);
    NumberBox12->setValue(gallery::guardRangeCount(NumberBox12->value(), ListModel->rowCount()));
    RadioButton12->setChecked(true);
}

void TPelmarisForm::NumberBox41Change()
{
    if (!m_shownOnce || m_settingNumberBox)
        return;
    const Guard guard(m_settingNumberBox);
    NumberBox41->setValue(gallery::guardWidthPercent(NumberBox41->value()));
    RadioButton41->setChecked(true);
}

void TPelmarisForm::GridPanel1Resize()
{
    const QFontMetrics metrics(font());
    // Here the indicator is drawn beside the caption, not inside the measured text.
    const int indicator = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                          style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    for (QRadioButton *b : {RadioButton12, RadioButton21, RadioButton31, RadioButton41})
        b->setFixedWidth(gallery::layoutButtonWidth(metrics, b->text()) + indicator);
    const int boxWidth = gallery::numberBoxWidth(RadioButton11->width());
    for (QSpinBox *box : {NumberBox12, NumberBox21, NumberBox31, NumberBox41})
        box->setFixedWidth(qMax(box->minimumSizeHint().width(), boxWidth));
}

bool TPelmarisForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == GridPanel1 && event->type() == QEvent::Resize)
        GridPanel1Resize();
    return QMainWindow::eventFilter(watched, event);
}

void TPelmarisForm::rbBrowserLightClick()
{
    m_services.styles->setDark(false);
}

void TPelmarisForm::rbbrowserDarkClick()
{
    m_services.styles->setDark(true);
}

} // namespace pelmaris::app
