#include "directory/initdlg.h"

#include "res/resource.h"
#include "res/templates.h"
#include "toolkit/dataexchange.h"

#include <QProgressBar>
#include <algorithm>
#include <limits>

CInitDlg::CInitDlg(QWidget* parent)
    : tk::Dialog(res::initTemplate(), parent), m_nIDTemplate(res::IDD_INIT), m_pParent(parent)
{
}

void CInitDlg::doDataExchange(tk::DataExchange& dx)
{
    tk::Dialog::doDataExchange(dx);
    dx.control(res::IDC_PROGRESS, m_progress);
}

void CInitDlg::onCancel()
{
    // No close button and nothing to cancel: the population always runs to its end.
}

void CInitDlg::SetRange(int64_t total)
{
    if (!m_progress)
        return;
    constexpr int64_t most = std::numeric_limits<int>::max();
    m_bEmptyRange = total <= 0;
    m_progress->setRange(0, m_bEmptyRange ? 1 : int(std::min(total, most)));
    m_progress->setValue(0);
}

void CInitDlg::StepIt()
{
    if (!m_progress || m_bEmptyRange)
        return;
    // Stepping past the top (more stations than counted) keeps the bar full.
    if (m_progress->value() < m_progress->maximum())
        m_progress->setValue(m_progress->value() + 1);
}
