#include "report/calibration_html.h"

#include <vector>

#include "report/markup_escape.h"
#include "report/plot_drawing.h"
#include "report/plot_geometry.h"
#include "report/plot_svg.h"
#include "site/point_role.h"

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
td.xs, td.ys, td.xc, td.yc, td.left-out, td.tx, td.ty, td.f {
  font-family: "DejaVu Sans Mono", Consolas, monospace; text-align: right; white-space: nowrap; }
tr.beyond td.mark, tr.blunder td.mark { color: #b00; }
p.pipeline { font-family: "DejaVu Sans Mono", Consolas, monospace; word-break: break-all; }
p.note { font-size: 9pt; color: #333; }
header.page, footer.page { font-size: 8pt; color: #444; }
table#signatures td { min-width: 40mm; height: 2.2em; }
@page { size: A4; margin: 15mm; }
@media print {
  body { max-width: none; margin: 0; }
  header.page, footer.page { display: none; }
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
void FigureTable(std::string* html, std::string_view id, const ReportWording& words,
                 const std::vector<ReportFigure>& figures) {
  *html += "<table class=\"figures\" id=\"";
  *html += id;
  *html += "\">\n<thead><tr>";
  for (const std::string& column : words.figure_columns) {
    *html += "<th>" + MarkupEscape(column) + "</th>";
  }
  *html += "</tr></thead>\n<tbody>\n";
  for (const ReportFigure& f : figures) {
    *html += "<tr>";
    Cell(html, "th", "label", f.label);
    Cell(html, "td", "value", f.value);
    Cell(html, "td", "unit", f.unit);
    *html += "</tr>\n";
  }
  *html += "</tbody>\n</table>\n";
}

// A table's head of `columns`.
void Head(std::string* html, std::string_view id, const std::vector<std::string>& columns) {
  *html += "<table id=\"";
  *html += id;
  *html += "\">\n<thead><tr>";
  for (const std::string& column : columns) *html += "<th>" + MarkupEscape(column) + "</th>";
  *html += "</tr></thead>\n<tbody>\n";
}

void Note(std::string* html, const std::string& text) {
  *html += "<p class=\"note\">" + MarkupEscape(text) + "</p>\n";
}

void Heading(std::string* html, const std::string& text) {
  *html += "<h2>" + MarkupEscape(text) + "</h2>\n";
}

void PointTable(std::string* html, const CalibrationDocument& document) {
  Head(html, "points", CoordinateHeadings(document));
  for (const auto& cells : PointCells(document)) {
    *html += "<tr>";
    for (const auto& [name, text] : cells) Cell(html, "td", name, text);
    *html += "</tr>\n";
  }
  *html += "</tbody>\n</table>\n";
}

void ResidualTable(std::string* html, const CalibrationDocument& document) {
  const ReportWording& words = document.words;
  Head(html, "residuals", ResidualHeadings(document));
  const std::string check_role = RoleText(PointRole::kCheck);
  for (const ReportRow& row : document.rows) {
    if (row.role == check_role) continue;  // in a table of their own
    *html += "<tr";
    std::string classes;
    if (row.beyond_limit) classes += " beyond";
    if (row.blunder || row.tested_blunder) classes += " blunder";
    if (!classes.empty()) *html += " class=\"" + classes.substr(1) + '"';
    *html += '>';
    Cell(html, "td", "role", row.role);
    Cell(html, "td", "name", row.name);
    Cell(html, "td", "dx", row.dx);
    Cell(html, "td", "dy", row.dy);
    Cell(html, "td", "length", row.length);
    // Every row of a fit that has them has these cells ("-" for none).
    if (!row.wx.empty()) {
      Cell(html, "td", "wx", row.wx);
      Cell(html, "td", "wy", row.wy);
    }
    if (!row.f.empty()) {
      Cell(html, "td", "left-out", row.left_out);
      Cell(html, "td", "tx", row.tx);
      Cell(html, "td", "ty", row.ty);
      Cell(html, "td", "f", row.f);
    }
    Cell(html, "td", "mark", MarkText(words, row));
    *html += "</tr>\n";
  }
  *html += "</tbody>\n</table>\n";
  Note(html, words.residual_note);
}

void CheckTable(std::string* html, const CalibrationDocument& document) {
  Head(html, "checks", document.words.check_columns);
  for (const ReportCheckRow& row : document.checks) {
    *html += "<tr>";
    Cell(html, "td", "name", row.name);
    Cell(html, "td", "xs", row.xs);
    Cell(html, "td", "ys", row.ys);
    Cell(html, "td", "xc", row.xc);
    Cell(html, "td", "yc", row.yc);
    Cell(html, "td", "dx", row.dx);
    Cell(html, "td", "dy", row.dy);
    Cell(html, "td", "length", row.length);
    *html += "</tr>\n";
  }
  *html += "</tbody>\n</table>\n";
  Note(html, document.words.check_note);
}

void SignatureTable(std::string* html, const CalibrationDocument& document) {
  Head(html, "signatures", document.words.signature_columns);
  for (const auto& [role, name] : document.signatures) {
    *html += "<tr>";
    Cell(html, "th", "role", role);
    Cell(html, "td", "signer", name);
    Cell(html, "td", "date", "");
    *html += "</tr>\n";
  }
  *html += "</tbody>\n</table>\n";
}

// `text` as a CSS string's contents: quotes, backslashes, line ends and
// what could end the style element written as escapes.
std::string CssString(std::string_view text) {
  std::string css;
  for (const char c : text) {
    if (c == '"' || c == '\\' || c == '<' || c == '>' || c == '\n' || c == '\r' ||
        static_cast<unsigned char>(c) < 0x20) {
      static constexpr char kHex[] = "0123456789abcdef";
      const auto byte = static_cast<unsigned char>(c);
      css += '\\';
      css += kHex[byte >> 4];
      css += kHex[byte & 15];
      css += ' ';
    } else {
      css += c;
    }
  }
  return css;
}

void FileTable(std::string* html, const ReportWording& words,
               const std::vector<ReportFile>& files) {
  if (files.empty()) return;
  Head(html, "files", words.file_columns);
  for (const ReportFile& file : files) {
    *html += "<tr>";
    Cell(html, "td", "file", file.name);
    Cell(html, "td", "size", std::to_string(file.size));
    Cell(html, "td", "sha256", file.sha256);
    *html += "</tr>\n";
  }
  *html += "</tbody>\n</table>\n";
}

void HeightTable(std::string* html, const CalibrationDocument& document) {
  const ReportWording& words = document.words;
  Head(html, "heights", words.height_columns);
  for (const ReportHeightRow& row : document.height_rows) {
    *html += row.blunder ? "<tr class=\"blunder\">" : "<tr>";
    Cell(html, "td", "name", row.name);
    Cell(html, "td", "role", row.role);
    Cell(html, "td", "hs", row.hs);
    Cell(html, "td", "hc", row.hc);
    Cell(html, "td", "dh", row.residual);
    Cell(html, "td", "w", row.w);
    Cell(html, "td", "left-out", row.left_out);
    Cell(html, "td", "t", row.t);
    Cell(html, "td", "f", row.f);
    Cell(html, "td", "mark", row.blunder ? words.tested_mark : "");
    *html += "</tr>\n";
  }
  *html += "</tbody>\n</table>\n";
  Note(html, words.height_note);
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
  const ReportWording& words = document.words;
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
      MarkupEscape(document.title) + "</title>\n<style>";
  html += kStyle;
  // On paper, the site atop every page and the page's number at its foot,
  // as the PDF has them.
  html += "@page { @top-center { content: \"" + CssString(document.header) +
          "\"; font-size: 8pt; }\n  @bottom-center { content: \"" + CssString(words.page_before) +
          "\" counter(page) \"" + CssString(words.page_between) + "\" counter(pages) \"" +
          CssString(words.page_after) + "\"; font-size: 8pt; } }\n";
  html += "</style>\n</head>\n<body>\n<header class=\"page\">" + MarkupEscape(document.header) +
          "</header>\n<h1>" + MarkupEscape(document.title) + "</h1>\n";
  const auto none = [&](bool empty) {
    if (empty) html += "<p class=\"none\">" + MarkupEscape(words.none) + "</p>\n";
  };
  FigureTable(&html, "title-block", words, document.title_block);
  Heading(&html, words.model);
  FigureTable(&html, "model", words, document.model);
  Heading(&html, words.parameters);
  FigureTable(&html, "parameters", words, document.parameters);
  Heading(&html, words.formulas);
  List(&html, "formulas", document.formulas);
  Heading(&html, words.inverse);
  FigureTable(&html, "inverse", words, document.inverse);
  Heading(&html, words.controller);
  FigureTable(&html, "controller", words, document.controller);
  Note(&html, words.controller_note);
  Heading(&html, words.pipeline);
  html += "<p class=\"pipeline\">" + MarkupEscape(document.pipeline) + "</p>\n";
  Note(&html, words.pipeline_note);
  Heading(&html, words.coordinates);
  PointTable(&html, document);
  Heading(&html, words.residuals);
  ResidualTable(&html, document);
  Heading(&html, words.checks);
  if (document.checks.empty()) {
    none(true);
  } else {
    CheckTable(&html, document);
  }
  Heading(&html, words.left_out);
  none(document.left_out.empty());
  if (!document.left_out.empty()) List(&html, "left-out", document.left_out);
  Heading(&html, words.statistics);
  FigureTable(&html, "statistics", words, document.statistics);
  if (!document.heights.empty()) {
    Heading(&html, words.heights);
    FigureTable(&html, "heights-figures", words, document.heights);
    HeightTable(&html, document);
  }
  Heading(&html, words.warnings);
  none(document.warnings.empty());
  if (!document.warnings.empty()) List(&html, "warnings", document.warnings);
  if (const std::string_view svg = SvgElement(plot_svg); !svg.empty()) {
    Heading(&html, words.plot);
    html += "<figure class=\"plot\">\n";
    html += svg;
    html += "\n</figure>\n";
  }
  Heading(&html, words.files);
  none(document.files.empty());
  FileTable(&html, words, document.files);
  Heading(&html, words.signatures);
  SignatureTable(&html, document);
  html += "<footer class=\"page\">" + MarkupEscape(document.header) + "</footer>\n";
  html += "</body>\n</html>\n";
  return html;
}

std::string CalibrationPlotSvg(const CalibrationDocument& document) {
  constexpr PlotSize kPlotSize = {680, 453};
  const PlotView view = FitView(document.plot, kPlotSize);
  return PlotSvg(DrawSitePlot(document.plot, view, kPlotSize), kPlotSize);
}

}  // namespace torvane
