// The calibration report as a file, PDF or HTML, and on a printer; the PDF
// and the printer's pages laid out as desktop/calibration_pages.h lays
// them out, the HTML as report/calibration_html.h writes it.
#pragma once

#include <QByteArray>
#include <string>
#include <string_view>

#include "base/expected.h"
#include "report/calibration_document.h"

class QPrinter;

namespace torvane {

// The report's PDF: A4 portrait, titled with the document's title, made by
// "Torvane", every font embedded, in ChooseReportFont's family, its texts
// cut as PaperDocument cuts them. Rejects,
// with its message, a system with no Simplified Chinese font, whose PDF
// would be boxes. Needs the application object.
Expected<QByteArray> CalibrationPdf(const CalibrationDocument& document);

// Writes `bytes` to `utf8_path` all or nothing, as result tables are
// written (os/pending_file.h): the file is made in full before it takes
// the name, and on any failure the name keeps what it had. Rejects a
// folder, a device or pipe, and a file that cannot be written, with a
// Chinese message naming the file and the system's reason.
Expected<void> WriteReportFile(const std::string& utf8_path, std::string_view bytes);

// WriteReportFile of CalibrationPdf; its refusal as it gives it.
Expected<void> WriteCalibrationPdf(const std::string& utf8_path,
                                   const CalibrationDocument& document);

enum class ReportFormat { kPdf, kHtml };

// WriteReportFile of the report in `format`: CalibrationPdf, or the HTML
// file `torvane-cli solve --report` writes, its plot CalibrationPlotSvg.
Expected<void> WriteCalibrationReport(const std::string& utf8_path,
                                      const CalibrationDocument& document, ReportFormat format);

// Prints the report on `printer` as the user set it up (a PDF file
// included). Fails, saying so in Chinese, when the printer cannot start
// or no Simplified Chinese font is installed (CalibrationPdf).
Expected<void> PrintCalibrationReport(QPrinter& printer, const CalibrationDocument& document);

}  // namespace torvane
