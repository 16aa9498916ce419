// The fuzzed properties, one function per subject. Each takes arbitrary
// bytes, must never crash or trip a sanitizer, and aborts (via Check) when
// a property fails. libFuzzer drives them; the test suite replays the seed
// corpus and every input that once failed.
#pragma once

#include <cstddef>
#include <cstdint>

namespace torvane::fuzz {

// Point-file bytes: reading them and converting them into a result table.
void PointFile(const std::uint8_t* data, std::size_t size);
// Text of an input box: the leading-number rule and the strict reader.
void LeadingNumber(const std::uint8_t* data, std::size_t size);
// A ddd.mmss value (eight bytes of a double, or its text): angles.
void Dms(const std::uint8_t* data, std::size_t size);
// A double and a pattern: pattern formatting and the table's fast writers.
void Pattern(const std::uint8_t* data, std::size_t size);
// DXF bytes: a drawing converted, unmoved, and there and back.
void Drawing(const std::uint8_t* data, std::size_t size);
// Project-file bytes: read, and what is read written and read again.
void Project(const std::uint8_t* data, std::size_t size);

}  // namespace torvane::fuzz
