// The directory reader's sink for a listing the main window waits for (the population, a
// refresh), run behind an event gate: it puts stations, compounds and block lines into the tree.
// Between library calls it lets the pending non-input events run, at most every
// kEventIntervalMs, so the windows repaint and a termination request is seen (it comes as a
// socket notification); once the program is ending it stops the walk before the next call.
#ifndef ARBOLIX_DIRECTORY_TREESINK_H
#define ARBOLIX_DIRECTORY_TREESINK_H

#include "directory/initdlg.h"
#include "directory/listing/directoryreader.h"
#include "toolkit/eventgate.h"
#include "toolkit/treectrl.h"
#include "toolkit/treeitem.h"

#include <QElapsedTimer>
#include <QPointer>
#include <string_view>

namespace directory {

class TreeSink
{
public:
    static constexpr qint64 kEventIntervalMs = 40;

    // ending: true once the program was asked to end; read before every library call. progress:
    // the Initializing window whose bar steps after each station, for the population.
    TreeSink(tk::TreeCtrl& tree, const bool& ending, CInitDlg* progress = nullptr)
        : m_tree(tree), m_ending(ending), m_progress(progress)
    {
        m_sinceEvents.start();
    }

    bool proceed()
    {
        letEventsRun();
        return !m_ending;
    }

    tk::TreeItem station(std::string_view name) { return m_tree.insertItem(name); }
    tk::TreeItem compound(tk::TreeItem station, std::string_view name)
    {
        return m_tree.insertItem(name, station);
    }
    void block(tk::TreeItem compound, std::string_view line)
    {
        m_tree.insertLeafItem(line, compound);
    }

    // A listing that ended before delivering anything says nothing about the item: keep its
    // expand button, so the next expansion asks the directory again. An empty listing that
    // succeeded makes it a leaf.
    void listedBelow(tk::TreeItem item, const ListingResult& listing)
    {
        m_tree.setItemExpandable(item, listing.end != ListingEnd::Complete && listing.taken == 0);
    }

    void stationRead()
    {
        if (m_progress)
            m_progress->StepIt();
        letEventsRun();
    }

private:
    void letEventsRun()
    {
        if (m_sinceEvents.elapsed() < kEventIntervalMs)
            return;
        tk::EventGate::processNonInputEvents();
        m_sinceEvents.restart();
    }

    tk::TreeCtrl& m_tree;
    const bool& m_ending;
    QPointer<CInitDlg> m_progress;
    QElapsedTimer m_sinceEvents;
};

} // namespace directory

#endif
