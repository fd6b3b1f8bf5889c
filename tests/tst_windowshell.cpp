// The main window's shell: its layout and minimum size, the context menu, Copy Name and a drag,
// and the About box.
#include "app/aboutdlg.h"
#include "app/nametransfer.h"
#include "dirapi/dirapi_control.h"
#include "res/icon.h"
#include "res/resource.h"
#include "tests/testsupport.h"
#include "toolkit/modalseam.h"
#include "toolkit/treectrl.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace testsupport;
using Action = tk::TreeCtrl::ExpandAction;

namespace {

// Records the plain text of every drag as the drag object goes away.
class DragWatch : public QObject
{
public:
    DragWatch() { QCoreApplication::instance()->installEventFilter(this); }
    QStringList offered;
    QByteArrayList bytes;
    Qt::DropActions actions;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::DeferredDelete) {
            if (auto* drag = qobject_cast<QDrag*>(watched)) {
                offered << (drag->mimeData() ? drag->mimeData()->text() : QString());
                bytes << (drag->mimeData() ? drag->mimeData()->data(kNameBytesMimeType)
                                           : QByteArray());
                actions = drag->supportedActions();
            }
        }
        return false;
    }
};

} // namespace

class TestWindowShell : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        tk::ModalSeam::setRunnerForTests(nullptr);
        dirapi_control::reset();
    }

    void controlsFollowTheClientArea()
    {
        auto w = openMainWindow("WP01\n");
        CArbolixDlg& dlg = *w->dlg;
        const QSize find = dlg.m_btnFind->size();
        const QSize exit = dlg.m_btnExit->size();
        dlg.resize(500, 400);
        QCOMPARE(dlg.size(), QSize(500, 400));
        QCOMPARE(dlg.m_tree->geometry(), QRect(11, 11, 390, 378));
        QCOMPARE(dlg.m_btnFind->geometry(), QRect(QPoint(500 - find.width() - 11, 11), find));
        QCOMPARE(dlg.m_btnExit->geometry(),
                 QRect(QPoint(500 - exit.width() - 11, 400 - exit.height() - 11), exit));
    }

    void tinyClientAreaNeverGivesNegativeSizes()
    {
        auto w = openMainWindow("WP01\n");
        CArbolixDlg& dlg = *w->dlg;
        dlg.OnSize(0, 0);
        QCOMPARE(dlg.m_tree->size(), QSize(0, 0));
        dlg.OnSize(60, 15);
        QCOMPARE(dlg.m_tree->size(), QSize(0, 0));
    }

    void windowWillNotShrinkBelowTwoHundredPixelsFrameIncluded()
    {
        auto w = openMainWindow("WP01\n");
        CArbolixDlg& dlg = *w->dlg;
        dlg.resize(20, 20);
        QSize frame = dlg.frameGeometry().size() - dlg.size();
        if (frame.isNull())
            frame = QSize(10, 33); // before a window manager framed it: a typical frame
        QCOMPARE(dlg.minimumSize() + frame, QSize(200, 200));
        QVERIFY(dlg.width() >= dlg.minimumWidth() && dlg.height() >= dlg.minimumHeight());
    }

    void windowGrowsNoLargerThanTheScreensTogether_data()
    {
        QTest::addColumn<QSize>("asked");
        QTest::newRow("huge") << QSize(65535, 65535);
        QTest::newRow("tall and narrow") << QSize(400, 65535);
        QTest::newRow("wide and low") << QSize(65535, 300);
    }
    void windowGrowsNoLargerThanTheScreensTogether()
    {
        QFETCH(QSize, asked);
        auto w = openMainWindow("WP01\n");
        CArbolixDlg& dlg = *w->dlg;
        QRect screens;
        for (const QScreen* screen : QGuiApplication::screens())
            screens |= screen->geometry();
        QVERIFY(QGuiApplication::platformName() != "offscreen" ||
                QGuiApplication::screens().size() == 2);
        QSize frame = dlg.frameGeometry().size() - dlg.size();
        if (frame.isNull())
            frame = QSize(10, 33);
        QCOMPARE(dlg.maximumSize() + frame, screens.size());

        // Asked by the window system itself, as when no window manager holds the size.
        const QSize minimum = dlg.minimumSize();
        dlg.windowHandle()->resize(asked);
        QTRY_COMPARE(dlg.size(), asked.boundedTo(screens.size() - frame));
        QCOMPARE(dlg.minimumSize(), minimum);
    }

    void wholeRowsScrollSidewaysAtTheMinimumSize()
    {
        // Names and information as long as the directory allows, in a wide letter.
        auto w = openMainWindow("WWWWWW WWWWWWWWWWWW WWWWWWWWWWWW WWWWWW\n");
        CArbolixDlg& dlg = *w->dlg;
        tk::TreeCtrl& tree = w->tree();
        const std::vector<std::string> block{"WWWWWW", "WWWWWWWWWWWW", "WWWWWWWWWWWW WWWWWW"};
        expandPath(tree, {block[0]});
        expandPath(tree, {block[0], block[1]});
        dlg.resize(1, 1);
        QTRY_VERIFY(tree.horizontalScrollBar()->isVisible());
        QScrollBar& sideways = *tree.horizontalScrollBar();
        sideways.setValue(sideways.maximum());
        for (size_t depth = 1; depth <= block.size(); ++depth) {
            const QModelIndex index =
                tree.indexOf(findItem(tree, {block.begin(), block.begin() + long(depth)}));
            const QRect row = tree.visualRect(index);
            // The row holds its whole text, and the tree scrolls far enough to show it.
            QVERIFY(row.width() >= tree.sizeHintForIndex(index).width());
            QVERIFY(row.left() + tree.sizeHintForIndex(index).width() <= tree.viewport()->width());
        }
    }

    void copyNameGivesTheObjectNameOfEachLevel()
    {
        // Names in UTF-8, and names whose bytes are no UTF-8, which only Latin-1 tells apart.
        auto w =
            openMainWindow("WP01 UC01 ABCDEFGHIJKL AIN\nW\xff\nW\xfe\nW\xc3\xa9 U\xe9 B\x80 X\n");
        tk::TreeCtrl& tree = w->tree();
        expandPath(tree, {"WP01"});
        expandPath(tree, {"WP01", "UC01"});
        expandPath(tree, {"W\xc3\xa9"});
        expandPath(tree, {"W\xc3\xa9", "U\xe9"});
        const std::vector<std::pair<std::vector<std::string>, QString>> cases{
            {{"WP01"}, "WP01"},
            {{"WP01", "UC01"}, "UC01"},
            {{"WP01", "UC01", "ABCDEFGHIJKL AIN"}, "UC01:ABCDEFGHIJKL"},
            {{"W\xff"}, QString::fromUtf8("W\xc3\xbf")},
            {{"W\xfe"}, QString::fromUtf8("W\xc3\xbe")},
            {{"W\xc3\xa9"}, QString::fromUtf8("W\xc3\xa9")},
            {{"W\xc3\xa9", "U\xe9", "B\x80" + std::string(11, ' ') + "X"},
             QString::fromUtf8("U\xc3\xa9:B\xc2\x80")}};
        for (const auto& [path, expected] : cases) {
            click(tree, findItem(tree, path));
            QGuiApplication::clipboard()->clear();
            QTest::keyClick(&tree, Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(QGuiApplication::clipboard()->text(), expected);
            // The row shows the name as it is copied, and a screen reader says it so.
            const QModelIndex row = tree.indexOf(findItem(tree, path));
            if (path.size() < 3)
                QCOMPARE(row.data().toString(), expected);
            QCOMPARE(row.data(Qt::AccessibleTextRole).toString().split(", ").first(),
                     expected.split(':').last());
            // The exact bytes go along for programs that take them.
            const std::string item = path.back();
            const std::string bytes =
                path.size() == 3 ? path[1] + ":" + item.substr(0, item.find(' ')) : item;
            QCOMPARE(QGuiApplication::clipboard()->mimeData()->data(kNameBytesMimeType),
                     QByteArray::fromStdString(bytes));
        }
    }

    void dragOffersTheCopyNameTextOfEachLevel()
    {
        auto w = openMainWindow("WP01 UC01 ABCDEFGHIJKL AIN\nWP02\nW\xff\n");
        tk::TreeCtrl& tree = w->tree();
        expandPath(tree, {"WP01"});
        expandPath(tree, {"WP01", "UC01"});
        click(tree, findItem(tree, {"WP02"}));
        // The offscreen platform ends a drag at once; what it offered is read from the drag
        // object as it goes.
        DragWatch watch;
        QWindow* window = tree.window()->windowHandle();
        const std::vector<std::pair<std::vector<std::string>, QString>> cases{
            {{"WP01"}, "WP01"},
            {{"WP01", "UC01"}, "UC01"},
            {{"WP01", "UC01", "ABCDEFGHIJKL AIN"}, "UC01:ABCDEFGHIJKL"},
            {{"W\xff"}, QString::fromUtf8("W\xc3\xbf")}};
        for (const auto& [path, expected] : cases) {
            const tk::TreeItem item = findItem(tree, path);
            const QPoint from =
                tree.viewport()->mapTo(tree.window(), tree.visualRect(tree.indexOf(item)).center());
            const int distance = QApplication::startDragDistance();
            QTest::mousePress(window, Qt::LeftButton, {}, from);
            QTest::mouseMove(window, from + QPoint(distance / 2, 0));
            QTest::mouseMove(window, from + QPoint(distance / 2, 1));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(watch.offered.isEmpty()); // not yet past the drag distance
            QTest::mouseMove(window, from + QPoint(distance + 1, 1));
            QTest::mouseRelease(window, Qt::LeftButton, {}, from + QPoint(distance + 1, 1));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCOMPARE(watch.offered, QStringList{expected});
            QCOMPARE(watch.bytes, QByteArrayList{QByteArray::fromStdString(
                                      path.size() == 3 ? "UC01:ABCDEFGHIJKL" : path.back())});
            QCOMPARE(watch.actions, Qt::CopyAction);
            QCOMPARE(w->dlg->m_hSelected, item);
            watch.offered.clear();
            watch.bytes.clear();
        }
        QVERIFY(!tree.acceptDrops());
        QVERIFY(w->launcher.started.empty());
    }

    void rightButtonDoesNotMoveTheSelection()
    {
        auto w = openMainWindow("WP01\nWP02\n");
        tk::TreeCtrl& tree = w->tree();
        const tk::TreeItem wp01 = findItem(tree, {"WP01"});
        click(tree, wp01);
        const QPoint at = tree.viewport()->mapTo(
            tree.window(), tree.visualRect(tree.indexOf(findItem(tree, {"WP02"}))).center());
        // The context menu comes up on the right button; read it and close it.
        QStringList entries;
        QTimer::singleShot(0, [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                for (QAction* action : popup->actions())
                    entries << (action->isSeparator() ? "-" : action->text());
                popup->close();
            }
        });
        QTest::mousePress(tree.window()->windowHandle(), Qt::RightButton, Qt::NoModifier, at);
        QTest::mouseRelease(tree.window()->windowHandle(), Qt::RightButton, Qt::NoModifier, at);
        QCOMPARE(w->dlg->m_hSelected, wp01);
        QCOMPARE(entries, (QStringList{"&Open Display", "&Copy Name", "-", "&About Arbolix..."}));
    }

    void contextMenuOpensTheDisplayADoubleClickOpens()
    {
        auto w = openMainWindow("WP01 UC01 ABCDEFGHIJKL AIN\nWP02\n", 256, "WP01");
        tk::TreeCtrl& tree = w->tree();
        expandPath(tree, {"WP01"});
        expandPath(tree, {"WP01", "UC01"});
        QWindow* window = tree.window()->windowHandle();
        enum class Way
        {
            MenuKey,
            ShiftF10,
            RightButton
        };
        struct Case
        {
            std::vector<std::string> path;    // empty: nothing selected
            std::vector<std::string> pointed; // the right button's row; empty: the selection
            bool enabled;
            Way way;
        };
        const std::vector<std::string> block{"WP01", "UC01", "ABCDEFGHIJKL AIN"};
        const std::vector<Case> cases{{{}, {}, false, Way::MenuKey},
                                      {{"WP02"}, {}, false, Way::ShiftF10},
                                      {{"WP01", "UC01"}, {"WP01", "UC01"}, true, Way::RightButton},
                                      // Another row: the menu acts on it, the selection stays.
                                      {{"WP02"}, block, true, Way::RightButton},
                                      {{"WP01", "UC01"}, {"WP02"}, false, Way::RightButton},
                                      {block, {}, true, Way::MenuKey},
                                      {{"WP01", "UC01"}, {}, true, Way::ShiftF10}};
        for (const Case& c : cases) {
            const tk::TreeItem item = c.path.empty() ? tk::TreeItem() : findItem(tree, c.path);
            const tk::TreeItem target = c.pointed.empty() ? item : findItem(tree, c.pointed);
            if (item)
                click(tree, item);
            else
                tree.selectItem({});
            QCOMPARE(w->dlg->m_hSelected, item);
            w->launcher.started.clear();
            // Read the menu and the row marked meanwhile, then choose Open Display by its
            // mnemonic (a disabled item is not chosen, so the menu is closed).
            QStringList entries;
            QString active;
            bool enabled = !c.enabled;
            bool isDefault = false;
            tk::TreeItem marked;
            QTimer::singleShot(0, [&] {
                auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                if (!popup)
                    return;
                for (QAction* action : popup->actions())
                    entries << (action->isSeparator() ? "-" : action->text());
                QAction* first = popup->actions().value(0);
                enabled = first && first->isEnabled();
                isDefault = first && popup->defaultAction() == first;
                marked = tree.markedItem();
                QTimer::singleShot(0, popup, [&, popup] { // once the menu is up
                    active = popup->activeAction() ? popup->activeAction()->text() : QString();
                    // From the keyboard, Enter takes the active item at once.
                    const bool enter = c.enabled && c.way != Way::RightButton;
                    QTest::keyClick(popup, enter ? Qt::Key_Return : Qt::Key_O);
                    if (QApplication::activePopupWidget() == popup)
                        popup->close();
                });
            });
            tree.setFocus();
            const QPoint at = tree.viewport()->mapTo(
                tree.window(), tree.visualRect(tree.indexOf(target)).center());
            switch (c.way) {
            case Way::MenuKey: {
                // As the window system delivers the Menu key.
                QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(5, 5),
                                          tree.mapToGlobal(QPoint(5, 5)));
                QApplication::sendEvent(&tree, &menuKey);
                break;
            }
            case Way::ShiftF10:
                QTest::keyClick(&tree, Qt::Key_F10, Qt::ShiftModifier);
                break;
            case Way::RightButton:
                QTest::mouseClick(window, Qt::RightButton, {}, at);
                break;
            }
            QCOMPARE(entries,
                     (QStringList{"&Open Display", "&Copy Name", "-", "&About Arbolix..."}));
            QCOMPARE(enabled, c.enabled);
            QVERIFY(isDefault);
            // Opened from the keyboard, it opens on its first item that can be chosen.
            QCOMPARE(active, c.way == Way::RightButton ? ""
                             : c.enabled               ? "&Open Display"
                             : c.path.empty()          ? "&About Arbolix..."
                                                       : "&Copy Name");
            QCOMPARE(marked, target);
            QVERIFY(tree.markedItem().isNull());
            QCOMPARE(w->dlg->m_hSelected, item);
            if (!c.enabled) {
                QVERIFY(w->launcher.started.empty());
                continue;
            }
            // Exactly what a double-click on the target starts.
            QCOMPARE(w->launcher.started.size(), size_t(1));
            doubleClick(tree, target);
            QCOMPARE(w->launcher.started.size(), size_t(2));
            QCOMPARE(w->launcher.started[0], w->launcher.started[1]);
            if (tree.itemHasChildren(target) && !tree.isItemExpanded(target))
                tree.expandItem(target, Action::Expand); // the double-click closed it
        }
    }

    void copyNameFromTheMenuCopiesTheRowUnderThePointer()
    {
        auto w = openMainWindow("WP01 UC01 AIN1 AIN\nWP02\n", 256, "WP01");
        tk::TreeCtrl& tree = w->tree();
        expandPath(tree, {"WP01"});
        const tk::TreeItem wp02 = findItem(tree, {"WP02"});
        click(tree, wp02);
        QGuiApplication::clipboard()->clear();
        QTimer::singleShot(0, [] {
            if (QWidget* popup = QApplication::activePopupWidget())
                QTest::keyClick(popup, Qt::Key_C);
        });
        const tk::TreeItem uc01 = findItem(tree, {"WP01", "UC01"});
        QTest::mouseClick(
            tree.window()->windowHandle(), Qt::RightButton, {},
            tree.viewport()->mapTo(tree.window(), tree.visualRect(tree.indexOf(uc01)).center()));
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("UC01"));
        QCOMPARE(w->dlg->m_hSelected, wp02);
    }

    void aboutCommandsSixteenToThirtyOneOpenTheAboutBox()
    {
        auto w = openMainWindow("WP01\n");
        std::vector<int> shown;
        QString caption;
        tk::ModalSeam::setRunnerForTests([&](tk::Dialog& dialog) {
            shown.push_back(dialog.dialogTemplate().id);
            caption = dialog.windowTitle();
            return 1;
        });
        QCOMPARE(w->dlg->aboutMenuCommand(), res::IDM_ABOUTBOX);
        w->dlg->OnSysCommand(16);
        w->dlg->OnSysCommand(31);
        w->dlg->OnSysCommand(32);
        w->dlg->OnSysCommand(0xF060);
        QCOMPARE(shown, (std::vector<int>{res::IDD_ABOUTBOX, res::IDD_ABOUTBOX}));
        QCOMPARE(caption, QString("About Arbolix"));
    }

    void aboutBoxShowsNameVersionNoticesAndIcon()
    {
        CAboutDlg about;
        tk::ModalSeam::setRunnerForTests([](tk::Dialog&) { return 1; });
        about.doModal();
        QStringList texts;
        for (QLabel* label : about.findChildren<QLabel*>())
            texts << label->text();
        QVERIFY(texts.contains("Arbolix 1.0"));
        QVERIFY(texts.size() >= 6);
        auto* ok = qobject_cast<QPushButton*>(about.control(res::IDOK));
        QVERIFY(ok && ok->text() == "OK" && ok->isDefault());
        QVERIFY(!about.windowIcon().isNull());
    }

    void iconHasBothSizes()
    {
        const QIcon icon = res::loadIcon(res::IDR_MAINFRAME);
        const QList<QSize> sizes = icon.availableSizes();
        QVERIFY(sizes.contains(QSize(32, 32)));
        QVERIFY(sizes.contains(QSize(16, 16)));
        QVERIFY(!icon.pixmap(16).isNull());
        QVERIFY(res::loadIcon(999).isNull());
    }
};

// On the offscreen platform, two screens of different sizes side by side: the window may grow to
// both together, not just to one of them.
int main(int argc, char** argv)
{
    QTemporaryDir dir;
    const QString config = dir.filePath("screens.json");
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen") {
        QFile file(config);
        if (file.open(QIODevice::WriteOnly))
            file.write(R"({"screens": [
                {"name": "left", "x": 0, "y": 0, "width": 1280, "height": 1024,
                 "logicalDpi": 96, "logicalBpi": 96, "dpr": 1},
                {"name": "right", "x": 1280, "y": 0, "width": 800, "height": 600,
                 "logicalDpi": 96, "logicalBpi": 96, "dpr": 1}]})");
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
    }
    QApplication application(argc, argv);
    TestWindowShell test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_windowshell.moc"
