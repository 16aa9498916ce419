#include "desktop/report_source.h"

#include <utility>

#include "os/user_session.h"

namespace torvane {

ReportSource ReportSourceOf(const std::string& site, std::vector<ReportFile> files,
                            const std::string& project,
                            const std::optional<std::string>& operator_name) {
  ReportSource source;
  source.site = site;
  source.operator_name = operator_name.value_or(LoginName());
  source.made_at = LocalDateTimeNow();
  source.version = TORVANE_VERSION;
  source.project = project;
  source.files = std::move(files);
  return source;
}

}  // namespace torvane
