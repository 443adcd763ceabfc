#include "app/programentry.h"

#include "app/apptitle.h"
#include "app/pelmarisform.h"
#include "app/viewercommands.h"
#include "platform/programinfo.h"
#include "platform/systemservices.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QTranslator>

namespace pelmaris::app {

void prepareApplication(QApplication &application)
{
    // Damaged images are skipped silently; the decoders' complaints are not for the user.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio.jpeg.warning=false"));
    QApplication::setApplicationName(applicationTitle(QApplication::applicationFilePath()));
    QApplication::setApplicationVersion(program::FileVersion);
    QApplication::setDesktopFileName(QStringLiteral("pelmaris"));

    // Owned by the application, so it lives as long as the boxes that use it.
    auto *japanese = new QTranslator(&application);
    if (japanese->load(QStringLiteral("qtbase_ja"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(japanese);
}

int runProgram(int argc, char *argv[])
{
    platform::prepareProcess();
    QApplication application(argc, argv);
    prepareApplication(application);
    const auto platform = platform::makeSystemServices(QApplication::applicationName());
    TPelmarisForm form(platform->services(), QApplication::arguments().mid(1));
    form.show();
    // The viewer comes after the main window's creation and first show.
    form.Viewer->createViewer();
    return QApplication::exec();
}

} // namespace pelmaris::app
