#include "workbench/point_table_model.h"

#include <QColor>
#include <QPointer>
#include <QUndoCommand>

#include <algorithm>
#include <cassert>
#include <numeric>
#include <utility>

#include "number/number_text.h"
#include "number/typed_number.h"
#include "site/pasted_points.h"
#include "site/point_role.h"

namespace torvane {
namespace {

const QColor kProblemBackground(255, 205, 205);  // pink: the row takes no part
const QColor kWorstBackground(255, 240, 170);    // pale yellow: the largest residual
const QColor kBlunderText(200, 0, 0);            // red: wX or wY beyond the limit, a blunder named

// The table's columns that hold a text of the point as typed, and those
// that show a result of the solve.
constexpr std::pair<int, std::string ProjectPoint::*> kTextColumns[] = {
    {kNameColumn, &ProjectPoint::name}, {kXsColumn, &ProjectPoint::xs},
    {kYsColumn, &ProjectPoint::ys},     {kHsColumn, &ProjectPoint::hs},
    {kXcColumn, &ProjectPoint::xc},     {kYcColumn, &ProjectPoint::yc},
    {kHcColumn, &ProjectPoint::hc}};
constexpr std::pair<int, QString RowResult::*> kResultColumns[] = {
    {kDxColumn, &RowResult::dx},
    {kDyColumn, &RowResult::dy},
    {kLengthColumn, &RowResult::length},
    {kWxColumn, &RowResult::wx},
    {kWyColumn, &RowResult::wy},
    {kLeftOutColumn, &RowResult::left_out},
    {kTxColumn, &RowResult::tx},
    {kTyColumn, &RowResult::ty},
    {kFColumn, &RowResult::f}};

std::string* TextOf(ProjectPoint& point, int column) {
  for (const auto& [text_column, text] : kTextColumns) {
    if (column == text_column) return &(point.*text);
  }
  return nullptr;
}

const std::string* TextOf(const ProjectPoint& point, int column) {
  return TextOf(const_cast<ProjectPoint&>(point), column);
}

const QString* ResultText(const RowResult& result, int column) {
  for (const auto& [result_column, text] : kResultColumns) {
    if (column == result_column) return &(result.*text);
  }
  return nullptr;
}

QString Caption(int column) { return QString::fromUtf8(ColumnCaption(column)); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Names in the order a surveyor lists them: runs of digits by their value
// (K2 before K10), the rest byte by byte; equal so far, by the bytes.
bool NameBefore(const std::string& a, const std::string& b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      std::size_t ei = i, ej = j;
      while (ei < a.size() && IsDigit(a[ei])) ++ei;
      while (ej < b.size() && IsDigit(b[ej])) ++ej;
      std::size_t si = i, sj = j;  // leading zeros aside
      while (si + 1 < ei && a[si] == '0') ++si;
      while (sj + 1 < ej && b[sj] == '0') ++sj;
      if (ei - si != ej - sj) return ei - si < ej - sj;
      const int digits = a.compare(si, ei - si, b, sj, ej - sj);
      if (digits != 0) return digits < 0;
      i = ei;
      j = ej;
      continue;
    }
    if (a[i] != b[j]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
    ++i;
    ++j;
  }
  if (a.size() - i != b.size() - j) return a.size() - i < b.size() - j;
  return a < b;
}

std::optional<double> ValueOf(const std::string& text) {
  auto value = ParseDecimal(text);
  return value ? std::optional<double>(*value) : std::nullopt;
}

}  // namespace

// A change of the table as a step of the undo stack: done, undone, and
// the table told; nothing once the model is gone.
class PointTableModel::Step : public QUndoCommand {
 public:
  Step(PointTableModel& model, QString text) : QUndoCommand(text), model_(&model) {}
  void redo() final {
    if (!model_) return;
    Do(*model_);
    model_->Changed();
  }
  void undo() final {
    if (!model_) return;
    Undo(*model_);
    model_->Changed();
  }

 private:
  virtual void Do(PointTableModel& model) = 0;
  virtual void Undo(PointTableModel& model) = 0;

  QPointer<PointTableModel> model_;
};

// One row's texts or role changed.
class PointTableModel::Edit : public Step {
 public:
  Edit(PointTableModel& model, int row, ProjectPoint before, ProjectPoint after, QString text)
      : Step(model, text), row_(row), before_(before), after_(after) {}

 private:
  void Do(PointTableModel& model) override { model.ReplaceRow(row_, after_); }
  void Undo(PointTableModel& model) override { model.ReplaceRow(row_, before_); }

  int row_;
  ProjectPoint before_, after_;
};

// Rows inserted, one after the other, before a row.
class PointTableModel::Insert : public Step {
 public:
  Insert(PointTableModel& model, int at, std::vector<ProjectPoint> points, QString text)
      : Step(model, text), at_(at), points_(std::move(points)) {}

 private:
  void Do(PointTableModel& model) override { model.InsertAt(at_, points_); }
  void Undo(PointTableModel& model) override {
    std::vector<int> rows(points_.size());
    std::iota(rows.begin(), rows.end(), at_);
    model.RemoveAt(rows);
  }

  int at_;
  std::vector<ProjectPoint> points_;
};

// Rows removed, wherever they stand.
class PointTableModel::Remove : public Step {
 public:
  Remove(PointTableModel& model, std::vector<int> ascending_rows, QString text)
      : Step(model, text), rows_(std::move(ascending_rows)) {
    for (int row : rows_) points_.push_back(model.rows_[static_cast<std::size_t>(row)]);
  }

 private:
  void Do(PointTableModel& model) override { model.RemoveAt(rows_); }
  void Undo(PointTableModel& model) override {
    // In ascending order each goes back where it stood.
    for (std::size_t i = 0; i < rows_.size(); ++i) model.InsertAt(rows_[i], {points_[i]});
  }

  std::vector<int> rows_;
  std::vector<ProjectPoint> points_;
};

// The rows put in another order.
class PointTableModel::Reorder : public Step {
 public:
  Reorder(PointTableModel& model, std::vector<int> order, QString text)
      : Step(model, text), order_(std::move(order)), back_(order_.size()) {
    for (std::size_t i = 0; i < order_.size(); ++i) {
      back_[static_cast<std::size_t>(order_[i])] = static_cast<int>(i);
    }
  }

 private:
  void Do(PointTableModel& model) override { model.Permute(order_); }
  void Undo(PointTableModel& model) override { model.Permute(back_); }

  std::vector<int> order_, back_;
};

PointTableModel::PointTableModel(QUndoStack& undo, QObject* parent)
    : QAbstractTableModel(parent), undo_(undo) {}

void PointTableModel::SetRows(std::vector<ProjectPoint> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  results_.clear();
  points_ = ReadSitePoints(rows_);
  endResetModel();
  undo_.clear();
  emit RowsChanged();
}

int PointTableModel::AddRow() {
  const int row = rowCount();
  undo_.push(new Insert(*this, row, {ProjectPoint{}}, QStringLiteral("添加一行")));
  return row;
}

void PointTableModel::DeleteRows(std::vector<int> rows) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  if (rows.empty()) return;
  assert(rows.front() >= 0 && rows.back() < rowCount());
  const QString text = QStringLiteral("删除 %1 行").arg(rows.size());
  undo_.push(new Remove(*this, std::move(rows), text));
}

Expected<int, QString> PointTableModel::Paste(
    const QString& clipboard_text, std::optional<int> at_row,
    const std::function<bool(const PastedPoints&)>& accept) {
  assert(!at_row || (*at_row >= 0 && *at_row <= rowCount()));
  auto pasted = ParsePastedPoints(clipboard_text.toStdString());
  if (!pasted)
    return Fail(QStringLiteral("无法粘贴：%1").arg(QString::fromStdString(pasted.error())));
  if (pasted->points.empty()) return Fail(QStringLiteral("剪贴板中没有公共点。"));
  if (accept && !accept(*pasted)) return 0;
  const int count = static_cast<int>(pasted->points.size());
  undo_.push(new Insert(*this, at_row.value_or(rowCount()), std::move(pasted.value().points),
                        QStringLiteral("粘贴 %1 个点").arg(count)));
  return count;
}

void PointTableModel::Import(std::vector<ProjectPoint> points) {
  if (points.empty()) return;
  const QString text = QStringLiteral("导入 %1 个点").arg(points.size());
  undo_.push(new Insert(*this, rowCount(), std::move(points), text));
}

void PointTableModel::SortBy(int column, Qt::SortOrder order) {
  assert(column >= 0 && column < kPointColumnCount);
  const bool descending = order == Qt::DescendingOrder;
  // The value a row is ordered by, for the numeric columns; none goes last.
  auto value = [&](int row) -> std::optional<double> {
    const std::size_t r = static_cast<std::size_t>(row);
    if (const std::string* text = TextOf(rows_[r], column)) return ValueOf(*text);
    if (r < results_.size()) return ValueOf(ResultText(results_[r], column)->toStdString());
    return std::nullopt;
  };
  std::vector<int> ordered(rows_.size());
  std::iota(ordered.begin(), ordered.end(), 0);
  std::stable_sort(ordered.begin(), ordered.end(), [&](int a, int b) {
    const ProjectPoint& pa = rows_[static_cast<std::size_t>(a)];
    const ProjectPoint& pb = rows_[static_cast<std::size_t>(b)];
    if (column == kRoleColumn) return descending ? pb.role < pa.role : pa.role < pb.role;
    if (column == kNameColumn) {
      return descending ? NameBefore(pb.name, pa.name) : NameBefore(pa.name, pb.name);
    }
    const std::optional<double> va = value(a), vb = value(b);
    if (!va || !vb) return va.has_value() && !vb.has_value();
    return descending ? *vb < *va : *va < *vb;
  });
  if (std::is_sorted(ordered.begin(), ordered.end())) return;
  undo_.push(
      new Reorder(*this, std::move(ordered), QStringLiteral("按%1排序").arg(Caption(column))));
}

void PointTableModel::SetResults(std::vector<RowResult> results) {
  assert(results.empty() || results.size() == rows_.size());
  results_ = std::move(results);
  if (rows_.empty()) return;
  emit dataChanged(index(0, 0), index(rowCount() - 1, kPointColumnCount - 1));
}

int PointTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int PointTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kPointColumnCount;
}

QVariant PointTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const std::size_t row = static_cast<std::size_t>(index.row());
  const int column = index.column();
  const ProjectPoint& point = rows_[row];
  const RowResult* result = row < results_.size() ? &results_[row] : nullptr;
  auto problems = [&] {
    QStringList messages;
    for (const auto* list : {&points_.problems, &points_.height_problems}) {
      for (const CellProblem& p : *list) {
        if (p.row == row && p.column == column) messages << QString::fromStdString(p.message);
      }
    }
    return messages;
  };
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      if (column == kRoleColumn) return QString::fromUtf8(RoleText(point.role));
      if (const std::string* text = TextOf(point, column)) return QString::fromStdString(*text);
      return result ? *ResultText(*result, column) : QString();
    case Qt::ToolTipRole: {
      const QStringList messages = problems();
      return messages.isEmpty() ? QVariant() : QVariant(messages.join(u'\n'));
    }
    case Qt::BackgroundRole:
      if (!problems().isEmpty()) return kProblemBackground;
      if (result && result->worst) return kWorstBackground;
      return {};
    case Qt::ForegroundRole:
      if (result && result->blunder && (column == kWxColumn || column == kWyColumn)) {
        return kBlunderText;
      }
      if (result && result->tested_blunder && column >= kLeftOutColumn && column <= kFColumn) {
        return kBlunderText;
      }
      return {};
    case Qt::TextAlignmentRole:
      if (column == kRoleColumn || column == kNameColumn) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
      }
      return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    default:
      return {};
  }
}

QVariant PointTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
      section < kPointColumnCount) {
    return Caption(section);
  }
  return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags PointTableModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  if (index.isValid() && IsTypedColumn(index.column())) flags |= Qt::ItemIsEditable;
  return flags;
}

bool PointTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || !IsTypedColumn(index.column())) return false;
  const int row = index.row();
  const int column = index.column();
  ProjectPoint after = rows_[static_cast<std::size_t>(row)];
  if (column == kRoleColumn) {
    const std::optional<PointRole> chosen = RoleFromText(value.toString().toStdString());
    if (!chosen) return false;
    after.role = *chosen;
  } else {
    // A coordinate typed in full width or grouped in thousands is shown,
    // and kept, as the plain number read.
    const std::string typed = value.toString().toStdString();
    *TextOf(after, column) = column == kNameColumn ? typed : TypedNumberText(typed).value_or(typed);
  }
  const ProjectPoint& before = rows_[static_cast<std::size_t>(row)];
  if (after == before) return true;
  undo_.push(new Edit(*this, row, before, after,
                      QStringLiteral("修改第 %1 行%2").arg(row + 1).arg(Caption(column))));
  return true;
}

void PointTableModel::sort(int column, Qt::SortOrder order) {
  if (column >= 0 && column < kPointColumnCount) SortBy(column, order);
}

void PointTableModel::ReplaceRow(int row, const ProjectPoint& point) {
  rows_[static_cast<std::size_t>(row)] = point;
}

void PointTableModel::InsertAt(int row, const std::vector<ProjectPoint>& points) {
  beginInsertRows({}, row, row + static_cast<int>(points.size()) - 1);
  rows_.insert(rows_.begin() + row, points.begin(), points.end());
  results_.clear();
  endInsertRows();
}

void PointTableModel::RemoveAt(const std::vector<int>& ascending_rows) {
  // From the last, so that the rows before keep their numbers.
  for (auto it = ascending_rows.rbegin(); it != ascending_rows.rend(); ++it) {
    beginRemoveRows({}, *it, *it);
    rows_.erase(rows_.begin() + *it);
    results_.clear();
    endRemoveRows();
  }
}

void PointTableModel::Permute(const std::vector<int>& order) {
  assert(order.size() == rows_.size());
  emit layoutAboutToBeChanged();
  std::vector<ProjectPoint> rows;
  std::vector<int> new_row(order.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    rows.push_back(std::move(rows_[static_cast<std::size_t>(order[i])]));
    new_row[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
  }
  rows_ = std::move(rows);
  results_.clear();
  const QModelIndexList before = persistentIndexList();
  QModelIndexList after;
  for (const QModelIndex& i : before) {
    after << index(new_row[static_cast<std::size_t>(i.row())], i.column());
  }
  changePersistentIndexList(before, after);
  emit layoutChanged();
}

// Every change ends here: the rows read again, the old results gone, each
// cell shown afresh (a duplicate name marks a row other than the changed one).
void PointTableModel::Changed() {
  points_ = ReadSitePoints(rows_);
  results_.clear();
  if (!rows_.empty()) {
    emit dataChanged(index(0, 0), index(rowCount() - 1, kPointColumnCount - 1));
  }
  emit RowsChanged();
}

}  // namespace torvane
