// The main window's context menu: Open Display (so a display opens without a mouse too), Copy
// Name, and the About box (window menus take no items of a program's own here).
#include "app/arbolixdlg.h"
#include "directory/itemlevel.h"
#include "display/displaycommand.h"
#include "res/resource.h"
#include "res/strings.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

void CArbolixDlg::OnContextMenu(const QPoint& globalPos)
{
    QMenu menu(this);
    menu.setAccessibleName(res::loadString(res::IDS_CONTEXTMENU));
    // What a double-click runs, shown as the default item; a station has no display.
    QAction* open = menu.addAction(res::loadString(res::IDS_OPENDISPLAY));
    const directory::ItemLevel level =
        m_tree ? directory::itemLevel(*m_tree, m_hSelected) : directory::ItemLevel::None;
    open->setEnabled(level == directory::ItemLevel::Compound ||
                     level == directory::ItemLevel::Block);
    menu.setDefaultAction(open);
    QAction* copy = menu.addAction(res::loadString(res::IDS_COPYNAME));
    copy->setShortcut(QKeySequence::Copy);
    copy->setEnabled(!selectedObjectName().isEmpty());
    QAction* about = nullptr;
    if (m_nAboutCommand != 0) {
        menu.addSeparator();
        about = menu.addAction(m_strAboutMenu);
    }
    QAction* chosen = menu.exec(globalPos);
    if (chosen == open)
        OpenDisplay();
    else if (chosen == copy)
        OnCopyName();
    else if (chosen && chosen == about)
        OnSysCommand(m_nAboutCommand);
}

void CArbolixDlg::OnCopyName()
{
    const QString name = selectedObjectName();
    if (!name.isEmpty())
        QGuiApplication::clipboard()->setText(name);
}

QString CArbolixDlg::selectedObjectName() const
{
    if (!m_tree || !m_hSelected)
        return {};
    const std::string_view text = m_tree->itemText(m_hSelected);
    if (directory::itemLevel(*m_tree, m_hSelected) == directory::ItemLevel::Block) {
        const std::string_view compound = m_tree->itemText(m_tree->parentItem(m_hSelected));
        const std::string_view block = display::blockNameOf(text);
        return QString::fromLocal8Bit(compound.data(), qsizetype(compound.size())) + u':' +
               QString::fromLocal8Bit(block.data(), qsizetype(block.size()));
    }
    return QString::fromLocal8Bit(text.data(), qsizetype(text.size()));
}
