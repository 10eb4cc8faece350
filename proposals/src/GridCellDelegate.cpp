// Tool tips for cut grid cells.
#include "GridCellDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

namespace proposals {

namespace {

QRect textRoom(const QStyleOptionViewItem& cell) {
  return cell.rect.adjusted(GridCellDelegate::kTextMargin, 0, -GridCellDelegate::kTextMargin, 0);
}

}  // namespace

void GridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyleOptionViewItem cell(option);
  initStyleOption(&cell, index);
  const QString text = cell.text;
  // The style draws the background, the selection and the focus frame; the
  // text follows in the cell's own colour and alignment.
  cell.text.clear();
  const QWidget* widget = cell.widget;
  const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
  if (text.isEmpty()) return;
  const QPalette::ColorGroup group = !(cell.state & QStyle::State_Enabled) ? QPalette::Disabled
                                     : (cell.state & QStyle::State_Active) ? QPalette::Normal
                                                                           : QPalette::Inactive;
  const QPalette::ColorRole role = (cell.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;
  const QRect room = textRoom(cell);
  painter->save();
  painter->setFont(cell.font);
  painter->setPen(cell.palette.color(group, role));
  painter->drawText(room, static_cast<int>(cell.displayAlignment),
                    cell.fontMetrics.elidedText(text, cell.textElideMode, room.width()));
  painter->restore();
}

bool GridCellDelegate::isTextCut(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyleOptionViewItem cell(option);
  initStyleOption(&cell, index);
  return !cell.text.isEmpty() && cell.fontMetrics.horizontalAdvance(cell.text) > textRoom(cell).width();
}

bool GridCellDelegate::isCellCut(const QAbstractItemView& view, const QModelIndex& index) const {
  QStyleOptionViewItem option;
  option.initFrom(view.viewport());
  option.widget = &view;
  option.font = view.font();
  option.fontMetrics = QFontMetrics(option.font);
  option.rect = view.visualRect(index);  // without the grid line
  return isTextCut(option, index);
}

bool GridCellDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) {
  if (event != nullptr && event->type() == QEvent::ToolTip && index.isValid()) {
    if (isTextCut(option, index)) {
      QToolTip::showText(event->globalPos(), index.data(Qt::DisplayRole).toString(), view, option.rect);
    } else {
      QToolTip::hideText();
    }
    return true;
  }
  return QStyledItemDelegate::helpEvent(event, view, option, index);
}

}  // namespace proposals
