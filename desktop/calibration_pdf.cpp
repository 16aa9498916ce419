#include "desktop/calibration_pdf.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QPrinter>
#include <QString>
#include <cassert>
#include <cerrno>
#include <cstdio>

#include "batch/run_error.h"
#include "desktop/calibration_pages.h"
#include "os/file_system.h"
#include "os/pending_file.h"

namespace torvane {

QByteArray CalibrationPdf(const CalibrationDocument& document) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setTitle(QString::fromStdString(document.title));
    writer.setCreator(QStringLiteral("Torvane"));
    const int pages = PaintCalibrationPages(writer, document);
    assert(pages > 0);  // a writer into memory always starts
    (void)pages;
  }  // the writer finishes the file as it goes
  return bytes;
}

Expected<void> WriteCalibrationPdf(const std::string& utf8_path,
                                   const CalibrationDocument& document) {
  const std::string where = EscapeControlBytes(utf8_path);
  const std::filesystem::path target = PathFromUtf8(utf8_path);
  switch (KindOf(target)) {
    case PathKind::kMissing:
    case PathKind::kFile:
      break;
    case PathKind::kFolder:
      return Fail(where + "：是文件夹，报告未写出");
    case PathKind::kStream:
      return Fail(where + "：不是普通文件，报告未写出");
  }
  const QByteArray bytes = CalibrationPdf(document);
  int error = 0;
  const auto pending = PendingFile::Begin(target, &error);
  if (!pending) return Fail(where + "：无法写入（" + SystemReason(error) + "），报告未写出");
  const auto size = static_cast<std::size_t>(bytes.size());
  if (std::fwrite(bytes.constData(), 1, size, pending->stream()) != size ||
      std::fflush(pending->stream()) != 0) {
    return Fail(where + "：无法写入（" + SystemReason(errno) + "），报告未写出");
  }
  if (const int failed = pending->Commit()) {
    return Fail(where + "：无法写入（" + SystemReason(failed) + "），报告未写出");
  }
  return {};
}

Expected<void> PrintCalibrationReport(QPrinter& printer, const CalibrationDocument& document) {
  printer.setDocName(QString::fromStdString(document.title));
  printer.setCreator(QStringLiteral("Torvane"));
  if (PaintCalibrationPages(printer, document) == 0) {
    return Fail("打印机“" + printer.printerName().toStdString() + "”无法开始打印，报告未打印");
  }
  return {};
}

}  // namespace torvane
