// The two-halves 128-bit integer, which a compiler without a native one builds the program on:
// known results at the edges (carries between the halves, signs, the extreme values), and where
// this compiler has its own 128-bit type, agreement with it on pseudo-random values.

#include "store/wide_int.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace sorakado {

// Failures name the values in decimal.
void PrintTo(const TwoHalfInt& v, std::ostream* os);

namespace {

constexpr TwoHalfInt h(std::int64_t high, std::uint64_t low) {
    return TwoHalfInt::fromHalves(high, low);
}

// Amount builds its constants at compile time.
static_assert(TwoHalfInt(INT64_MAX) * 10000 / 10000 == INT64_MAX);
static_assert(TwoHalfInt(-7) % 2 == -1 && TwoHalfInt(-7) / 2 == -3);
static_assert(TwoHalfInt(std::uint64_t{UINT64_MAX}) > 0 && TwoHalfInt(-1) < 0);

struct ArithmeticCase {
    const char* name;
    TwoHalfInt a;
    TwoHalfInt b;
    // Wrapped to 128 bits where the exact result does not fit; quotients truncated toward zero.
    const char* sum;
    const char* difference;
    const char* product;
    const char* quotient;
    const char* remainder;
    int order; // of a against b
};

void PrintTo(const ArithmeticCase& c, std::ostream* os) {
    *os << c.name;
}

constexpr ArithmeticCase kArithmetic[] = {
    {"zero and one", 0, 1, "1", "-1", "0", "0", "0", -1},
    {"one and minus one", 1, -1, "0", "2", "-1", "-1", "0", 1},
    {"minus one twice", -1, -1, "-2", "0", "1", "1", "0", 0},
    {"2^63 twice", h(0, 9223372036854775808u), h(0, 9223372036854775808u), "18446744073709551616", "0",
     "85070591730234615865843651857942052864", "1", "0", 0},
    {"-2^63 and 2^63", h(-1, 9223372036854775808u), h(0, 9223372036854775808u), "0", "-18446744073709551616",
     "-85070591730234615865843651857942052864", "-1", "0", -1},
    {"2^64-1 and 1: carry", h(0, UINT64_MAX), 1, "18446744073709551616", "18446744073709551614",
     "18446744073709551615", "18446744073709551615", "0", 1},
    {"2^64 and -1: borrow", h(1, 0), -1, "18446744073709551615", "18446744073709551617",
     "-18446744073709551616", "-18446744073709551616", "0", 1},
    {"2^64+1 and 2^64-1", h(1, 1), h(0, UINT64_MAX), "36893488147419103232", "2", "-1", "1", "2", 1},
    {"lowest and 1", TwoHalfInt::lowest(), 1, "-170141183460469231731687303715884105727",
     "170141183460469231731687303715884105727", "-170141183460469231731687303715884105728",
     "-170141183460469231731687303715884105728", "0", -1},
    {"highest and 1", TwoHalfInt::highest(), 1, "-170141183460469231731687303715884105728",
     "170141183460469231731687303715884105726", "170141183460469231731687303715884105727",
     "170141183460469231731687303715884105727", "0", 1},
    {"lowest and -1", TwoHalfInt::lowest(), -1, "170141183460469231731687303715884105727",
     "-170141183460469231731687303715884105727", "-170141183460469231731687303715884105728",
     "-170141183460469231731687303715884105728", "0", -1},
    {"highest and lowest", TwoHalfInt::highest(), TwoHalfInt::lowest(), "-1", "-1",
     "-170141183460469231731687303715884105728", "0", "170141183460469231731687303715884105727", 1},
    {"-7 and 2", -7, 2, "-5", "-9", "-14", "-3", "-1", -1},
    {"7 and -2", 7, -2, "5", "9", "-14", "-3", "1", 1},
    {"-7 and -2", -7, -2, "-9", "-5", "14", "3", "-1", -1},
    {"-10^30 and 10^9", h(-54210108625, 13369799803404288000u), 1000000000, "-999999999999999999999000000000",
     "-1000000000000000000001000000000", "20847100762815390390123822295304634368", "-1000000000000000000000",
     "0", -1},
    {"10^38 and 10^19", h(5421010862427522170, 687399551400673280u), h(0, 10000000000000000000u),
     "100000000000000000010000000000000000000", "99999999999999999990000000000000000000",
     "-26596012780397245729200590579428229120", "10000000000000000000", "0", 1},
    {"2^100+12345 and -(2^70+3)", h(68719476736, 12345u), h(-65, 18446744073709551613u),
     "1267650599047637780779291914294", "1267650601408821022214114521148", "-3802966375088245960932650422443",
     "-1073741823", "1180591620714190090300", 1},
    {"29 digits and -20 digits", h(669260594, 5097733592125636885u), h(-6, 11915032332380766486u),
     "12345678802469135780246913579", "12345678999999999999999999999",
     "-20985855949127687312470817832162448178", "-124999998", "85030864208626543209", 1},
};

class TwoHalfArithmeticTest : public ::testing::TestWithParam<ArithmeticCase> {};

TEST_P(TwoHalfArithmeticTest, GivesTheExactResult) {
    const ArithmeticCase& c = GetParam();
    EXPECT_EQ(decimalText(c.a + c.b), c.sum);
    EXPECT_EQ(decimalText(c.a - c.b), c.difference);
    EXPECT_EQ(decimalText(c.a * c.b), c.product);
    EXPECT_EQ(decimalText(c.a / c.b), c.quotient);
    EXPECT_EQ(decimalText(c.a % c.b), c.remainder);
    EXPECT_EQ(c.a < c.b, c.order < 0);
    EXPECT_EQ(c.a == c.b, c.order == 0);
    EXPECT_EQ(c.a > c.b, c.order > 0);
    EXPECT_EQ(c.b<c.a, c.order> 0);
}

TEST_P(TwoHalfArithmeticTest, CompoundFormsAgreeWithThePlainOnes) {
    const ArithmeticCase& c = GetParam();
    TwoHalfInt v = c.a;
    EXPECT_EQ(v += c.b, c.a + c.b);
    v = c.a;
    EXPECT_EQ(v -= c.b, c.a - c.b);
    v = c.a;
    EXPECT_EQ(v *= c.b, c.a * c.b);
    v = c.a;
    EXPECT_EQ(v /= c.b, c.a / c.b);
    v = c.a;
    EXPECT_EQ(v %= c.b, c.a % c.b);
    v = c.a;
    EXPECT_EQ(++v, c.a + 1);
    EXPECT_EQ(-c.a, TwoHalfInt(0) - c.a);
}

INSTANTIATE_TEST_SUITE_P(Edges, TwoHalfArithmeticTest, ::testing::ValuesIn(kArithmetic));

struct TextCase {
    TwoHalfInt value;
    const char* text;
};

TEST(TwoHalfIntTest, DecimalTextIsExactAtTheEdges) {
    const TextCase cases[] = {
        {0, "0"},
        {1, "1"},
        {-1, "-1"},
        {h(0, 1000000000), "1000000000"},
        {h(0, 999999999), "999999999"},
        {h(0, 1000000000000000001), "1000000000000000001"},
        {h(0, 9223372036854775808u), "9223372036854775808"},
        {h(-1, 9223372036854775808u), "-9223372036854775808"},
        {h(0, UINT64_MAX), "18446744073709551615"},
        {h(1, 0), "18446744073709551616"},
        {h(1, 1), "18446744073709551617"},
        {h(-1, 0), "-18446744073709551616"},
        {h(54210108624, 5076944270305263616u), "1000000000000000000000000000000"},
        {h(54210108624, 5076944270305263617u), "1000000000000000000000000000001"},
        {TwoHalfInt::highest(), "170141183460469231731687303715884105727"},
        {TwoHalfInt::lowest(), "-170141183460469231731687303715884105728"},
        {TwoHalfInt::lowest() + 1, "-170141183460469231731687303715884105727"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(decimalText(c.value), c.text) << c.text;
}

TEST(TwoHalfIntTest, WidensEveryIntegerTypeWithItsSign) {
    EXPECT_EQ(TwoHalfInt(-1), h(-1, UINT64_MAX));
    EXPECT_EQ(TwoHalfInt(static_cast<short>(-5)), h(-1, UINT64_MAX - 4));
    EXPECT_EQ(TwoHalfInt(INT64_MIN), h(-1, 9223372036854775808u));
    EXPECT_EQ(TwoHalfInt(std::uint64_t{UINT64_MAX}), h(0, UINT64_MAX));
    EXPECT_EQ(TwoHalfInt(4000000000u), h(0, 4000000000u));
    EXPECT_EQ(TwoHalfInt(true), 1);
}

TEST(TwoHalfIntTest, NarrowsToTheLowBitsAndRoundsToTheNearestDouble) {
    EXPECT_EQ(static_cast<std::int64_t>(TwoHalfInt(-5)), -5);
    EXPECT_EQ(static_cast<std::int64_t>(h(1, 7)), 7);
    EXPECT_EQ(static_cast<std::uint64_t>(TwoHalfInt(-1)), UINT64_MAX);
    const struct {
        TwoHalfInt value;
        double expected;
    } doubles[] = {
        {0, 0.0},
        {-3, -3.0},
        {h(0, (std::uint64_t{1} << 53) + 1), 9007199254740992.0}, // a tie: to even
        {h(1, 1), 18446744073709551616.0},
        {h(2, 1), 36893488147419103232.0},
        {h(2, 1 << 12), 36893488147419103232.0},                // 2^65 + half its step: to even
        {h(2, (1 << 12) + 1), 36893488147419103232.0 + 8192.0}, // a bit above the tie
        {h(2, 3 << 12), 36893488147419103232.0 + 16384.0},      // a tie: to even, upward
        {-h(2, (1 << 12) + 1), -(36893488147419103232.0 + 8192.0)},
        {TwoHalfInt::highest(), 170141183460469231731687303715884105728.0}, // 2^127
        {TwoHalfInt::lowest(), -170141183460469231731687303715884105728.0},
    };
    for (const auto& d : doubles)
        EXPECT_EQ(static_cast<double>(d.value), d.expected) << decimalText(d.value);
}

TEST(TwoHalfIntTest, ShiftsAndMasksAcrossTheHalves) {
    const struct {
        TwoHalfInt value;
        int places;
        TwoHalfInt left;
        TwoHalfInt right;
    } shifts[] = {
        {1, 0, 1, 1},
        {1, 63, h(0, 9223372036854775808u), 0},
        {1, 64, h(1, 0), 0},
        {1, 126, h(4611686018427387904, 0), 0},
        {h(1, 9223372036854775808u), 1, h(3, 0), h(0, 13835058055282163712u)},
        {h(8191, UINT64_MAX), 13, h(67108863, 18446744073709543424u), h(0, UINT64_MAX)},
        {TwoHalfInt::highest(), 64, h(-1, 0), h(0, INT64_MAX)},
        {TwoHalfInt::highest(), 127, TwoHalfInt::lowest(), 0},
        // >> keeps the sign, as the compilers' native type does.
        {-1, 5, -32, -1},
        {h(-1, 0), 1, h(-2, 0), h(-1, 9223372036854775808u)},
        {TwoHalfInt::lowest(), 127, 0, -1},
    };
    for (const auto& s : shifts) {
        EXPECT_EQ(s.value << s.places, s.left) << decimalText(s.value) << " << " << s.places;
        EXPECT_EQ(s.value >> s.places, s.right) << decimalText(s.value) << " >> " << s.places;
    }
    EXPECT_EQ(h(1, 5) & h(0, UINT64_MAX), 5);
    EXPECT_EQ(h(3, 0xf0) & h(1, 0x3c), h(1, 0x30));
    EXPECT_EQ(TwoHalfInt(-1) & h(7, 9), h(7, 9));
}

TEST(TwoHalfIntTest, OrdersAsAMapKey) {
    const std::vector<TwoHalfInt> ascending = {
        TwoHalfInt::lowest(), h(-1, 0), INT64_MIN, -1, 0, 1, INT64_MAX, h(0, UINT64_MAX), h(1, 0),
        TwoHalfInt::highest()};
    std::map<std::tuple<std::string, TwoHalfInt>, int> keyed;
    for (std::size_t i = ascending.size(); i-- > 0;)
        keyed[{"key", ascending[i]}] = static_cast<int>(i);
    std::vector<TwoHalfInt> order;
    for (const auto& [key, index] : keyed)
        order.push_back(std::get<1>(key));
    EXPECT_EQ(order, ascending);
    EXPECT_EQ(keyed.at({"key", h(1, 0)}), 8);
}

#if defined(__SIZEOF_INT128__)

using Native = __int128;
using NativeBits = unsigned __int128;

TwoHalfInt fromNative(Native v) {
    return h(static_cast<std::int64_t>(v >> 64), static_cast<std::uint64_t>(v));
}

::testing::AssertionResult same(TwoHalfInt got, Native want, const char* what) {
    if (got == fromNative(want))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << what << ": " << decimalText(got) << " instead of " << decimalText(want);
}

// Every size from one bit to all 128, either sign, and now and then one of the edges.
Native randomValue(std::mt19937_64& random) {
    static constexpr Native kEdges[] = {0,
                                        1,
                                        -1,
                                        Native(1) << 63,
                                        -(Native(1) << 63),
                                        (Native(1) << 64) - 1,
                                        (Native(1) << 64) + 1,
                                        static_cast<Native>(~(NativeBits(1) << 127)),
                                        static_cast<Native>(NativeBits(1) << 127)};
    if (random() % 8 == 0)
        return kEdges[random() % std::size(kEdges)];
    NativeBits bits = (NativeBits(random()) << 64) | random();
    bits >>= random() % 128;
    return static_cast<Native>(random() % 2 == 0 ? bits : NativeBits(0) - bits);
}

TEST(TwoHalfIntTest, AgreesWithTheNativeTypeOnRandomPairs) {
    std::mt19937_64 random(20261209);
    for (int i = 0; i < 4000; ++i) {
        const Native a = randomValue(random), b = randomValue(random);
        const TwoHalfInt x = fromNative(a), y = fromNative(b);
        SCOPED_TRACE(decimalText(a) + " and " + decimalText(b));
        // The native type's overflow is undefined; its unsigned twin wraps as the class does.
        EXPECT_TRUE(same(x + y, static_cast<Native>(NativeBits(a) + NativeBits(b)), "+"));
        EXPECT_TRUE(same(x - y, static_cast<Native>(NativeBits(a) - NativeBits(b)), "-"));
        EXPECT_TRUE(same(x * y, static_cast<Native>(NativeBits(a) * NativeBits(b)), "*"));
        if (b != 0 && !(b == -1 && x == TwoHalfInt::lowest())) {
            EXPECT_TRUE(same(x / y, a / b, "/"));
            EXPECT_TRUE(same(x % y, a % b, "%"));
        }
        EXPECT_EQ(x < y, a < b);
        EXPECT_EQ(x == y, a == b);
        EXPECT_TRUE(same(x & y, a & b, "&"));
        const int places = static_cast<int>(random() % 128);
        EXPECT_TRUE(same(x << places, static_cast<Native>(NativeBits(a) << places), "<<"));
        EXPECT_TRUE(same(x >> places, a >> places, ">>"));
        EXPECT_EQ(decimalText(x), decimalText(a));
        EXPECT_EQ(static_cast<double>(x), static_cast<double>(a));
        EXPECT_EQ(static_cast<std::int64_t>(x), static_cast<std::int64_t>(a));
    }
}

#endif

} // namespace

void PrintTo(const TwoHalfInt& v, std::ostream* os) {
    *os << decimalText(v);
}

} // namespace sorakado
