#include <gtest/gtest.h>

#include <malloc.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <numbers>
#include <string>
#include <utility>

#include "engine/FftPlan.h"
#include "engine/FftPlanCache.h"
#include "SampleStates.h"

namespace trelvano {
namespace {

using enginetest::FaultOf;

// Known transforms that pin down the length of the output and the missing scaling.
struct KnownRow {
    const char* name;
    std::int32_t n;
    double (*sample)(double i, double n);
    std::complex<double> (*bin)(std::int32_t k, double n);
};

class KnownTransform : public ::testing::TestWithParam<KnownRow> {};

TEST_P(KnownTransform, MatchesTheClosedForm)
{
    const KnownRow row = GetParam();
    FftPlan plan(row.n);
    ASSERT_EQ(plan.input().size(), static_cast<std::size_t>(row.n));
    ASSERT_EQ(plan.output().size(), static_cast<std::size_t>(row.n / 2 + 1));
    for (std::int32_t i = 0; i < row.n; ++i) plan.input()[i] = row.sample(i, row.n);
    plan.execute();
    for (std::int32_t k = 0; k <= row.n / 2; ++k) {
        EXPECT_NEAR(std::abs(plan.output()[k] - row.bin(k, row.n)), 0.0, 1e-9) << "bin " << k;
    }
}

constexpr double kTau = 2 * std::numbers::pi;

INSTANTIATE_TEST_SUITE_P(
    FftPlan, KnownTransform,
    ::testing::Values(
        KnownRow{"impulse_gives_ones", 7, [](double i, double) { return i == 0 ? 1.0 : 0.0; },
                 [](std::int32_t, double) { return std::complex<double>(1.0); }},
        KnownRow{"constant_prime_sums_on_bin_zero", 101, [](double, double) { return 2.0; },
                 [](std::int32_t k, double n) { return std::complex<double>(k == 0 ? 2 * n : 0.0); }},
        KnownRow{"cosine_is_not_scaled", 64, [](double i, double n) { return std::cos(kTau * 3 * i / n); },
                 [](std::int32_t k, double n) { return std::complex<double>(k == 3 ? n / 2 : 0.0); }},
        KnownRow{"sine_is_negative_imaginary", 63, [](double i, double n) { return std::sin(kTau * 3 * i / n); },
                 [](std::int32_t k, double n) { return std::complex<double>(0.0, k == 3 ? -n / 2 : 0.0); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FftPlan, SizeBelowOneIsRefused)
{
    EXPECT_EQ(FaultOf([] { FftPlan plan(0); }), FaultKind::IndexOutOfRange);
    EXPECT_EQ(FaultOf([] { FftPlan plan(-4); }), FaultKind::IndexOutOfRange);
}

TEST(FftPlan, MovingHandsOverThePlan)
{
    FftPlan a(16);
    FftPlan b(std::move(a));
    EXPECT_EQ(a.size(), 0);  // NOLINT(bugprone-use-after-move): the moved-from state is specified
    EXPECT_TRUE(a.input().empty());
    ASSERT_EQ(b.size(), 16);
    for (std::int32_t i = 0; i < 16; ++i) b.input()[i] = i == 0 ? 1.0 : 0.0;
    b.execute();
    EXPECT_EQ(b.output()[5], std::complex<double>(1.0, 0.0));

    FftPlan c(3);
    c = std::move(b);
    EXPECT_EQ(c.size(), 16);
    EXPECT_EQ(c.output()[5], std::complex<double>(1.0, 0.0));
    a.execute();  // an empty plan does nothing
}

TEST(FftPlanCache, KeepsOnlyTheLastSize)
{
    FftPlanCache cache;
    EXPECT_EQ(cache.heldBytes(), 0);
    FftPlan& first = cache.planFor(100);
    EXPECT_EQ(&cache.planFor(100), &first);
    EXPECT_TRUE(cache.holds(100));
    EXPECT_EQ(cache.heldBytes(), FftPlan::EstimatedBytes(100));

    EXPECT_EQ(cache.planFor(37).size(), 37);
    EXPECT_FALSE(cache.holds(100));

    FftPlanCache moved(std::move(cache));
    EXPECT_TRUE(moved.holds(37));
    moved.release();
    EXPECT_FALSE(moved.holds(37));
    EXPECT_EQ(moved.heldBytes(), 0);
}

#if defined(__SANITIZE_ADDRESS__)
#define TRELVANO_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TRELVANO_TEST_ASAN 1
#endif
#endif

TEST(FftPlan, EstimateCoversWhatFftwTakes)
{
#ifdef TRELVANO_TEST_ASAN
    GTEST_SKIP() << "the sanitizer's allocator keeps no malloc statistics";
#else
    const auto heapInUse = [] {
        const struct mallinfo2 info = mallinfo2();
        return static_cast<std::int64_t>(info.uordblks + info.hblkhd);
    };
    // A prime (Rader's algorithm, the hungriest), a power of two, and a composite.
    for (const std::int32_t n : {100003, 1 << 17, 1000000}) {
        const std::int64_t before = heapInUse();
        FftPlan plan(n);
        plan.execute();
        EXPECT_LE(heapInUse() - before, FftPlan::EstimatedBytes(n)) << n;
        EXPECT_GE(heapInUse() - before, std::int64_t{n} * 8) << n;
    }
#endif
}

}  // namespace
}  // namespace trelvano
