// The main window's context menu: Open Display (so a display opens without a mouse too), Copy
// Name, and the About box (window menus take no items of a program's own here).
#include "app/arbolixdlg.h"
#include "app/nametransfer.h"
#include "display/namedobject.h"
#include "res/resource.h"
#include "res/strings.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QPointer>

namespace {

// The row a menu acts on stays marked while the menu is open; the selection does not move.
class MarkedWhileOpen
{
public:
    MarkedWhileOpen(tk::TreeCtrl* tree, tk::TreeItem item) : m_tree(tree)
    {
        if (m_tree)
            m_tree->setMarkedItem(item);
    }
    ~MarkedWhileOpen()
    {
        if (m_tree)
            m_tree->setMarkedItem({});
    }
    MarkedWhileOpen(const MarkedWhileOpen&) = delete;
    MarkedWhileOpen& operator=(const MarkedWhileOpen&) = delete;

private:
    QPointer<tk::TreeCtrl> m_tree;
};

} // namespace

void CArbolixDlg::OnContextMenu(const QPoint& globalPos, tk::TreeItem target)
{
    QMenu menu(this);
    menu.setAccessibleName(res::loadString(res::IDS_CONTEXTMENU));
    // What a double-click on the target runs, shown as the default item; a station has no
    // display.
    QAction* open = menu.addAction(res::loadString(res::IDS_OPENDISPLAY));
    const display::NamedObject object = namedObject(target);
    open->setEnabled(object.hasDisplay());
    menu.setDefaultAction(open);
    QAction* copy = menu.addAction(res::loadString(res::IDS_COPYNAME));
    copy->setShortcut(QKeySequence::Copy);
    copy->setEnabled(!object.copyName().empty());
    QAction* about = nullptr;
    if (m_nAboutCommand != 0) {
        menu.addSeparator();
        about = menu.addAction(m_strAboutMenu);
    }
    QAction* chosen = nullptr;
    {
        const MarkedWhileOpen marked(m_tree, target);
        chosen = menu.exec(globalPos);
    }
    if (chosen == open)
        OpenDisplayFor(target);
    else if (chosen == copy)
        CopyNameOf(target);
    else if (chosen && chosen == about)
        OnSysCommand(m_nAboutCommand);
}

void CArbolixDlg::OnCopyName()
{
    CopyNameOf(m_hSelected);
}

void CArbolixDlg::CopyNameOf(tk::TreeItem item)
{
    const std::string name = transferName(item);
    if (!name.empty())
        QGuiApplication::clipboard()->setMimeData(nameMimeData(name).release());
}

std::string CArbolixDlg::transferName(tk::TreeItem item) const
{
    return namedObject(item).copyName();
}
