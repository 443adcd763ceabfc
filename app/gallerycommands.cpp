#include "app/gallerycommands.h"

#include "app/currentoptions.h"
#include "app/foldertree.h"
#include "app/formstate.h"
#include "app/listpage.h"
#include "app/menucommands.h"
#include "app/pagebuttons.h"
#include "app/prompts.h"
#include "gallery/browserchoice.h"
#include "gallery/pagelayout.h"
#include "gallery/pagethumbnailer.h"
#include "gallery/pagewriter.h"
#include "platform/dialogs.h"
#include "platform/styles.h"
#include "platform/systeminfo.h"
#include "scan/imagelistmodel.h"
#include "scan/scancontroller.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>

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

GalleryCommands::GalleryCommands(const platform::Services &services, QWidget *window,
                                 MenuCommands &menus, const CurrentOptions &options,
                                 FormState &state, const scan::ImageListModel &model,
                                 const scan::ScanController &scanner, FolderTree &tree,
                                 PageButtons &pageButtons, ListPage &page,
                                 const GalleryControls &controls, const bool &shown,
                                 QObject *parent)
    : QObject(parent), m_services(services), m_window(window), m_menus(menus), m_options(options),
      m_state(state), m_model(model), m_scanner(scanner), m_tree(tree), m_pageButtons(pageButtons),
      m_page(page), m_ui(controls), m_shown(shown)
{
    // The menu entries choose as the radio buttons do; a choice already made runs again.
    menus.claim(Command::pm2Default, [this] { rbBrowserDefaultClick(); });
    menus.claim(Command::pm2Edge, [this] { rbBrowserEdgeClick(); });
    menus.claim(Command::pm2Chrome, [this] { rbBrowserChromeClick(); });
    menus.claim(Command::pm2Else, [this] { rbBrowserElseClick(); });
    menus.claim(Command::pm2ChangeDefaultBrowser1, [this] { BtnChangeDefaultBrowser1Click(); });
    menus.claim(Command::pm2ChangeOtherBrowser1, [this] { btnChangeOtherBrowser1Click(); });
    menus.claim(Command::pm1Browse, [this] { pm1BrowseClick(); });
    menus.enable(Menu::Browser, [](Command) { return true; });
    m_ui.GridPanel1->installEventFilter(this);
    m_thumbnailer = new gallery::PageThumbnailer(*m_services.fileSystem, {}, this);
    connect(m_thumbnailer, &gallery::PageThumbnailer::progress, this,
            &GalleryCommands::onThumbnailsProgress);
    connect(m_thumbnailer, &gallery::PageThumbnailer::finished, this,
            &GalleryCommands::onThumbnailsFinished);
    // The choice a missing browser goes back to: the button that last lost its check.
    for (QRadioButton *button :
         {m_ui.rbBrowserDefault, m_ui.rbBrowserEdge, m_ui.rbBrowserChrome, m_ui.rbBrowserElse})
        connect(button, &QRadioButton::toggled, this, [this, button](bool checked) {
            if (!checked && !m_revertingBrowser)
                m_previousBrowser = button;
        });
}

GalleryCommands::~GalleryCommands()
{
    // The workers end before the window they report to.
    cancelThumbnails();
    delete m_thumbnailer;
}

void GalleryCommands::chooseKnown(QRadioButton *button, gallery::KnownBrowser browser)
{
    gallery::BrowserShown shown = gallery::chooseKnownBrowser(m_services, browser);
    QRadioButton *previous = m_previousBrowser;
    if (shown.browserName1 && !shown.browserName1->isEmpty()) {
        showBrowser(shown);
        return;
    }
    // While the settings are restored the saved choice stays: it is the user's, and
    // the browser may come back.
    if (!m_shown) {
        showBrowser(shown);
        return;
    }
    tell(shown.outcome);
    if (!previous || previous == button) {
        shown.outcome = {};
        showBrowser(shown);
        return;
    }
    // A browser that is not installed is no choice: the one before stays, as it was.
    const Guard guard(m_revertingBrowser);
    const QSignalBlocker block(previous);
    previous->setChecked(true);
}

void GalleryCommands::showBrowser(const gallery::BrowserShown &shown)
{
    tell(shown.outcome);
    if (shown.browserName1)
        m_state.BrowserName1 = *shown.browserName1;
    if (!shown.slot2Icon.isNull())
        m_pageButtons.ImageListBtnBrowse[gallery::ProgramImage] = shown.slot2Icon;
    if (shown.buttonImage != gallery::KeepImage)
        m_pageButtons.setImage(shown.buttonImage);
    if (shown.statusText)
        m_page.setStatus(*shown.statusText);
    if (shown.checkElse) {
        const QSignalBlocker block(m_ui.rbBrowserElse);
        m_ui.rbBrowserElse->setChecked(true);
    }
}

bool GalleryCommands::tell(const platform::Outcome &outcome)
{
    return app::tell(*m_services.dialogs, m_window, outcome);
}

QString GalleryCommands::GetDefaultBrowser()
{
    const platform::Result<QString> found = gallery::GetDefaultBrowser(m_services);
    return tell(found.outcome()) ? *found : QString();
}

void GalleryCommands::refreshBrowserLabels()
{
    const platform::Result<QString> found = gallery::GetDefaultBrowser(m_services);
    tell(found.outcome());
    m_ui.Label2->setText(gallery::defaultBrowserLabel(found));
    m_ui.Label4->setText(gallery::otherBrowserLabel(m_options.values().browserElse,
                                                    m_state.BrowserName1, m_state.BrowserName2));
}

void GalleryCommands::rbBrowserDefaultClick()
{
    if (!m_options.values().browserDefault) {
        m_ui.rbBrowserDefault->setChecked(true); // runs this handler through its signal
        return;
    }
    showBrowser(gallery::chooseDefaultBrowser(m_services));
}

void GalleryCommands::rbBrowserEdgeClick()
{
    if (!m_options.values().browserEdge) {
        m_ui.rbBrowserEdge->setChecked(true); // runs this handler through its signal
        return;
    }
    chooseKnown(m_ui.rbBrowserEdge, gallery::KnownBrowser::Edge);
}

void GalleryCommands::rbBrowserChromeClick()
{
    if (!m_options.values().browserChrome) {
        m_ui.rbBrowserChrome->setChecked(true); // runs this handler through its signal
        return;
    }
    chooseKnown(m_ui.rbBrowserChrome, gallery::KnownBrowser::Chrome);
}

void GalleryCommands::rbBrowserElseClick()
{
    // Nothing is asked while the settings are being restored.
    if (!m_shown)
        return;
    if (!m_options.values().browserElse) {
        m_ui.rbBrowserElse->setChecked(true); // runs this handler again through its signal
        return;
    }
    if (m_state.BrowserName2.isEmpty())
        askOtherBrowser();
    showBrowser(gallery::chooseOtherBrowser(m_services, m_state.BrowserName2));
    m_ui.Label4->setText(gallery::browserLabel(m_state.BrowserName2));
}

void GalleryCommands::btnChangeOtherBrowser1Click()
{
    FormState &st = m_state;
    const bool elseChecked = m_options.values().browserElse;
    const QString file = askOtherBrowser();
    if (file.isEmpty()) {
        // Cancelled: everything stays as it was, the remembered program included.
        m_ui.Label4->setText(
            gallery::otherBrowserLabel(elseChecked, st.BrowserName1, st.BrowserName2));
        return;
    }
    gallery::BrowserShown shown = gallery::pickedOtherBrowser(m_services, file);
    shown.checkElse = true;
    showBrowser(shown);
    m_ui.Label4->setText(gallery::browserLabel(st.BrowserName2));
}

QString GalleryCommands::askOtherBrowser()
{
    const platform::FileChoice choice =
        gallery::otherBrowserChoice(m_services, m_state.BrowserName2);
    const QString file =
        m_services.dialogs->openFileName(m_window, choice.title, choice.start, choice.filter);
    if (!file.isEmpty())
        m_state.BrowserName2 = file;
    return file;
}

void GalleryCommands::BtnChangeDefaultBrowser1Click()
{
    m_ui.Label2->clear();
    tell(gallery::changeDefaultBrowser(m_services));
}

void GalleryCommands::PopupMenu2Popup()
{
    const std::pair<bool Options::*, Command> items[] = {
        {&Options::browserDefault, Command::pm2Default},
        {&Options::browserEdge, Command::pm2Edge},
        {&Options::browserChrome, Command::pm2Chrome},
        {&Options::browserElse, Command::pm2Else},
    };
    for (QAction *a : m_menus.menu(Menu::Browser)->actions())
        a->setChecked(false);
    for (const auto &[chosen, command] : items)
        if (m_options.values().*chosen)
            m_menus.action(command)->setChecked(true);
}

void GalleryCommands::pm1BrowseClick()
{
    const int row = m_page.selectedRow();
    if (row < 0)
        return;
    tell(gallery::openInBrowser(m_services, m_state.BrowserName1, m_model.item(row).caption,
                                m_state.TempHtmlFileName1));
}

void GalleryCommands::btnBrowse1Click()
{
    showPage(m_model.checkedPaths());
}

void GalleryCommands::btnBrowse3Click()
{
    showPage(m_scanner.scanList());
}

void GalleryCommands::showPage(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    const FormState &st = m_state;
    gallery::PageRequest request;
    request.paths = paths;
    request.layout = layoutChoice();
    request.light = m_options.values().browserLight;
    request.files = {st.TempHtmlFileName1, st.TempIconFileName1, st.TempIconFileName4};
    request.title = st.DblClickPath1;
    request.folderPath = m_tree.selectedPath();
    request.programIcon = m_window->windowIcon();
    request.browserName1 = st.BrowserName1;
    cancelThumbnails();
    if (!m_options.values().pageThumbnails) {
        writeAndOpen(request);
        return;
    }
    if (!m_options.values().thumbnailCache) {
        // The desktop's cache is not to be used: the originals, loaded as they scroll near.
        request.thumbnails.resize(request.paths.size());
        writeAndOpen(request);
        return;
    }
    // Thumbnails missing from the cache are made before the page opens, so that the
    // browser never waits on them nor falls back to thousands of originals; the window
    // stays live meanwhile and the user may cancel.
    m_pending = request;
    m_progress = new QProgressDialog(QStringLiteral("サムネイルを準備しています…"),
                                     QStringLiteral("キャンセル"), 0, int(paths.size()), m_window);
    m_progress->setWindowModality(Qt::WindowModal);
    m_progress->setMinimumDuration(500);
    m_progress->setAutoClose(false);
    m_progress->setAutoReset(false);
    m_progress->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_progress, &QProgressDialog::canceled, this, &GalleryCommands::cancelThumbnails);
    m_thumbnailer->start(request.paths, gallery::pageThumbnailEdge(
                                            request.layout, m_services.system->workArea().size(),
                                            request.paths.size()));
}

void GalleryCommands::writeAndOpen(const gallery::PageRequest &request)
{
    // A failed write is reported, and the browser shows what the page file holds.
    tell(gallery::writeHtmlFile(m_services, request));
    tell(gallery::openPage(m_services, request.browserName1, request.files.html));
}

bool GalleryCommands::isPreparingPage() const
{
    return m_thumbnailer->isRunning();
}

void GalleryCommands::onThumbnailsProgress(qsizetype done, qsizetype total)
{
    if (m_progress) {
        m_progress->setMaximum(int(total));
        m_progress->setValue(int(done));
    }
}

void GalleryCommands::onThumbnailsFinished(const QList<gallery::PageThumbnail> &thumbnails)
{
    closeProgress();
    gallery::PageRequest request = std::move(m_pending);
    m_pending = {};
    request.thumbnails = thumbnails;
    writeAndOpen(request);
}

void GalleryCommands::cancelThumbnails()
{
    m_thumbnailer->cancel();
    m_pending = {};
    closeProgress();
}

void GalleryCommands::closeProgress()
{
    // Closing the box would report a cancel.
    if (m_progress) {
        const QSignalBlocker block(m_progress);
        m_progress->close();
    }
}

gallery::LayoutChoice GalleryCommands::layoutChoice() const
{
    const Options &o = m_options.values();
    gallery::LayoutChoice choice;
    const std::pair<bool Options::*, gallery::Layout> order[] = {
        {&Options::autoSized, gallery::Layout::AutoScaled},
        {&Options::rangeView, gallery::Layout::RangeView},
        {&Options::fixedWidth, gallery::Layout::FixedWidth},
        {&Options::fixedHeight, gallery::Layout::FixedHeight},
        {&Options::setWidth, gallery::Layout::WidthPercent},
    };
    choice.layout = gallery::Layout::RealSize;
    for (const auto &[chosen, layout] : order) {
        if (o.*chosen) {
            choice.layout = layout;
            break;
        }
    }
    choice.rangeCount = o.rangeVal;
    choice.columns = o.horizVal;
    choice.rows = o.vertVal;
    choice.widthPercent = o.widthVal;
    return choice;
}

void GalleryCommands::NumberBox12Change()
{
    if (!m_shown || m_settingNumberBox)
        return;
    const Guard guard(m_settingNumberBox);
    m_ui.NumberBox12->setValue(
        gallery::guardRangeCount(m_ui.NumberBox12->value(), m_model.rowCount()));
    m_ui.RadioButton12->setChecked(true);
}

void GalleryCommands::NumberBox41Change()
{
    if (!m_shown || m_settingNumberBox)
        return;
    const Guard guard(m_settingNumberBox);
    m_ui.NumberBox41->setValue(gallery::guardWidthPercent(m_ui.NumberBox41->value()));
    m_ui.RadioButton41->setChecked(true);
}

void GalleryCommands::GridPanel1Resize()
{
    const GalleryControls &ui = m_ui;
    const QFontMetrics metrics(m_window->font());
    const QStyle *style = m_window->style();
    // Here the indicator is drawn beside the caption, not inside the measured text.
    const int indicator = style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                          style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    for (QRadioButton *b : {ui.RadioButton12, ui.RadioButton21, ui.RadioButton31, ui.RadioButton41})
        b->setFixedWidth(gallery::layoutButtonWidth(metrics, b->text()) + indicator);
    const int boxWidth = gallery::numberBoxWidth(ui.RadioButton11->width());
    for (QSpinBox *box : {ui.NumberBox12, ui.NumberBox21, ui.NumberBox31, ui.NumberBox41})
        box->setFixedWidth(qMax(box->minimumSizeHint().width(), boxWidth));
}

bool GalleryCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui.GridPanel1 && event->type() == QEvent::Resize)
        GridPanel1Resize();
    return QObject::eventFilter(watched, event);
}

void GalleryCommands::rbBrowserLightClick()
{
    m_services.styles->setDark(false);
}

void GalleryCommands::rbbrowserDarkClick()
{
    m_services.styles->setDark(true);
}

} // namespace pelmaris::app
