// The plain Qt way: the same items in a shown QTreeWidget, one QTreeWidgetItem each.
#ifndef ARBOLIX_BENCH_PLAINTREE_H
#define ARBOLIX_BENCH_PLAINTREE_H

#include <QTreeWidget>
#include <cstdint>
#include <memory>

namespace bench {

class PlainTree
{
public:
    // Shows an empty tree widget and lets it paint.
    PlainTree();
    ~PlainTree();

    // Reads the whole directory into the widget; milliseconds, the paint after it not counted.
    double populate();
    int64_t itemCount() const;
    // The walk a straightforward Find makes over the widget for fragments that match nothing,
    // comparing text(0) at every level; milliseconds. matched tells whether anything matched.
    double walkWithoutMatch(bool& matched) const;

    // The same rows as ArbolixRun::paintExpandedViewport, in the same font and viewport.
    double paintExpandedViewport(const QFont& font);

private:
    std::unique_ptr<QTreeWidget> m_tree;
};

} // namespace bench

#endif
