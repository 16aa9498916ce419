#include "desktop/report_file.h"

#include <QBuffer>
#include <QFile>
#include <QPdfWriter>
#include <QPrinter>
#include <QString>
#include <cassert>
#include <cerrno>
#include <cstdio>

#include "batch/run_error.h"
#include "desktop/calibration_pages.h"
#include "desktop/paper_texts.h"
#include "desktop/pdf_text_names.h"
#include "desktop/report_font.h"
#include "os/file_system.h"
#include "os/pending_file.h"
#include "report/calibration_html.h"

namespace torvane {

Expected<QByteArray> CalibrationPdf(const CalibrationDocument& document) {
  const auto font = ChooseReportFont();
  if (!font) return Fail(font.error());
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setTitle(QString::fromStdString(document.title));
    writer.setCreator(QStringLiteral("Torvane"));
    const int pages = PaintCalibrationPages(writer, PaperDocument(document));
    assert(pages > 0);  // a writer into memory always starts
    (void)pages;
  }  // the writer finishes the file as it goes
  RenameGlyphs(bytes, font->radical_names);
  return bytes;
}

Expected<void> WriteReportFile(const std::string& utf8_path, std::string_view bytes) {
  const std::string where = EscapeControlBytes(utf8_path);
  const std::filesystem::path target = PathFromUtf8(utf8_path);
  if (const auto failure = WriteWholeFile(target, bytes)) {
    switch (failure->kind) {
      case PathKind::kFolder:
        return Fail(where + "：是文件夹，报告未写出");
      case PathKind::kStream:
        return Fail(where + "：不是普通文件，报告未写出");
      case PathKind::kMissing:
      case PathKind::kFile:
        return Fail(where + "：无法写入（" + SystemReason(failure->error) + "），报告未写出");
    }
  }
  return {};
}

Expected<void> WriteCalibrationPdf(const std::string& utf8_path,
                                   const CalibrationDocument& document) {
  const auto bytes = CalibrationPdf(document);
  if (!bytes) return Fail(bytes.error());
  return WriteReportFile(utf8_path, std::string_view(bytes->constData(), bytes->size()));
}

Expected<void> WriteCalibrationReport(const std::string& utf8_path,
                                      const CalibrationDocument& document, ReportFormat format) {
  if (format == ReportFormat::kPdf) return WriteCalibrationPdf(utf8_path, document);
  return WriteReportFile(utf8_path, CalibrationHtml(document, CalibrationPlotSvg(document)));
}

Expected<void> PrintCalibrationReport(QPrinter& printer, const CalibrationDocument& document) {
  const auto font = ChooseReportFont();
  if (!font) return Fail(font.error());
  printer.setDocName(QString::fromStdString(document.title));
  printer.setCreator(QStringLiteral("Torvane"));
  if (PaintCalibrationPages(printer, PaperDocument(document)) == 0) {
    return Fail("打印机“" + printer.printerName().toStdString() + "”无法开始打印，报告未打印");
  }
  // Printed to a PDF file (the print dialog's 打印到文件), Qt's own writer
  // made it: its glyphs are named as an exported report's are.
  if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty()) {
    return {};
  }
  QFile printed(printer.outputFileName());
  if (!printed.open(QIODevice::ReadOnly)) {
    return Fail(EscapeControlBytes(printed.fileName().toStdString()) + "：无法读回（" +
                printed.errorString().toStdString() + "），其中文字复制或搜索时可能有误");
  }
  QByteArray pdf = printed.readAll();
  printed.close();
  RenameGlyphs(pdf, font->radical_names);
  return WriteReportFile(printed.fileName().toStdString(),
                         std::string_view(pdf.constData(), pdf.size()));
}

}  // namespace torvane
