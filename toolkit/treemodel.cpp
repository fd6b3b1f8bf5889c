#include "toolkit/treemodel.h"

#include "toolkit/bytetext.h"

#include <QScopeGuard>
#include <QString>
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <utility>

namespace tk {

namespace {
constexpr TreeStore::NodeId kRoot = TreeStore::kRoot;
constexpr TreeStore::NodeId kNone = TreeStore::kNone;
} // namespace

class TreeModel::ChangeUnderWay
{
public:
    explicit ChangeUnderWay(TreeModel& model) : m_model(model) { ++m_model.m_changesUnderWay; }
    ~ChangeUnderWay() { --m_model.m_changesUnderWay; }
    ChangeUnderWay(const ChangeUnderWay&) = delete;
    ChangeUnderWay& operator=(const ChangeUnderWay&) = delete;

private:
    TreeModel& m_model;
};

TreeModel::TreeModel(QObject* parent)
    : QAbstractItemModel(parent), m_store(std::make_unique<TreeStore>())
{
}

TreeModel::~TreeModel() = default;

TreeModel::NodeId TreeModel::nodeAt(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return kRoot;
    return static_cast<NodeId>(index.internalId());
}

bool TreeModel::areRowsShown(NodeId node) const
{
    return node == kRoot || m_store->rowsShown(node);
}

bool TreeModel::isInModel(NodeId node) const
{
    return node == kRoot || (m_store->isItem(node) && areRowsShown(m_store->parent(node)));
}

QModelIndex TreeModel::indexOf(NodeId node) const
{
    if (node == kRoot || !isInModel(node))
        return {};
    return createIndex(static_cast<int>(m_store->row(node)), 0, quintptr{node});
}

template <class StoreChange>
void TreeModel::changeOneRow(RowChange change, NodeId parent, std::optional<int> shownRow,
                             bool buttonChanges, StoreChange storeChange)
{
    const ChangeUnderWay underWay(*this);
    if (shownRow && change == RowChange::Insert)
        beginInsertRows(indexOf(parent), *shownRow, *shownRow);
    else if (shownRow)
        beginRemoveRows(indexOf(parent), *shownRow, *shownRow);
    storeChange();
    if (shownRow && change == RowChange::Insert)
        endInsertRows();
    else if (shownRow)
        endRemoveRows();
    if (buttonChanges)
        emit expandButtonChanged();
}

TreeModel::NodeId TreeModel::insertItem(NodeId parent, std::string_view text, bool leaf)
{
    if (!m_store->canInsert(parent, text.size()))
        return kNone;
    // The cheap flags first: in a bulk fill almost every parent shows no rows and has children.
    const bool parentShowsRows = areRowsShown(parent);
    const bool notify = parentShowsRows && isInModel(parent);
    const bool buttonChanges = !parentShowsRows && !mayHaveChildren(parent) && isInModel(parent);
    const auto shownRow =
        notify ? std::optional(static_cast<int>(m_store->childCount(parent))) : std::nullopt;
    NodeId node = kNone;
    changeOneRow(RowChange::Insert, parent, shownRow, buttonChanges,
                 [&] { node = m_store->insert(parent, text, leaf); });
    return node;
}

bool TreeModel::removeItem(NodeId node)
{
    if (!m_store->isItem(node))
        return false;
    const NodeId parent = m_store->parent(node);
    const bool notify = isInModel(node);
    const bool buttonChanges = !notify && isInModel(parent) && m_store->childCount(parent) == 1 &&
                               !m_store->isExpandable(parent);
    const auto shownRow =
        notify ? std::optional(static_cast<int>(m_store->row(node))) : std::nullopt;
    changeOneRow(RowChange::Remove, parent, shownRow, buttonChanges,
                 [&] { m_store->remove(node); });
    return true;
}

void TreeModel::hideRows(NodeId node)
{
    if (node == kRoot || !m_store->rowsShown(node) || !isInModel(node))
        return;
    const uint32_t count = m_store->childCount(node);
    const ChangeUnderWay change(*this);
    if (count > 0)
        beginRemoveRows(indexOf(node), 0, static_cast<int>(count - 1));
    // Items below show no rows either once they come back, as the view forgets their state.
    std::vector<NodeId> pending{node};
    while (!pending.empty()) {
        const NodeId n = pending.back();
        pending.pop_back();
        m_store->setRowsShown(n, false);
        for (NodeId c = m_store->firstChild(n); c != kNone; c = m_store->nextSibling(c)) {
            if (m_store->rowsShown(c))
                pending.push_back(c);
        }
    }
    if (count > 0)
        endRemoveRows();
}

TreeModel::NodeId TreeModel::walk(NodeId from, long steps) const
{
    NodeId n = from;
    for (; steps > 0 && n != kNone; --steps)
        n = m_store->nextSibling(n);
    for (; steps < 0 && n != kNone; ++steps)
        n = m_store->previousSibling(n);
    return n;
}

TreeModel::NodeId TreeModel::childAt(NodeId parent, uint32_t row) const
{
    const uint32_t count = m_store->childCount(parent);
    if (row >= count)
        return kNone;
    const uint64_t stamp = m_store->structureStamp();

    // Start from whichever known position is nearest: the first, the last or a cursor.
    NodeId from = m_store->firstChild(parent);
    long steps = row;
    if (count - 1 - row < row) {
        from = m_store->lastChild(parent);
        steps = -static_cast<long>(count - 1 - row);
    }
    Cursor* slot = nullptr;
    for (Cursor& c : m_cursors) {
        if (c.parent != parent || c.stamp != stamp)
            continue;
        slot = &c;
        const long distance = static_cast<long>(row) - static_cast<long>(c.row);
        if (std::labs(distance) < std::labs(steps)) {
            from = c.node;
            steps = distance;
        }
        break;
    }
    const NodeId node = walk(from, steps);
    if (!slot) {
        slot = &m_cursors[m_nextCursor];
        m_nextCursor = (m_nextCursor + 1) % m_cursors.size();
    }
    *slot = Cursor{parent, node, row, stamp};
    return node;
}

QModelIndex TreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (!hasIndex(row, column, parent))
        return {};
    const NodeId node = childAt(nodeAt(parent), static_cast<uint32_t>(row));
    if (node == kNone)
        return {};
    return createIndex(row, column, quintptr{node});
}

QModelIndex TreeModel::parent(const QModelIndex& child) const
{
    const NodeId parent = m_store->parent(nodeAt(child));
    if (parent == kRoot || parent == kNone)
        return {};
    return createIndex(static_cast<int>(m_store->row(parent)), 0, quintptr{parent});
}

QModelIndex TreeModel::sibling(int row, int column, const QModelIndex& index) const
{
    if (!index.isValid() || column != 0 || row < 0)
        return {};
    if (row == index.row())
        return index;
    const NodeId parent = m_store->parent(nodeAt(index));
    if (static_cast<uint32_t>(row) >= m_store->childCount(parent))
        return {};
    const long steps = static_cast<long>(row) - index.row();
    // Near neighbours are reached by their links; far ones through the cursors.
    const NodeId node = std::labs(steps) <= 64 ? walk(nodeAt(index), steps)
                                               : childAt(parent, static_cast<uint32_t>(row));
    if (node == kNone)
        return {};
    return createIndex(row, 0, quintptr{node});
}

int TreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    const NodeId node = nodeAt(parent);
    return areRowsShown(node) ? static_cast<int>(m_store->childCount(node)) : 0;
}

int TreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

bool TreeModel::hasChildren(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return false;
    return mayHaveChildren(nodeAt(parent));
}

bool TreeModel::mayHaveChildren(NodeId node) const
{
    return m_store->childCount(node) > 0 || m_store->isExpandable(node);
}

void TreeModel::setExpandable(NodeId node, bool expandable)
{
    if (!m_store->isItem(node) || m_store->isExpandable(node) == expandable)
        return;
    const bool buttonChanges = m_store->childCount(node) == 0 && isInModel(node);
    m_store->setExpandable(node, expandable);
    if (buttonChanges)
        emit expandButtonChanged();
}

void TreeModel::setAccessibleText(AccessibleText text)
{
    m_accessibleText = std::move(text);
}

void TreeModel::setHeaderText(const QString& text)
{
    m_headerText = text;
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

QVariant TreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (section == 0 && orientation == Qt::Horizontal && !m_headerText.isEmpty() &&
        (role == Qt::DisplayRole || role == Qt::AccessibleTextRole))
        return m_headerText;
    return QAbstractItemModel::headerData(section, orientation, role);
}

QVariant TreeModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::AccessibleTextRole || role == Qt::AccessibleDescriptionRole) {
        const TreeItem item = m_store->item(nodeAt(index));
        if (!m_accessibleText || !item)
            return {};
        return m_accessibleText(item, Qt::ItemDataRole(role));
    }
    if (role != Qt::DisplayRole)
        return {};
    // Shown decoded, never stored decoded: the item keeps its exact bytes.
    return textOfBytes(m_store->text(nodeAt(index)));
}

Qt::ItemFlags TreeModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Draggable only where the view allows dragging at all.
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    if (m_store->isLeaf(nodeAt(index)))
        flags |= Qt::ItemNeverHasChildren;
    return flags;
}

bool TreeModel::canFetchMore(const QModelIndex& parent) const
{
    const NodeId node = nodeAt(parent);
    return m_changesUnderWay == 0 && node != kRoot && parent.column() == 0 &&
           !m_store->rowsShown(node) && mayHaveChildren(node) &&
           std::find(m_fetching.begin(), m_fetching.end(), node) == m_fetching.end();
}

void TreeModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    const NodeId fetched = nodeAt(parent);
    const TreeItem item = m_store->item(fetched);
    m_fetching.push_back(fetched);
    const auto done = qScopeGuard([this] { m_fetching.pop_back(); });
    emit rowsAboutToBeFetched(item);

    // The listener may have changed anything; go on only with what is still there.
    const NodeId node = m_store->node(item);
    if (node == kNone || m_store->rowsShown(node) || !isInModel(node))
        return;
    const uint32_t count = m_store->childCount(node);
    if (count == 0) {
        m_store->setRowsShown(node, true);
        emit expandButtonChanged();
        return;
    }
    const ChangeUnderWay change(*this);
    beginInsertRows(indexOf(node), 0, static_cast<int>(count - 1));
    m_store->setRowsShown(node, true);
    endInsertRows();
}

} // namespace tk
