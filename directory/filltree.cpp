// The first timer tick reads the whole directory into the tree.
#include "app/arbolixdlg.h"
#include "directory/initdlg.h"
#include "directory/treesink.h"
#include "toolkit/eventgate.h"
#include "toolkit/waitcursor.h"

#include <QElapsedTimer>
#include <QPointer>

namespace {

// How often the population lets the Initializing window repaint.
constexpr qint64 kRepaintIntervalMs = 40;

// The tree, and the Initializing window's bar stepped after each station. Between any two
// library calls the window is let repaint (at most every kRepaintIntervalMs), and the walk stops
// there once the program was asked to end.
class PopulationSink : public directory::TreeSink
{
public:
    PopulationSink(tk::TreeCtrl& tree, const QPointer<CInitDlg>& initDlg, const bool& ending)
        : TreeSink(tree), m_initDlg(initDlg), m_ending(ending)
    {
        m_sinceRepaint.start();
    }

    bool proceed()
    {
        letRepaint();
        return !m_ending;
    }

    void stationRead()
    {
        if (!m_initDlg)
            return;
        m_initDlg->StepIt();
        letRepaint();
    }

private:
    // A termination request is seen here too: it comes as a socket notification.
    void letRepaint()
    {
        if (!m_initDlg || m_sinceRepaint.elapsed() < kRepaintIntervalMs)
            return;
        tk::EventGate::processNonInputEvents();
        m_sinceRepaint.restart();
    }

    const QPointer<CInitDlg>& m_initDlg;
    const bool& m_ending;
    QElapsedTimer m_sinceRepaint;
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
        // window is let repaint. Only a termination request cuts the population short; the
        // input held until then is dropped, the close request it made acts once the gate opens.
        tk::EventGate gate;
        m_pInitDlg = new CInitDlg(this);
        m_pInitDlg->create();
        gate.processNonInputEvents();
        FillTree();
        if (m_bEndPopulation)
            gate.discardHeldInput();
    }
    delete m_pInitDlg.data();
}

void CArbolixDlg::FillTree()
{
    if (!m_pStationNames || !m_tree)
        return;

    directory::LevelWords words;
    PopulationSink sink(*m_tree, m_pInitDlg, m_bEndPopulation);
    directory::DirectoryReader reader(directoryBuffers(), words, m_strBlockLine, sink);

    const directory::ListingResult counted = reader.countStations();
    if (m_pInitDlg)
        m_pInitDlg->SetRange(counted.taken);

    reader.readStations();
}

void CArbolixDlg::EndPopulation()
{
    m_bEndPopulation = true;
}
