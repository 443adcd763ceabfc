#include "scan/pathorder.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>

#include <algorithm>
#include <numeric>
#include <vector>

namespace pelmaris::scan {

namespace {

QCollator makeCollator(bool numeric)
{
    // In the C locale Qt collates by code unit and ignores both case and numeric
    // mode; the root collation (that of English) keeps the orders meaningful there.
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QCollator collator{locale};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(numeric);
    collator.setIgnorePunctuation(false);
    return collator;
}

int sign(int v)
{
    return (v > 0) - (v < 0);
}

// Collation alone treats "a" and "A" (or "1" and "01") as equal; breaking those ties
// by code units makes the order total, so equal-looking paths keep a fixed order.
int collateThenOrdinal(const QCollator &collator, const QString &a, const QString &b)
{
    const int c = collator.compare(a, b);
    return c != 0 ? sign(c) : sign(QString::compare(a, b, Qt::CaseSensitive));
}

// Sorting by precomputed keys: collating 100,000 paths pairwise costs far more than
// one key per path.
void sortByCollation(QStringList &paths, bool numeric, bool descending)
{
    const QCollator collator = makeCollator(numeric);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(size_t(paths.size()));
    for (const QString &p : std::as_const(paths))
        keys.push_back(collator.sortKey(p));
    std::vector<qsizetype> index(size_t(paths.size()));
    std::iota(index.begin(), index.end(), qsizetype(0));
    std::sort(index.begin(), index.end(), [&](qsizetype i, qsizetype j) {
        int c = keys[size_t(i)].compare(keys[size_t(j)]);
        if (c == 0)
            c = QString::compare(paths.at(i), paths.at(j), Qt::CaseSensitive);
        return descending ? c > 0 : c < 0;
    });
    QStringList sorted;
    sorted.reserve(paths.size());
    for (qsizetype i : index)
        sorted.append(paths.at(i));
    paths = std::move(sorted);
}

} // namespace

RandomEngine makeSeededEngine()
{
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device()};
    return RandomEngine(seed);
}

int compareNumeric(const QString &a, const QString &b)
{
    return collateThenOrdinal(makeCollator(true), a, b);
}

int compareDictionary(const QString &a, const QString &b)
{
    return collateThenOrdinal(makeCollator(false), a, b);
}

void SortScanList(QStringList &paths, ScanOrder order, RandomEngine &engine)
{
    if (paths.size() < 2)
        return;
    switch (order) {
    case ScanOrder::NumericAscending:
        sortByCollation(paths, true, false);
        break;
    case ScanOrder::NumericDescending:
        sortByCollation(paths, true, true);
        break;
    case ScanOrder::DictionaryAscending:
        sortByCollation(paths, false, false);
        break;
    case ScanOrder::DictionaryDescending:
        // Plain UTF-16 code units, case-sensitive, reversed.
        std::sort(paths.begin(), paths.end(),
                  [](const QString &a, const QString &b) { return b < a; });
        break;
    case ScanOrder::Random:
        std::shuffle(paths.begin(), paths.end(), engine);
        break;
    case ScanOrder::None:
        break;
    }
}

} // namespace pelmaris::scan
