// Tree control: a compact item store behind a Qt model and view.
#ifndef ARBOLIX_TOOLKIT_TREECTRL_H
#define ARBOLIX_TOOLKIT_TREECTRL_H

#include "toolkit/treebranches.h"
#include "toolkit/treeitem.h"

#include <QAccessible>
#include <QMimeData>
#include <QTreeView>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace tk {

class TreeStore;
class TreeModel;

class TreeCtrl : public QTreeView
{
    Q_OBJECT
public:
    enum class ExpandAction
    {
        Collapse,
        Expand
    };

    explicit TreeCtrl(QWidget* parent = nullptr);
    ~TreeCtrl() override;

    // Inserts an item as the last child of parent (null: at the root). Null on failure.
    TreeItem insertItem(std::string_view text, TreeItem parent = {});
    // Inserts an item that can never have children, so the view never offers to expand it.
    TreeItem insertLeafItem(std::string_view text, TreeItem parent = {});
    // The exact bytes the item was given; empty for a null or deleted handle.
    std::string_view itemText(TreeItem item) const;
    TreeItem parentItem(TreeItem item) const;
    // The first child; for a null item, the first root item.
    TreeItem childItem(TreeItem item) const;
    TreeItem nextSiblingItem(TreeItem item) const;
    TreeItem rootItem() const;
    // For a null item, whether the tree has any items.
    // True for an item with children, and for one marked expandable.
    bool itemHasChildren(TreeItem item) const;
    // Keeps the expand button of an item without children, so that expanding it can ask for
    // them again; cleared, the item's children alone decide.
    void setItemExpandable(TreeItem item, bool expandable);
    // Deletes the item with its subtree. A selection inside it moves to a neighbour or the parent.
    bool deleteItem(TreeItem item);
    // Makes the item the caret item, expanding its collapsed ancestors (each with its
    // itemExpanding notification, before this returns) and scrolling it into view.
    // A null item clears the caret. False if the item is stale or went away while its
    // ancestors were expanded.
    bool selectItem(TreeItem item);
    TreeItem selectedItem() const;
    bool isItemExpanded(TreeItem item) const;
    // Expands or collapses as the operator would, notifications included. The item must be
    // visible (its ancestors expanded); expanding needs children.
    bool expandItem(TreeItem item, ExpandAction action);

    // What is drawn left of the texts; also whether the root items get a branch column.
    void setBranchStyle(const BranchStyle& style);

    // The longest text each level can have, in characters (roots first). The column is made as
    // wide as the widest of those rows in the tree's font, and the tree scrolls sideways when
    // it is narrower: rows are never cut short.
    void setLongestTexts(std::vector<int> charactersPerLevel);
    // The pixels the widest possible row needs, its indentation included.
    int widestRowWidth() const;

    // Dragging an item with the left button offers what this makes. The press has selected the
    // item, so it is made for the caret item; null: nothing to drag.
    using DragData = std::function<std::unique_ptr<QMimeData>()>;
    void setDragData(DragData data);
    // Cancels a drag out of the tree that is under way, as Escape would; nothing otherwise.
    void cancelDrag();

    // A row highlighted without being selected (a frame in the highlight colour), such as the
    // one a context menu acts on; null: none.
    void setMarkedItem(TreeItem item);
    TreeItem markedItem() const;

    // The tree's name for screen readers; the hidden header they are shown carries it too.
    void setTreeName(const QString& name);
    // What a screen reader says for a row, asked for the accessible text or description role
    // when the row is read; nothing is kept per item.
    using AccessibleText = std::function<QString(TreeItem item, Qt::ItemDataRole role)>;
    void setAccessibleText(AccessibleText text);

    const TreeStore& store() const;
    QModelIndex indexOf(TreeItem item) const;
    TreeItem itemAt(const QModelIndex& index) const;

signals:
    // Before an item with children expands or collapses. A handler may replace the item's
    // children; the expansion then goes on with the new ones.
    void itemExpanding(tk::TreeItem item, tk::TreeCtrl::ExpandAction action);
    // The caret item changed (null when the tree became empty).
    void caretChanged(tk::TreeItem item);
    // A double-click anywhere in the tree, also below the items; reported before the
    // tree's own double-click handling. Only when the tree took the press and release that began
    // it, on the same row (or the same empty space): a second press whose first went elsewhere (a
    // box, a drag, input dropped meanwhile) is taken as an ordinary press.
    void doubleClick();

protected:
    // Only a press of the left button on an item selects, and only the left button opens,
    // closes and double-clicks; a move with a button held selects nothing (from a press on the
    // selected item it may start a drag). The right button does not select; the middle button
    // does nothing.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;
    void startDrag(Qt::DropActions supportedActions) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    // Nothing unselects the caret: a Ctrl+click or Ctrl+Space on it leaves it selected.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void focusInEvent(QFocusEvent* event) override;
    // Screen readers hear of a new current row only while the tree has the focus.
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    TreeItem insert(std::string_view text, TreeItem parent, bool leaf);
    void setCaret(const QModelIndex& index);
    void fetchRowsOfExpanded(const QModelIndex& index);
    void hideRowsOfCollapsed(const QModelIndex& index);
    void updateColumnWidth();
    // Screen readers hear a branch open or close, and the row the focus comes to.
    void announceExpansion(const QModelIndex& index);
    void announceCurrentRow();
    QAccessibleInterface* accessibleRow(const QModelIndex& index);
    // afresh: said again even where the reader is on that row already.
    void announceFocusedRow(const QModelIndex& index, bool afresh);

    std::unique_ptr<TreeModel> m_model;
    BranchStyle m_branchStyle;
    std::vector<int> m_longestTexts;
    DragData m_dragData;
    TreeItem m_markedItem;
    // Where a left press on the selected item's text was, while a move may still make it a drag.
    std::optional<QPoint> m_dragFrom;
    bool m_dragging = false;
    // The accessible row last announced as focused.
    QAccessible::Id m_focusedRow = 0;
    // The last left press the tree took, while it may still begin a double-click.
    struct Press
    {
        TreeItem item;
        quint64 timestamp = 0;
        bool released = false;
    };
    std::optional<Press> m_lastPress;
};

} // namespace tk

#endif
