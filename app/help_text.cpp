#include "app/help_text.h"

namespace torvane {

QStringList HelpLines() {
  const QString rule = QStringLiteral("  ") + QString(76, QLatin1Char('-'));
  return {
      QString(),
      QString(),
      QStringLiteral("                              Torvane"),
      QString(),
      QStringLiteral("          本计算程序可以进行不同坐标系之间坐标值的转化 , "
                     "起算数据可以为：平"),
      QString(),
      QStringLiteral("      移、旋转参数 或者 有两套坐标(不同坐标系相同点位)都可进行转换计算 , 本"),
      QString(),
      QStringLiteral("      程序最多计算800个点如在使用过程中发现问题请与我联系 , 谢谢使用！"),
      QString(),
      rule,
      QStringLiteral("     数据格式如下："),
      QString(),
      QStringLiteral("            点名1  ,  待转化点 X1 坐标  ,  待转化点 Y1 坐标  ,  高程 H1 m"),
      QStringLiteral("            点名2  ,  待转化点 X2 坐标  ,  待转化点 Y2 坐标  ,  高程 H2 m"),
      QString(),
      QStringLiteral("     举例如下："),
      QString(),
      QStringLiteral("             III11 , 755.500 , 740.800 , 1215.101 "),
      QStringLiteral("             III12 , 761.500 , 782.300 , 1211.210 "),
      QStringLiteral("             III13 , 750.000 , 651.350 , 1215.471 "),
      QStringLiteral("             III14 , 691.500 , 757.150 , 1270.221"),
      rule,
      QString(),
      QStringLiteral("    如在使用中发现问题，请向本程序的维护者反馈。"),
  };
}

QString HelpText() { return HelpLines().join(QStringLiteral("\r\n")); }

}  // namespace torvane
