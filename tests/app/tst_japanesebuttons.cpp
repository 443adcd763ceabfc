#include "app/programentry.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

// The program prepares its application so that box buttons speak Japanese whatever the
// locale; the test runs in the C locale and prepares the application as the program does.
class TestJapaneseButtons : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void buttonText_data();
    void buttonText();
};

void TestJapaneseButtons::initTestCase()
{
    pelmaris::app::prepareApplication(*qApp);
}

void TestJapaneseButtons::buttonText_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("start");

    QTest::newRow("Yes") << int(QMessageBox::Yes) << QStringLiteral("はい");
    QTest::newRow("No") << int(QMessageBox::No) << QStringLiteral("いいえ");
    QTest::newRow("Cancel") << int(QMessageBox::Cancel) << QStringLiteral("キャンセル");
    QTest::newRow("OK") << int(QMessageBox::Ok) << QStringLiteral("OK");
}

void TestJapaneseButtons::buttonText()
{
    QFETCH(int, button);
    QFETCH(QString, start);

    QMessageBox box(QMessageBox::Question, QStringLiteral("Pelmaris"),
                    QStringLiteral("終了してもよいですか？"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok);
    // Qt may add an accelerator such as "(&Y)"; the caption itself must come first.
    const QString text = box.button(QMessageBox::StandardButton(button))->text();
    QVERIFY2(text.startsWith(start), qPrintable(text));
}

QTEST_MAIN(TestJapaneseButtons)
#include "tst_japanesebuttons.moc"
