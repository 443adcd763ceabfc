#include "platform/linux/programstarter.h"

#include <QFile>
#include <QObject>

#include <chrono>
#include <mutex>
#include <thread>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

namespace pelmaris::platform {

namespace {

// Long enough for a program to fail on its arguments or its display, short enough that
// the report still reads as the answer to the user's command.
constexpr auto EarlyExitWindow = std::chrono::seconds(5);

QString exitText(int status)
{
    if (WIFSIGNALED(status))
        return QStringLiteral("プログラムが起動直後に終了しました（シグナル %1）")
            .arg(WTERMSIG(status));
    return QStringLiteral("プログラムが起動直後に終了しました（終了コード %1）")
        .arg(WEXITSTATUS(status));
}

} // namespace

struct ProgramStarter::Shared {
    std::mutex mutex;
    QObject *receiver = nullptr; // lives on the starter's thread; gone once the starter is
    std::function<void(const EarlyExit &)> handler;
};

ProgramStarter::ProgramStarter() : m_shared(std::make_shared<Shared>())
{
    m_shared->receiver = new QObject;
}

ProgramStarter::~ProgramStarter()
{
    QObject *receiver = nullptr;
    {
        const std::lock_guard lock(m_shared->mutex);
        std::swap(receiver, m_shared->receiver);
        m_shared->handler = nullptr;
    }
    delete receiver; // reports still queued for it are dropped with it
}

void ProgramStarter::setEarlyExitHandler(std::function<void(const EarlyExit &)> handler)
{
    const std::lock_guard lock(m_shared->mutex);
    m_shared->handler = std::move(handler);
}

bool ProgramStarter::start(const QString &program, const QStringList &arguments,
                           const QString &parameters, ShellError *error)
{
    QList<QByteArray> encoded{QFile::encodeName(program)};
    for (const QString &argument : arguments)
        encoded << QFile::encodeName(argument);
    std::vector<char *> argv;
    for (QByteArray &a : encoded)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, argv.front(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        if (error)
            *error = {failed == ENOENT ? int(ShellError::NotFound) : int(ShellError::AccessDenied),
                      qt_error_string(failed)};
        return false;
    }

    // The watcher reaps the program whenever it ends, so that it leaves no zombie behind.
    std::thread([pid, shared = m_shared, exit = EarlyExit{program, parameters, 0, {}}]() mutable {
        const auto started = std::chrono::steady_clock::now();
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        const bool early = std::chrono::steady_clock::now() - started < EarlyExitWindow;
        const bool failure = WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) != 0);
        if (!early || !failure)
            return;
        exit.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        exit.text = exitText(status);
        const std::lock_guard lock(shared->mutex);
        if (!shared->receiver || !shared->handler)
            return;
        QMetaObject::invokeMethod(
            shared->receiver, [handler = shared->handler, exit] { handler(exit); },
            Qt::QueuedConnection);
    }).detach();
    return true;
}

} // namespace pelmaris::platform
