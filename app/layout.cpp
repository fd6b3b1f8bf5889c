// The main window's controls follow its size; it keeps a minimum size.
#include "app/aboutdlg.h"
#include "app/arbolixdlg.h"
#include "res/resource.h"

#include <QPushButton>
#include <algorithm>

namespace {
constexpr int kMargin = 11;
// The whole window, frame included.
constexpr QSize kMinimumWindow(200, 200);
// A typical frame, used until the window manager has framed the window.
constexpr QSize kTypicalFrame(2 * 5, 5 + 28);
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

// The window manager draws the frame, so the limit on the whole window becomes a limit on the
// client area less the frame the window actually has.
void CArbolixDlg::OnGetMinMaxInfo()
{
    QSize frame = frameGeometry().size() - geometry().size();
    if (frame.width() <= 0 && frame.height() <= 0)
        frame = kTypicalFrame;
    const QSize minimum = (kMinimumWindow - frame).expandedTo(QSize(0, 0));
    if (minimumSize() != minimum)
        setMinimumSize(minimum);
}

void CArbolixDlg::OnSysCommand(int id)
{
    if ((id & 0xFFF0) == res::IDM_ABOUTBOX) {
        CAboutDlg dlgAbout(this);
        dlgAbout.doModal();
    }
}
