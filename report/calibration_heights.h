// The calibration report's height section: the model fitted to the common
// points' heights, why it, its terms and checks, and its points.
#pragma once

#include "report/calibration_document.h"
#include "site/site_heights.h"

namespace torvane {

// Adds the section of `heights` to `document` where a model is fitted:
// heights gets HeightParameterFigures then HeightStatisticFigures;
// height_rows every height fit point then every height check point; the
// model's 高程处理 says the model applied and 公共点高程 how many points
// took part. Leaves `document` as it is where no model is fitted.
void AddHeightSection(CalibrationDocument& document, const SiteHeights& heights);

}  // namespace torvane
