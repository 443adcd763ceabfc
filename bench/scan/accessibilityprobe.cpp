#include "accessibilityprobe.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QList>
#include <QMetaType>
#include <QStringList>

#include <chrono>
#include <deque>

namespace {

// An accessible object on the bus: its connection's name and its path.
struct ObjectRef {
    QString service;
    QDBusObjectPath path;
};

QDBusArgument &operator<<(QDBusArgument &out, const ObjectRef &ref)
{
    out.beginStructure();
    out << ref.service << ref.path;
    out.endStructure();
    return out;
}

const QDBusArgument &operator>>(const QDBusArgument &in, ObjectRef &ref)
{
    in.beginStructure();
    in >> ref.service >> ref.path;
    in.endStructure();
    return in;
}

const QString kAccessible = QStringLiteral("org.a11y.atspi.Accessible");
const QString kRegistry = QStringLiteral("org.a11y.atspi.Registry");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr int kCallTimeoutMs = 60000;
constexpr int kPauseMs = 10;

QDBusMessage call(QDBusConnection &bus, const ObjectRef &to, const QString &interface,
                  const QString &method, const QVariantList &args = {})
{
    QDBusMessage m = QDBusMessage::createMethodCall(to.service, to.path.path(), interface, method);
    m.setArguments(args);
    return bus.call(m, QDBus::Block, kCallTimeoutMs);
}

QList<ObjectRef> children(QDBusConnection &bus, const ObjectRef &of)
{
    const QDBusMessage reply = call(bus, of, kAccessible, QStringLiteral("GetChildren"));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return qdbus_cast<QList<ObjectRef>>(reply.arguments().constFirst());
}

QString roleName(QDBusConnection &bus, const ObjectRef &of)
{
    const QDBusMessage reply = call(bus, of, kAccessible, QStringLiteral("GetRoleName"));
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
               ? reply.arguments().constFirst().toString()
               : QString();
}

} // namespace

Q_DECLARE_METATYPE(ObjectRef)

AccessibilityProbe::~AccessibilityProbe()
{
    stop();
}

void AccessibilityProbe::start()
{
    m_thread = std::thread([this] { run(); });
}

void AccessibilityProbe::requestStop()
{
    m_stop = true;
}

void AccessibilityProbe::stop()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

std::vector<AccessibilityProbe::Answer> AccessibilityProbe::answers() const
{
    std::lock_guard lock(m_mutex);
    return m_answers;
}

QString AccessibilityProbe::problem() const
{
    std::lock_guard lock(m_mutex);
    return m_problem;
}

void AccessibilityProbe::setProblem(const QString &text)
{
    std::lock_guard lock(m_mutex);
    m_problem = text;
}

void AccessibilityProbe::run()
{
    struct Done {
        std::atomic<bool> &flag;
        ~Done() { flag = true; }
    } done{m_done};
    qDBusRegisterMetaType<ObjectRef>();
    qDBusRegisterMetaType<QList<ObjectRef>>();
    const QElapsedTimer &clock = m_clock;

    QDBusConnection session =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("probe-session"));
    const QDBusMessage addressReply = session.call(QDBusMessage::createMethodCall(
        QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
        QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress")));
    if (addressReply.type() != QDBusMessage::ReplyMessage || addressReply.arguments().isEmpty()) {
        setProblem(QStringLiteral("no accessibility bus: ") + addressReply.errorMessage());
        return;
    }
    QDBusConnection bus = QDBusConnection::connectToBus(
        addressReply.arguments().constFirst().toString(), QStringLiteral("probe-a11y"));
    if (!bus.isConnected()) {
        setProblem(QStringLiteral("cannot connect to the accessibility bus"));
        return;
    }

    // What a reader listens to: the program sends these events only while someone is
    // registered for them. (The probe adds no match rule: the bus drops them for it.)
    const ObjectRef registry{kRegistry,
                             QDBusObjectPath(QStringLiteral("/org/a11y/atspi/registry"))};
    for (const char *event :
         {"object:children-changed", "object:state-changed", "object:property-change",
          "object:active-descendant-changed", "object:selection-changed", "object:text-changed",
          "focus:", "window:"})
        call(bus, registry, kRegistry, QStringLiteral("RegisterEvent"),
             {QString::fromLatin1(event)});

    // The program's application object under the registry, then the first list under it;
    // lists, tables and trees are not searched through (their rows are many).
    const ObjectRef desktop{kRegistry,
                            QDBusObjectPath(QStringLiteral("/org/a11y/atspi/accessible/root"))};
    ObjectRef list;
    QStringList seen;
    while (!m_stop && list.service.isEmpty()) {
        std::deque<ObjectRef> queue;
        for (const ObjectRef &app : children(bus, desktop))
            queue.push_back(app);
        while (!queue.empty() && list.service.isEmpty()) {
            const ObjectRef node = queue.front();
            queue.pop_front();
            const QString role = roleName(bus, node);
            if (!seen.contains(role))
                seen.append(role);
            if (role == QLatin1String("list"))
                list = node;
            else if (!role.contains(QLatin1String("table")) &&
                     !role.contains(QLatin1String("tree")))
                for (const ObjectRef &child : children(bus, node))
                    queue.push_back(child);
        }
        if (list.service.isEmpty())
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (list.service.isEmpty()) {
        setProblem(QStringLiteral("the program's list was not found on the accessibility bus "
                                  "(roles seen: ") +
                   seen.join(QStringLiteral(", ")) + u')');
        return;
    }
    m_foundAt = double(clock.nsecsElapsed()) / 1e6;

    const auto timed = [&](const ObjectRef &to, const QString &interface, const QString &method,
                           const QVariantList &args) {
        const double sent = double(clock.nsecsElapsed()) / 1e6;
        QDBusMessage reply = call(bus, to, interface, method, args);
        const double took = double(clock.nsecsElapsed()) / 1e6 - sent;
        if (reply.type() != QDBusMessage::ReplyMessage)
            ++m_failed;
        std::lock_guard lock(m_mutex);
        m_answers.push_back({sent, took});
        return reply;
    };
    while (!m_stop) {
        timed(list, kAccessible, QStringLiteral("GetState"), {});
        const QDBusMessage count = timed(list, kProperties, QStringLiteral("Get"),
                                         {kAccessible, QStringLiteral("ChildCount")});
        const bool rows =
            count.type() == QDBusMessage::ReplyMessage && !count.arguments().isEmpty() &&
            qdbus_cast<QDBusVariant>(count.arguments().constFirst()).variant().toInt() > 0;
        const QDBusMessage first =
            rows ? timed(list, kAccessible, QStringLiteral("GetChildAtIndex"), {0})
                 : QDBusMessage();
        if (first.type() == QDBusMessage::ReplyMessage && !first.arguments().isEmpty()) {
            const auto row = qdbus_cast<ObjectRef>(first.arguments().constFirst());
            if (row.path.path() != QLatin1String("/org/a11y/atspi/null"))
                timed(row, kProperties, QStringLiteral("Get"),
                      {kAccessible, QStringLiteral("Name")});
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kPauseMs));
    }
}
