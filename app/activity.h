#pragma once

#include <QObject>

namespace pelmaris::app {

// What the program is doing. One thing at a time: a scan, the list's building or loading,
// the clipboard's read for a paste, or a list file's save.
enum class Work { Idle, Scanning, Building, LoadingList, ReadingClipboard, SavingList };

// The one answer to "is the program busy, and with what". The controllers set it where
// their work starts and ends; the menu rules and every refusal read it; the cancel buttons
// and the menu entries follow its changes.
class Activity : public QObject {
    Q_OBJECT

public:
    explicit Activity(QObject *parent = nullptr) : QObject(parent) {}

    Work work() const { return m_work; }
    bool isIdle() const { return isIdle(m_work); }
    static bool isIdle(Work work) { return work == Work::Idle; }
    bool isScanning() const { return m_work == Work::Scanning; }
    // Rows are coming into the list (or about to): the list's cancel button stops it.
    bool fillsList() const { return fillsList(m_work); }
    static bool fillsList(Work work)
    {
        return work == Work::Building || work == Work::LoadingList ||
               work == Work::ReadingClipboard;
    }

    void set(Work work)
    {
        if (work == m_work)
            return;
        m_work = work;
        Q_EMIT changed(work);
    }

Q_SIGNALS:
    void changed(pelmaris::app::Work work);

private:
    Work m_work = Work::Idle;
};

} // namespace pelmaris::app
