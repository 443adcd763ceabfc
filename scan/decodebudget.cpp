#include "scan/decodebudget.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace pelmaris::scan {

namespace {
// How often a waiting caller looks at its cancel flag.
constexpr auto kCancelPoll = std::chrono::milliseconds(20);
} // namespace

DecodeBudget::DecodeBudget(qint64 bytes) : m_total(std::max<qint64>(bytes, 0)) {}

const std::shared_ptr<DecodeBudget> &DecodeBudget::processWide()
{
    static const std::shared_ptr<DecodeBudget> budget =
        std::make_shared<DecodeBudget>(kDefaultBytes);
    return budget;
}

DecodeBudget::Reservation DecodeBudget::reserve(qint64 bytes, const std::atomic<bool> *cancel,
                                                Refusal *why)
{
    const auto refuse = [why](Refusal reason) {
        if (why)
            *why = reason;
        return Reservation();
    };
    bytes = std::max<qint64>(bytes, 1);
    if (bytes > m_total)
        return refuse(Refusal::NeverFits);

    std::unique_lock lock(m_mutex);
    const std::uint64_t ticket = m_nextTicket++;
    m_queue.push_back(ticket);
    for (;;) {
        if (cancel && cancel->load(std::memory_order_relaxed)) {
            m_queue.erase(std::find(m_queue.begin(), m_queue.end(), ticket));
            m_changed.notify_all(); // the next in line may be able to go now
            return refuse(Refusal::Cancelled);
        }
        if (m_queue.front() == ticket && m_inUse + bytes <= m_total)
            break;
        m_changed.wait_for(lock, kCancelPoll);
    }
    m_queue.pop_front();
    m_inUse += bytes;
    m_peak = std::max(m_peak, m_inUse);
    m_changed.notify_all();
    if (why)
        *why = Refusal::None;
    return Reservation(this, bytes);
}

void DecodeBudget::release(qint64 bytes)
{
    {
        std::lock_guard lock(m_mutex);
        m_inUse -= bytes;
    }
    m_changed.notify_all();
}

qint64 DecodeBudget::inUse() const
{
    std::lock_guard lock(m_mutex);
    return m_inUse;
}

qint64 DecodeBudget::peak() const
{
    std::lock_guard lock(m_mutex);
    return m_peak;
}

qsizetype DecodeBudget::waiting() const
{
    std::lock_guard lock(m_mutex);
    return qsizetype(m_queue.size());
}

DecodeBudget::Reservation::Reservation(Reservation &&other) noexcept
    : m_budget(std::exchange(other.m_budget, nullptr)), m_bytes(std::exchange(other.m_bytes, 0))
{
}

DecodeBudget::Reservation &DecodeBudget::Reservation::operator=(Reservation &&other) noexcept
{
    if (this != &other) {
        if (m_budget)
            m_budget->release(m_bytes);
        m_budget = std::exchange(other.m_budget, nullptr);
        m_bytes = std::exchange(other.m_bytes, 0);
    }
    return *this;
}

void DecodeBudget::Reservation::shrinkTo(qint64 bytes)
{
    bytes = std::max<qint64>(bytes, 0);
    if (!m_budget || bytes >= m_bytes)
        return;
    m_budget->release(m_bytes - bytes);
    m_bytes = bytes;
}

DecodeBudget::Reservation::~Reservation()
{
    if (m_budget)
        m_budget->release(m_bytes);
}

} // namespace pelmaris::scan
