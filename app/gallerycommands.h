#pragma once

#include "app/formcontext.h"

#include "gallery/pagethumbnails.h"
#include "gallery/pagewriter.h"
#include "platform/outcome.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

class QProgressDialog;
class QRadioButton;

namespace pelmaris::gallery {
enum class KnownBrowser;
struct BrowserShown;
class PageThumbnailer;
} // namespace pelmaris::gallery

namespace pelmaris::app {

// The gallery page and what shapes it: the two page buttons, the browser choice (radio
// buttons and the page buttons' menu), the layout row's guards, the colour mode.
class GalleryCommands : public QObject {
    Q_OBJECT

public:
    explicit GalleryCommands(const FormContext &context, QObject *parent = nullptr);
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

    FormContext m_c;
    bool m_settingNumberBox = false;
    gallery::PageThumbnailer *m_thumbnailer = nullptr;
    QPointer<QProgressDialog> m_progress;
    gallery::PageRequest m_pending; // the page waiting for its thumbnails
    QRadioButton *m_previousBrowser = nullptr;
    bool m_revertingBrowser = false;
};

} // namespace pelmaris::app
