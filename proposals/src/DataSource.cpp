#include "DataSource.h"

namespace proposals {

TDataSource::TDataSource(recordtable::Table& table, std::vector<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), table_(table), columns_(std::move(columns)) {
  fieldIndexes_.assign(columns_.size(), -1);
  observer_ = table_.addObserver([this](recordtable::TableEvent event) { onTableEvent(event); });
  refresh();
}

TDataSource::~TDataSource() { table_.removeObserver(observer_); }

void TDataSource::refresh() {
  beginResetModel();
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    const auto* field = table_.findField(columns_[i].field);
    fieldIndexes_[i] = field ? static_cast<int>(field->index()) : -1;
  }
  rows_ = table_.isOpen() ? static_cast<int>(table_.recordCount()) : 0;
  endResetModel();
}

void TDataSource::onTableEvent(recordtable::TableEvent event) {
  using recordtable::TableEvent;
  switch (event) {
    case TableEvent::ContentChanged:
      if (!table_.displaySuspended()) {
        refresh();
        emit currentRowChanged(currentRow());
      }
      break;
    case TableEvent::DisplayResumed:
      refresh();
      emit currentRowChanged(currentRow());
      break;
    case TableEvent::AfterScroll:
      if (moving_) break;
      if (!table_.displaySuspended()) {
        // An append makes a row the model does not know yet.
        if (table_.isOpen() && static_cast<int>(table_.recordCount()) != rows_) refresh();
        emit currentRowChanged(currentRow());
      }
      emit afterScroll();
      break;
  }
}

int TDataSource::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int TDataSource::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant TDataSource::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_ || !table_.isOpen()) return {};
  const int fieldIndex = fieldIndexes_[static_cast<std::size_t>(index.column())];
  if (fieldIndex < 0) return {};
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(
          table_.displayTextAt(static_cast<std::size_t>(index.row()), static_cast<std::size_t>(fieldIndex)));
    case Qt::TextAlignmentRole: {
      const auto alignment = table_.field(static_cast<std::size_t>(fieldIndex)).alignment();
      const Qt::Alignment horizontal = alignment == recordtable::Alignment::Right    ? Qt::AlignRight
                                       : alignment == recordtable::Alignment::Center ? Qt::AlignHCenter
                                                                                     : Qt::AlignLeft;
      return QVariant::fromValue(horizontal | Qt::AlignVCenter);
    }
    case Qt::BackgroundRole:
      // Record numbers count from 1: the 2nd, 4th, ... rows are tinted.
      if ((index.row() + 1) % 2 == 0) return rowTint();
      return {};
    default:
      return {};
  }
}

QVariant TDataSource::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(columns_.size())) {
    return {};
  }
  const auto& column = columns_[static_cast<std::size_t>(section)];
  if (role == Qt::DisplayRole) return column.title;
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(column.titleAlignment | Qt::AlignVCenter);
  return {};
}

Qt::ItemFlags TDataSource::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

int TDataSource::currentRow() const {
  if (!table_.isOpen()) return -1;
  return static_cast<int>(table_.recordNumber()) - 1;
}

void TDataSource::moveToRow(int row) {
  if (!table_.isOpen() || row < 0 || row >= static_cast<int>(table_.recordCount())) return;
  int current = currentRow();
  if (current == row) return;
  moving_ = true;
  try {
    if (current < 0) {
      table_.first();
      current = 0;
    }
    for (; current < row; ++current) table_.next();
    for (; current > row; --current) table_.prior();
  } catch (...) {
    moving_ = false;
    throw;
  }
  moving_ = false;
  emit currentRowChanged(currentRow());
  emit afterScroll();
}

}  // namespace proposals
