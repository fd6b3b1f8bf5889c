// The main window's controls follow its size; it keeps a minimum size, and grows no larger than
// the screens together.
#include "app/aboutdlg.h"
#include "app/arbolixdlg.h"
#include "res/resource.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QRect>
#include <QScreen>
#include <algorithm>

namespace {
constexpr int kMargin = 11;
// The whole window, frame included.
constexpr QSize kMinimumWindow(200, 200);
// A typical frame, used until the window manager has framed the window.
constexpr QSize kTypicalFrame(2 * 5, 5 + 28);
// The whole window when no screen is known.
constexpr QSize kMaximumWithoutScreens(8192, 8192);

// All screens side by side: a window never needs to be larger to be seen whole, and a larger
// one only costs memory (its backing store grows with its area).
QSize combinedScreenSize()
{
    QRect combined;
    for (const QScreen* screen : QGuiApplication::screens())
        combined |= screen->geometry();
    return combined.isEmpty() ? kMaximumWithoutScreens : combined.size();
}

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

// The window manager draws the frame, so the limits on the whole window become limits on the
// client area less the frame the window actually has.
void CArbolixDlg::OnGetMinMaxInfo()
{
    QSize frame = frameGeometry().size() - geometry().size();
    if (frame.width() <= 0 && frame.height() <= 0)
        frame = kTypicalFrame;
    const QSize minimum = (kMinimumWindow - frame).expandedTo(QSize(0, 0));
    if (minimumSize() != minimum)
        setMinimumSize(minimum);
    const QSize maximum = (combinedScreenSize() - frame).expandedTo(minimum);
    if (maximumSize() != maximum)
        setMaximumSize(maximum);
}

// A screen that comes, goes or changes its size changes how large the window may grow.
void CArbolixDlg::followScreens()
{
    const auto follow = [this](QScreen* screen) {
        connect(screen, &QScreen::geometryChanged, this, [this] { OnGetMinMaxInfo(); });
    };
    for (QScreen* screen : QGuiApplication::screens())
        follow(screen);
    auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    connect(application, &QGuiApplication::screenAdded, this, [this, follow](QScreen* screen) {
        follow(screen);
        OnGetMinMaxInfo();
    });
    connect(application, &QGuiApplication::screenRemoved, this, [this] { OnGetMinMaxInfo(); });
}

void CArbolixDlg::OnSysCommand(int id)
{
    if ((id & 0xFFF0) == res::IDM_ABOUTBOX) {
        CAboutDlg dlgAbout(this);
        dlgAbout.doModal();
    }
}
