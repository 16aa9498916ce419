// The text of the help panel.
#pragma once

#include <QString>
#include <QStringList>

namespace torvane {

// The 25 lines of the help panel, each exactly as shown.
QStringList HelpLines();

// The help lines joined by CR LF, with no line end after the last one.
QString HelpText();

}  // namespace torvane
