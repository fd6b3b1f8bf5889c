// The main window's controls follow its size; it keeps a minimum size.
#include "app/arbolixdlg.h"

#include <QPushButton>
#include <algorithm>

namespace {
constexpr int kMargin = 11;
} // namespace

void CArbolixDlg::OnSize(int cx, int cy)
{
    // A tiny or zero client area would give negative sizes: clamp them.
    if (m_tree)
        m_tree->setGeometry(kMargin, kMargin, std::max(0, cx - 110), std::max(0, cy - 2 * kMargin));
    if (m_btnFind)
        m_btnFind->move(cx - m_btnFind->width() - kMargin, kMargin);
    if (m_btnExit)
        m_btnExit->move(cx - m_btnExit->width() - kMargin, cy - m_btnExit->height() - kMargin);
}

void CArbolixDlg::OnGetMinMaxInfo()
{
}

void CArbolixDlg::OnSysCommand(int)
{
}
