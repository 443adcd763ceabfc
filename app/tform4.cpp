#include "app/tform4.h"

#include "app/picturebox.h"
#include "gallery/viewergeometry.h"
#include "gallery/viewerloader.h"
#include "platform/styles.h"
#include "platform/systeminfo.h"

#include <QAction>
#include <QActionGroup>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QWindow>

namespace pelmaris::app {

namespace {

// Width of the band along the window's edges that acts as its sizing border.
constexpr int kBorderWidth = 6;
// Window systems address window sizes in 16 bits; a larger request would wrap.
constexpr int kMaxExtent = 32767;
// A window holds its whole area in memory to draw it (and a compositor once more), so a
// 20000 x 20000 picture at real size would take gigabytes: no window is larger in area
// than the largest picture the viewer keeps whole, and a larger one is reduced to the
// same shape.
constexpr qint64 kMaxWindowPixels = gallery::ViewerMaxPixels;

QString cannotShowText(const QString &name)
{
    return QStringLiteral("この画像は表示できません") + u'\n' + name;
}

QString loadingText(const QString &name)
{
    return QStringLiteral("読み込み中…") + u'\n' + name;
}

QAction *modeAction(QWidget *owner, QActionGroup *group, const QString &name, const QString &text,
                    const QKeySequence &shortcut)
{
    auto *action = new QAction(text, owner);
    action->setObjectName(name);
    action->setCheckable(true);
    action->setShortcut(shortcut);
    group->addAction(action);
    return action;
}

} // namespace

TForm4::TForm4(const platform::Services &services) : m_services(services)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    // Only the main window's closing ends the program, even while the viewer shows.
    setAttribute(Qt::WA_QuitOnClose, false);
    setMinimumSize(1, 1);
    setMaximumSize(kMaxExtent, kMaxExtent);
    setBackground(m_services.styles->color(platform::StyleColor::ButtonFace));

    Image2 = new PictureBox(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setMouseTracking(true);
    Image2->installEventFilter(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Image2);

    buildMenu();
    setBounds(gallery::realSizeRect(NoticeSize, workArea()));

    m_loader = new gallery::ViewerLoader(*m_services.fileSystem, nullptr, this);
    connect(m_loader, &gallery::ViewerLoader::loaded, this, &TForm4::showPicture);
    m_noticeTimer = new QTimer(this);
    m_noticeTimer->setSingleShot(true);
    m_noticeTimer->setInterval(LoadingNoticeDelay);
    connect(m_noticeTimer, &QTimer::timeout, this, &TForm4::showLoadingNotice);
}

TForm4::~TForm4() = default;

void TForm4::buildMenu()
{
    m_modes = new QActionGroup(this);
    m_modes->setExclusive(true);
    RealSize2 = modeAction(this, m_modes, QStringLiteral("RealSize2"),
                           QStringLiteral("RealSize (0x0)"), QKeySequence(Qt::CTRL | Qt::Key_R));
    Adjust2 = modeAction(this, m_modes, QStringLiteral("Adjust2"),
                         QStringLiteral("Adjust Proportional"), QKeySequence(Qt::CTRL | Qt::Key_A));
    Expand2 = modeAction(this, m_modes, QStringLiteral("Expand2"), QStringLiteral("Expand Stretch"),
                         QKeySequence(Qt::CTRL | Qt::Key_E));
    RealSize2->setChecked(true);
    N1 = new QAction(this);
    N1->setObjectName(QStringLiteral("N1"));
    N1->setSeparator(true);
    Close1 = new QAction(QStringLiteral("Close"), this);
    Close1->setObjectName(QStringLiteral("Close1"));
    Close1->setShortcut(QKeySequence(Qt::Key_Escape));

    connect(RealSize2, &QAction::triggered, this, &TForm4::RealSize2Click);
    connect(Adjust2, &QAction::triggered, this, &TForm4::Adjust2Click);
    connect(Expand2, &QAction::triggered, this, &TForm4::Expand2Click);
    connect(Close1, &QAction::triggered, this, &TForm4::Close1Click);

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    PopupMenu2->addActions({RealSize2, Adjust2, Expand2, N1, Close1});
    connect(PopupMenu2, &QMenu::aboutToShow, this, &TForm4::PopupMenu2Popup);
    // The shortcuts work while the viewer is the active window.
    addActions({RealSize2, Adjust2, Expand2, Close1});
}

QString TForm4::realSizeCaption(QSize picture)
{
    return QStringLiteral("Real Size (%1x%2)").arg(picture.width()).arg(picture.height());
}

void TForm4::openFile(const QString &path)
{
    m_path = path;
    // The picture on show stays until the next one replaces it, but its share of the
    // budget goes back now: the next decode must never wait for memory that only its own
    // arrival would free. For that moment one picture more is in memory than counted.
    m_picture.memory.reset();
    m_loader->load(path, screenPixels());
    if (!isVisible())
        m_noticeTimer->start();
}

bool TForm4::isLoading() const
{
    return m_loader->isLoading();
}

void TForm4::showPicture(const QString &path, const gallery::ViewerPicture &picture)
{
    m_noticeTimer->stop();
    m_picture = picture;
    const QString name = QFileInfo(path).fileName();
    m_realSize = picture.image.isNull() ? QSize(0, 0) : picture.realSize;
    Image2->setPicture(picture.image, picture.turn, picture.preview);
    Image2->setEmptyText(cannotShowText(name));
    setWindowTitle(name);
    setBackground(picture.edge.isValid()
                      ? picture.edge
                      : m_services.styles->color(platform::StyleColor::ButtonFace));
    applyMode();
    if (isVisible()) {
        // Following the list: come to the front but leave the focus in the list.
        raise();
    } else {
        show();
        activateWindow();
    }
    Q_EMIT pictureShown(!picture.image.isNull());
}

void TForm4::showLoadingNotice()
{
    if (!isLoading() || isVisible())
        return;
    const QString name = QFileInfo(m_path).fileName();
    releasePicture();
    Image2->setEmptyText(loadingText(name));
    setWindowTitle(name);
    setBackground(m_services.styles->color(platform::StyleColor::ButtonFace));
    applyMode();
    show();
    activateWindow();
}

void TForm4::applyMode()
{
    if (RealSize2->isChecked())
        RealSize2Click();
    else if (Adjust2->isChecked())
        Adjust2Click();
    else
        Expand2Click();
}

void TForm4::releasePicture()
{
    m_picture = gallery::ViewerPicture();
    m_realSize = QSize(0, 0);
    Image2->clearPicture();
}

void TForm4::SetSizingBorder(bool on)
{
    m_sizingBorder = on;
    if (!on) {
        m_resizeEdges = {};
        Image2->unsetCursor();
    }
}

QRect TForm4::GetFitRect() const
{
    return gallery::GetFitRect(shownSize(), workArea());
}

void TForm4::RealSize2Click()
{
    RealSize2->setChecked(true);
    SetSizingBorder(false);
    Image2->setProportional(true);
    // A picture that cannot be shown keeps the notice's size whatever the mode.
    setBounds(gallery::realSizeRect(realSizeWindow(), workArea()));
}

void TForm4::Adjust2Click()
{
    applyFitMode(Adjust2, true);
}

void TForm4::Expand2Click()
{
    applyFitMode(Expand2, false);
}

void TForm4::applyFitMode(QAction *mode, bool proportional)
{
    mode->setChecked(true);
    SetSizingBorder(true);
    Image2->setProportional(proportional);
    setBounds(m_realSize.isEmpty() ? gallery::realSizeRect(NoticeSize, workArea()) : GetFitRect());
}

void TForm4::ZoomWindow(int percent)
{
    const bool fitMode = Adjust2->isChecked() || Expand2->isChecked();
    setBounds(gallery::zoomRect(geometry(), percent, shownSize(), workArea(), fitMode));
}

void TForm4::FormMouseWheelDown()
{
    ZoomWindow(99);
}

void TForm4::FormMouseWheelUp()
{
    ZoomWindow(101);
}

void TForm4::PopupMenu2Popup()
{
    RealSize2->setText(realSizeCaption(m_realSize));
}

void TForm4::Close1Click()
{
    RealSize2->setChecked(true);
    close();
}

void TForm4::closeEvent(QCloseEvent *event)
{
    // A decode still running ends at once, and the picture's memory goes back.
    m_loader->cancel();
    m_noticeTimer->stop();
    releasePicture();
    QWidget::closeEvent(event);
}

void TForm4::wheelEvent(QWheelEvent *event)
{
    // One step per notch of the wheel, however finely a device reports it.
    for (int notches = gallery::takeWheelNotches(m_wheelPending, event->angleDelta().y());
         notches != 0; notches += notches > 0 ? -1 : 1) {
        if (notches > 0)
            FormMouseWheelUp();
        else
            FormMouseWheelDown();
    }
    event->accept();
}

void TForm4::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_PageUp:
        Q_EMIT stepRequested(ViewerStep::Previous);
        break;
    case Qt::Key_Right:
    case Qt::Key_PageDown:
    case Qt::Key_Space:
        Q_EMIT stepRequested(ViewerStep::Next);
        break;
    case Qt::Key_Home:
        Q_EMIT stepRequested(ViewerStep::First);
        break;
    case Qt::Key_End:
        Q_EMIT stepRequested(ViewerStep::Last);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TForm4::contextMenuEvent(QContextMenuEvent *event)
{
    PopupMenu2->popup(event->globalPos());
}

bool TForm4::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Image2) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            Image2MouseDown(static_cast<QMouseEvent *>(event));
            break;
        case QEvent::MouseMove:
            Image2MouseMove(static_cast<QMouseEvent *>(event));
            break;
        case QEvent::MouseButtonRelease:
            m_resizeEdges = {};
            m_dragging = false;
            break;
        case QEvent::Wheel:
            // The wheel zooms anywhere over the window, the picture included.
            wheelEvent(static_cast<QWheelEvent *>(event));
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm4::Image2MouseDown(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    XX = pos.x();
    YY = pos.y();
    if (event->button() != Qt::LeftButton)
        return;
    // Only a press on the picture itself moves the window. The window system keeps the
    // button to itself while it resizes, so the release may never come here; what is
    // left of the press must not move the window afterwards.
    m_dragging = false;
    m_resizeEdges = {};
    const Qt::Edges edges = edgesAt(pos);
    QWindow *handle = windowHandle();
    if (edges) {
        if (handle && handle->startSystemResize(edges))
            return;
        m_resizeEdges = edges;
        m_resizeStart = geometry();
        m_resizePress = event->globalPosition().toPoint();
        return;
    }
    // A Wayland compositor does not let a program place its own window; it moves it for us.
    if (handle && QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        handle->startSystemMove();
        return;
    }
    m_dragging = true;
}

void TForm4::Image2MouseMove(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (!(event->buttons() & Qt::LeftButton)) {
        const Qt::Edges edges = edgesAt(pos);
        if (edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge))
            Image2->setCursor(Qt::SizeFDiagCursor);
        else if (edges == (Qt::RightEdge | Qt::TopEdge) || edges == (Qt::LeftEdge | Qt::BottomEdge))
            Image2->setCursor(Qt::SizeBDiagCursor);
        else if (edges & (Qt::LeftEdge | Qt::RightEdge))
            Image2->setCursor(Qt::SizeHorCursor);
        else if (edges)
            Image2->setCursor(Qt::SizeVerCursor);
        else
            Image2->unsetCursor();
        return;
    }
    if (m_resizeEdges) {
        setBounds(gallery::resizedRect(m_resizeStart, m_resizeEdges,
                                       event->globalPosition().toPoint() - m_resizePress,
                                       2 * kBorderWidth + 1));
        return;
    }
    // The point under the mouse stays under the mouse.
    if (m_dragging)
        move(x() + pos.x() - XX, y() + pos.y() - YY);
}

Qt::Edges TForm4::edgesAt(QPoint pos) const
{
    Qt::Edges edges;
    if (!m_sizingBorder)
        return edges;
    if (pos.x() < kBorderWidth)
        edges |= Qt::LeftEdge;
    if (pos.x() >= width() - kBorderWidth)
        edges |= Qt::RightEdge;
    if (pos.y() < kBorderWidth)
        edges |= Qt::TopEdge;
    if (pos.y() >= height() - kBorderWidth)
        edges |= Qt::BottomEdge;
    return edges;
}

void TForm4::setBounds(const QRect &bounds)
{
    setGeometry(gallery::limitWindowSize(bounds, maxWindowPixels(), kMaxExtent));
}

qint64 TForm4::maxWindowPixels() const
{
    const QSize kept = m_picture.uprightSize();
    const qint64 pixels =
        m_picture.reduced() ? qint64(kept.width()) * kept.height() : kMaxWindowPixels;
    const qreal ratio = pixelRatio();
    return std::max<qint64>(1, qint64(pixels / (ratio * ratio)));
}

void TForm4::setBackground(const QColor &colour)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
    setAutoFillBackground(true);
}

QSize TForm4::shownSize() const
{
    return m_realSize.isEmpty() ? NoticeSize : m_realSize;
}

QSize TForm4::realSizeWindow() const
{
    return m_realSize.isEmpty() ? NoticeSize : gallery::logicalSize(m_realSize, pixelRatio());
}

qreal TForm4::pixelRatio() const
{
    return devicePixelRatioF();
}

QSize TForm4::screenPixels() const
{
    const QScreen *shown = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!shown)
        return QSize();
    return (QSizeF(shown->size()) * shown->devicePixelRatio()).toSize();
}

QRect TForm4::workArea() const
{
    return m_services.system->workArea();
}

} // namespace pelmaris::app
