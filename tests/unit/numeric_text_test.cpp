// The numeric-text test every typed number goes through, and the amounts it gives.

#include "monthly/numeric_text.h"

#include <gtest/gtest.h>

#include <ostream>

namespace sorakado {
namespace {

struct Accepted {
    const char* text; // UTF-8
    bool negative;
    const char* whole;
    const char* fraction;
};

void PrintTo(const Accepted& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class NumericTextAccepted : public ::testing::TestWithParam<Accepted> {};

TEST_P(NumericTextAccepted, GivesSignAndPlainDigits) {
    auto v = parseNumericText(QString::fromUtf8(GetParam().text));
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->negative, GetParam().negative);
    EXPECT_EQ(v->whole, GetParam().whole);
    EXPECT_EQ(v->fraction, GetParam().fraction);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NumericTextAccepted,
    ::testing::Values(
        // plain, signed, leading and trailing zeros
        Accepted{"0", false, "0", ""}, Accepted{"2006", false, "2006", ""}, Accepted{"+4", false, "4", ""},
        Accepted{"-12", true, "12", ""}, Accepted{"-0", false, "0", ""}, Accepted{"-0.00", false, "0", ""},
        Accepted{"02006", false, "2006", ""}, Accepted{"12.50", false, "12", "5"},
        Accepted{".5", false, "0", "5"}, Accepted{"5.", false, "5", ""}, Accepted{"-.25", true, "0", "25"},
        // grouping commas in threes
        Accepted{"1,000", false, "1000", ""}, Accepted{"12,345,678", false, "12345678", ""},
        Accepted{"-1,234.5", true, "1234", "5"}, Accepted{"999,999", false, "999999", ""},
        // yen signs before or after the sign
        Accepted{"\\1000", false, "1000", ""}, Accepted{"¥1000", false, "1000", ""},
        Accepted{"￥1,000", false, "1000", ""}, Accepted{"-\\500", true, "500", ""},
        Accepted{"\\-500", true, "500", ""}, Accepted{"+￥3", false, "3", ""},
        // full-width forms
        Accepted{"２００６", false, "2006", ""}, Accepted{"－５", true, "5", ""},
        Accepted{"＋４", false, "4", ""}, Accepted{"１，０００．５", false, "1000", "5"},
        Accepted{"＼１２", false, "12", ""},
        // blanks around
        Accepted{" 12 ", false, "12", ""}, Accepted{"\t12\t", false, "12", ""},
        Accepted{"　２００６　", false, "2006", ""}, Accepted{" 　-\\1,000.5　 ", true, "1000", "5"}));

class NumericTextRefused : public ::testing::TestWithParam<const char*> {};

TEST_P(NumericTextRefused, IsNotNumeric) {
    EXPECT_FALSE(isNumericText(QString::fromUtf8(GetParam())));
}

INSTANTIATE_TEST_SUITE_P(Texts, NumericTextRefused,
                         ::testing::Values("", " ", "　", ".", "-", "+", "\\", "¥", "-\\", "abc", "12a",
                                           "a12",
                                           // blanks inside
                                           "1 000", "1　000", "- 5", "\\ 5", "1. 5",
                                           // exponents, hexadecimal, a trailing sign, parentheses
                                           "1e3", "1E3", "１ｅ３", "0x1F", "5-", "(5)", "--5", "+-5", "\\\\5",
                                           "5\\",
                                           // commas out of place
                                           "1,00", ",100", "1,0000", "1000,000", "1,,000", "1,000,00", "100,",
                                           "1.000,5", "1.2.3", ".,5",
                                           // other characters
                                           "١٢", "½", "∞", "12円", "$12"));

struct AmountCase {
    const char* text;
    const char* amount; // nullptr when refused
};

void PrintTo(const AmountCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class NumericTextAmount : public ::testing::TestWithParam<AmountCase> {};

TEST_P(NumericTextAmount, IsExactWithinFourDecimalsAndTenToTheFifteen) {
    auto v = parseNumericText(QString::fromUtf8(GetParam().text));
    ASSERT_TRUE(v.has_value());
    auto a = v->toAmount();
    if (GetParam().amount) {
        ASSERT_TRUE(a.has_value());
        EXPECT_EQ(a->text(), GetParam().amount);
    } else {
        EXPECT_FALSE(a.has_value()) << a->text();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NumericTextAmount,
    ::testing::Values(AmountCase{"1", "1"}, AmountCase{"-0", "0"}, AmountCase{".5", "0.5"},
                      AmountCase{"0.0001", "0.0001"}, AmountCase{"1.23450", "1.2345"},
                      AmountCase{"1.23456", nullptr}, AmountCase{"0.00001", nullptr},
                      AmountCase{"\\-1,234.5", "-1234.5"}, AmountCase{"1000000000000000", "1000000000000000"},
                      AmountCase{"-1,000,000,000,000,000", "-1000000000000000"},
                      AmountCase{"1000000000000000.0000", "1000000000000000"},
                      AmountCase{"99,999,999,999.9999", "99999999999.9999"},
                      AmountCase{"1000000000000000.0001", nullptr}, AmountCase{"1000000000000001", nullptr},
                      AmountCase{"-1000000000000001", nullptr}, AmountCase{"99999999999999999999", nullptr},
                      AmountCase{"0001000000000000000", "1000000000000000"}));

} // namespace
} // namespace sorakado
