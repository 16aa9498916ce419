#include "number/digit_run.h"

#include "number/powers_of_ten.h"

namespace torvane {

DigitRunValue LongDigitRun(const char* first, const char* last) {
  using digit_run_detail::DigitsValue;
  using digit_run_detail::NonDigits;
  assert(last - first >= static_cast<std::ptrdiff_t>(kWordBytes));
  DigitRunValue run{kWordBytes, DigitsValue(LoadWord(first), kWordBytes)};
  for (;;) {
    const std::uint64_t word = LoadWordBefore(first + run.count, last);
    const std::uint64_t not_digit = NonDigits(word);
    const std::size_t more =
        not_digit == 0 ? kWordBytes : static_cast<unsigned>(std::countr_zero(not_digit)) / 8;
    if (run.count + more <= static_cast<std::size_t>(kUint64Digits)) {
      run.value = run.value * kPow10[more] + DigitsValue(word, more);
    }
    run.count += more;
    if (more < kWordBytes) return run;
  }
}

}  // namespace torvane
