// Evaluate runs in the game's hot path and in bulk from vostrel-cli: it must not allocate.
// This file replaces the global allocation functions of the test binary with counting ones.
#include "engine/Evaluator.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

namespace {
std::atomic<long> gAllocations{0};

void* CountedAlloc(std::size_t n) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(n == 0 ? 1 : n);
}
} // namespace

void* operator new(std::size_t n) {
    if (void* p = CountedAlloc(n)) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) {
    return operator new(n);
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    return CountedAlloc(n);
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
    return CountedAlloc(n);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

namespace vostrel {
namespace {

TEST(EvaluateAllocation, NoHeapAllocationOnAnyPath) {
    // The counter must see allocations at all, or the check below proves nothing.
    const long probeBefore = gAllocations.load();
    volatile std::size_t probeSize = 64;
    const std::string probe(probeSize, 'x');
    EXPECT_EQ(probe.size(), 64u);
    ASSERT_GT(gAllocations.load(), probeBefore);

    ExpressionState s;
    const ScoreSwitches lenient{1, 1, 1};
    const ScoreSwitches strict{0, 0, 0};
    long total = 0;
    int32_t checksum = 0;
    const long before = gAllocations.load();
    for (int32_t code = 0; code < 20000; ++code) {
        // Digits, powers, operators and rank rotations vary with the code; some states fail.
        for (int k = 0; k < kPositions; ++k) {
            s.digits[k] = (code / (k + 1)) % 10;
            s.power[k] = (code / (7 * (k + 1))) % 5;
            s.op[k] = k == 0 ? code % 2 : (code / (3 * k)) % 5;
            s.rank[k] = (k + code) % kPositions;
        }
        const EvalResult r = Evaluate(s, code % 11, (code & 64) != 0 ? lenient : strict);
        checksum += r.status + r.value % 7;
        ++total;
    }
    const long after = gAllocations.load();
    EXPECT_EQ(after - before, 0) << "allocations in " << total << " evaluations";
    EXPECT_NE(checksum, 0);
}

} // namespace
} // namespace vostrel
