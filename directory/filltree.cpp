// The first timer tick reads the whole directory into the tree.
#include "app/arbolixdlg.h"
#include "directory/initdlg.h"
#include "directory/listings.h"
#include "toolkit/eventgate.h"
#include "toolkit/waitcursor.h"

#include <QElapsedTimer>
#include <QPointer>

namespace {

// How often the population lets the Initializing window repaint.
constexpr qint64 kRepaintIntervalMs = 40;

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
        // Nothing but painting reaches the program until the tree is filled: FillTree walks the
        // buffers that a refresh would overwrite and that Exit would free.
        tk::EventGate gate;
        m_pInitDlg = new CInitDlg(this);
        m_pInitDlg->create();
        gate.processPendingPaints();
        FillTree();
    }
    delete m_pInitDlg.data();
}

void CArbolixDlg::FillTree()
{
    if (!m_pStationNames || !m_tree)
        return;

    directory::ListingWords stationWords;
    directory::ListingWords compoundWords;
    directory::ListingWords blockWords;
    const directory::StationBuffers stations{m_pStationNames.data(), m_pStationInfo.data(),
                                             m_pStationWords.words()};

    const directory::ListingResult counted =
        directory::listStations(m_nMaxObj, stationWords, stations, [](std::string_view) {});
    if (m_pInitDlg)
        m_pInitDlg->SetRange(counted.taken);

    QElapsedTimer sinceRepaint;
    sinceRepaint.start();
    directory::listStations(m_nMaxObj, stationWords, stations, [&](std::string_view station) {
        if (const tk::TreeItem stationItem = m_tree->insertItem(station))
            InsertCompounds(station, stationItem, compoundWords, blockWords);
        if (m_pInitDlg) {
            m_pInitDlg->StepIt();
            if (sinceRepaint.elapsed() >= kRepaintIntervalMs) {
                tk::EventGate::processPendingPaints();
                sinceRepaint.restart();
            }
        }
    });
}
