#pragma once

#include <QCollator>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <random>

namespace pelmaris::scan {

// The five output orders of the folder tree's menu, and "none" for a settings file
// that checks none of them (the enumeration order then stays).
enum class ScanOrder {
    NumericAscending,
    NumericDescending,
    DictionaryAscending,
    DictionaryDescending,
    Random,
    None,
};

// The program's one generator for the random orders, seeded once per run.
using RandomEngine = std::mt19937_64;
RandomEngine makeSeededEngine();

// The user's collation of names with letter case ignored, numbers by value when
// `numeric`; meaningful in the C locale too (where Qt's own would compare code units).
QCollator pathCollator(bool numeric, const QLocale &locale = QLocale());

// Numbers by value, letter case ignored ("img2" before "img10").
int compareNumeric(const QString &a, const QString &b);
// The user's locale collation as a word sort, letter case ignored ("img10" before
// "img2"): hyphens and apostrophes weigh almost nothing, so "co-op" sorts beside
// "coop", "img-1.jpg" right after "img1.jpg" and "-a.jpg" among the names with "a".
int compareDictionary(const QString &a, const QString &b);

// Puts the paths into the given order in place. Every order is a strict total order
// (ties of the case-blind orders fall back to code units), so the result never
// depends on the sort's choice of pivots. The random order is a uniform permutation.
void SortScanList(QStringList &paths, ScanOrder order, RandomEngine &engine);

} // namespace pelmaris::scan
