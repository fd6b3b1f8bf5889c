#include "toolkit/treectrl.h"

#include "toolkit/treemodel.h"
#include "toolkit/treestore.h"

#include <QAccessible>
#include <QApplication>
#include <QDrag>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QStyle>
#include <QStyleHints>
#include <QStyleOptionViewItem>
#include <algorithm>
#include <utility>
#include <vector>

namespace tk {

namespace {
using NodeId = TreeStore::NodeId;
constexpr NodeId kRoot = TreeStore::kRoot;
constexpr NodeId kNone = TreeStore::kNone;
} // namespace

TreeCtrl::TreeCtrl(QWidget* parent) : QTreeView(parent), m_model(std::make_unique<TreeModel>())
{
    setModel(m_model.get());
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setRootIsDecorated(true);
    setItemsExpandable(true);
    setExpandsOnDoubleClick(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAnimated(false);
    // Rows are never cut short: the column stretches to the tree but keeps at least the width
    // of the widest row (updateColumnWidth), and a narrower tree scrolls sideways.
    setTextElideMode(Qt::ElideNone);
    header()->setStretchLastSection(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setDragDropMode(QAbstractItemView::NoDragDrop);

    // The caret item stays highlighted while another window has the focus.
    QPalette colours = palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    setPalette(colours);

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                // The caret is the selection: Qt can move it without selecting (focus in).
                if (current.isValid() && !selectionModel()->isSelected(current))
                    selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
                emit caretChanged(itemAt(current));
            });
    connect(m_model.get(), &TreeModel::rowsAboutToBeFetched, this,
            [this](TreeItem item) { emit itemExpanding(item, ExpandAction::Expand); });
    // The view caches each visible row's expand button; only a new layout redraws it.
    connect(m_model.get(), &TreeModel::expandButtonChanged, this,
            [this] { scheduleDelayedItemsLayout(); });
    connect(this, &QTreeView::expanded, this, &TreeCtrl::fetchRowsOfExpanded);
    connect(this, &QTreeView::collapsed, this, &TreeCtrl::hideRowsOfCollapsed);
    connect(this, &QTreeView::expanded, this, &TreeCtrl::announceExpansion);
    connect(this, &QTreeView::collapsed, this, &TreeCtrl::announceExpansion);
}

TreeCtrl::~TreeCtrl()
{
    // The model goes before the view's base class; let the view forget it first, silently.
    disconnect(selectionModel(), nullptr, this, nullptr);
    setModel(nullptr);
}

const TreeStore& TreeCtrl::store() const
{
    return m_model->store();
}

QModelIndex TreeCtrl::indexOf(TreeItem item) const
{
    return m_model->indexOf(store().node(item));
}

TreeItem TreeCtrl::itemAt(const QModelIndex& index) const
{
    if (index.model() != m_model.get())
        return {};
    return store().item(m_model->nodeAt(index));
}

TreeItem TreeCtrl::insert(std::string_view text, TreeItem parent, bool leaf)
{
    const NodeId parentNode = parent ? store().node(parent) : kRoot;
    if (parentNode == kNone)
        return {};
    return store().item(m_model->insertItem(parentNode, text, leaf));
}

TreeItem TreeCtrl::insertItem(std::string_view text, TreeItem parent)
{
    return insert(text, parent, false);
}

TreeItem TreeCtrl::insertLeafItem(std::string_view text, TreeItem parent)
{
    return insert(text, parent, true);
}

std::string_view TreeCtrl::itemText(TreeItem item) const
{
    return store().text(store().node(item));
}

TreeItem TreeCtrl::parentItem(TreeItem item) const
{
    return store().item(store().parent(store().node(item)));
}

TreeItem TreeCtrl::childItem(TreeItem item) const
{
    const NodeId node = item ? store().node(item) : kRoot;
    return store().item(store().firstChild(node));
}

TreeItem TreeCtrl::nextSiblingItem(TreeItem item) const
{
    return store().item(store().nextSibling(store().node(item)));
}

TreeItem TreeCtrl::rootItem() const
{
    return store().item(store().firstChild(kRoot));
}

bool TreeCtrl::itemHasChildren(TreeItem item) const
{
    const NodeId node = item ? store().node(item) : kRoot;
    return m_model->mayHaveChildren(node);
}

void TreeCtrl::setItemExpandable(TreeItem item, bool expandable)
{
    m_model->setExpandable(store().node(item), expandable);
}

void TreeCtrl::setCaret(const QModelIndex& index)
{
    selectionModel()->setCurrentIndex(index, index.isValid() ? QItemSelectionModel::ClearAndSelect
                                                             : QItemSelectionModel::Clear);
}

bool TreeCtrl::deleteItem(TreeItem item)
{
    const TreeStore& items = store();
    const NodeId node = items.node(item);
    if (node == kNone)
        return false;
    // Qt itself would leave the current index dangling or unreported when an ancestor of it
    // goes, so the caret moves first, to a neighbour or the parent.
    const NodeId caret = m_model->nodeAt(currentIndex());
    if (caret != kRoot && items.isAncestorOrSelf(node, caret)) {
        NodeId next = items.nextSibling(node);
        if (next == kNone)
            next = items.previousSibling(node);
        if (next == kNone)
            next = items.parent(node);
        setCaret(m_model->indexOf(next));
    }
    // The caret report may have run code that changed the tree.
    return m_model->removeItem(items.node(item));
}

bool TreeCtrl::selectItem(TreeItem item)
{
    if (!item) {
        setCaret({});
        return true;
    }
    const TreeStore& items = store();
    const NodeId node = items.node(item);
    if (node == kNone)
        return false;
    std::vector<TreeItem> ancestors;
    for (NodeId a = items.parent(node); a != kRoot && a != kNone; a = items.parent(a))
        ancestors.push_back(items.item(a));

    // Outermost first, each through the view so that it runs its expanding notification now,
    // even when the view is hidden or has a layout pending.
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
        const QModelIndex index = indexOf(*it);
        if (!index.isValid())
            return false;
        if (!isExpanded(index))
            expand(index);
        fetchRowsOfExpanded(indexOf(*it));
    }
    const QModelIndex index = indexOf(item);
    if (!index.isValid())
        return false;
    setCaret(index);
    scrollTo(index, QAbstractItemView::EnsureVisible);
    return true;
}

TreeItem TreeCtrl::selectedItem() const
{
    return itemAt(currentIndex());
}

bool TreeCtrl::isItemExpanded(TreeItem item) const
{
    const QModelIndex index = indexOf(item);
    return index.isValid() && isExpanded(index);
}

bool TreeCtrl::expandItem(TreeItem item, ExpandAction action)
{
    const QModelIndex index = indexOf(item);
    if (!index.isValid())
        return false;
    if (action == ExpandAction::Expand) {
        if (!itemHasChildren(item))
            return false;
        expand(index);
        fetchRowsOfExpanded(indexOf(item));
        return true;
    }
    collapse(index);
    // A view with a layout pending records the collapse without reporting it.
    hideRowsOfCollapsed(indexOf(item));
    return true;
}

void TreeCtrl::fetchRowsOfExpanded(const QModelIndex& index)
{
    if (index.isValid() && isExpanded(index) && m_model->canFetchMore(index))
        m_model->fetchMore(index);
}

void TreeCtrl::hideRowsOfCollapsed(const QModelIndex& index)
{
    const TreeStore& items = store();
    const TreeItem item = itemAt(index);
    if (!item || isExpanded(index) || !m_model->areRowsShown(items.node(item)))
        return;
    if (items.childCount(items.node(item)) > 0)
        emit itemExpanding(item, ExpandAction::Collapse);

    const QModelIndex collapsed = indexOf(item);
    const NodeId node = items.node(item);
    if (!collapsed.isValid() || !m_model->areRowsShown(node))
        return;
    // Qt leaves a hidden current index where it was, unreported.
    const NodeId caret = m_model->nodeAt(currentIndex());
    if (caret != kRoot && caret != node && items.isAncestorOrSelf(node, caret))
        setCaret(collapsed);
    m_model->hideRows(node);
}

void TreeCtrl::setBranchStyle(const BranchStyle& style)
{
    m_branchStyle = style;
    setRootIsDecorated(style.linesAtRoot);
    updateColumnWidth();
    viewport()->update();
}

void TreeCtrl::setLongestTexts(std::vector<int> charactersPerLevel)
{
    m_longestTexts = std::move(charactersPerLevel);
    updateColumnWidth();
}

int TreeCtrl::widestRowWidth() const
{
    // The style sizes a text of the longest length in the font's widest letter, as it sizes an
    // item, margins included; a monospaced font has no wider text of that length.
    QStyleOptionViewItem option;
    option.initFrom(this);
    option.font = font();
    option.fontMetrics = QFontMetrics(font());
    option.features = QStyleOptionViewItem::HasDisplay;
    option.textElideMode = Qt::ElideNone;
    int widest = 0;
    for (size_t level = 0; level < m_longestTexts.size(); ++level) {
        option.text = QString(std::max(0, m_longestTexts[level]), QChar(u'W'));
        const int text =
            style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).width();
        const int indents = int(level) + (rootIsDecorated() ? 1 : 0);
        widest = std::max(widest, indents * indentation() + text);
    }
    return widest;
}

void TreeCtrl::updateColumnWidth()
{
    // The last section stretches to the viewport, but never below this.
    header()->setMinimumSectionSize(std::max(widestRowWidth(), 1));
}

void TreeCtrl::changeEvent(QEvent* event)
{
    QTreeView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        updateColumnWidth();
}

void TreeCtrl::setDragData(DragData data)
{
    m_dragData = std::move(data);
    // Names go out; nothing is ever dropped in.
    setDragDropMode(m_dragData ? QAbstractItemView::DragOnly : QAbstractItemView::NoDragDrop);
}

void TreeCtrl::startDrag(Qt::DropActions)
{
    if (!m_dragData || m_dragging)
        return;
    std::unique_ptr<QMimeData> mime = m_dragData();
    if (!mime)
        return;
    // Qt deletes the drag, and the data with it, once the drop is finished or cancelled: a
    // program that was dropped on asks for the data only after the drag call has returned.
    // Parented to the tree, it goes with the tree at the latest.
    auto* drag = new QDrag(this);
    drag->setMimeData(mime.release());
    const QPointer<TreeCtrl> alive(this);
    m_dragging = true;
    drag->exec(Qt::CopyAction, Qt::CopyAction);
    if (alive)
        m_dragging = false;
}

void TreeCtrl::cancelDrag()
{
    // Asked only while a drag runs: where no drag can run, the platform answers with a warning.
    if (m_dragging)
        QDrag::cancel();
}

void TreeCtrl::setMarkedItem(TreeItem item)
{
    if (item == m_markedItem)
        return;
    m_markedItem = item;
    viewport()->update();
}

TreeItem TreeCtrl::markedItem() const
{
    return m_markedItem;
}

void TreeCtrl::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                       const QModelIndex& index) const
{
    QTreeView::drawRow(painter, option, index);
    if (!m_markedItem || itemAt(index) != m_markedItem)
        return;
    // Around the text, where the selection would show, two pixels wide so any theme shows it.
    QRect text = visualRect(index).intersected(option.rect);
    text.setTop(option.rect.top());
    text.setBottom(option.rect.bottom());
    const QColor frame = palette().color(QPalette::Active, QPalette::Highlight);
    painter->fillRect(QRect(text.left(), text.top(), text.width(), 2), frame);
    painter->fillRect(QRect(text.left(), text.bottom() - 1, text.width(), 2), frame);
    painter->fillRect(QRect(text.left(), text.top(), 2, text.height()), frame);
    painter->fillRect(QRect(text.right() - 1, text.top(), 2, text.height()), frame);
}

QItemSelectionModel::SelectionFlags TreeCtrl::selectionCommand(const QModelIndex& index,
                                                               const QEvent* event) const
{
    // A release selects nothing either: after a press on empty space the view would select
    // the row the button comes up on.
    if (event && event->type() == QEvent::MouseButtonRelease)
        return QItemSelectionModel::NoUpdate;
    const QItemSelectionModel::SelectionFlags command = QTreeView::selectionCommand(index, event);
    if (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        return QItemSelectionModel::NoUpdate;
    return command;
}

void TreeCtrl::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const
{
    const int indent = indentation();
    const TreeStore& items = store();
    const NodeId node = m_model->nodeAt(index);
    if (indent <= 0 || rect.width() < indent || node == kRoot || !items.isItem(node))
        return;

    QPalette colours = palette();
    colours.setCurrentColorGroup(!isEnabled()       ? QPalette::Disabled
                                 : isActiveWindow() ? QPalette::Active
                                                    : QPalette::Inactive);
    const BranchColours branchColours = BranchColours::from(colours);
    // Only the text shows the selection; the lines and boxes stay on the tree's background.
    painter->fillRect(rect, colours.brush(QPalette::Base));
    const QPoint contentOffset(horizontalOffset(), verticalOffset());
    const auto linesFor = [&](NodeId n) {
        return m_branchStyle.lines && (items.parent(n) != kRoot || m_branchStyle.linesAtRoot);
    };

    // The item's own cell is the rightmost; each one to its left belongs to an ancestor.
    QRect cell(rect.right() + 1 - indent, rect.top(), indent, rect.height());
    BranchCell own;
    if (linesFor(node)) {
        own.lineRight = true;
        own.lineUp = items.parent(node) != kRoot || items.previousSibling(node) != kNone;
        own.lineDown = items.nextSibling(node) != kNone;
    }
    // Drawn from what the item may hold, not from its rows: an item whose listing failed
    // keeps its box, open or closed, until a listing says it has no children.
    if (m_branchStyle.buttons && m_model->mayHaveChildren(node))
        own.button =
            isExpanded(index) ? BranchCell::Button::Expanded : BranchCell::Button::Collapsed;
    drawBranchCell(*painter, cell, contentOffset, own, branchColours);

    for (NodeId ancestor = items.parent(node);
         ancestor != kRoot && ancestor != kNone && cell.left() - indent >= rect.left();
         ancestor = items.parent(ancestor)) {
        cell.translate(-indent, 0);
        BranchCell through;
        through.lineUp = through.lineDown =
            linesFor(ancestor) && items.nextSibling(ancestor) != kNone;
        drawBranchCell(*painter, cell, contentOffset, through, branchColours);
    }
}

void TreeCtrl::mousePressEvent(QMouseEvent* event)
{
    m_dragFrom.reset();
    m_lastPress.reset();
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    m_lastPress = Press{itemAt(indexAt(event->position().toPoint())), event->timestamp()};
    const QPointer<TreeCtrl> alive(this);
    QTreeView::mousePressEvent(event);
    if (!alive)
        return;
    // A drag starts only from the text of the item the press selected, not from its box.
    const QPoint at = event->position().toPoint();
    const QModelIndex pressed = indexAt(at);
    if (m_dragData && pressed.isValid() && pressed == currentIndex() &&
        at.x() >= visualRect(pressed).left())
        m_dragFrom = at;
}

void TreeCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    m_dragFrom.reset();
    if (m_lastPress)
        m_lastPress->released = true;
    QTreeView::mouseReleaseEvent(event);
}

void TreeCtrl::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() == Qt::NoButton) {
        QTreeView::mouseMoveEvent(event);
        return;
    }
    // With a button held the rows passed are not selected: the view's own handling would
    // select them. Only the left button, far enough from a press on the selected item, drags.
    event->accept();
    if (!(event->buttons() & Qt::LeftButton) || !m_dragFrom ||
        (event->position().toPoint() - *m_dragFrom).manhattanLength() <
            QApplication::startDragDistance())
        return;
    m_dragFrom.reset();
    m_lastPress.reset();
    const QPointer<TreeCtrl> alive(this);
    startDrag(Qt::CopyAction);
    // The drag took the release; the view is no longer pressed.
    if (alive)
        setState(NoState);
}

void TreeCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    // The window system pairs presses wherever the first one went: the tree may never have seen
    // it, and the rows may have moved since. A double-click acts only on what the first press hit.
    const std::optional<Press> first = std::exchange(m_lastPress, std::nullopt);
    const quint64 interval = quint64(QGuiApplication::styleHints()->mouseDoubleClickInterval());
    if (!first || !first->released || first->timestamp > event->timestamp() ||
        event->timestamp() - first->timestamp > interval ||
        first->item != itemAt(indexAt(event->position().toPoint()))) {
        QMouseEvent press(QEvent::MouseButtonPress, event->position(), event->scenePosition(),
                          event->globalPosition(), event->button(), event->buttons(),
                          event->modifiers(), event->pointingDevice());
        press.setTimestamp(event->timestamp());
        mousePressEvent(&press);
        return;
    }
    const QPointer<TreeCtrl> alive(this);
    emit doubleClick();
    if (alive)
        QTreeView::mouseDoubleClickEvent(event);
}

void TreeCtrl::setTreeName(const QString& name)
{
    setAccessibleName(name);
    m_model->setHeaderText(name);
}

void TreeCtrl::setAccessibleText(AccessibleText text)
{
    m_model->setAccessibleText(std::move(text));
}

void TreeCtrl::focusInEvent(QFocusEvent* event)
{
    QTreeView::focusInEvent(event);
    // The window system announces the tree itself after this handler, which would take the
    // reader's focus off the current row: the row is announced again once that is done.
    if (QAccessible::isActive())
        QMetaObject::invokeMethod(this, &TreeCtrl::announceCurrentRow, Qt::QueuedConnection);
}

QAccessibleInterface* TreeCtrl::accessibleRow(const QModelIndex& index)
{
    const int height = index.isValid() ? rowHeight(index) : 0;
    QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(this);
    QAccessibleTableInterface* table = tree ? tree->tableInterface() : nullptr;
    if (height <= 0 || !table)
        return nullptr;
    // Rows are all of one height, so the row's place among the shown rows follows from its top.
    const int shownRow = (visualRect(index).top() + verticalOffset()) / height;
    if (shownRow < 0 || shownRow >= table->rowCount())
        return nullptr;
    return table->cellAt(shownRow, 0);
}

void TreeCtrl::announceFocusedRow(const QModelIndex& index, bool afresh)
{
    QAccessibleInterface* cell = accessibleRow(index);
    if (!cell)
        return;
    const QAccessible::Id id = QAccessible::uniqueId(cell);
    // Orca takes a row that looks like the one it is on (name, role, place) for that row and
    // says nothing. Qt 6.4 makes a new accessible object for a row each time it is asked, so the
    // one the reader is on can go: the reader then takes the row as new and says it again.
    if (afresh && m_focusedRow != 0 && m_focusedRow != id &&
        QAccessible::accessibleInterface(m_focusedRow))
        QAccessible::deleteAccessibleInterface(m_focusedRow);
    m_focusedRow = id;
    QAccessibleEvent focus(cell, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}

void TreeCtrl::announceExpansion(const QModelIndex& index)
{
    if (!QAccessible::isActive())
        return;
    // Asked afresh: the handlers before this one may have changed the tree.
    const QModelIndex row = indexOf(itemAt(index));
    QAccessibleInterface* cell = accessibleRow(row);
    if (!cell)
        return;
    QAccessible::State changed;
    changed.expanded = true;
    QAccessibleStateChangeEvent event(cell, changed);
    QAccessible::updateAccessibility(&event);
    // Qt 6.4's bridge drops that state change, so the current row is said again as well. Only
    // while the tree has the focus: a search opening branches from the Find window leaves the
    // reader there.
    if (hasFocus() && row == currentIndex())
        announceFocusedRow(row, true);
}

void TreeCtrl::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (!QAccessible::isActive()) {
        QTreeView::currentChanged(current, previous);
        return;
    }
    // Qt's tree view would tell screen readers that its new current row has the focus even when
    // the focus is elsewhere (a match found from the Find window); the tree tells them itself,
    // only while it has the focus. The rows are redrawn as the view redraws them.
    for (const QModelIndex& row : {previous, current}) {
        if (row.isValid())
            viewport()->update(visualRect(row));
    }
    QAbstractItemView::currentChanged(current, previous);
    if (hasFocus() && current.isValid())
        announceFocusedRow(current, false);
}

void TreeCtrl::announceCurrentRow()
{
    const QModelIndex current = currentIndex();
    if (!hasFocus() || !current.isValid() || !QAccessible::isActive())
        return;
    announceFocusedRow(current, false);
}

} // namespace tk
