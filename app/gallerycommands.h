#pragma once

#include "gallery/pagethumbnails.h"
#include "gallery/pagewriter.h"
#include "platform/outcome.h"
#include "platform/services.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

class QLabel;
class QProgressDialog;
class QRadioButton;
class QSpinBox;

namespace pelmaris::gallery {
enum class KnownBrowser;
struct BrowserShown;
class PageThumbnailer;
} // namespace pelmaris::gallery

namespace pelmaris::scan {
class ImageListModel;
class ScanController;
} // namespace pelmaris::scan

namespace pelmaris::app {

class CurrentOptions;
class FolderTree;
class ListPage;
class MenuCommands;
class PageButtons;
struct FormState;

// The controls that shape the gallery page, which its commands keep in step: the browser
// choice on the "ファイル" page with its two labels, and the layout row under the list.
struct GalleryControls {
    QRadioButton *rbBrowserDefault = nullptr;
    QRadioButton *rbBrowserEdge = nullptr;
    QRadioButton *rbBrowserChrome = nullptr;
    QRadioButton *rbBrowserElse = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label4 = nullptr;
    QWidget *GridPanel1 = nullptr;
    QRadioButton *RadioButton11 = nullptr;
    QRadioButton *RadioButton12 = nullptr;
    QRadioButton *RadioButton21 = nullptr;
    QRadioButton *RadioButton31 = nullptr;
    QRadioButton *RadioButton41 = nullptr;
    QSpinBox *NumberBox12 = nullptr;
    QSpinBox *NumberBox21 = nullptr;
    QSpinBox *NumberBox31 = nullptr;
    QSpinBox *NumberBox41 = nullptr;
};

// The gallery page and what shapes it: the two page buttons, the browser choice (radio
// buttons and the page buttons' menu), the layout row's guards, the colour mode.
class GalleryCommands : public QObject {
    Q_OBJECT

public:
    // `window` parents the dialogs and lends its font, style and icon to the page;
    // `shown` turns true once it has been shown: start-up is over.
    GalleryCommands(const platform::Services &services, QWidget *window, MenuCommands &menus,
                    const CurrentOptions &options, FormState &state,
                    const scan::ImageListModel &model, const scan::ScanController &scanner,
                    FolderTree &tree, PageButtons &pageButtons, ListPage &page,
                    const GalleryControls &controls, const bool &shown, QObject *parent = nullptr);
    ~GalleryCommands() override;

    void btnBrowse1Click();
    void btnBrowse3Click();
    void rbBrowserDefaultClick();
    void rbBrowserEdgeClick();
    void rbBrowserChromeClick();
    void rbBrowserElseClick();
    void btnChangeOtherBrowser1Click();
    void BtnChangeDefaultBrowser1Click();
    void PopupMenu2Popup();
    void pm1BrowseClick();
    void NumberBox12Change();
    void NumberBox41Change();
    void GridPanel1Resize();
    void rbBrowserLightClick();
    void rbbrowserDarkClick();
    // Label2 and Label4, when the "ファイル" page is shown.
    void refreshBrowserLabels();
    // The desktop's program for web pages; a failed lookup is reported.
    QString GetDefaultBrowser();

    gallery::LayoutChoice layoutChoice() const;
    // The thumbnails of a page are still being found or made.
    bool isPreparingPage() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showBrowser(const gallery::BrowserShown &shown);
    void showPage(const QStringList &paths);
    void writeAndOpen(const gallery::PageRequest &request);
    void onThumbnailsProgress(qsizetype done, qsizetype total);
    void onThumbnailsFinished(const QList<gallery::PageThumbnail> &thumbnails);
    void cancelThumbnails();
    void closeProgress();
    // Shows a failure; true on success.
    bool tell(const platform::Outcome &outcome);
    // Asks for a browser program and remembers it as BrowserName2; empty when cancelled.
    QString askOtherBrowser();
    void chooseKnown(QRadioButton *button, gallery::KnownBrowser browser);

    platform::Services m_services;
    QWidget *m_window;
    MenuCommands &m_menus;
    const CurrentOptions &m_options;
    FormState &m_state;
    const scan::ImageListModel &m_model;
    const scan::ScanController &m_scanner;
    FolderTree &m_tree;
    PageButtons &m_pageButtons;
    ListPage &m_page;
    GalleryControls m_ui;
    const bool &m_shown;
    bool m_settingNumberBox = false;
    gallery::PageThumbnailer *m_thumbnailer = nullptr;
    QPointer<QProgressDialog> m_progress;
    gallery::PageRequest m_pending; // the page waiting for its thumbnails
    QRadioButton *m_previousBrowser = nullptr;
    bool m_revertingBrowser = false;
};

} // namespace pelmaris::app
