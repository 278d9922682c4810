// Feeds arbitrary text to ParseNumber and arbitrary doubles to ToInteger and
// ToIndex. Besides not crashing, each must keep what the text boxes rely on:
// blanks anywhere change nothing, nor does a locale with a decimal comma
// (which Qt installs from the environment); an integer written by
// IntegerText reads back as itself; the conversions round halves to even and
// either give a value in range or raise the right error.

#include "model/errors.h"
#include "model/numbers.h"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include <locale.h>

namespace {

void Check(bool ok) {
    if (!ok)
        __builtin_trap();
}

locale_t decimalComma = nullptr;

// The same double, bit for bit (so that -0 differs from 0).
bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The text with blanks, tabs and line feeds taken out, and the same text with
// them put in after every other character.
std::string WithoutBlanks(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            out.push_back(c);
    return out;
}

std::string WithBlanks(std::string_view text) {
    static constexpr char blanks[] = {' ', '\t', '\n'};
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        out.push_back(text[i]);
        if (i % 2 == 1)
            out.push_back(blanks[i % 3]);
    }
    return out;
}

// The nearest integer, halves to even, worked out without the rounding mode:
// x minus its integer part is exact in binary floating point.
double RoundHalfToEven(double x) {
    const double whole = std::trunc(x);
    const double part = std::fabs(x - whole);
    const double away = std::signbit(x) ? -1.0 : 1.0;
    if (part > 0.5 || (part == 0.5 && std::fmod(whole, 2.0) != 0.0))
        return whole + away;
    return whole;
}

// The error a conversion raised, or none.
template <class Conversion>
std::optional<model::ErrorKind> Raised(Conversion&& conversion, long long& result) {
    try {
        result = conversion();
    } catch (const model::RuntimeError& e) {
        return e.kind();
    }
    return std::nullopt;
}

void CheckConversions(double x) {
    const double rounded = RoundHalfToEven(x);
    const bool finite = std::isfinite(x);

    long long value = 0;
    const auto integerError = Raised([&] { return model::ToInteger(x); }, value);
    if (finite && rounded >= -32768 && rounded <= 32767)
        Check(!integerError && static_cast<double>(value) == rounded);
    else
        Check(integerError == model::ErrorKind::Overflow);

    const auto indexError = Raised([&] { return model::ToIndex(x); }, value);
    if (!finite || rounded < -2147483648.0 || rounded > 2147483647.0)
        Check(indexError == model::ErrorKind::Overflow);
    else if (rounded < 1 || rounded > 60)
        Check(indexError == model::ErrorKind::SubscriptOutOfRange);
    else
        Check(!indexError && static_cast<double>(value) == rounded && value >= 1 && value <= 60);
}

double ParseUnderDecimalComma(std::string_view text) {
    const locale_t previous = ::uselocale(decimalComma);
    Check(std::strcmp(std::localeconv()->decimal_point, ",") == 0);
    const double value = model::ParseNumber(text);
    ::uselocale(previous);
    return value;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    decimalComma = ::newlocale(LC_NUMERIC_MASK, "ru_RU.UTF-8", nullptr);
    if (!decimalComma) {
        std::fprintf(stderr, "No ru_RU.UTF-8 locale: run tools/install-deps.sh\n");
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = model::ParseNumber(text);
    Check(!std::isnan(value));
    Check(SameBits(model::ParseNumber(WithoutBlanks(text)), value));
    Check(SameBits(model::ParseNumber(WithBlanks(text)), value));
    Check(SameBits(ParseUnderDecimalComma(text), value));
    CheckConversions(value);

    if (size >= sizeof(std::uint64_t)) {
        // The first bytes as any double, NaNs and halves included.
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        CheckConversions(raw);

        // ... and as an integer that a double holds exactly, written out.
        std::uint64_t bits = 0;
        std::memcpy(&bits, data, sizeof bits);
        constexpr long long limit = 1LL << 53;
        const long long integer =
            static_cast<long long>(bits % static_cast<std::uint64_t>(2 * limit + 1)) - limit;
        const std::string written = model::IntegerText(integer);
        const double read = model::ParseNumber(written);
        Check(read == static_cast<double>(integer));
        Check(SameBits(ParseUnderDecimalComma(WithBlanks(written)), read));
        long long back = 0;
        const auto error = Raised([&] { return model::ToInteger(read); }, back);
        if (integer >= -32768 && integer <= 32767)
            Check(!error && back == integer);
        else
            Check(error == model::ErrorKind::Overflow);
    }
    return 0;
}
