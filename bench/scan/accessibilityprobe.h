#pragma once

#include <QElapsedTimer>
#include <QString>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

// A screen reader's stand-in for the window benchmark. From a thread of its own it
// registers for the object events a reader listens to, finds this program's preview
// list over the accessibility bus and asks it, again and again, what a reader asks of a
// list (its state, its child count, its first row and that row's name), timing each
// answer. The window's thread answers, so each time is a wait a reader's user feels.
class AccessibilityProbe {
public:
    struct Answer {
        double at = 0;   // on the caller's clock, ms, when the request was sent
        double took = 0; // ms until the answer came
    };

    // Times are read from `clock`, which outlives the probe.
    explicit AccessibilityProbe(const QElapsedTimer &clock) : m_clock(clock) {}
    ~AccessibilityProbe();
    AccessibilityProbe(const AccessibilityProbe &) = delete;
    AccessibilityProbe &operator=(const AccessibilityProbe &) = delete;

    void start();
    // Asks the probe to end after the request in flight, which the window's event loop
    // must still answer: quit that loop only once isDone().
    void requestStop();
    bool isDone() const { return m_done.load(); }
    void stop();

    std::vector<Answer> answers() const;
    // Empty, or why no list was found or asked.
    QString problem() const;
    // When the list was found (on the clock, ms), -1 while not.
    double foundAt() const { return m_foundAt.load(); }
    int failedRequests() const { return m_failed.load(); }

private:
    void run();
    void setProblem(const QString &text);

    const QElapsedTimer &m_clock;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_done{false};
    std::atomic<double> m_foundAt{-1};
    std::atomic<int> m_failed{0};
    mutable std::mutex m_mutex;
    std::vector<Answer> m_answers;
    QString m_problem;
};
