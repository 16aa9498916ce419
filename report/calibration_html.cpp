#include "report/calibration_html.h"

#include <vector>

#include "report/markup_escape.h"
#include "report/plot_drawing.h"
#include "report/plot_geometry.h"
#include "report/plot_svg.h"

namespace torvane {
namespace {

// Screen and A4 paper alike; the Chinese faces of Linux and Windows first.
constexpr std::string_view kStyle = R"(
body { font-family: "Noto Sans CJK SC", "WenQuanYi Micro Hei", "Microsoft YaHei", "SimSun", sans-serif;
       font-size: 10.5pt; color: #000; background: #fff; max-width: 180mm; margin: 1em auto; }
h1 { font-size: 16pt; text-align: center; margin: 0 0 0.8em; }
h2 { font-size: 12pt; border-bottom: 1px solid #444; margin: 1.2em 0 0.4em; }
table { border-collapse: collapse; margin: 0.3em 0; }
th, td { border: 1px solid #888; padding: 0.15em 0.5em; text-align: left; }
thead th { background: #eee; }
td.value, td.dx, td.dy, td.length, td.wx, td.wy, td.size {
  font-family: "DejaVu Sans Mono", Consolas, monospace; text-align: right; white-space: nowrap; }
td.sha256 { font-family: "DejaVu Sans Mono", Consolas, monospace; font-size: 8.5pt; word-break: break-all; }
tr.beyond td.length, tr.blunder td.wx, tr.blunder td.wy { font-weight: bold; color: #b00; }
ul.formulas { list-style: none; padding-left: 0; font-family: "DejaVu Sans Mono", Consolas, monospace; }
ul.warnings li { color: #b00; }
figure.plot { margin: 0.5em 0; }
figure.plot svg { max-width: 100%; height: auto; }
@page { size: A4; margin: 15mm; }
@media print {
  body { max-width: none; margin: 0; }
  thead { display: table-header-group; }
  tr, figure.plot { break-inside: avoid; }
  h2 { break-after: avoid; }
}
)";

void Cell(std::string* html, std::string_view tag, std::string_view css_class,
          std::string_view text) {
  *html += '<';
  *html += tag;
  *html += " class=\"";
  *html += css_class;
  *html += "\">" + MarkupEscape(text) + "</";
  *html += tag;
  *html += '>';
}

// A table of figures: label, value, unit.
void FigureTable(std::string* html, std::string_view id, const std::vector<ReportFigure>& figures) {
  *html += "<table class=\"figures\" id=\"";
  *html += id;
  *html += "\">\n<thead><tr><th>项目</th><th>数值</th><th>单位</th></tr></thead>\n<tbody>\n";
  for (const ReportFigure& f : figures) {
    *html += "<tr>";
    Cell(html, "th", "label", f.label);
    Cell(html, "td", "value", f.value);
    Cell(html, "td", "unit", f.unit);
    *html += "</tr>\n";
  }
  *html += "</tbody>\n</table>\n";
}

void ResidualTable(std::string* html, const std::vector<ReportRow>& rows) {
  bool standardized = false, left_out = false;
  for (const ReportRow& row : rows) {
    standardized = standardized || !row.wx.empty();
    left_out = left_out || !row.f.empty();
  }
  *html +=
      "<table id=\"residuals\">\n<thead><tr><th>点名</th><th>类别</th><th>dX (mm)</th>"
      "<th>dY (mm)</th><th>点位残差 (mm)</th>";
  if (standardized) *html += "<th>wX</th><th>wY</th>";
  if (left_out) *html += "<th>剔除后不符 (mm)</th><th>tX</th><th>tY</th><th>F</th>";
  *html += "</tr></thead>\n<tbody>\n";
  for (const ReportRow& row : rows) {
    *html += "<tr";
    std::string classes;
    if (row.beyond_limit) classes += " beyond";
    if (row.blunder || row.tested_blunder) classes += " blunder";
    if (!classes.empty()) *html += " class=\"" + classes.substr(1) + '"';
    *html += '>';
    Cell(html, "td", "name", row.name);
    Cell(html, "td", "role", row.role);
    Cell(html, "td", "dx", row.dx);
    Cell(html, "td", "dy", row.dy);
    Cell(html, "td", "length", row.length);
    if (standardized) {
      Cell(html, "td", "wx", row.wx);
      Cell(html, "td", "wy", row.wy);
    }
    if (left_out) {
      Cell(html, "td", "left-out", row.left_out);
      Cell(html, "td", "tx", row.tx);
      Cell(html, "td", "ty", row.ty);
      Cell(html, "td", "f", row.f);
    }
    *html += "</tr>\n";
  }
  *html +=
      "</tbody>\n</table>\n<p class=\"note\">残差为测图坐标的已知值减去由施工坐标换算的值；"
      "wX、wY 为标准化残差（无单位）；剔除后不符为该点不参与平差时"
      "由其余点所得参数换算的残差，tX、tY 为其外部学生化残差，F 为其粗差检验统计量。</p>\n";
}

void FileTable(std::string* html, const std::vector<ReportFile>& files) {
  *html +=
      "<table id=\"files\">\n<thead><tr><th>文件</th><th>大小 (字节)</th><th>SHA-256</th></tr>"
      "</thead>\n<tbody>\n";
  for (const ReportFile& file : files) {
    *html += "<tr>";
    Cell(html, "td", "file", file.name);
    Cell(html, "td", "size", std::to_string(file.size));
    Cell(html, "td", "sha256", file.sha256);
    *html += "</tr>\n";
  }
  *html += "</tbody>\n</table>\n";
}

void List(std::string* html, std::string_view css_class, const std::vector<std::string>& items) {
  *html += "<ul class=\"";
  *html += css_class;
  *html += "\">\n";
  for (const std::string& item : items) {
    *html += "<li>" + MarkupEscape(item) + "</li>\n";
  }
  *html += "</ul>\n";
}

// The <svg> element itself, without an XML declaration before it.
std::string_view SvgElement(std::string_view svg) {
  if (svg.starts_with("<?xml")) {
    const std::size_t end = svg.find("?>");
    svg.remove_prefix(end == std::string_view::npos ? svg.size() : end + 2);
  }
  while (!svg.empty() && (svg.front() == '\n' || svg.front() == '\r' || svg.front() == ' ')) {
    svg.remove_prefix(1);
  }
  return svg;
}

}  // namespace

std::string CalibrationHtml(const CalibrationDocument& document, std::string_view plot_svg) {
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
      MarkupEscape(document.title) + "</title>\n<style>";
  html += kStyle;
  html += "</style>\n</head>\n<body>\n<h1>" + MarkupEscape(document.title) + "</h1>\n";
  FigureTable(&html, "title-block", document.title_block);
  html += "<h2>转换参数</h2>\n";
  FigureTable(&html, "parameters", document.parameters);
  html += "<h2>转换公式</h2>\n";
  List(&html, "formulas", document.formulas);
  html += "<h2>反算参数</h2>\n";
  FigureTable(&html, "inverse", document.inverse);
  html += "<h2>公共点残差</h2>\n";
  ResidualTable(&html, document.rows);
  html += "<h2>精度统计</h2>\n";
  FigureTable(&html, "statistics", document.statistics);
  if (!document.warnings.empty()) {
    html += "<h2>警告</h2>\n";
    List(&html, "warnings", document.warnings);
  }
  if (const std::string_view svg = SvgElement(plot_svg); !svg.empty()) {
    html += "<h2>点位图</h2>\n<figure class=\"plot\">\n";
    html += svg;
    html += "\n</figure>\n";
  }
  html += "<h2>输入文件</h2>\n";
  FileTable(&html, document.files);
  html += "</body>\n</html>\n";
  return html;
}

std::string CalibrationPlotSvg(const CalibrationDocument& document) {
  constexpr PlotSize kPlotSize = {680, 453};
  const PlotView view = FitView(document.plot, kPlotSize);
  return PlotSvg(DrawSitePlot(document.plot, view, kPlotSize), kPlotSize);
}

}  // namespace torvane
