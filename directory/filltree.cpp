// The first timer tick reads the whole directory into the tree.
#include "app/arbolixdlg.h"
#include "directory/initdlg.h"
#include "directory/waitedtreesink.h"
#include "toolkit/eventgate.h"
#include "toolkit/waitcursor.h"

#include <QPointer>

namespace {

// The tree, and the Initializing window's bar stepped after each station. Without the window
// (the walk measured alone) the walk runs straight through.
class PopulationSink : public directory::WaitedTreeSink
{
public:
    PopulationSink(tk::TreeCtrl& tree, const QPointer<CInitDlg>& initDlg, const bool& ending)
        : WaitedTreeSink(tree, ending), m_initDlg(initDlg)
    {
    }

    bool proceed()
    {
        if (m_initDlg)
            letEventsRun();
        return !ending();
    }

    void stationRead()
    {
        if (!m_initDlg)
            return;
        m_initDlg->StepIt();
        letEventsRun();
    }

private:
    const QPointer<CInitDlg>& m_initDlg;
};

} // namespace

void CArbolixDlg::OnTimer(int id)
{
    // Stopped before the population rather than after it, so no second tick can ever start it
    // again while it runs.
    killTimer(id);
    if (m_bPopulated)
        return;
    m_bPopulated = true;

    const tk::WaitCursor wait;
    {
        // Input and close requests are held until the tree is filled: FillTree walks the
        // buffers that a refresh would overwrite and that Exit would free. Every other pending
        // event (paints, timers, socket notifiers, queued calls) runs whenever the Initializing
        // window is let repaint. Held input then acts as after a refresh: pointer input in the
        // tree is dropped, as the rows came in under the pointer meanwhile. Only a termination
        // request cuts the population short; all the input held until then is dropped, the
        // close request it made acts once the gate opens.
        tk::EventGate gate;
        m_pInitDlg = new CInitDlg(this);
        m_pInitDlg->create();
        gate.processNonInputEvents();
        FillTree();
        if (m_bEndListing)
            gate.discardHeldInput();
        else if (m_tree)
            gate.discardHeldPointerInput(*m_tree);
    }
    delete m_pInitDlg.data();
}

void CArbolixDlg::FillTree()
{
    if (!m_pStationNames || !m_tree)
        return;

    directory::LevelWords words;
    PopulationSink sink(*m_tree, m_pInitDlg, m_bEndListing);
    directory::DirectoryReader reader(directoryBuffers(), words, m_strBlockLine, sink);

    const directory::ListingResult counted = reader.countStations();
    if (m_pInitDlg)
        m_pInitDlg->SetRange(counted.taken);

    reader.readStations();
}

void CArbolixDlg::EndListing()
{
    m_bEndListing = true;
}
