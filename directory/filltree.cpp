// The first timer tick reads the whole directory into the tree.
#include "app/arbolixdlg.h"
#include "directory/initdlg.h"
#include "directory/treesink.h"
#include "toolkit/eventgate.h"
#include "toolkit/waitcursor.h"

void CArbolixDlg::OnTimer(int id)
{
    // Stopped before the population rather than after it, so no second tick can ever start it
    // again while it runs.
    killTimer(id);
    if (m_bPopulationBegun)
        return;
    m_bPopulationBegun = true;

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
    directory::TreeSink sink(*m_tree, m_bEndListing, m_pInitDlg);
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
