// The calibration report (report/calibration_document.h) laid out on A4
// portrait pages of a PDF writer or a printer: the title and its block,
// the parameters, formulas and inverse parameters, the residual of every
// point (those beyond 2×RMS and the likely blunders in red and marked), the
// statistics, the warnings, the site plot, the input files with their
// SHA-256, and "第 1 页 / 共 3 页" at the foot of every page. A table too
// long for its page goes on over the next with its heading again.
//
// Every text is drawn as text in the report's Chinese font, which the PDF
// embeds, so that it can be selected and read back digit for digit; the
// plot is drawn as lines, never as a picture. Sizes are points and
// millimetres, whatever the device's resolution.
#pragma once

#include <QString>

#include "report/calibration_document.h"

class QPagedPaintDevice;

namespace torvane {

// The report's paper, its margins in millimetres.
inline constexpr double kReportMarginMm = 18;

// The family the report writes Chinese in: ChooseReportFont's
// (desktop/report_font.h), the first installed of the usual Simplified
// Chinese fonts whose characters read back from the PDF as drawn; empty
// when no Simplified Chinese font is installed. Needs the application object.
QString ReportFamily();

// Sets `device` to A4 portrait with kReportMarginMm all round and paints
// `document` on it, as many pages as it takes. Returns the number of pages
// painted, or 0 when no painter could be started on the device (a printer
// that cannot be opened). Needs the application object.
int PaintCalibrationPages(QPagedPaintDevice& device, const CalibrationDocument& document);

}  // namespace torvane
