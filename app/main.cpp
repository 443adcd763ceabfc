#include "app/apptitle.h"
#include "platform/linux/linuxservices.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    pelmaris::platform::LinuxServices linux(pelmaris::app::applicationTitle(app.applicationFilePath()));
    return 0;
}
