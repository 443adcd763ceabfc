#pragma once

#include <QtGlobal>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

namespace pelmaris::scan {

// The memory that picture decodes may hold at once. A decode reserves what its header
// says it will need before it allocates anything: one that could never fit is refused,
// one that does not fit now waits (first come, first served) until earlier decodes have
// given their memory back. So two workers never hold two giant pictures at once, and
// the largest pictures are decoded one at a time.
class DecodeBudget {
public:
    // What the program's workers share unless told otherwise.
    static constexpr qint64 kDefaultBytes = qint64(1024) * 1024 * 1024;

    explicit DecodeBudget(qint64 bytes);
    DecodeBudget(const DecodeBudget &) = delete;
    DecodeBudget &operator=(const DecodeBudget &) = delete;

    // Memory is one per process, and so is the budget of the program's decodes.
    static const std::shared_ptr<DecodeBudget> &processWide();

    class Reservation {
    public:
        Reservation() = default;
        Reservation(Reservation &&other) noexcept;
        Reservation &operator=(Reservation &&other) noexcept;
        ~Reservation();
        explicit operator bool() const { return m_budget != nullptr; }
        qint64 bytes() const { return m_bytes; }
        // Gives back all but `bytes`: what a decode no longer needs once it is over.
        void shrinkTo(qint64 bytes);

    private:
        friend class DecodeBudget;
        Reservation(DecodeBudget *budget, qint64 bytes) : m_budget(budget), m_bytes(bytes) {}
        DecodeBudget *m_budget = nullptr;
        qint64 m_bytes = 0;
    };

    enum class Refusal { None, NeverFits, Cancelled };

    // Waits until `bytes` fit beside what others hold. An empty reservation when they can
    // never fit or `cancel` is set meanwhile (polled a few times a second); `why` says
    // which. A caller holds one reservation at a time, so waiting cannot deadlock.
    Reservation reserve(qint64 bytes, const std::atomic<bool> *cancel = nullptr,
                        Refusal *why = nullptr);

    qint64 total() const { return m_total; }
    qint64 inUse() const;
    // The most that was ever held at once.
    qint64 peak() const;
    // Callers waiting for their turn.
    qsizetype waiting() const;

private:
    void release(qint64 bytes);

    const qint64 m_total;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::uint64_t> m_queue; // tickets of the waiting callers, oldest first
    std::uint64_t m_nextTicket = 0;
    qint64 m_inUse = 0;
    qint64 m_peak = 0;
};

} // namespace pelmaris::scan
