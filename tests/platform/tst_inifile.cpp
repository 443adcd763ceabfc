#include "fulldisk.h"
#include "platform/inifile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using pelmaris::platform::IniFile;
using pelmaris::platform::ReadStatus;
using pelmaris::platform::TextEncoding;

Q_DECLARE_METATYPE(ReadStatus)

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Ends the test run instead of letting a blocked open hang it.
struct HangGuard {
    HangGuard() { ::alarm(20); }
    ~HangGuard() { ::alarm(0); }
};

} // namespace

class TestIniFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void readInteger_data();
    void readInteger();
    void namesIgnoreCase_data();
    void namesIgnoreCase();
    void rewrite_data();
    void rewrite();
    void quotedValues_data();
    void quotedValues();
    void keptLinesKeepTheirBytes_data();
    void keptLinesKeepTheirBytes();
    void eraseSectionKeepsTheOthersInOrder();
    void encodingKept_data();
    void encodingKept();
    void badContentGivesDefaults_data();
    void badContentGivesDefaults();
    void unreadablePathsReadAsEmpty_data();
    void unreadablePathsReadAsEmpty();
    void saveReplacesTheFileWhole();
    void failedSaveLeavesOldFile();

private:
    QTemporaryDir m_dir;
};

void TestIniFile::readInteger_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");

    const int def = -7;
    QTest::newRow("decimal") << "30" << 30;
    QTest::newRow("negative") << "-5" << -5;
    QTest::newRow("blanks around") << "  42 " << 42;
    QTest::newRow("0x hex") << "0x1E" << 30;
    QTest::newRow("0X hex, lower digits") << "0X1e" << 30;
    QTest::newRow("$ hex") << "$1E" << 30;
    QTest::newRow("hex spells 32 bits") << "0xFFFFFFFF" << -1;
    QTest::newRow("largest") << "2147483647" << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << int(-2147483647 - 1);
    QTest::newRow("one past largest") << "2147483648" << def;
    QTest::newRow("one below smallest") << "-2147483649" << def;
    QTest::newRow("64-bit decimal") << "99999999999999999999" << def;
    QTest::newRow("33-bit hex") << "0x100000000" << def;
    QTest::newRow("word") << "abc" << def;
    QTest::newRow("empty") << "" << def;
    QTest::newRow("0x alone") << "0x" << def;
    QTest::newRow("$ alone") << "$" << def;
    QTest::newRow("trailing junk") << "12abc" << def;
    QTest::newRow("fraction") << "1.5" << def;
    QTest::newRow("bad hex digit") << "0x1G" << def;
    QTest::newRow("blank after 0x") << "0x 1E" << def;
    QTest::newRow("blank after $") << "$ 1E" << def;
    QTest::newRow("sign after 0x") << "0x+1E" << def;
    QTest::newRow("blank after sign") << "- 5" << def;
    QTest::newRow("two signs") << "+-5" << def;
    QTest::newRow("plus sign") << "+5" << 5;
    QTest::newRow("negative hex") << "-$1E" << -30;
    QTest::newRow("in quotes") << "\"30\"" << 30;
}

void TestIniFile::readInteger()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    const IniFile ini = IniFile::parse("[OPTION]\nRangeVal=" + text.toUtf8() + "\n");
    QCOMPARE(ini.readInteger("OPTION", "RangeVal", -7), expected);
}

void TestIniFile::namesIgnoreCase_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    QTest::newRow("lower in file") << QByteArray("[position]\nstate=2\n") << "POSITION"
                                   << "State"
                                   << "2";
    QTest::newRow("upper in file") << QByteArray("[POSITION]\nSTATE=2\n") << "position"
                                   << "state"
                                   << "2";
    QTest::newRow("mixed, blanks") << QByteArray(" [ Option ] \n RangeVal = 7 \n") << "OPTION"
                                   << "rangeval"
                                   << "7";
    QTest::newRow("other section") << QByteArray("[A]\nx=1\n[B]\nx=2\n") << "b"
                                   << "X"
                                   << "2";
    QTest::newRow("missing key") << QByteArray("[A]\nx=1\n") << "A"
                                 << "y"
                                 << "default";
    QTest::newRow("key before any section") << QByteArray("x=1\n[A]\n") << "A"
                                            << "x"
                                            << "default";
    QTest::newRow("non-ASCII names") << QStringLiteral("[größe]\nÄRGER=1\nΣΑΣ=2\n").toUtf8()
                                     << QStringLiteral("GRÖßE") << QStringLiteral("ärger") << "1";
    QTest::newRow("non-ASCII names, final sigma")
        << QStringLiteral("[A]\nΣΑΣ=2\n").toUtf8() << "a" << QStringLiteral("σας") << "2";
    QTest::newRow("repeated section, first key wins")
        << QByteArray("[A]\nx=1\n[a]\nx=2\ny=3\n") << "A"
        << "x"
        << "1";
    QTest::newRow("repeated section, later key found")
        << QByteArray("[A]\nx=1\n[a]\nx=2\ny=3\n") << "A"
        << "y"
        << "3";
    QTest::newRow("full-width blank is no blank") << QByteArray("[A]\nx=\xE3\x80\x80"
                                                                "a\xE3\x80\x80 \n")
                                                  << "A"
                                                  << "x" << QStringLiteral("\u3000a\u3000");
}

void TestIniFile::namesIgnoreCase()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QCOMPARE(IniFile::parse(content).readString(section, key, "default"), expected);
}

void TestIniFile::rewrite_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("comments and blank lines dropped")
        << QByteArray("; head\n[A]\n\nx=1\n; note\n\n\n[B]\ny=2") << "A"
        << "x"
        << "3" << QByteArray("[A]\r\nx=3\r\n\r\n[B]\r\ny=2\r\n\r\n");
    QTest::newRow("unknown sections stay in place")
        << QByteArray("[Mine]\na=1\n[POSITION]\nLeft=1\nTop=2\n[Other]\nb=2\n") << "POSITION"
        << "Left"
        << "5"
        << QByteArray(
               "[Mine]\r\na=1\r\n\r\n[POSITION]\r\nLeft=5\r\nTop=2\r\n\r\n[Other]\r\nb=2\r\n\r\n");
    QTest::newRow("writer's key spelling wins")
        << QByteArray("[POSITION]\nstate=2\nLeft=1\n") << "position"
        << "State"
        << "0" << QByteArray("[POSITION]\r\nState=0\r\nLeft=1\r\n\r\n");
    QTest::newRow("new key at the end of its section")
        << QByteArray("[A]\nx=1\n[B]\n") << "a"
        << "y"
        << "2" << QByteArray("[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\n\r\n");
    QTest::newRow("new section at the end")
        << QByteArray("[A]\nx=1\n") << "PROGRAM"
        << "Name"
        << "Pelmaris" << QByteArray("[A]\r\nx=1\r\n\r\n[PROGRAM]\r\nName=Pelmaris\r\n\r\n");
    QTest::newRow("CR LF input") << QByteArray("[A]\r\nx=1\r\n\r\n") << "A"
                                 << "z"
                                 << "2" << QByteArray("[A]\r\nx=1\r\nz=2\r\n\r\n");
    QTest::newRow("duplicates keep their lines, the first is written")
        << QByteArray("[A]\nx=1\nX=2\n[a]\ny=3\nx=5\n") << "A"
        << "x"
        << "4" << QByteArray("[A]\r\nx=4\r\nX=2\r\n\r\n[a]\r\ny=3\r\nx=5\r\n\r\n");
    QTest::newRow("new key goes to the first of repeated sections")
        << QByteArray("[A]\nx=1\n[a]\ny=3\n") << "A"
        << "z"
        << "4" << QByteArray("[A]\r\nx=1\r\nz=4\r\n\r\n[a]\r\ny=3\r\n\r\n");
    QTest::newRow("lines not written keep their blanks and oddities")
        << QByteArray(" [Mine] \n  a = 1 \nno key here\n=5\n[A]\nx=1\n") << "A"
        << "x"
        << "3" << QByteArray(" [Mine] \r\n  a = 1 \r\nno key here\r\n=5\r\n\r\n[A]\r\nx=3\r\n\r\n");
    QTest::newRow("text before the first section is kept")
        << QByteArray("stray\n[A]\nx=1\n") << "A"
        << "x"
        << "3" << QByteArray("stray\r\n[A]\r\nx=3\r\n\r\n");
    QTest::newRow("a value cannot break the line")
        << QByteArray("[A]\n") << "A"
        << "x"
        << "one\r\n[B]\ntwo" << QByteArray("[A]\r\nx=one  [B] two\r\n\r\n");
}

void TestIniFile::rewrite()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);

    IniFile ini = IniFile::parse(before);
    ini.writeString(section, key, value);
    QCOMPARE(ini.serialize(), after);
    // What was written reads back the same way.
    QCOMPARE(IniFile::parse(after).serialize(), after);
}

void TestIniFile::quotedValues_data()
{
    QTest::addColumn<QByteArray>("inFile");
    QTest::addColumn<QString>("value");

    QTest::newRow("double quotes") << QByteArray("\"/photos/\"") << "/photos/";
    QTest::newRow("single quotes") << QByteArray("'a b'") << "a b";
    QTest::newRow("blanks inside quotes") << QByteArray("\" padded \"") << " padded ";
    QTest::newRow("blanks outside quotes") << QByteArray("  \"a\"  ") << "a";
    QTest::newRow("only blanks") << QByteArray("\"   \"") << "   ";
    QTest::newRow("tab at the end") << QByteArray("\"a\t\"") << "a\t";
    QTest::newRow("quotes that do not pair") << QByteArray("\"a'") << "\"a'";
    QTest::newRow("one quote") << QByteArray("\"") << "\"";
    QTest::newRow("empty quotes") << QByteArray("\"\"") << "";
    QTest::newRow("quotes inside") << QByteArray("a \"b\" c") << "a \"b\" c";
    QTest::newRow("a value with its own quotes") << QByteArray("\"\"x\"\"") << "\"x\"";
    QTest::newRow("no quotes") << QByteArray(" plain ") << "plain";
}

// Read as the system's reader reads them; and whatever the program writes reads back
// as it was, blanks at both ends included.
void TestIniFile::quotedValues()
{
    QFETCH(QByteArray, inFile);
    QFETCH(QString, value);
    QCOMPARE(IniFile::parse("[A]\nx=" + inFile + "\n").readString("A", "x", "default"), value);

    IniFile ini;
    ini.writeString("A", "x", value);
    QCOMPARE(IniFile::parse(ini.serialize()).readString("A", "x", "default"), value);
}

void TestIniFile::keptLinesKeepTheirBytes_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("value");   // written as OPTION x
    QTest::addColumn<QByteArray>("kept"); // a line that must stay byte for byte
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<bool>("bom");

    // 日本 is 93 FA 96 7B in Shift_JIS, 写真 is 8E CA 90 5E.
    const QByteArray sjisOther = "[Other]\r\nname=\x93\xFA\x96\x7B\r\n[OPTION]\r\nx=old\r\n";
    QTest::newRow("Shift_JIS kept, ASCII written")
        << sjisOther << "/photos/" << QByteArray("name=\x93\xFA\x96\x7B")
        << QByteArray("x=/photos/") << false;
    QTest::newRow("Shift_JIS kept, Japanese written in Shift_JIS")
        << sjisOther << QStringLiteral("/写真/") << QByteArray("name=\x93\xFA\x96\x7B")
        << QByteArray("x=/\x8E\xCA\x90\x5E/") << false;
    QTest::newRow("Shift_JIS cannot hold it: a byte-order mark")
        << sjisOther << QStringLiteral("/Bücher/😀") << QByteArray("name=\x93\xFA\x96\x7B")
        << QStringLiteral("x=/Bücher/😀").toUtf8() << true;
    QTest::newRow("undecodable bytes kept")
        << QByteArray("[Other]\r\nbad=\x81\x20\xFF\xFE\x1A\r\n[OPTION]\r\n") << "a"
        << QByteArray("bad=\x81\x20\xFF\xFE\x1A") << QByteArray("x=a") << false;
    QTest::newRow("a Shift_JIS file stays Shift_JIS")
        << QByteArray("[OPTION]\r\nx=\x93\xFA\r\n[Other]\r\ny=1\r\n") << QStringLiteral("日本")
        << QByteArray("y=1") << QByteArray("x=\x93\xFA\x96\x7B") << false;
    QTest::newRow("Shift_JIS cannot hold it, nothing kept needs it: UTF-8")
        << QByteArray("[OPTION]\r\nx=\x93\xFA\r\n[Other]\r\ny=1\r\n") << QStringLiteral("/Bücher/")
        << QByteArray("y=1") << QStringLiteral("x=/Bücher/").toUtf8() << false;
    QTest::newRow("UTF-8 stays UTF-8")
        << QStringLiteral("[Other]\r\nname=日本\r\n").toUtf8() << QStringLiteral("写真")
        << QStringLiteral("name=日本").toUtf8() << QStringLiteral("x=写真").toUtf8() << false;
}

void TestIniFile::keptLinesKeepTheirBytes()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, value);
    QFETCH(QByteArray, kept);
    QFETCH(QByteArray, written);
    QFETCH(bool, bom);

    IniFile ini = IniFile::parse(before);
    ini.writeString("OPTION", "x", value);
    const QByteArray after = ini.serialize();
    QVERIFY2(after.contains(kept + "\r\n"), after.toHex(' ').constData());
    QVERIFY2(after.contains(written + "\r\n"), after.toHex(' ').constData());
    QCOMPARE(after.startsWith("\xEF\xBB\xBF"), bom);
    // The next start reads the program's own line as it was written, and a rewrite of
    // the rewritten file changes nothing.
    const IniFile next = IniFile::parse(after);
    QCOMPARE(next.readString("OPTION", "x", {}), value);
    QCOMPARE(next.serialize(), after);
}

void TestIniFile::eraseSectionKeepsTheOthersInOrder()
{
    IniFile ini = IniFile::parse("[A]\nx=1\n[position]\nLeft=1\n[B]\ny=2\n");
    ini.eraseSection("POSITION");
    QCOMPARE(ini.sectionNames(), QStringList({"A", "B"}));
    QVERIFY(!ini.hasKey("POSITION", "Left"));
    ini.eraseSection("missing"); // nothing to erase is no error
    QCOMPARE(ini.sectionNames(), QStringList({"A", "B"}));
}

void TestIniFile::encodingKept_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("rewrittenStart");

    const QString nihongo = QStringLiteral("日本語");
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF[A]\nx=") + nihongo.toUtf8() + "\n"
                                    << nihongo << QByteArray("\xEF\xBB\xBF[A]\r\n");
    QTest::newRow("UTF-8 without BOM") << QByteArray("[A]\nx=") + nihongo.toUtf8() + "\n"
                                       << nihongo << QByteArray("[A]\r\n");
    // 日本語 in Shift_JIS: 93 FA 96 7B 8C EA (not valid UTF-8).
    QTest::newRow("Shift_JIS without BOM")
        << QByteArray("[A]\nx=\x93\xFA\x96\x7B\x8C\xEA\n") << nihongo << QByteArray("[A]\r\n");
    QTest::newRow("U+FEFF after the UTF-8 mark")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF[A]\nx=") + nihongo.toUtf8() + "\n"
        << nihongo << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF[A]\r\n");
    QStringEncoder utf16le(QStringEncoder::Utf16LE);
    const QByteArray utf16 = utf16le.encode(QStringLiteral("[A]\nx=") + nihongo + u'\n');
    QTest::newRow("UTF-16LE with BOM")
        << QByteArray("\xFF\xFE") + utf16 << nihongo << QByteArray("\xFF\xFE[\0A\0]\0", 8);
    QTest::newRow("U+FEFF after the UTF-16LE mark")
        << QByteArray("\xFF\xFE\xFF\xFE") + utf16 << nihongo
        << QByteArray("\xFF\xFE\xFF\xFE[\0A\0]\0", 10);
    QStringEncoder utf16be(QStringEncoder::Utf16BE);
    QTest::newRow("UTF-16BE with BOM")
        << QByteArray("\xFE\xFF") +
               QByteArray(utf16be.encode(QStringLiteral("[A]\r\nx=") + nihongo))
        << nihongo << QByteArray("\xFE\xFF\0[\0A\0]\0\r\0\n", 12);
}

void TestIniFile::encodingKept()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, value);
    QFETCH(QByteArray, rewrittenStart);

    const QString path = m_dir.filePath(QStringLiteral("enc.ini"));
    QVERIFY(writeFile(path, bytes));
    IniFile ini = IniFile::load(path);
    QCOMPARE(ini.readString("A", "x", {}), value);

    ini.writeString("A", "y", "1");
    QVERIFY(ini.save(path));
    const QByteArray rewritten = readFile(path);
    QVERIFY2(rewritten.startsWith(rewrittenStart), rewritten.left(16).toHex().constData());
    const IniFile again = IniFile::load(path);
    QCOMPARE(again.readString("A", "x", {}), value);
    QCOMPARE(again.encoding(), ini.encoding());
}

void TestIniFile::badContentGivesDefaults_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QByteArray garbage(64 * 1024, '\0');
    QRandomGenerator random(20240229);
    for (char &c : garbage)
        c = char(random.bounded(256));
    // Sprinkle the characters the parser looks for, NULs included.
    for (int i = 0; i < garbage.size(); i += 97)
        garbage[i] = "[]=\n\0;$"[i % 7];
    QTest::newRow("binary garbage with NULs") << garbage;
    QTest::newRow("NUL inside the key line") << QByteArray("[OPTION]\nRangeVal=\0"
                                                           "5\n",
                                                           18);
    QTest::newRow("truncated header") << QByteArray("[OPTI");
    QTest::newRow("truncated key") << QByteArray("[OPTION]\nRange");
    QTest::newRow("truncated hex") << QByteArray("[OPTION]\nRangeVal=0x");
    QTest::newRow("32-bit overflow") << QByteArray("[OPTION]\nRangeVal=4294967296\n");
    QTest::newRow("only an equals sign") << QByteArray("[OPTION]\n=5\n");
}

void TestIniFile::badContentGivesDefaults()
{
    QFETCH(QByteArray, bytes);
    const QString path = m_dir.filePath(QStringLiteral("bad.ini"));
    QVERIFY(writeFile(path, bytes));

    IniFile ini = IniFile::load(path);
    QCOMPARE(ini.readInteger("OPTION", "RangeVal", 20), 20);
    QCOMPARE(ini.readBool("OPTION", "SaveStatus", true), true);
    // Whatever was read can still be rewritten and read back.
    ini.writeInteger("OPTION", "RangeVal", 30);
    QVERIFY(ini.save(path));
    QCOMPARE(IniFile::load(path).readInteger("OPTION", "RangeVal", 20), 30);
}

void TestIniFile::unreadablePathsReadAsEmpty_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<ReadStatus>("status");

    const QString blocker = m_dir.filePath(QStringLiteral("blocker"));
    QVERIFY(writeFile(blocker, "[OPTION]\nRangeVal=5\n"));
    QDir().mkpath(m_dir.filePath(QStringLiteral("folder.ini")));
    const QString fifo = m_dir.filePath(QStringLiteral("fifo.ini"));
    QFile::remove(fifo);
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString large = m_dir.filePath(QStringLiteral("large.ini"));
    QVERIFY(writeFile(large, "[OPTION]\nRangeVal=5\n" + QByteArray(IniFile::MaxFileSize, ';')));

    QTest::newRow("missing") << m_dir.filePath(QStringLiteral("missing.ini"))
                             << ReadStatus::Missing;
    QTest::newRow("a folder") << m_dir.filePath(QStringLiteral("folder.ini"))
                              << ReadStatus::NotRegular;
    QTest::newRow("a FIFO without writer") << fifo << ReadStatus::NotRegular;
    QTest::newRow("a device") << QStringLiteral("/dev/zero") << ReadStatus::NotRegular;
    QTest::newRow("over the size limit") << large << ReadStatus::TooLarge;
    QTest::newRow("under a regular file")
        << blocker + QStringLiteral("/x.ini") << ReadStatus::Missing;
    // Opens, but every read fails; chmod cannot make such a file for root.
    QTest::newRow("read fails") << QStringLiteral("/proc/self/mem") << ReadStatus::Failed;
}

void TestIniFile::unreadablePathsReadAsEmpty()
{
    QFETCH(QString, path);
    QFETCH(ReadStatus, status);
    const HangGuard guard;
    ReadStatus found = ReadStatus::Ok;
    QString error;
    const IniFile ini = IniFile::load(path, &found, &error);
    QCOMPARE(found, status);
    if (status == ReadStatus::Failed)
        QVERIFY(!error.isEmpty());
    QVERIFY(ini.sectionNames().isEmpty());
    QCOMPARE(ini.readInteger("OPTION", "RangeVal", 20), 20);
}

void TestIniFile::saveReplacesTheFileWhole()
{
    const QString path = m_dir.filePath(QStringLiteral("whole.ini"));
    const QString oldInode = m_dir.filePath(QStringLiteral("whole.old"));
    QFile::remove(path);
    QFile::remove(oldInode);
    QVERIFY(writeFile(path, "[A]\nx=old\n"));
    // A second name for the old file's data shows whether the save wrote into it.
    QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(oldInode).constData()),
             0);

    IniFile ini = IniFile::load(path);
    ini.writeString("A", "x", "new");
    QString error;
    QVERIFY2(ini.save(path, &error), qPrintable(error));

    QCOMPARE(readFile(path), QByteArray("[A]\r\nx=new\r\n\r\n"));
    QCOMPARE(readFile(oldInode), QByteArray("[A]\nx=old\n"));
    // No temporary file is left beside it.
    QCOMPARE(QDir(m_dir.path()).entryList({"whole*"}, QDir::Files | QDir::Hidden).size(), 2);
}

void TestIniFile::failedSaveLeavesOldFile()
{
    // Root may write into read-only folders, so make the save fail by other means: a
    // name at the file system's length limit leaves no room for a temporary name beside
    // it, and a parent that is a regular file cannot hold anything.
    const QString longName = m_dir.filePath(QString(255 - 4, u'n') + QStringLiteral(".ini"));
    QVERIFY(writeFile(longName, "[A]\nx=old\n"));
    IniFile ini = IniFile::load(longName);
    ini.writeString("A", "x", "new");
    QString error;
    QVERIFY(!ini.save(longName, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(readFile(longName), QByteArray("[A]\nx=old\n"));

    const QString blocker = m_dir.filePath(QStringLiteral("blocker2"));
    QVERIFY(writeFile(blocker, "keep"));
    error.clear();
    QVERIFY(!ini.save(blocker + QStringLiteral("/x.ini"), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(readFile(blocker), QByteArray("keep"));

    // A full disk fails the write itself; the old file must survive that too.
    const QString full = m_dir.filePath(QStringLiteral("full.ini"));
    QVERIFY(writeFile(full, "[A]\nx=old\n"));
    IniFile big = IniFile::load(full);
    big.writeString("A", "x", QString(4096, u'v'));
    error.clear();
    bool saved = true;
    {
        const pelmaris::fakes::FullDisk disk(16);
        saved = big.save(full, &error);
    }
    QVERIFY(!saved);
    QVERIFY(!error.isEmpty());
    QCOMPARE(readFile(full), QByteArray("[A]\nx=old\n"));
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
