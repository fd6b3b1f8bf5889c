#include "app/arbolixdlg.h"
#include "app/nametransfer.h"

#include "directory/dirapi.h"
#include "directory/listing/blockline.h"
#include "directory/spokenitem.h"
#include "display/launcher.h"
#include "res/icon.h"
#include "res/resource.h"
#include "res/strings.h"
#include "res/templates.h"
#include "toolkit/dataexchange.h"
#include "toolkit/fonts.h"

#include <QContextMenuEvent>
#include <QFont>
#include <QKeyEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QTimerEvent>

CArbolixDlg::CArbolixDlg(QWidget* parent)
    : tk::Dialog(res::mainTemplate(), parent), m_pLauncher(&display::defaultLauncher()),
      m_hIcon(res::loadIcon(res::IDR_MAINFRAME))
{
}

CArbolixDlg::~CArbolixDlg() = default;

void CArbolixDlg::doDataExchange(tk::DataExchange& dx)
{
    tk::Dialog::doDataExchange(dx);
    dx.control(res::IDOK, m_btnExit);
    dx.control(res::IDC_TREE, m_tree);
    dx.control(res::IDC_FIND, m_btnFind);
}

bool CArbolixDlg::onInitDialog()
{
    tk::Dialog::onInitDialog();

    // The window menu takes no items of ours here; the About item goes on the context menu.
    m_strAboutMenu = res::loadString(res::IDS_ABOUTBOX);
    if (!m_strAboutMenu.isEmpty())
        m_nAboutCommand = res::IDM_ABOUTBOX;

    setWindowIcon(m_hIcon);

    allocateDirectoryBuffers();

    m_pTreeFont = std::make_unique<QFont>(tk::pointFont(90, "Fixedsys"));
    if (m_tree) {
        m_tree->setFont(*m_pTreeFont);
        // The longest rows the directory can give: full names, block lines with both columns.
        m_tree->setLongestTexts(
            {DIRAPI_STATION_SLOT - 1, DIRAPI_COMPOUND_SLOT - 1, int(directory::kLongestBlockLine)});
    }

    connectHandlers();
    followScreens();
    m_nTimerId = startTimer(0);
    return true;
}

void CArbolixDlg::connectHandlers()
{
    if (m_tree) {
        connect(m_tree, &tk::TreeCtrl::itemExpanding, this,
                [this](tk::TreeItem item, tk::TreeCtrl::ExpandAction action) {
                    OnItemexpandingTree(item, action);
                });
        connect(m_tree, &tk::TreeCtrl::caretChanged, this,
                [this](tk::TreeItem item) { OnSelchangedTree(item); });
        connect(m_tree, &tk::TreeCtrl::doubleClick, this, [this] { OnDblclkTree(); });
        // A name dragged out is what Copy Name copies.
        m_tree->setDragData([this]() -> std::unique_ptr<QMimeData> {
            const std::string name = transferName(m_hSelected);
            return name.empty() ? nullptr : nameMimeData(name);
        });
        m_tree->setTreeName(res::loadString(res::IDS_TREENAME));
        m_tree->setAccessibleText([this](tk::TreeItem item, Qt::ItemDataRole role) {
            return role == Qt::AccessibleTextRole ? directory::spokenName(*m_tree, item)
                                                  : directory::spokenDescription(*m_tree, item);
        });
        m_tree->installEventFilter(this);
    }
    if (m_btnFind)
        connect(m_btnFind, &QPushButton::clicked, this, [this] { OnFind(); });
}

void CArbolixDlg::ReleaseDirectory()
{
    releaseDirectoryBuffers();
    an_exit();
}

void CArbolixDlg::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_nTimerId) {
        OnTimer(event->timerId());
        return;
    }
    tk::Dialog::timerEvent(event);
}

void CArbolixDlg::resizeEvent(QResizeEvent* event)
{
    // Without a window manager nobody holds a resize by the window system to the maximum.
    const QSize bounded = event->size().boundedTo(maximumSize());
    if (bounded != event->size()) {
        resize(bounded);
        return;
    }
    tk::Dialog::resizeEvent(event);
    OnSize(event->size().width(), event->size().height());
    OnGetMinMaxInfo();
}

// The frame is known only once the window manager has framed the window.
void CArbolixDlg::moveEvent(QMoveEvent* event)
{
    tk::Dialog::moveEvent(event);
    OnGetMinMaxInfo();
}

void CArbolixDlg::showEvent(QShowEvent* event)
{
    tk::Dialog::showEvent(event);
    OnGetMinMaxInfo();
}

void CArbolixDlg::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Keyboard) {
        OnContextMenu(keyboardMenuPosition(), m_hSelected);
        return;
    }
    // The right button acts on the row it is on; below the rows, as a double-click there does,
    // on the selected item.
    tk::TreeItem target = m_hSelected;
    if (m_tree) {
        const QPoint at = m_tree->viewport()->mapFromGlobal(event->globalPos());
        if (m_tree->viewport()->rect().contains(at)) {
            if (const tk::TreeItem row = m_tree->itemAt(m_tree->indexAt(at)))
                target = row;
        }
    }
    OnContextMenu(event->globalPos(), target);
}

// A menu asked for from the keyboard opens at the selected item, where the operator looks.
QPoint CArbolixDlg::keyboardMenuPosition() const
{
    if (!m_tree)
        return mapToGlobal(QPoint(0, 0));
    const QRect row = m_tree->visualRect(m_tree->indexOf(m_hSelected));
    if (row.isValid() && m_tree->viewport()->rect().intersects(row))
        return m_tree->viewport()->mapToGlobal(row.bottomLeft());
    return m_tree->mapToGlobal(QPoint(0, 0));
}

// Ctrl+C in the tree copies the object's name rather than the row's text; Shift+F10 opens the
// context menu, as the Menu key does.
bool CArbolixDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_tree && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy)) {
            OnCopyName();
            return true;
        }
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
            OnContextMenu(keyboardMenuPosition(), m_hSelected);
            return true;
        }
    }
    return tk::Dialog::eventFilter(watched, event);
}
