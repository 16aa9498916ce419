#include "desktop/run_failure_message.h"

#include <QDir>

#include <cerrno>

namespace torvane {

namespace {

QString Native(const std::string& path) {
  return QDir::toNativeSeparators(QString::fromStdString(path));
}

// "坐标文件“pts.csv”第 7 行" or, without a line, "坐标文件“pts.csv”".
QString Where(const RunError& error) {
  QString where = QStringLiteral("坐标文件“%1”").arg(Native(error.path));
  if (error.line > 0) where += QStringLiteral("第 %1 行").arg(error.line);
  return where;
}

// "图形“site.dxf”第 1234 行" or, without a line, "图形“site.dxf”".
QString DrawingWhere(const RunError& error) {
  QString where = QStringLiteral("图形“%1”").arg(Native(error.path));
  if (error.line > 0) where += QStringLiteral("第 %1 行").arg(error.line);
  return where;
}

// "HATCH（句柄 2F）", or "HATCH" for an entity without a handle.
QString DrawingEntity(const RunError& error) {
  QString entity = QStringLiteral("实体 %1").arg(QString::fromStdString(error.entity_type));
  if (!error.handle.empty()) {
    entity += QStringLiteral("（句柄 %1）").arg(QString::fromStdString(error.handle));
  }
  return entity;
}

// Every entity that stops a drawing, by kind, where there is more than
// the one named: "\n图形中无法转换的实体，按类：\n  MLINE（无法转换）：12 个，
// 第 5 行（句柄 A0）、…，另有 2 个"; empty otherwise.
QString BlockingText(const RunError& error) {
  if (error.blocking.empty()) return QString();
  QString text = QStringLiteral("\n图形中无法转换的实体，按类：");
  for (const BlockingKind& k : error.blocking) {
    const QString why = k.kind == RunErrorKind::kDrawingProxy ? QStringLiteral("代理实体")
                        : k.kind == RunErrorKind::kDrawingExtrusion
                            ? QStringLiteral("倾斜平面，比例不为 1")
                        : IsAcisBody(k.type) ? QStringLiteral("ACIS 实体，无法转换")
                                             : QStringLiteral("无法转换");
    QStringList places;
    for (const EntityPlace& place : k.first) {
      QString at = QStringLiteral("第 %1 行").arg(place.line);
      if (!place.handle.empty()) {
        at +=
            QStringLiteral("（句柄 %1）").arg(QString::fromStdString(MessageExcerpt(place.handle)));
      }
      places << at;
    }
    text += QStringLiteral("\n  %1（%2）：%3 个，%4")
                .arg(QString::fromStdString(MessageExcerpt(k.type)), why)
                .arg(k.count)
                .arg(places.join(QStringLiteral("、")));
    if (k.count > k.first.size())
      text += QStringLiteral("，另有 %1 个").arg(k.count - k.first.size());
  }
  if (error.blocking_others > 0) {
    text += QStringLiteral("\n  另有其他类的实体 %1 个").arg(error.blocking_others);
  }
  return text;
}

// The reason in Chinese where it is a usual one; the system's own words
// (English) for the rest. The reasons are told apart by their texts, those of
// SystemReason for the same errno values, so they match on every system.
QString ChineseReason(const std::string& detail) {
  static const struct {
    int error_number;
    const char* chinese;
  } kSystemReasons[] = {
      {ENOENT, "文件或文件夹不存在"},
      // On Windows also a file open in another program (a sharing violation).
      {EACCES, "没有访问权限，或文件正被其他程序使用"},
      {EPERM, "没有操作权限"},
      {ENOSPC, "磁盘空间已满"},
      {EFBIG, "文件太大"},
      {EISDIR, "这是文件夹，不是文件"},
      {EBUSY, "文件正被其他程序使用"},
      {ETXTBSY, "文件正被其他程序使用"},
  };
  // Windows' C runtime has one text for every number it does not know
  // (ETXTBSY among them): that text is no usual reason.
  const std::string unknown = SystemReason(-1);
  for (const auto& reason : kSystemReasons) {
    const std::string text = SystemReason(reason.error_number);
    if (detail == text && text != unknown) return QString::fromUtf8(reason.chinese);
  }
  // The reasons the conversion run gives in words of its own.
  if (detail == kIsAFolder) return QStringLiteral("这是文件夹，不是文件");
  if (detail == kFolderInTheWay) return QStringLiteral("已有同名的文件夹");
  if (detail == kLinkToNothing) return QStringLiteral("这是指向不存在之处的链接");
  return QString::fromStdString(detail);
}

QString Reason(const RunError& error) {
  return error.detail.empty() ? QString() : QStringLiteral("：%1").arg(ChineseReason(error.detail));
}

}  // namespace

QString RunFailureMessage(const RunError& error) {
  const QString field = QString::fromStdString(error.field);
  const QString text = QString::fromStdString(MessageExcerpt(error.field_text));
  QString what;
  bool drawing = false;  // a drawing refused, rather than a point file
  switch (error.kind) {
    case RunErrorKind::kCannotOpen:
      what = QStringLiteral("无法打开坐标文件“%1”%2。").arg(Native(error.path), Reason(error));
      break;
    case RunErrorKind::kCannotRead:
      what = QStringLiteral("读取%1时出错%2。").arg(Where(error), Reason(error));
      break;
    case RunErrorKind::kNoPoints:
      what = QStringLiteral("坐标文件“%1”中没有点。").arg(Native(error.path));
      break;
    case RunErrorKind::kTooFewFields:
      what = QStringLiteral("%1不是“点名, X, Y, H”形式的点：“%2”。").arg(Where(error), text);
      break;
    case RunErrorKind::kNotACommonPoint:
      what = QStringLiteral("%1不是“点名, Xs, Ys, Xc, Yc”形式的公共点：“%2”。")
                 .arg(Where(error), text);
      break;
    case RunErrorKind::kDuplicateName:
      what = QStringLiteral("%1的点名“%2”与第 %3 行重复。")
                 .arg(Where(error), text)
                 .arg(error.other_line);
      break;
    case RunErrorKind::kNotANumber:
      what = QStringLiteral("%1的 %2 坐标“%3”不是数字。").arg(Where(error), field, text);
      break;
    case RunErrorKind::kNumberTooLarge:
      what = QStringLiteral("%1的 %2 坐标“%3”数值过大。").arg(Where(error), field, text);
      break;
    case RunErrorKind::kBadEncoding:
      if (error.field == "UTF-16") {
        what = QStringLiteral("%1“%2”不是 UTF-16 编码的文字：%3。")
                   .arg(Where(error), text,
                        error.detail == kUtf16OddLength
                            ? QStringLiteral("文件在半个字符处结束（字节数为奇数）")
                            : QStringLiteral("有不成对的代理项（surrogate）"));
        break;
      }
      // The window tells no encoding: only a BOM does.
      what = error.field.empty()
                 ? QStringLiteral("%1既不是 UTF-8 也不是 GBK 编码的文字。").arg(Where(error))
                 : QStringLiteral(
                       "%1不是 UTF-8 编码的文字，但文件开头有 UTF-8 的字节顺序标记（BOM）。")
                       .arg(Where(error));
      break;
    case RunErrorKind::kHeaderLine:
      what = QStringLiteral(
                 "%1“%2”像是表头，不是点：X 和 Y 都不是数字。\n"
                 "请删去坐标文件中的表头行后再转换，或改用命令行 torvane-cli convert "
                 "--skip-lines=%3 跳过它。")
                 .arg(Where(error), text)
                 .arg(error.line);
      break;
    case RunErrorKind::kWorkbook:
      what = QStringLiteral(
                 "坐标文件“%1”是电子表格工作簿，不是文本文件：请在电子表格软件中"
                 "另存为“CSV (逗号分隔)”格式后再转换。")
                 .arg(Native(error.path));
      break;
    case RunErrorKind::kNulByte:
      what = QStringLiteral(
                 "%1含有空字符（NUL），不是 UTF-8 或 GBK 编码的文字（是否存成了 UTF-16？）。")
                 .arg(Where(error));
      break;
    case RunErrorKind::kLineTooLong:
      what =
          QStringLiteral("%1超过 %2 字节，不是坐标文件的一行。").arg(Where(error)).arg(error.limit);
      break;
    case RunErrorKind::kTooManyFields:
      what = QStringLiteral("%1：整个文件的字段超过 %2 个。").arg(Where(error)).arg(error.limit);
      break;
    case RunErrorKind::kResultOutOfRange:
      // In a drawing, the entity whose point it is.
      what =
          QStringLiteral("%1的点转换后 %2 坐标超出数值范围。")
              .arg(Where(error),
                   error.entity_type.empty() ? field : QString::fromStdString(error.entity_type));
      break;
    case RunErrorKind::kCannotWrite:
      what = QStringLiteral("无法写入成果表文件“%1”%2。").arg(Native(error.path), Reason(error));
      break;
    case RunErrorKind::kResultIsPointFile:
      what = QStringLiteral("成果表文件“%1”就是坐标文件本身，不能覆盖。").arg(Native(error.path));
      break;
    case RunErrorKind::kCancelled:
      what = QStringLiteral("坐标文件“%1”的转换已取消。").arg(Native(error.path));
      break;
    case RunErrorKind::kDrawingEntity:
      if (IsAcisBody(error.entity_type)) {
        what = QStringLiteral(
                   "%1：%2是 ACIS 实体或曲面，无法转换。\n请在 CAD "
                   "中将它分解到只剩直线和圆弧（实体分解为面域，面域再分解为直线），"
                   "或另存一份不含它的图形，再转换。")
                   .arg(DrawingWhere(error), DrawingEntity(error));
        drawing = true;
        break;
      }
      what = QStringLiteral(
                 "%1：%2无法转换。\n请在 CAD "
                 "中将它分解（或删除）后再转换图形。")
                 .arg(DrawingWhere(error), DrawingEntity(error));
      drawing = true;
      break;
    case RunErrorKind::kDrawingExtrusion:
      what =
          QStringLiteral(
              "%1：%2位于倾斜的平面内（拉伸方向 %3），比例不为 1 "
              "时该平面各方向的缩放不同，其形状无法保持。\n请以比例 1 转换，或在 CAD "
              "中将它分解后再转换图形。")
              .arg(DrawingWhere(error), DrawingEntity(error), QString::fromStdString(error.detail));
      drawing = true;
      break;
    case RunErrorKind::kDrawingProxy:
      what = QStringLiteral(
                 "%1：%2是代理实体，只有创建它的程序能够绘制。\n请在 CAD 中将它分解后再转换图形。")
                 .arg(DrawingWhere(error), DrawingEntity(error));
      drawing = true;
      break;
    case RunErrorKind::kDrawingBinary:
      what = QStringLiteral("图形“%1”是二进制 DXF：请在 CAD 中另存为 ASCII 格式的 DXF 后再转换。")
                 .arg(Native(error.path));
      drawing = true;
      break;
    case RunErrorKind::kDrawingDwg:
      what = QStringLiteral("图形“%1”是 DWG 格式：请在 CAD 中另存为 DXF 后，转换 DXF 文件。")
                 .arg(Native(error.path));
      drawing = true;
      break;
    case RunErrorKind::kDrawingDamaged:
      what = QStringLiteral("%1不是 CAD 写出的 DXF 图形：%2%3。")
                 .arg(DrawingWhere(error), QString::fromStdString(error.detail),
                      error.field_text.empty() ? QString() : QStringLiteral("“%1”").arg(text));
      drawing = true;
      break;
    case RunErrorKind::kParamsNotComputed:
      return QString::fromUtf8(kParamsNotComputedMessage);
    case RunErrorKind::kParamsIncomplete:
      return QString::fromUtf8(kRunParamsIncompleteMessage);
  }
  if (drawing) return what + BlockingText(error) + QStringLiteral("\n未写出转换后的图形。");
  return what + QStringLiteral("\n未写出成果表。");
}

QString AmbiguousNameMessage(const AmbiguousName& name) {
  const QString what = name.is_folder ? QStringLiteral("文件夹") : QStringLiteral("文件");
  return QStringLiteral(
             "有 %1 个%2的名称都显示为“%3”：名称中有不是 UTF-8 编码的字符，"
             "无法确定选取的是哪一个。\n请将%2改名后再选取。\n未写出成果表。")
      .arg(name.entries)
      .arg(what, QDir::toNativeSeparators(name.shown));
}

}  // namespace torvane
