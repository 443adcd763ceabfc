// Reads and rewrites a settings file of 600,000 keys (about 4 MB) and prints the time
// taken. Goal: reading well under a second; every step linear in the file's size.

#include "platform/inifile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

using pelmaris::platform::IniFile;

namespace {

// Four letters of 62 make 600,000 distinct short keys.
QByteArray keyName(int i)
{
    static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    QByteArray name(4, '0');
    for (int p = 3; p >= 0; --p, i /= 62)
        name[p] = digits[i % 62];
    return name;
}

double seconds(const QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 600000;

    QByteArray oneSection = "[OPTION]\n";
    QByteArray manySections;
    for (int i = 0; i < count; ++i) {
        oneSection += keyName(i) + "=1\n";
        if (i % 4 == 0)
            manySections += "[" + keyName(i / 4) + "]\n";
        manySections += keyName(i % 97) + "=1\n"; // duplicates: the first one counts
    }

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.ini"));
    for (const auto &[label, bytes] : {std::pair{"one section", oneSection},
                                       std::pair{"many sections, duplicates", manySections}}) {
        double bestParse = 1e9;
        double bestRewrite = 1e9;
        for (int run = 0; run < 3; ++run) {
            QElapsedTimer t;
            t.start();
            IniFile ini = IniFile::parse(bytes);
            const double parsed = seconds(t);
            const int seen = ini.readInteger(QStringLiteral("OPTION"),
                                             QString::fromLatin1(keyName(count / 2)), 0);
            t.restart();
            ini.writeString(QStringLiteral("OPTION"), QStringLiteral("RangeVal"),
                            QStringLiteral("30"));
            ini.eraseSection(QStringLiteral("POSITION"));
            QString error;
            if (!ini.save(path, &error)) {
                std::fprintf(stderr, "save failed: %s\n", qPrintable(error));
                return 1;
            }
            const double rewritten = seconds(t);
            std::printf("%s, run %d: %d keys, %.1f MB, parse %.3f s, rewrite+save %.3f s (%d)\n",
                        label, run + 1, count, bytes.size() / 1e6, parsed, rewritten, seen);
            bestParse = std::min(bestParse, parsed);
            bestRewrite = std::min(bestRewrite, rewritten);
        }
        std::printf("%s: best parse %.3f s, best rewrite+save %.3f s\n", label, bestParse,
                    bestRewrite);
    }
    return 0;
}
