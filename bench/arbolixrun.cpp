#include "bench/arbolixrun.h"

#include "app/arbolixdlg.h"
#include "bench/clock.h"
#include "bench/nomatch.h"
#include "bench/populationwatch.h"
#include "bench/viewportpaint.h"
#include "search/treewalk.h"
#include "toolkit/treectrl.h"
#include "toolkit/treestore.h"

#include <QCoreApplication>

namespace bench {

namespace {

void paintPending()
{
    // Twice: the view lays out on a zero timer and paints on the request that posts.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

} // namespace

ArbolixRun::ArbolixRun() : m_dlg(std::make_unique<CArbolixDlg>()) {}

ArbolixRun::~ArbolixRun()
{
    if (m_dlg)
        m_dlg->ReleaseDirectory();
}

double ArbolixRun::populate()
{
    PopulationWatch watch(*m_dlg);
    m_dlg->create();
    if (!watch.waitUntilDone() || !m_dlg->m_tree || watch.fillEndNs() == 0)
        return -1;
    paintPending();
    return double(watch.fillEndNs() - watch.fillStartNs()) / 1e6;
}

int64_t ArbolixRun::itemCount() const
{
    return m_dlg->m_tree ? int64_t(m_dlg->m_tree->store().liveItemCount()) : 0;
}

double ArbolixRun::walkWithoutMatch(bool& matched) const
{
    const int64_t start = monotonicNanoseconds();
    const auto result = search::findNextInTree(*m_dlg->m_tree, kNoMatch, {});
    const double elapsed = millisecondsSince(start);
    matched = bool(result.item);
    return elapsed;
}

double ArbolixRun::refreshFirstStation()
{
    tk::TreeCtrl& tree = *m_dlg->m_tree;
    const tk::TreeItem station = tree.rootItem();
    if (!station)
        return -1;
    if (!tree.isItemExpanded(station)) {
        tree.expandItem(station, tk::TreeCtrl::ExpandAction::Expand);
        paintPending();
    }
    const int64_t start = monotonicNanoseconds();
    m_dlg->RefreshItem(station);
    const double elapsed = millisecondsSince(start);
    paintPending();
    return elapsed;
}

double ArbolixRun::paintExpandedViewport()
{
    tk::TreeCtrl& tree = *m_dlg->m_tree;
    const tk::TreeItem station = tree.rootItem();
    const tk::TreeItem compound = tree.childItem(station);
    if (!station || !compound)
        return -1;
    tree.expandItem(station, tk::TreeCtrl::ExpandAction::Expand);
    tree.expandItem(compound, tk::TreeCtrl::ExpandAction::Expand);
    tree.resize(kPaintedViewport + (tree.size() - tree.viewport()->size()));
    tree.scrollToTop();
    paintPending();
    return medianRepaintMs(*tree.viewport());
}

std::string ArbolixRun::firstStation() const
{
    return std::string(m_dlg->m_tree->itemText(m_dlg->m_tree->rootItem()));
}

} // namespace bench
