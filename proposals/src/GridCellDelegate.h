// Draws the cells of the window's grids as the style does, but with the
// narrow text margin of the desktop's data grids (2 px each side instead of
// the style's 3, so that "Código" holds six digits), and shows the whole
// text of a cell that is still too narrow for it as a tool tip.
#pragma once

#include <QStyledItemDelegate>

namespace proposals {

class GridCellDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  static constexpr int kTextMargin = 2;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  // Whether the cell's display text is wider than its room (and so is drawn
  // cut, ending in "…").
  bool isTextCut(const QStyleOptionViewItem& option, const QModelIndex& index) const;
  // The same for a cell of `view` as the view draws it.
  bool isCellCut(const QAbstractItemView& view, const QModelIndex& index) const;

  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override;
};

}  // namespace proposals
