#include "app/listfiledialogs.h"
#include "fakeservices.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace pelmaris::app;
using pelmaris::fakes::FakeDialogs;
using pelmaris::listio::ListForm;
using pelmaris::listio::SaveTarget;
using pelmaris::listio::SendToCall;
using pelmaris::platform::FileDialogAnswer;

class TestListFileDialogs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void saveAsksWithTheViewsTypeAndAppliesTheChosenOne()
    {
        FakeDialogs dialogs;
        const SaveContext detail{true,
                                 1000,
                                 40,
                                 QStringLiteral("/b/Pelmaris"),
                                 QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5)),
                                 QString()};
        QVERIFY(!askSaveTarget(dialogs, nullptr, detail)); // cancelled
        QCOMPARE(dialogs.requests.constLast().filterIndex, 0);
        QCOMPARE(dialogs.texts(QStringLiteral("saveFile")),
                 QStringList{QStringLiteral("Pelmaris(1K)-20250102-030405")});

        // The user picked TEXT in the dialog and typed a bare name.
        dialogs.fileAnswers = {FileDialogAnswer{QStringLiteral("/d/list"), 1}};
        const std::optional<SaveTarget> target = askSaveTarget(dialogs, nullptr, detail);
        QVERIFY(target);
        QCOMPARE(target->path, QStringLiteral("/d/list.txt"));
        QCOMPARE(target->form, ListForm::Path);
    }

    void openReadsTheChosenFileOrSaysWhyNot()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("my list.csv"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\xEF\xBB\xBF/p/a.jpg\r\n");
        f.close();
        const QString fifo = dir.filePath(QStringLiteral("fifo.csv"));
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

        FakeDialogs dialogs;
        QVERIFY(!askListFile(dialogs, nullptr));
        dialogs.fileAnswers = {FileDialogAnswer{path, 0}, FileDialogAnswer{fifo, 0}};
        std::optional<OpenedList> opened = askListFile(dialogs, nullptr);
        QVERIFY(opened && opened->file.ok());
        QCOMPARE(pelmaris::listio::wholeText(*opened->file), QStringLiteral("/p/a.jpg\r\n"));
        QCOMPARE(opened->title, QStringLiteral("my list.csv"));
        opened = askListFile(dialogs, nullptr);
        QVERIFY(opened && !opened->file.ok());
        QVERIFY(opened->file.outcome().text().endsWith(fifo));
        QCOMPARE(dialogs.requests.constFirst().filterIndex, 0);
    }

    void sendToAsksOnlyWithAFolder()
    {
        FakeDialogs dialogs;
        QVERIFY(!askSendTo(dialogs, nullptr, QString(), QStringLiteral("/s")));
        QVERIFY(dialogs.calls.isEmpty());
        dialogs.fileAnswers = {FileDialogAnswer{QStringLiteral("/s/entry"), 0}};
        const std::optional<SendToCall> call =
            askSendTo(dialogs, nullptr, QStringLiteral("/p/a b"), QStringLiteral("/s"));
        QVERIFY(call);
        QCOMPARE(call->program, QStringLiteral("/s/entry"));
        QCOMPARE(dialogs.requests.constFirst().directory, QStringLiteral("/s"));
    }
};

QTEST_MAIN(TestListFileDialogs)
#include "tst_listfiledialogs.moc"
