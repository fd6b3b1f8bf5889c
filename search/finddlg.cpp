#include "search/finddlg.h"

#include "app/arbolixdlg.h"
#include "directory/dirapi.h"
#include "directory/spokenitem.h"
#include "res/resource.h"
#include "res/strings.h"
#include "res/templates.h"
#include "search/findwalk.h"
#include "toolkit/accessibility.h"
#include "toolkit/dataexchange.h"
#include "toolkit/messagebox.h"

#include <QApplication>
#include <QPushButton>

namespace {

// A name fills its directory slot but for the closing NUL, so no longer name can be found.
constexpr int longestName(int slotWidth)
{
    return slotWidth - 1;
}

} // namespace

CFindDlg::CFindDlg(CArbolixDlg* parent)
    : tk::Dialog(res::findTemplate(), parent), m_pParent(parent), m_nIDTemplate(res::IDD_FIND)
{
}

void CFindDlg::doDataExchange(tk::DataExchange& dx)
{
    tk::Dialog::doDataExchange(dx);
    dx.control(res::IDC_CLOSE, m_btnClose);
    dx.text(res::IDC_BLOCK, m_strBlock);
    dx.maxChars(res::IDC_BLOCK, longestName(DIRAPI_BLOCK_SLOT));
    dx.text(res::IDC_COMPOUND, m_strCompound);
    dx.maxChars(res::IDC_COMPOUND, longestName(DIRAPI_COMPOUND_SLOT));
    dx.text(res::IDC_STATION, m_strStation);
    dx.maxChars(res::IDC_STATION, longestName(DIRAPI_STATION_SLOT));
}

bool CFindDlg::onInitDialog()
{
    tk::Dialog::onInitDialog();
    if (m_btnClose)
        connect(m_btnClose, &QPushButton::clicked, this, [this] { OnCloseButton(); });
    tk::describeLengthLimits(*this, res::loadString(res::IDS_MAXCHARS));
    if (QWidget* find = control(res::IDOK))
        find->setFocus();
    return false; // the focus is set
}

// The Find button and Enter search; the window stays open.
void CFindDlg::onOK()
{
    FindNext();
}

// Escape and the close box act as Close, so Find... always brings a working window back.
void CFindDlg::onCancel()
{
    OnCloseButton();
}

void CFindDlg::FindNext()
{
    if (!m_pParent->m_tree)
        return;
    updateData(true);
    const tk::TreeItem item = m_pParent->SelectNextMatch({m_strStation, m_strCompound, m_strBlock});
    describeFoundItem(item);

    if (!item)
        tk::MessageBox::show(this, res::loadString(res::IDS_SEARCHNOTFOUND),
                             QApplication::applicationName(), tk::MessageBox::Icon::Stop);
}

// The focus stays here, so the Find button tells a screen reader which row was found.
void CFindDlg::describeFoundItem(tk::TreeItem item)
{
    QWidget* find = control(res::IDOK);
    if (!find || !m_pParent->m_tree)
        return;
    const tk::TreeCtrl& tree = *m_pParent->m_tree;
    find->setAccessibleDescription(
        item ? res::loadString(res::IDS_FOUNDITEM)
                   .arg(directory::spokenName(tree, item), directory::spokenDescription(tree, item))
             : QString());
}

void CFindDlg::OnCloseButton()
{
    if (m_pParent)
        m_pParent->FindClosed();
    hide();
    deleteLater();
}
