#pragma once

#include "platform/shell.h"

#include <QStringList>

#include <functional>
#include <memory>

namespace pelmaris::platform {

// Starts programs apart from the window (a session of their own, input from the null
// device, so that they outlive it and no signal of its terminal reaches them) and
// watches each for a few seconds: one that ends in failure by then never showed a
// window, and the handler hears of it on the thread that made the starter. A program
// that ends well at once (a browser handing the page to one already running) is no
// failure.
class ProgramStarter {
public:
    ProgramStarter();
    ~ProgramStarter();
    ProgramStarter(const ProgramStarter &) = delete;
    ProgramStarter &operator=(const ProgramStarter &) = delete;

    void setEarlyExitHandler(std::function<void(const EarlyExit &)> handler);
    // False, with the system's reason, when the program could not be run at all.
    // `parameters` is only passed on to the handler.
    bool start(const QString &program, const QStringList &arguments, const QString &parameters,
               ShellError *error);

private:
    struct Shared;
    std::shared_ptr<Shared> m_shared;
};

} // namespace pelmaris::platform
