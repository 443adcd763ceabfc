#include "platform/linux/displayplatform.h"
#include "platform/linux/linuxservices.h"
#include "platform/systemservices.h"

namespace pelmaris::platform {

namespace {
class LinuxSystemServices final : public SystemServices {
public:
    explicit LinuxSystemServices(const QString &applicationTitle) : m_services(applicationTitle) {}
    Services services() override { return m_services.services(); }

private:
    LinuxServices m_services;
};
} // namespace

void prepareProcess()
{
    choosePreferredDisplayPlatform();
}

std::unique_ptr<SystemServices> makeSystemServices(const QString &applicationTitle)
{
    return std::make_unique<LinuxSystemServices>(applicationTitle);
}

} // namespace pelmaris::platform
