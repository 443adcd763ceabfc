#include "scan/decodebudget.h"

#include <QTest>

#include <thread>

using namespace pelmaris::scan;

namespace {

// Runs `reserve` on a thread of its own, so the test can watch it wait.
struct Waiter {
    std::atomic<bool> done{false};
    std::atomic<bool> cancel{false};
    DecodeBudget::Reservation held;
    DecodeBudget::Refusal why = DecodeBudget::Refusal::None;
    std::thread thread;

    Waiter(DecodeBudget &budget, qint64 bytes)
        : thread([this, &budget, bytes] {
              held = budget.reserve(bytes, &cancel, &why);
              done.store(true);
          })
    {
    }
    ~Waiter()
    {
        cancel.store(true);
        thread.join();
    }
    bool finishes()
    {
        return QTest::qWaitFor([this] { return done.load(); }, 5000);
    }
};

} // namespace

class TestDecodeBudget : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void neverFitsIsRefusedAtOnce()
    {
        DecodeBudget budget(100);
        DecodeBudget::Refusal why = DecodeBudget::Refusal::None;
        QVERIFY(!budget.reserve(101, nullptr, &why));
        QCOMPARE(why, DecodeBudget::Refusal::NeverFits);
        QVERIFY(budget.reserve(100));
    }

    void waitsUntilMemoryIsGivenBack()
    {
        DecodeBudget budget(100);
        auto first = budget.reserve(60);
        QVERIFY(first);
        Waiter second(budget, 60);
        QTest::qWait(50);
        QVERIFY(!second.done.load());
        first = DecodeBudget::Reservation();
        QVERIFY(second.finishes());
        QVERIFY(second.held);
        QCOMPARE(budget.inUse(), qint64(60));
        QCOMPARE(budget.peak(), qint64(60));
    }

    void cancelEndsTheWait()
    {
        DecodeBudget budget(100);
        auto first = budget.reserve(60);
        Waiter second(budget, 60);
        second.cancel.store(true);
        QVERIFY(second.finishes());
        QVERIFY(!second.held);
        QCOMPARE(second.why, DecodeBudget::Refusal::Cancelled);
        QCOMPARE(budget.inUse(), qint64(60));
    }

    // A decode that is over keeps only what its picture holds; a waiter gets the rest.
    void shrinkingGivesBackTheRest()
    {
        DecodeBudget budget(100);
        auto decode = budget.reserve(90);
        Waiter next(budget, 50);
        QTest::qWait(50);
        QVERIFY(!next.done.load());
        decode.shrinkTo(40);
        QVERIFY(next.finishes());
        QCOMPARE(decode.bytes(), qint64(40));
        QCOMPARE(budget.inUse(), qint64(90));
        decode.shrinkTo(60); // never grows
        QCOMPARE(decode.bytes(), qint64(40));
        decode = DecodeBudget::Reservation();
        QCOMPARE(budget.inUse(), qint64(50));
    }

    // A small request does not overtake a large one that waits: the largest pictures
    // get their turn instead of starving behind a stream of small ones.
    void firstComeFirstServed()
    {
        DecodeBudget budget(100);
        auto first = budget.reserve(90);
        Waiter large(budget, 50);
        QTRY_COMPARE(budget.waiting(), qsizetype(1));
        Waiter small(budget, 5);
        QTRY_COMPARE(budget.waiting(), qsizetype(2));
        QTest::qWait(50);
        QVERIFY(!large.done.load());
        QVERIFY(!small.done.load());
        first = DecodeBudget::Reservation();
        QVERIFY(large.finishes());
        QVERIFY(small.finishes());
        QVERIFY(large.held && small.held);
        QCOMPARE(budget.inUse(), qint64(55));
    }
};

QTEST_MAIN(TestDecodeBudget)
#include "tst_decodebudget.moc"
