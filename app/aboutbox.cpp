#include "app/aboutbox.h"

#include "app/prompts.h"
#include "platform/dialogs.h"
#include "platform/programinfo.h"
#include "platform/systeminfo.h"
#include "shell/shellroutines.h"

#include <QCursor>
#include <QGridLayout>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegion>
#include <QScreen>
#include <QStyle>
#include <QTimer>

namespace pelmaris::app {

TAboutBox::TAboutBox(const platform::Services &services, const QString &text, bool lightMode,
                     scan::RandomEngine &random, QWidget *parent)
    : QDialog(parent), m_services(services), m_lightMode(lightMode), m_random(random)
{
    setObjectName(QStringLiteral("AboutBox"));
    // A tool window's caption and no title-bar buttons.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(program::Title);

    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    IconImage = new QLabel(this);
    IconImage->setObjectName(QStringLiteral("Image"));
    IconImage->setPixmap(
        QIcon(QStringLiteral(":/pelmaris/pelmaris.png")).pixmap(QSize(iconSize, iconSize)));
    IconImage->setCursor(Qt::PointingHandCursor);
    IconImage->setToolTip(program::DownloadPage);
    IconImage->installEventFilter(this);

    Message = new QLabel(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), this);
    Message->setObjectName(QStringLiteral("Message"));
    Message->setTextFormat(Qt::PlainText);
    Message->setTextInteractionFlags(Qt::TextSelectableByMouse);

    OkButton = new QPushButton(QStringLiteral("OK"), this);
    OkButton->setObjectName(QStringLiteral("OK"));
    OkButton->setCursor(Qt::PointingHandCursor);
    OkButton->setDefault(true);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    grid->setHorizontalSpacing(16);
    grid->addWidget(IconImage, 0, 0, Qt::AlignTop);
    grid->addWidget(Message, 0, 1);
    grid->addWidget(OkButton, 1, 0, 1, 2, Qt::AlignHCenter);

    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect bounds = rect();
        bounds.moveCenter(screen->availableGeometry().center());
        move(bounds.topLeft());
    }
}

void TAboutBox::paintEvent(QPaintEvent *event)
{
    if (m_lightMode)
        AboutBoxPaint(event);
    else
        QDialog::paintEvent(event);
}

void TAboutBox::AboutBoxPaint(QPaintEvent *event)
{
    // A new colour for every repaint of the whole box; a repaint of a part (behind the
    // button on hover or focus, a strip uncovered by another window) keeps the current
    // one so that it leaves no patch. (QRegion::contains(QRect) only tells an overlap.)
    if (!m_painted || (QRegion(rect()) - event->region()).isEmpty()) {
        m_gradient = aboutGradient(drawAboutColour(m_random));
        m_painted = true;
    }
    const QRect r = rect();
    QLinearGradient fill(r.topLeft(), m_gradient.leftToRight ? r.topRight() : r.bottomLeft());
    fill.setColorAt(0, Qt::white);
    fill.setColorAt(1, m_gradient.colour);
    QPainter painter(this);
    painter.fillRect(r, fill);
}

void TAboutBox::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // A window manager frames the box and places it after it is shown, moving the button
    // away from where the pointer went: the pointer follows the box's moves until the
    // framing time is over or the user moves it.
    QTimer::singleShot(0, this, &TAboutBox::movePointerToOk);
    QTimer::singleShot(FramingTime, this, [this] { m_pointerPlaced.reset(); });
}

void TAboutBox::moveEvent(QMoveEvent *event)
{
    QDialog::moveEvent(event);
    if (m_pointerPlaced && QCursor::pos() == *m_pointerPlaced)
        QTimer::singleShot(0, this, &TAboutBox::movePointerToOk);
}

void TAboutBox::movePointerToOk()
{
    const QPoint target = okButtonPointer(frameGeometry(), QRect(mapToGlobal(QPoint(0, 0)), size()),
                                          OkButton->geometry());
    QCursor::setPos(target);
    m_pointerPlaced = target;
}

bool TAboutBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == IconImage && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton &&
        IconImage->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint())) {
        tell(*m_services.dialogs, this, shell::ShellOpen(m_services, program::DownloadPage));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

AboutFacts currentAboutFacts(const platform::Services &services)
{
    AboutFacts facts;
    facts.executablePath = services.system->executablePath();
    facts.fileVersion = GetFileVersionText();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        // Device pixels and the system's dots per inch, as the desktop's settings count them.
        const qreal ratio = screen->devicePixelRatio();
        facts.screen = (QSizeF(screen->size()) * ratio).toSize();
        facts.dpi = qRound(screen->logicalDotsPerInch() * ratio);
    }
    facts.utcNow = QDateTime::currentDateTimeUtc();
    return facts;
}

void showAboutBox(const platform::Services &services, QWidget *parent, bool lightMode,
                  scan::RandomEngine &random)
{
    TAboutBox box(services, aboutText(currentAboutFacts(services)), lightMode, random, parent);
    box.exec();
}

} // namespace pelmaris::app
