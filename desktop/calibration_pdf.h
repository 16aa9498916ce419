// The calibration report as a PDF file and on a printer, laid out as
// desktop/calibration_pages.h lays it out.
#pragma once

#include <QByteArray>
#include <string>

#include "base/expected.h"
#include "report/calibration_document.h"

class QPrinter;

namespace torvane {

// The report's PDF: A4 portrait, titled with the document's title, made by
// "Torvane", every font embedded. Needs the application object.
QByteArray CalibrationPdf(const CalibrationDocument& document);

// Writes CalibrationPdf to `utf8_path` all or nothing, as result tables are
// written (os/pending_file.h): the file is made in full before it takes
// the name, and on any failure the name keeps what it had. Rejects a
// folder, a device or pipe, and a file that cannot be written, with a
// Chinese message naming the file and the system's reason.
Expected<void> WriteCalibrationPdf(const std::string& utf8_path,
                                   const CalibrationDocument& document);

// Prints the report on `printer` as the user set it up (a PDF file
// included). Fails, saying so in Chinese, when the printer cannot start.
Expected<void> PrintCalibrationReport(QPrinter& printer, const CalibrationDocument& document);

}  // namespace torvane
