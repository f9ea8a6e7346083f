// The rows "超级列表框1" shows: plain text cells under fixed column titles, never sorted and
// never edited. Each column is kept in a deque, so a row goes in at the top or the bottom at
// the same cost however many rows there are, and a cell is reached by its row at once.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

namespace corvane {

class ListRowsModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit ListRowsModel(const QStringList& columnTitles, QObject* parent = nullptr);

  [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
  [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
  [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                    int role = Qt::DisplayRole) const override;
  [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;

  // A row with `caption` in the first column and the others empty, at `position` (negative or
  // past the end: at the end). The new row's index, or -1 when no more rows can be counted.
  int insertCaptionRow(int position, const QString& caption);

  // Replaces a cell's text; false, changing nothing, for a cell that does not exist.
  bool setCellText(int row, int column, const QString& text);

  void removeAllRows();

 private:
  QStringList titles_;
  std::vector<std::deque<QString>> columns_;  // one per title, all as long as the row count
};

}  // namespace corvane
