#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

// The program loads Qt's own Japanese catalogue at start so that box buttons speak
// Japanese whatever the locale; this checks that the installed catalogue provides them.
class TestJapaneseButtons : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void buttonText_data();
    void buttonText();

private:
    QTranslator m_translator;
};

void TestJapaneseButtons::initTestCase()
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    QVERIFY2(m_translator.load(QStringLiteral("qtbase_ja"), folder),
             qPrintable(QStringLiteral("qtbase_ja.qm not found in ") + folder));
    QVERIFY(QApplication::installTranslator(&m_translator));
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
