#pragma once

#include "platform/services.h"

#include <QRect>
#include <QSize>
#include <QWidget>

class QAction;
class QActionGroup;
class QMenu;
class QMouseEvent;

namespace pelmaris::app {

class PictureBox;

// The picture viewer: a borderless window that shows one picture of the list at a time,
// in one of three size modes, zoomed with the wheel and moved by dragging the picture.
// It is made once, hidden, and lives until the program ends; closing only hides it.
// It has no parent so that it keeps a taskbar button of its own; its owner deletes it.
class TForm4 : public QWidget {
    Q_OBJECT

public:
    explicit TForm4(const platform::Services &services);
    ~TForm4() override;

    // Shows a file: decodes it, takes its name as caption and its edges' colour as
    // background, applies the current size mode and shows (or raises) the window.
    // False when the file could not be decoded; the window then shows a notice instead.
    bool openFile(const QString &path);

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
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenu();
    void Image2MouseDown(QMouseEvent *event);
    void Image2MouseMove(QMouseEvent *event);
    // Every change of the window's bounds goes through here.
    void setBounds(const QRect &bounds);
    void setBackground(const QColor &colour);
    void applyFitMode(QAction *mode, bool proportional);
    // The size the geometry works with: the picture's, or the notice's.
    QSize shownSize() const;
    QRect workArea() const;
    Qt::Edges edgesAt(QPoint pos) const;

    platform::Services m_services;
    QActionGroup *m_modes = nullptr;
    QSize m_realSize{0, 0};
    bool m_sizingBorder = false;
    // A resize by the border that the window system could not take over.
    Qt::Edges m_resizeEdges;
    QRect m_resizeStart;
    QPoint m_resizePress;
};

} // namespace pelmaris::app
