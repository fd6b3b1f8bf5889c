#include "bench/plaintree.h"

#include "bench/benchreading.h"
#include "bench/clock.h"
#include "bench/nomatch.h"
#include "bench/viewportpaint.h"

#include <QCoreApplication>

namespace bench {

namespace {

struct WidgetSink
{
    QTreeWidget& tree;

    static QStringList textOf(std::string_view text)
    {
        return QStringList(QString::fromLocal8Bit(text.data(), qsizetype(text.size())));
    }
    QTreeWidgetItem* station(std::string_view name)
    {
        return new QTreeWidgetItem(&tree, textOf(name));
    }
    QTreeWidgetItem* compound(QTreeWidgetItem* station, std::string_view name)
    {
        return new QTreeWidgetItem(station, textOf(name));
    }
    void block(QTreeWidgetItem* compound, std::string_view line)
    {
        new QTreeWidgetItem(compound, textOf(line));
    }
};

void paintPending()
{
    // Twice: the view lays out on a zero timer and paints on the request that posts.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

} // namespace

PlainTree::PlainTree() : m_tree(std::make_unique<QTreeWidget>())
{
    m_tree->setHeaderHidden(true);
    m_tree->setUniformRowHeights(true);
    m_tree->resize(400, 600);
    m_tree->show();
    paintPending();
}

PlainTree::~PlainTree() = default;

double PlainTree::populate()
{
    const int64_t start = monotonicNanoseconds();
    WidgetSink sink{*m_tree};
    readWholeDirectory(sink);
    const double elapsed = millisecondsSince(start);
    paintPending();
    return elapsed;
}

double PlainTree::paintExpandedViewport(const QFont& font)
{
    QTreeWidgetItem* station = m_tree->topLevelItem(0);
    if (!station || station->childCount() == 0)
        return -1;
    m_tree->setFont(font);
    station->setExpanded(true);
    station->child(0)->setExpanded(true);
    m_tree->resize(kPaintedViewport + (m_tree->size() - m_tree->viewport()->size()));
    m_tree->scrollToTop();
    paintPending();
    return medianRepaintMs(*m_tree->viewport());
}

int64_t PlainTree::itemCount() const
{
    int64_t count = 0;
    for (QTreeWidgetItemIterator it(m_tree.get()); *it; ++it)
        ++count;
    return count;
}

double PlainTree::walkWithoutMatch(bool& matched) const
{
    const QString station = QString::fromLatin1(kNoMatch.station);
    const QString compound = QString::fromLatin1(kNoMatch.compound);
    const QString block = QString::fromLatin1(kNoMatch.block);
    const int64_t start = monotonicNanoseconds();
    matched = false;
    for (int s = 0; s < m_tree->topLevelItemCount() && !matched; ++s) {
        const QTreeWidgetItem* stationItem = m_tree->topLevelItem(s);
        if (!stationItem->text(0).contains(station))
            continue;
        for (int c = 0; c < stationItem->childCount() && !matched; ++c) {
            const QTreeWidgetItem* compoundItem = stationItem->child(c);
            if (!compoundItem->text(0).contains(compound))
                continue;
            for (int b = 0; b < compoundItem->childCount() && !matched; ++b)
                matched = compoundItem->child(b)->text(0).contains(block);
        }
    }
    return millisecondsSince(start);
}

} // namespace bench
