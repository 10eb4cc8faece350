// TDataSource: binds a record table to a grid. A Qt table model that shows
// the table's current view with the columns' titles, title alignments and
// widths and the fields' display texts and alignment, and that tells the
// grid which row is current.
//
// It listens to the table's notifications: content changes reset the model
// unless the table's display is suspended (then the model stays silent and
// resets once when display resumes); record moves are passed on as
// afterScroll() (always, the handlers need them during suspended walks) and
// as currentRowChanged() when display is not suspended. Every second row of
// the view carries the row tint as its background.
//
// The table must outlive the data source. GUI thread only.
#pragma once

#include <QAbstractTableModel>
#include <QColor>

#include <string>
#include <vector>

#include "recordtable/table.h"

namespace proposals {

struct GridColumn {
  std::string field;  // field name
  QString title;
  Qt::Alignment titleAlignment;
  int width;  // pixels
};

// The row tint "$00E2F8DA": red 218, green 248, blue 226.
inline QColor rowTint() { return QColor(218, 248, 226); }

class TDataSource : public QAbstractTableModel {
  Q_OBJECT

 public:
  TDataSource(recordtable::Table& table, std::vector<GridColumn> columns, QObject* parent = nullptr);
  ~TDataSource() override;

  recordtable::Table& table() const { return table_; }
  const std::vector<GridColumn>& columns() const { return columns_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Row of the current record in the view (from 0), -1 with none.
  int currentRow() const;
  // Makes `row` the table's current record (a grid click or key move),
  // moving step by step; the after-scroll signal fires once, at the end.
  void moveToRow(int row);

 signals:
  // The table's current record changed (the record table's after-scroll).
  void afterScroll();
  // The grid should show `row` as current (not sent while display is suspended).
  void currentRowChanged(int row);

 private:
  void onTableEvent(recordtable::TableEvent event);
  void refresh();

  recordtable::Table& table_;
  std::vector<GridColumn> columns_;
  std::vector<int> fieldIndexes_;  // per column; -1 when the table lacks the field
  int rows_ = 0;
  recordtable::ObserverId observer_ = 0;
  bool moving_ = false;
};

}  // namespace proposals
