#pragma once

#include <QtGlobal>

class QCheckBox;
class QPushButton;

namespace pelmaris::app {

// The one writer of the count captions around the list: "全選択(n)", "10%(k)",
// "選択表示(n)" and "一括表示(n)", or the plain captions without counts.
class CountCaptions {
public:
    CountCaptions(QCheckBox *checkAll, QCheckBox *topTen, QPushButton *browseChecked,
                  QPushButton *browseAll);

    // "全選択" and "10%", while a scan, rebuild or load runs.
    void plainCounts();
    // "全選択(n)" and "10%(k)" for a list of n rows.
    void rowCounts(qint64 rows);
    // "選択表示(n)": n rows were just checked; plain "選択表示" after unchecking.
    void checkedCount(qint64 checked);
    void noneChecked();
    // "一括表示" while a scan runs, "一括表示(n)" for n files found.
    void scanRunning();
    void filesFound(qint64 files);

private:
    QCheckBox *m_checkAll;
    QCheckBox *m_topTen;
    QPushButton *m_browseChecked;
    QPushButton *m_browseAll;
};

} // namespace pelmaris::app
