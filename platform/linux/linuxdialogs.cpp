#include "platform/linux/linuxdialogs.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace pelmaris::platform {

void LinuxDialogs::message(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, m_title, text, QMessageBox::Ok, parent);
    box.exec();
}

void LinuxDialogs::messageCentered(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, m_title, text, QMessageBox::Ok);
    box.adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        box.move(screen->availableGeometry().center() - box.rect().center());
    box.exec();
}

void LinuxDialogs::error(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Critical, m_title, text, QMessageBox::Ok, parent);
    box.exec();
}

bool LinuxDialogs::askYesNo(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Question, m_title, text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

QString LinuxDialogs::openFileName(QWidget *parent, const QString &title, const QString &start,
                                   const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, title, start, filter);
}

QString LinuxDialogs::saveFileName(QWidget *parent, const QString &title, const QString &start,
                                   const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, title, start, filter);
}

Answer LinuxDialogs::askYesNoCancel(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Question, m_title, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("はい"));
    box.button(QMessageBox::No)->setText(QStringLiteral("いいえ"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel; // also when the box is closed
    }
}

} // namespace pelmaris::platform
