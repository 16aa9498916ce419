// Whether a paste without a header looks as if its columns were exchanged,
// told before it is taken.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "site/project_file.h"

namespace torvane {

// Beyond this the construction columns hold survey-grid magnitudes (metres):
// national grids' northings and eastings are hundreds of kilometres.
inline constexpr double kNationalGridMagnitude = 1e5;
// ...when they are this many times the survey columns' magnitude.
inline constexpr double kExchangedRatio = 100;

// Why the rows' columns look exchanged, a sentence in Chinese: the
// construction columns hold national-grid magnitudes that the survey
// columns do not (by the median of |X| + |Y| over the rows whose four
// coordinates are numbers), or the fit of the fit rows says X and Y are
// exchanged in one grid (WarnSite, rigid). None when neither.
std::optional<std::string> PasteDoubt(std::span<const ProjectPoint> rows);

}  // namespace torvane
