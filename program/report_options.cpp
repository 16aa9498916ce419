#include "program/report_options.h"

#include <QMap>
#include <algorithm>
#include <cstring>

#include "batch/run_error.h"

namespace torvane {
namespace {

constexpr const char* kNames[] = {"--report",       "--points",  "--project", "--model",
                                  "--check-points", "--exclude", "--operator"};

// A value as a message quotes it: a long one cut, as MessageExcerpt cuts it.
QString Quoted(const QString& text) {
  return QString::fromStdString(MessageExcerpt(text.toStdString()));
}

bool Repeatable(const QString& name) {
  return name == QStringLiteral("--check-points") || name == QStringLiteral("--exclude");
}

// `value` split at its commas, the blanks around each name removed, added
// to `names`. Rejects an empty name.
Expected<void> SplitNames(const QString& option, const QString& value,
                          std::vector<std::string>& names) {
  for (const QString& name : value.split(QLatin1Char(','))) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) {
      return Fail(QStringLiteral("%1：“%2”中有空的点名").arg(option, Quoted(value)).toStdString());
    }
    names.push_back(trimmed.toStdString());
  }
  return {};
}

}  // namespace

bool AsksForReport(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--report") == 0 || std::strncmp(argv[i], "--report=", 9) == 0) {
      return true;
    }
  }
  return false;
}

Expected<ReportOptions> ParseReportOptions(const QStringList& arguments) {
  // Each option's values as given, in order.
  QMap<QString, QStringList> given;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    const qsizetype equals = argument.indexOf(QLatin1Char('='));
    const QString name = equals < 0 ? argument : argument.left(equals);
    const bool known = std::any_of(std::begin(kNames), std::end(kNames), [&](const char* known) {
      return name == QString::fromUtf8(known);
    });
    if (!known) {
      return Fail((argument.startsWith(QStringLiteral("-"))
                       ? QStringLiteral("未知的选项“%1”").arg(Quoted(name))
                       : QStringLiteral("多余的参数“%1”").arg(Quoted(argument)))
                      .toStdString());
    }
    QString value;
    if (equals >= 0) {
      value = argument.mid(equals + 1);
    } else if (i + 1 < arguments.size() && !arguments[i + 1].startsWith(QStringLiteral("--"))) {
      value = arguments[++i];
    } else {
      return Fail(QStringLiteral("%1 缺少值").arg(name).toStdString());
    }
    if (given.contains(name) && !Repeatable(name)) {
      return Fail(QStringLiteral("%1 给了不止一次").arg(name).toStdString());
    }
    given[name].push_back(value);
  }
  const auto one = [&](const char* name) -> std::optional<QString> {
    const QStringList values = given.value(QString::fromUtf8(name));
    if (values.isEmpty()) return std::nullopt;
    return values.front();
  };

  ReportOptions options;
  const std::optional<QString> report = one("--report");
  if (!report || report->isEmpty()) return Fail("--report：文件名是空的");
  options.report = *report;
  const QString lower = report->toLower();
  if (lower.endsWith(QStringLiteral(".pdf"))) {
    options.format = ReportFormat::kPdf;
  } else if (lower.endsWith(QStringLiteral(".html")) || lower.endsWith(QStringLiteral(".htm"))) {
    options.format = ReportFormat::kHtml;
  } else {
    return Fail(QStringLiteral("--report：“%1”不以 .pdf、.html 或 .htm 结尾")
                    .arg(Quoted(*report))
                    .toStdString());
  }

  options.points = one("--points");
  options.project = one("--project");
  if (options.points.has_value() == options.project.has_value()) {
    return Fail("须给出 --points 或 --project 之一");
  }
  for (const char* name : {"--points", "--project"}) {
    if (const auto value = one(name); value && value->isEmpty()) {
      return Fail(QStringLiteral("%1：文件名是空的").arg(QString::fromUtf8(name)).toStdString());
    }
  }
  if (options.project) {
    for (const char* name : {"--model", "--check-points", "--exclude"}) {
      if (given.contains(QString::fromUtf8(name))) {
        return Fail(QStringLiteral("%1 不能与 --project 同用：项目自带模型和各点的用途")
                        .arg(QString::fromUtf8(name))
                        .toStdString());
      }
    }
  }
  if (const auto model = one("--model")) {
    const auto found =
        std::find_if(std::begin(kModelNames), std::end(kModelNames), [&](const auto& choice) {
          return *model == QString::fromUtf8(choice.name.data(), choice.name.size());
        });
    if (found == std::end(kModelNames)) {
      return Fail(QStringLiteral("--model：“%1”不是 rigid 或 similarity")
                      .arg(Quoted(*model))
                      .toStdString());
    }
    options.model = found->value;
  }
  for (const QString& value : given.value(QStringLiteral("--check-points"))) {
    if (auto split = SplitNames(QStringLiteral("--check-points"), value, options.check); !split) {
      return Fail(split.error());
    }
  }
  for (const QString& value : given.value(QStringLiteral("--exclude"))) {
    if (auto split = SplitNames(QStringLiteral("--exclude"), value, options.exclude); !split) {
      return Fail(split.error());
    }
  }
  for (const std::string& name : options.check) {
    const QString quoted = QString::fromStdString(MessageExcerpt(name));
    if (std::count(options.check.begin(), options.check.end(), name) > 1) {
      return Fail(QStringLiteral("--check-points：“%1”给了两次").arg(quoted).toStdString());
    }
    if (std::count(options.exclude.begin(), options.exclude.end(), name) > 0) {
      return Fail(QStringLiteral("--check-points：“%1”也给了 --exclude").arg(quoted).toStdString());
    }
  }
  if (const auto name = one("--operator")) options.operator_name = name->toStdString();
  return options;
}

}  // namespace torvane
