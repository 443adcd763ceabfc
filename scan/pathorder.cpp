#include "scan/pathorder.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>

#include <algorithm>
#include <numeric>
#include <vector>

namespace pelmaris::scan {

namespace {

int sign(int v)
{
    return (v > 0) - (v < 0);
}

// Hyphens and apostrophes, which the word sort weighs almost nothing.
bool isSoftMark(QChar c)
{
    return c == u'-' || c == u'\'' || c == u'\uFF0D' || c == u'\uFF07';
}

// Where a path sorts. The word sort ("co-op" beside "coop", "-a.jpg" among the a's)
// collates the path without its soft marks; the marks and their places then settle
// what collates alike (a path without them first), and code units settle the rest, so
// the order stays total and does not depend on the sort's choice of pivots.
struct SortKey {
    QCollatorSortKey collated;
    QString marks; // place and mark of each one taken out, in order
};

SortKey sortKey(const QCollator &collator, const QString &path, bool wordSort)
{
    if (!wordSort || std::none_of(path.begin(), path.end(), isSoftMark))
        return SortKey{collator.sortKey(path), QString()};
    QString bare;
    QString marks;
    bare.reserve(path.size());
    for (QChar c : path) {
        if (isSoftMark(c)) {
            marks.append(QChar(char16_t(std::min<qsizetype>(bare.size(), 0xFFFF))));
            marks.append(c);
        } else {
            bare.append(c);
        }
    }
    return SortKey{collator.sortKey(bare), marks};
}

int compareKeys(const SortKey &a, const SortKey &b, const QString &pathA, const QString &pathB)
{
    int c = a.collated.compare(b.collated);
    if (c == 0)
        c = QString::compare(a.marks, b.marks, Qt::CaseSensitive);
    if (c == 0)
        c = QString::compare(pathA, pathB, Qt::CaseSensitive);
    return sign(c);
}

int compareWith(bool numeric, bool wordSort, const QString &a, const QString &b)
{
    const QCollator collator = pathCollator(numeric);
    return compareKeys(sortKey(collator, a, wordSort), sortKey(collator, b, wordSort), a, b);
}

// Sorting by precomputed keys: collating 100,000 paths pairwise costs far more than
// one key per path.
void sortByCollation(QStringList &paths, bool numeric, bool wordSort, bool descending)
{
    const QCollator collator = pathCollator(numeric);
    std::vector<SortKey> keys;
    keys.reserve(size_t(paths.size()));
    for (const QString &p : std::as_const(paths))
        keys.push_back(sortKey(collator, p, wordSort));
    std::vector<qsizetype> index(size_t(paths.size()));
    std::iota(index.begin(), index.end(), qsizetype(0));
    std::sort(index.begin(), index.end(), [&](qsizetype i, qsizetype j) {
        const int c = compareKeys(keys[size_t(i)], keys[size_t(j)], paths.at(i), paths.at(j));
        return descending ? c > 0 : c < 0;
    });
    QStringList sorted;
    sorted.reserve(paths.size());
    for (qsizetype i : index)
        sorted.append(paths.at(i));
    paths = std::move(sorted);
}

} // namespace

QCollator pathCollator(bool numeric, const QLocale &locale)
{
    // In the C locale Qt collates by code unit and ignores both case and numeric
    // mode; the root collation (that of English) keeps the orders meaningful there.
    QCollator collator{locale.language() == QLocale::C
                           ? QLocale(QLocale::English, QLocale::UnitedStates)
                           : locale};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(numeric);
    collator.setIgnorePunctuation(false);
    return collator;
}

RandomEngine makeSeededEngine()
{
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device()};
    return RandomEngine(seed);
}

int compareNumeric(const QString &a, const QString &b)
{
    return compareWith(true, false, a, b);
}

int compareDictionary(const QString &a, const QString &b)
{
    return compareWith(false, true, a, b);
}

void SortScanList(QStringList &paths, ScanOrder order, RandomEngine &engine)
{
    if (paths.size() < 2)
        return;
    switch (order) {
    case ScanOrder::NumericAscending:
        sortByCollation(paths, true, false, false);
        break;
    case ScanOrder::NumericDescending:
        sortByCollation(paths, true, false, true);
        break;
    case ScanOrder::DictionaryAscending:
        sortByCollation(paths, false, true, false);
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
