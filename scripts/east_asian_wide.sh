#!/usr/bin/env bash
# Writes batch/east_asian_wide.h to standard output: the code points that
# Unicode's EastAsianWidth.txt gives as Wide (W) or Fullwidth (F), adjacent
# ranges joined. The file comes from Debian's unicode-data package unless
# another is named.
# Usage: scripts/east_asian_wide.sh [EastAsianWidth.txt] > batch/east_asian_wide.h
set -euo pipefail
data=${1:-/usr/share/unicode/EastAsianWidth.txt}
version=$(head -1 "$data" | sed -n 's/^# EastAsianWidth-\(.*\)\.txt.*/\1/p')
[ -n "$version" ] || { echo "$data: not an EastAsianWidth.txt" >&2; exit 1; }

cat <<HEADER
// The code points that Unicode ${version}'s East Asian Width gives as Wide (W)
// or Fullwidth (F): those a fixed-width font draws two columns wide. Ranges
// in ascending order, both ends included, adjacent ones joined.
// Generated from EastAsianWidth.txt (Debian package unicode-data) by
//   scripts/east_asian_wide.sh > batch/east_asian_wide.h
// Remake it that way rather than edit it.
#pragma once

namespace torvane {

struct CodePointRange {
  char32_t first, last;
};

// clang-format off
inline constexpr CodePointRange kEastAsianWide[] = {
HEADER
# Lines look like "4E00..9FFF;W  # Lo ..." or "3000;F  # Zs ...", in order.
first=-1
last=-1
while IFS=';' read -r points width; do
  case ${width%%[[:space:]#]*} in W | F) ;; *) continue ;; esac
  from=$((16#${points%%..*}))
  to=$((16#${points##*..}))
  if [ "$first" -ge 0 ] && [ "$from" -eq $((last + 1)) ]; then
    last=$to
    continue
  fi
  [ "$first" -lt 0 ] || printf '    {0x%04X, 0x%04X},\n' "$first" "$last"
  first=$from
  last=$to
done < <(grep -E '^[0-9A-F]' "$data")
printf '    {0x%04X, 0x%04X},\n' "$first" "$last"
cat <<FOOTER
};
// clang-format on

}  // namespace torvane
FOOTER
