#pragma once

#include "gallery/viewerpicture.h"
#include "platform/services.h"

#include <QRect>
#include <QSize>
#include <QWidget>

class QAction;
class QActionGroup;
class QMenu;
class QMouseEvent;
class QTimer;

namespace pelmaris::gallery {
class ViewerLoader;
}

namespace pelmaris::app {

class PictureBox;

// Where the viewer's keys move in the list.
enum class ViewerStep { Previous, Next, First, Last };

// The picture viewer: a borderless window that shows one picture of the list at a time,
// in one of three size modes, zoomed with the wheel and moved by dragging the picture.
// It is made once, hidden, and lives until the program ends; closing only hides it.
// It has no parent so that it keeps a taskbar button of its own; its owner deletes it.
class TForm4 : public QWidget {
    Q_OBJECT

public:
    explicit TForm4(const platform::Services &services);
    ~TForm4() override;

    // Shows a file: decodes it on a thread of its own, then takes its name as caption and
    // its edges' colour as background, applies the current size mode and shows (or
    // raises) the window; pictureShown tells when. A file that cannot be decoded shows a
    // notice instead. Until the picture arrives a showing window keeps the one before; a
    // hidden one appears with a notice should the decode take a while.
    void openFile(const QString &path);
    // The file asked for last.
    QString path() const { return m_path; }
    // A picture has been asked for and has not arrived yet.
    bool isLoading() const;

    // ---- controls ----
    PictureBox *Image2 = nullptr;
    QMenu *PopupMenu2 = nullptr;
    QAction *RealSize2 = nullptr;
    QAction *Adjust2 = nullptr;
    QAction *Expand2 = nullptr;
    QAction *N1 = nullptr;
    QAction *Close1 = nullptr;

    // Mouse position inside Image2 at the last button press.
    int XX = 0;
    int YY = 0;

    void ZoomWindow(int percent);
    void SetSizingBorder(bool on);
    bool sizingBorder() const { return m_sizingBorder; }
    // The window bounds that fit the picture into the work area.
    QRect GetFitRect() const;
    // The shown picture's own size; 0 x 0 when nothing could be decoded.
    QSize pictureSize() const { return m_realSize; }

    // "Real Size (4000x3000)".
    static QString realSizeCaption(QSize picture);
    // The window's size for a file that could not be decoded.
    static constexpr QSize NoticeSize{400, 300};
    // How long a hidden viewer waits for a picture before it shows the notice that it is
    // loading.
    static constexpr int LoadingNoticeDelay = 300;

Q_SIGNALS:
    // The requested picture is on show (false: the notice that it cannot be shown).
    void pictureShown(bool decoded);
    // A key asked for another row's picture.
    void stepRequested(pelmaris::app::ViewerStep step);

public Q_SLOTS:
    void RealSize2Click();
    void Adjust2Click();
    void Expand2Click();
    void PopupMenu2Popup();
    void Close1Click();
    void FormMouseWheelDown();
    void FormMouseWheelUp();

protected:
    void wheelEvent(QWheelEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenu();
    void showPicture(const QString &path, const gallery::ViewerPicture &picture);
    void showLoadingNotice();
    void applyMode();
    // The shown picture's memory goes back to the decode budget.
    void releasePicture();
    void Image2MouseDown(QMouseEvent *event);
    void Image2MouseMove(QMouseEvent *event);
    // Every change of the window's bounds goes through here.
    void setBounds(const QRect &bounds);
    void setBackground(const QColor &colour);
    void applyFitMode(QAction *mode, bool proportional);
    // The size the geometry works with: the picture's, or the notice's.
    QSize shownSize() const;
    // The window of the picture at real size: its pixels are the screen's own pixels.
    QSize realSizeWindow() const;
    // No window is larger in area than this (window pixels): never larger than a reduced
    // decode, so that it is never shown enlarged.
    qint64 maxWindowPixels() const;
    qreal pixelRatio() const;
    QSize screenPixels() const;
    QRect workArea() const;
    Qt::Edges edgesAt(QPoint pos) const;

    platform::Services m_services;
    gallery::ViewerLoader *m_loader = nullptr;
    gallery::ViewerPicture m_picture;
    QString m_path;
    QTimer *m_noticeTimer = nullptr;
    QActionGroup *m_modes = nullptr;
    QSize m_realSize{0, 0};
    bool m_sizingBorder = false;
    // A left-button press on the picture that moves the window, until its release.
    bool m_dragging = false;
    // Wheel movement short of a notch.
    int m_wheelPending = 0;
    // A resize by the border that the window system could not take over.
    Qt::Edges m_resizeEdges;
    QRect m_resizeStart;
    QPoint m_resizePress;
};

} // namespace pelmaris::app
