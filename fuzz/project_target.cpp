#include <string>

#include "fuzz/check.h"
#include "fuzz/fuzz_targets.h"
#include "fuzz/temp_folder.h"
#include "site/project_file.h"

namespace torvane::fuzz {

void Project(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path folder = Folder("Project");
  const auto path = folder / "site.torvane";
  const auto again = folder / "again.torvane";
  WriteAll(path, data, size);
  std::filesystem::remove(again);
  // Read or refused with a reason; a project read, written and read again
  // is the same project.
  auto read = ReadProject(path.string());
  if (!read) {
    Check(!read.error().empty(), "a refusal without a reason");
    return;
  }
  auto written = WriteProject(*read, again.string());
  // Written indented, a file takes about twice the bytes of its most
  // compact form (a point's 62 bytes take 121): only a file beyond a third
  // of the limit may be too large to write back.
  if (!written && size > kMaxProjectBytes / 3 &&
      written.error().ends_with("too large for a project")) {
    return;
  }
  Check(written.ok(), "a project read is not written: " + (written ? "" : written.error()));
  auto reread = ReadProject(again.string());
  Check(reread.ok(), "a project written is not read: " + (reread ? "" : reread.error()));
  Check(*reread == *read, "a project written and read again is another project");
}

}  // namespace torvane::fuzz
