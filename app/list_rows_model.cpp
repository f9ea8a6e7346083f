#include "app/list_rows_model.h"

#include <climits>
#include <cstddef>

namespace corvane {

ListRowsModel::ListRowsModel(const QStringList& columnTitles, QObject* parent)
    : QAbstractTableModel(parent), titles_(columnTitles), columns_(static_cast<std::size_t>(columnTitles.size())) {}

int ListRowsModel::rowCount(const QModelIndex& parent) const {
  // A flat list: no row has rows of its own.
  if (parent.isValid() || columns_.empty()) return 0;
  return static_cast<int>(columns_.front().size());
}

int ListRowsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant ListRowsModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  if (!index.isValid() || index.model() != this || index.column() >= columnCount() || index.row() >= rowCount()) {
    return {};
  }
  return columns_[static_cast<std::size_t>(index.column())][static_cast<std::size_t>(index.row())];
}

QVariant ListRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < titles_.size()) {
    return titles_.at(section);
  }
  return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ListRowsModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

int ListRowsModel::insertCaptionRow(int position, const QString& caption) {
  const int rows = rowCount();
  // Rows are counted in int; with no column there is nowhere to put a row.
  if (columns_.empty() || rows == INT_MAX) return -1;
  if (position < 0 || position > rows) position = rows;
  beginInsertRows({}, position, position);
  for (std::size_t column = 0; column < columns_.size(); ++column) {
    std::deque<QString>& cells = columns_[column];
    cells.insert(cells.begin() + position, column == 0 ? caption : QString());
  }
  endInsertRows();
  return position;
}

bool ListRowsModel::setCellText(int row, int column, const QString& text) {
  if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return false;
  columns_[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)] = text;
  const QModelIndex cell = index(row, column);
  emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::EditRole});
  return true;
}

void ListRowsModel::removeAllRows() {
  beginResetModel();
  // Swapped with empty ones, so that the memory of a long list goes back at once.
  for (std::deque<QString>& cells : columns_) std::deque<QString>().swap(cells);
  endResetModel();
}

}  // namespace corvane
