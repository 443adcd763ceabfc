#include "app/apptitle.h"
#include "app/pelmarisform.h"
#include "platform/linux/linuxservices.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Damaged images are skipped silently; the decoders' complaints are not for the user.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio.jpeg.warning=false"));
    const QString title = pelmaris::app::applicationTitle(QApplication::applicationFilePath());
    QApplication::setApplicationName(title);
    QApplication::setApplicationVersion(QStringLiteral("1.6"));
    QApplication::setDesktopFileName(QStringLiteral("pelmaris"));

    // Standard dialogs and box buttons speak Japanese whatever the system's locale.
    QTranslator qtJapanese;
    if (qtJapanese.load(QStringLiteral("qtbase_ja"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtJapanese);

    pelmaris::platform::LinuxServices platform(title);
    pelmaris::app::TPelmarisForm form(platform.services(), QApplication::arguments().mid(1));
    form.show();
    return QApplication::exec();
}
