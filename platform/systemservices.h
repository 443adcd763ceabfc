#pragma once

#include "platform/services.h"

#include <QString>

#include <memory>

namespace pelmaris::platform {

// Owns the running system's implementation of every service; built once in main().
class SystemServices {
public:
    virtual ~SystemServices() = default;
    virtual Services services() = 0;
};

// Settles what must be chosen before the application object exists (the display
// connection, the process's DPI awareness).
void prepareProcess();

std::unique_ptr<SystemServices> makeSystemServices(const QString &applicationTitle);

} // namespace pelmaris::platform
