#include "app/formcontrols.h"
#include "app/helpcommands.h"
#include "app/helppage.h"
#include "fakeservices.h"
#include "platform/programinfo.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace pelmaris::app;

namespace {
void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
}
} // namespace

class TestHelpCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void lookup_data();
    void lookup();
    void opensTheFoundPage();
    void reportsAMissingPage();
    void links();
    void builtPageBesideTheProgram();
    void buttonsCarryTheirIcons();

private:
    QTemporaryDir m_dir;
    // A name no folder above the sandbox holds a page for.
    const QString m_exeName =
        QStringLiteral("PelmarisHelpProbe") + QString::number(QCoreApplication::applicationPid());
};

void TestHelpCommands::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestHelpCommands::lookup_data()
{
    QTest::addColumn<QStringList>("pages"); // relative to the sandbox; "/" at the end: folder
    QTest::addColumn<QString>("expected");
    const QString page = m_exeName + QStringLiteral(".html");
    QTest::newRow("beside") << QStringList{"a/b/" + page, "a/" + page} << "a/b/" + page;
    QTest::newRow("two folders above") << QStringList{page} << page;
    QTest::newRow("a folder of that name is passed over")
        << QStringList{"a/b/" + page + "/", "a/" + page} << "a/" + page;
    QTest::newRow("installed data folder before the folders above")
        << QStringList{"a/share/pelmaris/" + page, "a/" + page} << "a/share/pelmaris/" + page;
    QTest::newRow("beside before the installed data folder")
        << QStringList{"a/b/" + page, "a/share/pelmaris/" + page} << "a/b/" + page;
    QTest::newRow("none") << QStringList{} << QString();
}

void TestHelpCommands::lookup()
{
    QFETCH(QStringList, pages);
    QFETCH(QString, expected);
    QTemporaryDir sandbox(m_dir.filePath(QStringLiteral("XXXXXX")));
    for (const QString &p : pages) {
        if (p.endsWith(u'/'))
            QDir().mkpath(sandbox.filePath(p));
        else
            touch(sandbox.filePath(p));
    }
    const QString exe = sandbox.filePath("a/b/" + m_exeName);
    QCOMPARE(findHelpFile(exe), expected.isEmpty() ? QString() : sandbox.filePath(expected));
}

void TestHelpCommands::opensTheFoundPage()
{
    pelmaris::fakes::FakePlatform platform;
    // Blanks and a quote in the folder reach the desktop whole.
    const QString folder = m_dir.filePath(QStringLiteral("My \"Apps\" #1"));
    touch(folder + u'/' + m_exeName + ".html");
    QDir().mkpath(folder + QStringLiteral("/ペルマリス"));
    platform.system.exe = folder + QStringLiteral("/ペルマリス/") + m_exeName;
    openHelpFile(platform.services());
    QCOMPARE(platform.shell.calls.size(), 1);
    QCOMPARE(platform.shell.calls[0].kind, QStringLiteral("open"));
    QCOMPARE(platform.shell.calls[0].target,
             m_dir.filePath(QStringLiteral("My \"Apps\" #1/") + m_exeName + ".html"));
    QVERIFY(platform.dialogs.calls.isEmpty());
}

void TestHelpCommands::reportsAMissingPage()
{
    pelmaris::fakes::FakePlatform platform;
    platform.system.exe = m_dir.filePath(QStringLiteral("nowhere/") + m_exeName);
    openHelpFile(platform.services());
    QVERIFY(platform.shell.calls.isEmpty());
    QCOMPARE(platform.dialogs.texts("centered"),
             QStringList{"HelpFile Not Found.\r\n\r\n" + m_exeName + ".html"});
}

void TestHelpCommands::links()
{
    using pelmaris::program::MakerDonationPage;
    using pelmaris::program::MakerHomePage;
    pelmaris::fakes::FakePlatform platform;
    platform.system.exe = QStringLiteral("/opt/pelmaris/Pelmaris");
    showProgramProperties(platform.services(), nullptr);
    openDonationPage(platform.services());
    openHomePage(platform.services());
    QStringList seen;
    for (const auto &c : platform.shell.calls)
        seen << c.kind + u' ' + c.target;
    QCOMPARE(seen, (QStringList{"properties /opt/pelmaris/Pelmaris", "open " + MakerDonationPage,
                                "open " + MakerHomePage}));
}

void TestHelpCommands::builtPageBesideTheProgram()
{
    // The build copies the page beside the program, where the lookup finds it first.
    const QString page = findHelpFile(QStringLiteral(PELMARIS_EXECUTABLE));
    QCOMPARE(QFileInfo(page).absolutePath(),
             QFileInfo(QStringLiteral(PELMARIS_EXECUTABLE)).absolutePath());
    QFile file(page);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QString text = QString::fromUtf8(bytes);
    QCOMPARE(text.toUtf8(), bytes); // valid UTF-8
    QVERIFY(text.contains(QStringLiteral("<html lang=\"ja\">")));
    QVERIFY(text.contains(QStringLiteral("<meta charset=\"utf-8\">")));

    // Every link inside the page has its target.
    QSet<QString> ids;
    for (const auto &m : QRegularExpression(QStringLiteral("id=\"([^\"]+)\"")).globalMatch(text))
        ids.insert(m.captured(1));
    int links = 0;
    for (const auto &m :
         QRegularExpression(QStringLiteral("href=\"#([^\"]+)\"")).globalMatch(text)) {
        QVERIFY2(ids.contains(m.captured(1)), qPrintable(m.captured(1)));
        ++links;
    }
    QVERIFY(links > 10);
}

// Each of the five buttons shows its own icon, at every size a style may ask for.
void TestHelpCommands::buttonsCarryTheirIcons()
{
    FormControls ui;
    HelpPage page(ui);
    QList<QImage> seen;
    for (const QPushButton *b :
         {ui.btnHelp, ui.bnAbout, ui.btnProperties, ui.btnDonation, ui.btnHomeSite}) {
        QVERIFY2(!b->icon().isNull(), qPrintable(b->objectName()));
        for (const int size : {16, 32, 48}) {
            const QImage image = b->icon().pixmap(size, size).toImage();
            QCOMPARE(image.size(), QSize(size, size));
            // Something is drawn, and not over the whole square.
            QVERIFY(image.pixelColor(size / 2, size / 2).alpha() > 0);
            QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
        }
        const QImage image = b->icon().pixmap(32, 32).toImage();
        QVERIFY2(!seen.contains(image), qPrintable(b->objectName()));
        seen << image;
    }
}

QTEST_MAIN(TestHelpCommands)
#include "tst_helpcommands.moc"
