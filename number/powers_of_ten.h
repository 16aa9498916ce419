// Powers of ten held exactly, as 64-bit integers and as doubles.
#pragma once

#include <cstdint>

namespace torvane {

// The most decimal digits of which every value fits in 64 bits: 10^19 - 1
// does, 10^20 - 1 does not.
inline constexpr int kUint64Digits = 19;

// 10^0 to 10^19, all that a 64-bit integer holds; index them with 0 to
// kUint64Digits.
inline constexpr std::uint64_t kPow10[kUint64Digits + 1] = {1ULL,
                                                            10ULL,
                                                            100ULL,
                                                            1000ULL,
                                                            10000ULL,
                                                            100000ULL,
                                                            1000000ULL,
                                                            10000000ULL,
                                                            100000000ULL,
                                                            1000000000ULL,
                                                            10000000000ULL,
                                                            100000000000ULL,
                                                            1000000000000ULL,
                                                            10000000000000ULL,
                                                            100000000000000ULL,
                                                            1000000000000000ULL,
                                                            10000000000000000ULL,
                                                            100000000000000000ULL,
                                                            1000000000000000000ULL,
                                                            10000000000000000000ULL};

// 10^0 to 10^22, the powers of ten that are exact doubles; index them with
// 0 to kMaxExactPow10.
inline constexpr int kMaxExactPow10 = 22;
inline constexpr double kExactPow10[kMaxExactPow10 + 1] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

}  // namespace torvane
