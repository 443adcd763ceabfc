#include "platform/linux/linuxdesktop.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

namespace pelmaris::platform {

void LinuxDesktop::alert(QWidget *window)
{
    QApplication::alert(window);
}

void LinuxDesktop::setTaskbarProgress(int percent, bool visible)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return; // nobody listens
    QDBusMessage signal = QDBusMessage::createSignal(
        QStringLiteral("/org/pelmaris/launcher"),
        QStringLiteral("com.canonical.Unity.LauncherEntry"), QStringLiteral("Update"));
    QVariantMap properties;
    properties.insert(QStringLiteral("progress"), qBound(0, percent, 100) / 100.0);
    properties.insert(QStringLiteral("progress-visible"), visible);
    signal << QStringLiteral("application://%1.desktop").arg(m_appUri) << properties;
    bus.send(signal);
}

} // namespace pelmaris::platform
