// The workbench's messages about project files, in Chinese.
#pragma once

#include <QString>

#include "site/project_file.h"

namespace torvane {

// A project file the reader refused: why, naming the file; a file whose
// content is wrong in a detail gives the reader's own words for it.
QString ProjectOpenFailureMessage(const QString& path, const ProjectRefusal& refusal);

}  // namespace torvane
