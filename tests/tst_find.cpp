// The Find window: fragments typed by the operator, one match after another, then the message.
#include "dirapi/dirapi_control.h"
#include "res/resource.h"
#include "search/finddlg.h"
#include "tests/reference.h"
#include "tests/testsupport.h"
#include "toolkit/accessibility.h"
#include "toolkit/messagebox.h"
#include "toolkit/treectrl.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <functional>

using namespace testsupport;
using dirapi_control::Function;
using Path = std::vector<std::string>;

namespace {

const char* const kPlant = "WP01 UC01 AIN1 AIN\n"
                           "WP01 UC01 PIDA1 PIDA\n"
                           "WP01 UC02\n"
                           "WP01 FEED AIN1 AIN\n"
                           "WP01 FEED CALC1 PIDA\n"
                           "AW01\n"
                           "AW02 UC03 AIN1 AIN\n"
                           "AW02 UC03 DOUT1 DOUT\n";

const Path kMessage{"<message>"};

// The station, compound and block fragments.
struct Fragments
{
    QString station;
    QString compound;
    QString block;
};

// The Find window of a main window, driven like the operator drives it.
class FindSession
{
public:
    explicit FindSession(MainWindow& w) : m_w(w)
    {
        tk::MessageBox::setRecorderForTests(
            [this](const tk::MessageBoxRecord& record) { m_messages.push_back(record); });
        openWindow();
    }
    ~FindSession() { tk::MessageBox::setRecorderForTests(nullptr); }

    void openWindow()
    {
        QTest::mouseClick(m_w.dlg->m_btnFind, Qt::LeftButton);
        m_find = m_w.dlg->m_pFindDlg;
    }
    CFindDlg* window() const { return m_find; }
    QLineEdit* field(int id) const { return qobject_cast<QLineEdit*>(m_find->control(id)); }

    void type(int id, const QString& text)
    {
        field(id)->clear();
        QTest::keyClicks(field(id), text);
    }
    // What the station, compound and block fields show.
    QStringList fieldTexts() const
    {
        return {field(res::IDC_STATION)->text(), field(res::IDC_COMPOUND)->text(),
                field(res::IDC_BLOCK)->text()};
    }
    void typeAll(const Fragments& fragments)
    {
        type(res::IDC_STATION, fragments.station);
        type(res::IDC_COMPOUND, fragments.compound);
        type(res::IDC_BLOCK, fragments.block);
    }

    // Presses Find; the path of the selected item, or {"<message>"} when the box came up.
    Path find()
    {
        return outcomeOf([this] {
            QTest::mouseClick(qobject_cast<QPushButton*>(m_find->control(res::IDOK)),
                              Qt::LeftButton);
        });
    }
    // Presses Enter in the field.
    Path enter(int id)
    {
        return outcomeOf([this, id] { QTest::keyClick(field(id), Qt::Key_Return); });
    }

    Path pathOf(tk::TreeItem item) const
    {
        Path path;
        for (; item; item = m_w.tree().parentItem(item))
            path.insert(path.begin(), std::string(m_w.tree().itemText(item)));
        return path;
    }

    const std::vector<tk::MessageBoxRecord>& messages() const { return m_messages; }

    // What the presses of Find select from nothing remembered for what the fields hold.
    std::vector<Path> expectedPresses() const
    {
        const QStringList f = fieldTexts();
        std::vector<Path> presses;
        for (const auto& match : reference::matchesInOrder(
                 m_w.tree(), {f[0].toStdString(), f[1].toStdString(), f[2].toStdString()}))
            presses.push_back(match.path);
        presses.push_back(kMessage);
        return presses;
    }

private:
    Path outcomeOf(const std::function<void()>& press)
    {
        const std::size_t before = m_messages.size();
        press();
        if (m_messages.size() > before)
            return {"<message>"};
        return pathOf(m_w.dlg->m_hSelected);
    }

    MainWindow& m_w;
    QPointer<CFindDlg> m_find;
    std::vector<tk::MessageBoxRecord> m_messages;
};

// Fragments typed into the Find window, and what each press of Find then selects.
struct Search
{
    Fragments typed;
    std::vector<Path> selected;
};

} // namespace

class TestFind : public MainWindowSuite
{
    Q_OBJECT
private slots:
    void emptyFieldsWalkEveryBlockThenSayNotFoundThenStartAgain()
    {
        auto w = openMainWindow(kPlant);
        FindSession s(*w);
        QCOMPARE(s.find(), (Path{"WP01", "UC01", "AIN1         AIN"}));
        QCOMPARE(s.find(), (Path{"WP01", "UC01", "PIDA1        PIDA"}));
        // The same block line under another compound is reached too, in order.
        QCOMPARE(s.find(), (Path{"WP01", "FEED", "AIN1         AIN"}));
        // The focus stays here, so the Find button tells a screen reader what it found.
        QWidget* findButton = s.window()->control(res::IDOK);
        QCOMPARE(tk::accessibleDescription(findButton),
                 QString("Found AIN1, AIN, block in compound FEED of station WP01"));
        QCOMPARE(s.find(), (Path{"WP01", "FEED", "CALC1        PIDA"}));
        QCOMPARE(s.find(), (Path{"AW02", "UC03", "AIN1         AIN"}));
        QCOMPARE(s.find(), (Path{"AW02", "UC03", "DOUT1        DOUT"}));
        QCOMPARE(s.find(), kMessage);
        QCOMPARE(tk::accessibleDescription(findButton), QString());
        QCOMPARE(s.find(), (Path{"WP01", "UC01", "AIN1         AIN"}));

        const tk::MessageBoxRecord& box = s.messages().front();
        QCOMPARE(box.text, QString("Search pattern not found!"));
        // The application title: the executable's file name without directory and extension.
        QCOMPARE(box.caption,
                 QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
        QCOMPARE(box.owner, static_cast<QWidget*>(s.window()));
        QVERIFY(box.icon == tk::MessageBox::Icon::Stop);
    }

    // Each row: fragments typed into the three fields, then what each press of Find selects (none
    // listed: the matches of what the fields hold, then the message); the next go on from there.
    void findSelectsTheMatchesOfItsLevelInTreeOrder_data()
    {
        QTest::addColumn<std::vector<Search>>("searches");
        const auto row = [](const char* name, std::vector<Search> searches) {
            QTest::newRow(name) << searches;
        };
        row("station fragment steps through stations only", {{{"W", "", ""}, {}}});
        row("block fragment wins and the others filter by ancestors", {{{"AW", "UC", "AIN"}, {}}});
        row("compound fragment finds compounds", {{{"", "UC0", ""}, {}}});
        row("info column matches too", {{{"", "", "PIDA"}, {}}});
        row("fragments keep the case the fields give", {{{"wp", "uc", "ain"}, {}}});
        row("levels keep their own place",
            {{{"", "", "AIN"}, {{"WP01", "UC01", "AIN1         AIN"}}},
             {{"A", "", ""}, {{"AW01"}}},
             {{"", "", "AIN"}, {{"WP01", "FEED", "AIN1         AIN"}}}});
        row("changed fragment that still passes resumes after the last match",
            {{{"", "", "1"},
              {{"WP01", "UC01", "AIN1         AIN"}, {"WP01", "UC01", "PIDA1        PIDA"}}},
             {{"", "", "A"}, {{"WP01", "FEED", "AIN1         AIN"}}}});
    }
    void findSelectsTheMatchesOfItsLevelInTreeOrder()
    {
        QFETCH(std::vector<Search>, searches);
        auto w = openMainWindow(kPlant);
        FindSession s(*w);
        for (const Search& search : searches) {
            s.typeAll(search.typed);
            for (const Path& expected :
                 search.selected.empty() ? s.expectedPresses() : search.selected)
                QCOMPARE(s.find(), expected);
        }
    }

    void fieldsTakeCapitalsAndAreLimitedWhenTheWindowOpens_data()
    {
        QTest::addColumn<Fragments>("typed");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("compound and block take capitals, the station keeps case")
            << Fragments{"wp", "uc", "ain"} << QStringList{"wp", "UC", "AIN"};
        QTest::newRow("limits") << Fragments{"ABCDEFGHIJ", "ABCDEFGHIJKLMNOP", "ain1 with info"}
                                << QStringList{"ABCDEF", "ABCDEFGHIJKL", "AIN1 WITH IN"};
    }
    void fieldsTakeCapitalsAndAreLimitedWhenTheWindowOpens()
    {
        QFETCH(Fragments, typed);
        QFETCH(QStringList, shown);
        auto w = openMainWindow(kPlant);
        FindSession s(*w);
        s.typeAll(typed);
        QCOMPARE(s.fieldTexts(), shown);
    }

    void findMovesEachFieldIntoItsOwnMember()
    {
        auto w = openMainWindow(kPlant);
        FindSession s(*w);
        QCOMPARE(s.window()->m_btnClose, s.window()->control(res::IDC_CLOSE));
        s.typeAll({"aw0", "uc", "dout"});
        QCOMPARE(s.find(), s.expectedPresses().front());
        QCOMPARE(s.window()->m_strStation, std::string("aw0"));
        QCOMPARE(s.window()->m_strCompound, std::string("UC"));
        QCOMPARE(s.window()->m_strBlock, std::string("DOUT"));

        // Members set before the window opens are what its fields show.
        auto* loaded = new CFindDlg(w->dlg.get());
        loaded->m_strStation = "AW02";
        loaded->m_strCompound = "UC03";
        loaded->m_strBlock = "AIN1";
        QVERIFY(loaded->create());
        const auto text = [loaded](int id) {
            return qobject_cast<QLineEdit*>(loaded->control(id))->text();
        };
        QCOMPARE(text(res::IDC_STATION), QString("AW02"));
        QCOMPARE(text(res::IDC_COMPOUND), QString("UC03"));
        QCOMPARE(text(res::IDC_BLOCK), QString("AIN1"));
        loaded->OnCloseButton();
    }

    void focusStartsOnFindAndTabGoesThroughTheFieldsToClose()
    {
        auto w = openMainWindow(kPlant);
        FindSession s(*w);
        QVERIFY(QTest::qWaitForWindowActive(s.window()));
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited,
                 QStringList({"ctl1", "ctl1003", "ctl1004", "ctl1005", "ctl1006", "ctl1"}));
    }

    void enterInAFieldFindsAndKeepsTheWindowOpen()
    {
        auto w = openMainWindow(kPlant);
        FindSession s(*w);
        s.type(res::IDC_STATION, "W");
        QCOMPARE(s.enter(res::IDC_STATION), (Path{"WP01"}));
        s.type(res::IDC_STATION, "");
        s.type(res::IDC_BLOCK, "DOUT");
        QCOMPARE(s.enter(res::IDC_BLOCK), (Path{"AW02", "UC03", "DOUT1        DOUT"}));
        QCOMPARE(s.enter(res::IDC_COMPOUND), kMessage);
        QVERIFY(s.window() && s.window()->isVisible());
        QCOMPARE(w->dlg->m_pFindDlg.data(), s.window());
    }

    void closeEscapeAndTheCloseBoxForgetEveryLevel_data()
    {
        addCloseWayRows("Close");
        QTest::newRow("destroyed by another program") << CloseWay::Destroyed;
    }
    void closeEscapeAndTheCloseBoxForgetEveryLevel()
    {
        QFETCH(CloseWay, way);
        auto w = openMainWindow(kPlant);
        CArbolixDlg& main = *w->dlg;
        {
            // One match at every level, so each has something to forget.
            FindSession s(*w);
            s.type(res::IDC_STATION, "W");
            QCOMPARE(s.find(), (Path{"WP01"}));
            s.type(res::IDC_STATION, "");
            s.type(res::IDC_COMPOUND, "UC0");
            QCOMPARE(s.find(), (Path{"WP01", "UC01"}));
            s.type(res::IDC_COMPOUND, "");
            QCOMPARE(s.find(), (Path{"WP01", "UC01", "AIN1         AIN"}));
            QVERIFY(!main.m_strLastStation.empty() && !main.m_strLastCompound.empty() &&
                    !main.m_strLastBlock.empty());

            closeBy(way, s.window(), s.window()->m_btnClose);
            QVERIFY(!main.m_pFindDlg);
            QVERIFY(main.m_strLastStation.empty());
            QVERIFY(main.m_strLastCompound.empty());
            QVERIFY(main.m_strLastBlock.empty());
            QTRY_VERIFY(!s.window());
        }
        // A fresh window with empty fields, and every level starts again from the top.
        FindSession again(*w);
        QVERIFY(again.window() && again.window()->isVisible());
        QCOMPARE(again.fieldTexts(), (QStringList{"", "", ""}));
        QCOMPARE(again.find(), (Path{"WP01", "UC01", "AIN1         AIN"}));
        again.type(res::IDC_COMPOUND, "UC0");
        QCOMPARE(again.find(), (Path{"WP01", "UC01"}));
        again.type(res::IDC_COMPOUND, "");
        again.type(res::IDC_STATION, "W");
        QCOMPARE(again.find(), (Path{"WP01"}));
    }

    void findDoesNotAskTheDirectoryNorRefreshTheBranchesItOpens()
    {
        auto w = openMainWindow(kPlant);
        FindSession s(*w);
        dirapi_control::clearCalls();
        dirapi_control::loadPlant("WP01 OTHER\n");
        s.type(res::IDC_BLOCK, "DOUT");
        QCOMPARE(s.find(), (Path{"AW02", "UC03", "DOUT1        DOUT"}));
        QVERIFY(dirapi_control::calls().empty());
        QVERIFY(w->tree().isItemExpanded(findItem(w->tree(), {"AW02", "UC03"})));
        QVERIFY(!w->dlg->m_bSearching);
    }

    void findButtonOnlyActivatesTheOpenWindow()
    {
        auto w = openMainWindow(kPlant);
        FindSession s(*w);
        CFindDlg* first = s.window();
        QTest::mouseClick(w->dlg->m_btnFind, Qt::LeftButton);
        QCOMPARE(w->dlg->m_pFindDlg.data(), first);
    }

    void findWindowGoesWithTheMainWindow()
    {
        auto w = openMainWindow(kPlant);
        QPointer<CFindDlg> find;
        {
            FindSession s(*w);
            find = s.window();
        }
        QVERIFY(find);
        w->dlg.reset();
        QVERIFY(!find);
    }
};

QTEST_MAIN(TestFind)
#include "tst_find.moc"
