#include "desktop/report_source.h"

#include <utility>

#include "os/file_fingerprint.h"
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

Expected<ReportSource> MakeReportSource(const std::string& site,
                                        const std::vector<std::string>& inputs,
                                        const std::string& project,
                                        const std::optional<std::string>& operator_name) {
  std::vector<ReportFile> files;
  for (const std::string& input : inputs) {
    auto fingerprint = FingerprintFile(input);
    if (!fingerprint) {
      return Fail("无法得到输入文件的大小和 SHA-256：" + fingerprint.error());
    }
    files.push_back({input, fingerprint->size, fingerprint->sha256});
  }
  return ReportSourceOf(site, std::move(files), project, operator_name);
}

}  // namespace torvane
