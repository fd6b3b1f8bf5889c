// One-column item model over a TreeStore.
#ifndef ARBOLIX_TOOLKIT_TREEMODEL_H
#define ARBOLIX_TOOLKIT_TREEMODEL_H

#include "toolkit/treeitem.h"
#include "toolkit/treestore.h"

#include <QAbstractItemModel>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace tk {

// Only the children of expanded items are rows of the model: a collapsed item with children
// has children but no rows, and fetchMore, which the view calls on every kind of expansion,
// first announces the expansion (the listener may replace the children) and then inserts the
// rows. Changes below collapsed items therefore cost no notifications at all, which keeps a
// bulk fill cheap.
class TreeModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    using NodeId = TreeStore::NodeId;

    explicit TreeModel(QObject* parent = nullptr);
    ~TreeModel() override;

    const TreeStore& store() const { return *m_store; }

    QModelIndex indexOf(NodeId node) const;        // invalid for the root and for hidden items
    NodeId nodeAt(const QModelIndex& index) const; // kRoot for the invalid index
    bool isInModel(NodeId node) const;
    bool areRowsShown(NodeId node) const;

    NodeId insertItem(NodeId parent, std::string_view text, bool leaf);
    bool removeItem(NodeId node);
    // An item marked expandable shows an expand button even without children.
    void setExpandable(NodeId node, bool expandable);
    bool mayHaveChildren(NodeId node) const;
    // Takes the rows below the item out of the model after a collapse; the store keeps them.
    void hideRows(NodeId node);

    // What a screen reader says for an item (Qt::AccessibleTextRole and
    // Qt::AccessibleDescriptionRole): worked out when asked, never stored, so a million items
    // cost nothing more. Without it the row's text is read as shown.
    using AccessibleText = std::function<QString(TreeItem item, Qt::ItemDataRole role)>;
    void setAccessibleText(AccessibleText text);
    // The one column's title: screen readers are shown the header even while it is hidden.
    void setHeaderText(const QString& text);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    QModelIndex sibling(int row, int column, const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    // An item's rows are about to be shown; its children may still be replaced.
    void rowsAboutToBeFetched(tk::TreeItem item);
    // A visible item that shows no rows gained its first child or lost its last one, or
    // showed no rows after an expansion: its expand button must be drawn afresh.
    void expandButtonChanged();

private:
    // Remembers where the last lookups under a few parents ended, so that walking the rows in
    // order costs one link step each.
    struct Cursor
    {
        NodeId parent = TreeStore::kNone;
        NodeId node = TreeStore::kNone;
        uint32_t row = 0;
        uint64_t stamp = 0;
    };
    class ChangeUnderWay;
    enum class RowChange
    {
        Insert,
        Remove
    };
    // Runs storeChange, which adds or removes one row under parent. The views hear of the row
    // only where it is shown (shownRow set), and of parent's expand button when buttonChanges.
    template <class StoreChange>
    void changeOneRow(RowChange change, NodeId parent, std::optional<int> shownRow,
                      bool buttonChanges, StoreChange storeChange);
    NodeId childAt(NodeId parent, uint32_t row) const;
    NodeId walk(NodeId from, long steps) const;

    std::unique_ptr<TreeStore> m_store;
    AccessibleText m_accessibleText;
    QString m_headerText;
    // Items whose expansion is under way: asked again meanwhile, they have nothing to fetch.
    std::vector<NodeId> m_fetching;
    // While a change is being announced, nothing can be fetched: a listener fetching then
    // would nest one change inside another.
    int m_changesUnderWay = 0;
    mutable std::array<Cursor, 8> m_cursors{};
    mutable size_t m_nextCursor = 0;
};

} // namespace tk

#endif
