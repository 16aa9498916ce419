// Where a run writes its result table: beside the point file.
#pragma once

#include <string>
#include <string_view>

namespace torvane {

inline constexpr std::string_view kResultSuffix = "转化后成果表";

// The last component of `path` without its extension, as the result's name
// takes it: "D:\data\pts.csv" -> "pts", "list" -> "list". Only a real
// extension goes (a dot in the last component, not at its start, with no
// space after it: ".profile" and "p.csv " stay whole). Both "/" and "\"
// separate components.
std::string_view FileStem(std::string_view path);

// "D:\data\pts.csv" -> "D:\data\pts转化后成果表.txt"; "D:\data\list" ->
// "D:\data\list转化后成果表.txt". The path is taken as given, spaces
// included (" p.csv" is another file than "p.csv"); only a real extension
// (a dot in the last path component, not at its start, with no space after
// it) is replaced. Paths are UTF-8; both "/" and "\" separate components.
// `extension` replaces ".txt" for results in other formats (".csv", ".json").
std::string ResultPathFor(std::string_view point_path, std::string_view extension = ".txt");

// The same name as ResultPathFor gives, in `folder` instead of beside the
// point file: "out/" and "D:\data\pts.csv" give "out/pts转化后成果表.txt".
// A folder without a separator at its end gets "/".
std::string ResultPathIn(std::string_view folder, std::string_view point_path,
                         std::string_view extension = ".txt");

}  // namespace torvane
