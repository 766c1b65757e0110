#include "text/numbers.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace terrova {
namespace {

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

constexpr uint64_t kIntPowersOfTen[] = {1,      10,      100,      1000,      10000,
                                        100000, 1000000, 10000000, 100000000, 1000000000};

// The number of decimal digits of v (1 for 0).
int digit_count(uint64_t v) {
  int n = 1;
  while (v >= 10000) {
    v /= 10000;
    n += 4;
  }
  if (v >= 100) {
    n += 2;
    v /= 100;
  }
  return v >= 10 ? n + 1 : n;
}

// Writes exactly `count` digits of v, the last digits of v zero-padded on the left, from the end
// backwards.
char* write_digits(char* p, uint64_t v, int count) {
  char* const end = p + count;
  char* q = end;
  while (q - p >= 2) {
    const unsigned pair = static_cast<unsigned>(v % 100) * 2;
    v /= 100;
    *--q = kDigitPairs[pair + 1];
    *--q = kDigitPairs[pair];
  }
  if (q != p) *--q = static_cast<char>('0' + v % 10);
  return end;
}

// The digits of n with the point before the last `kPrecision` of them. The precision is a
// constant, so that the division by its power of ten is a multiplication.
template <int kPrecision>
char* write_point_digits(char* p, uint64_t n) {
  constexpr uint64_t kUnit = kIntPowersOfTen[kPrecision];
  const uint64_t whole = n / kUnit;
  p = write_digits(p, whole, digit_count(whole));
  *p++ = '.';
  return write_digits(p, n - whole * kUnit, kPrecision);
}

// Writes the decimal digits of v, at least min_digits of them (none for 0 with min_digits 0).
char* write_decimal(char* p, uint64_t v, int min_digits) {
  int count = v == 0 && min_digits == 0 ? 0 : digit_count(v);
  if (count < min_digits) count = min_digits;
  return write_digits(p, v, count);
}

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};

// Splits a into two halves whose products are exact (Veltkamp).
inline void split(double a, double& hi, double& lo) {
  double c = 134217729.0 * a;  // 2^27 + 1
  hi = c - (c - a);
  lo = a - hi;
}

// The exact rounding error of r = a * b, so that a * b == r + error exactly (Dekker).
inline double product_error(double a, double b, double r) {
  double ah, al, bh, bl;
  split(a, ah, al);
  split(b, bh, bl);
  return ((ah * bh - r) + ah * bl + al * bh) + al * bl;
}

// Rounds a * 10^precision to the nearest integer, ties to even, from the exact product. Returns
// false when the value is outside the range where that can be done with doubles alone.
bool scaled_round(double a, int precision, uint64_t& result) {
  const double scale = kPowersOfTen[precision];
  const double r = a * scale;
  if (!(r < 4503599627370496.0)) return false;  // 2^52: half-integers are still exact
  // Adding and taking away 2^52 rounds r to an integer, ties to even, exactly: above 2^52 the
  // doubles are the integers.
  const double n = (r + 4503599627370496.0) - 4503599627370496.0;
  const double diff = r - n;  // exact
  if (diff == 0.5 || diff == -0.5) {
    // r is a half-integer; the rounding error of the product decides the side, and only a zero
    // error is a true tie. (Far below every such boundary the error term would underflow.)
    const double e = a < 1e-200 ? 0.0 : product_error(a, scale, r);
    const double below = diff > 0 ? n : n - 1;  // floor(r)
    if (e > 0) {
      result = static_cast<uint64_t>(below + 1);
    } else if (e < 0) {
      result = static_cast<uint64_t>(below);
    } else {
      result = static_cast<uint64_t>(n);
    }
  } else {
    // |diff| <= 0.5 - ulp(r) and the error is at most ulp(r) / 2, so n is the correct rounding.
    result = static_cast<uint64_t>(n);
  }
  return true;
}

}  // namespace

char* write_signed(char* p, int32_t value, int min_digits) {
  uint64_t magnitude;
  if (value < 0) {
    *p++ = '-';
    magnitude = static_cast<uint64_t>(-static_cast<int64_t>(value));
  } else {
    magnitude = static_cast<uint64_t>(value);
  }
  return write_decimal(p, magnitude, min_digits);
}

char* write_unsigned(char* p, uint32_t value, int min_digits) {
  return write_decimal(p, value, min_digits);
}

char* write_hex(char* p, uint32_t value, int min_digits, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  char tmp[8];
  int n = 0;
  while (value != 0) {
    tmp[n++] = digits[value & 15];
    value >>= 4;
  }
  for (int i = n; i < min_digits; ++i) *p++ = '0';
  while (n > 0) *p++ = tmp[--n];
  return p;
}

char* write_fixed(char* p, double value, int precision) {
  if (precision >= 0 && precision <= 9 && std::isfinite(value)) {
    uint64_t n;
    if (scaled_round(std::fabs(value), precision, n)) {
      if (std::signbit(value)) *p++ = '-';
      switch (precision) {
        case 0:
          return write_digits(p, n, digit_count(n));
        case 1:
          return write_point_digits<1>(p, n);
        case 2:
          return write_point_digits<2>(p, n);
        case 3:
          return write_point_digits<3>(p, n);
        case 4:
          return write_point_digits<4>(p, n);
        case 5:
          return write_point_digits<5>(p, n);
        case 6:
          return write_point_digits<6>(p, n);
        case 7:
          return write_point_digits<7>(p, n);
        case 8:
          return write_point_digits<8>(p, n);
        default:
          return write_point_digits<9>(p, n);
      }
    }
  }
  // Large values and non-finite ones: the library's exact conversion.
  char* end = p + fixed_room(value, precision);
  return std::to_chars(p, end, value, std::chars_format::fixed, precision).ptr;
}

}  // namespace terrova
