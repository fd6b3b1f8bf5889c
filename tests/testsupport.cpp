#include "tests/testsupport.h"

#include "app/windowdestroywatch.h"
#include "dirapi/dirapi_control.h"
#include "tests/reference.h"
#include "toolkit/treectrl.h"

#include <QAbstractButton>
#include <QtTest>
#include <xcb/xproto.h>

namespace testsupport {

void MainWindowSuite::cleanup()
{
    dirapi_control::reset();
}

std::unique_ptr<MainWindow> openMainWindow(std::string_view plant, int32_t maxObj,
                                           std::string option, bool populate)
{
    dirapi_control::reset();
    dirapi_control::loadPlant(plant);
    dirapi_control::setMaxObj(maxObj);
    auto window = std::make_unique<MainWindow>();
    window->dlg = std::make_unique<CArbolixDlg>();
    window->dlg->m_strCmdOption = std::move(option);
    window->dlg->m_pLauncher = &window->launcher;
    window->dlg->create();
    if (populate && !QTest::qWaitFor([&] { return window->dlg->isPopulated(); }))
        QTest::qFail("the main window was not populated", __FILE__, __LINE__);
    return window;
}

tk::TreeItem findItem(const tk::TreeCtrl& tree, const std::vector<std::string>& path)
{
    tk::TreeItem item;
    tk::TreeItem candidate = tree.rootItem();
    for (const std::string& text : path) {
        while (candidate && tree.itemText(candidate) != text)
            candidate = tree.nextSiblingItem(candidate);
        if (!candidate) {
            QTest::qFail(("no item " + text + " on the tree path").c_str(), __FILE__, __LINE__);
            return {};
        }
        item = candidate;
        candidate = tree.childItem(item);
    }
    return item;
}

tk::TreeItem expandPath(tk::TreeCtrl& tree, const std::vector<std::string>& path)
{
    const tk::TreeItem item = findItem(tree, path);
    tree.expandItem(item, tk::TreeCtrl::ExpandAction::Expand);
    return item;
}

std::vector<std::string> childTexts(const tk::TreeCtrl& tree, tk::TreeItem item)
{
    std::vector<std::string> texts;
    for (tk::TreeItem child = item ? tree.childItem(item) : tree.rootItem(); child;
         child = tree.nextSiblingItem(child))
        texts.emplace_back(tree.itemText(child));
    return texts;
}

namespace {
void dumpItems(const tk::TreeCtrl& tree, tk::TreeItem first, int depth, std::string& out)
{
    for (tk::TreeItem item = first; item; item = tree.nextSiblingItem(item)) {
        out.append(std::size_t(depth) * 2, ' ');
        out.append(tree.itemText(item));
        out.push_back('\n');
        dumpItems(tree, tree.childItem(item), depth + 1, out);
    }
}

QPoint windowPointOf(tk::TreeCtrl& tree, tk::TreeItem item)
{
    QPoint inViewport;
    if (item) {
        tree.scrollTo(tree.indexOf(item));
        inViewport = tree.visualRect(tree.indexOf(item)).center();
    } else {
        inViewport = QPoint(10, tree.viewport()->height() - 3);
    }
    QWidget* window = tree.window();
    return tree.viewport()->mapTo(window, inViewport);
}
} // namespace

std::string dumpTree(const tk::TreeCtrl& tree)
{
    std::string out;
    dumpItems(tree, tree.rootItem(), 0, out);
    return out;
}

void doubleClick(tk::TreeCtrl& tree, tk::TreeItem item)
{
    const QPoint at = windowPointOf(tree, item);
    QWindow* window = tree.window()->windowHandle();
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier, at);
}

void click(tk::TreeCtrl& tree, tk::TreeItem item)
{
    QTest::mouseClick(tree.window()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      windowPointOf(tree, item));
}

void addCloseWayRows(const char* buttonCaption)
{
    QTest::addColumn<CloseWay>("way");
    QTest::newRow(buttonCaption) << CloseWay::Button;
    QTest::newRow("Escape") << CloseWay::Escape;
    QTest::newRow("close box") << CloseWay::CloseBox;
}

void addOptionRows()
{
    QTest::addColumn<reference::OptionRow>("row");
    for (const reference::OptionRow& row : reference::optionRows())
        QTest::newRow(row.name) << row;
}

void closeBy(CloseWay way, QWidget* window, QAbstractButton* button)
{
    switch (way) {
    case CloseWay::Button:
        QTest::mouseClick(button, Qt::LeftButton);
        break;
    case CloseWay::Escape:
        QTest::keyClick(window, Qt::Key_Escape);
        break;
    case CloseWay::CloseBox:
        window->close();
        break;
    case CloseWay::Destroyed: {
        QWidget mainWindow;
        WindowDestroyWatch watch(mainWindow);
        xcb_destroy_notify_event_t destroyed{};
        destroyed.response_type = XCB_DESTROY_NOTIFY;
        destroyed.window = xcb_window_t(window->internalWinId());
        watch.nativeEventFilter("xcb_generic_event_t", &destroyed, nullptr);
        QCoreApplication::processEvents();
        break;
    }
    }
}

} // namespace testsupport
