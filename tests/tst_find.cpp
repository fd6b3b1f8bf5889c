// The Find window: fragments typed by the operator, one match after another, then the message.
#include "dirapi/dirapi_control.h"
#include "res/resource.h"
#include "search/finddlg.h"
#include "tests/testsupport.h"
#include "toolkit/messagebox.h"
#include "toolkit/treectrl.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

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

// The Find window of a main window, driven like the operator drives it.
class FindSession
{
public:
    explicit FindSession(MainWindow& w) : m_w(w)
    {
        tk::MessageBox::setAnswerForTests(
            [this](const tk::MessageBoxRecord& record) { m_messages.push_back(record); });
        openWindow();
    }
    ~FindSession() { tk::MessageBox::setAnswerForTests(nullptr); }

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

    // Presses Find; the path of the selected item, or {"<message>"} when the box came up.
    Path find()
    {
        const std::size_t before = m_messages.size();
        QTest::mouseClick(qobject_cast<QPushButton*>(m_find->control(res::IDOK)), Qt::LeftButton);
        if (m_messages.size() > before)
            return {"<message>"};
        return pathOf(m_w.dlg->m_hSelected);
    }

    Path pathOf(tk::TreeItem item) const
    {
        Path path;
        for (; item; item = m_w.tree().parentItem(item))
            path.insert(path.begin(), std::string(m_w.tree().itemText(item)));
        return path;
    }

    const std::vector<tk::MessageBoxRecord>& messages() const { return m_messages; }

private:
    MainWindow& m_w;
    QPointer<CFindDlg> m_find;
    std::vector<tk::MessageBoxRecord> m_messages;
};

const Path kMessage{"<message>"};

} // namespace

class TestFind : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { dirapi_control::reset(); }

    void emptyFieldsWalkEveryBlockThenSayNotFoundThenStartAgain()
    {
        auto w = openMainWindow(kPlant);
        FindSession s(*w);
        QCOMPARE(s.find(), (Path{"WP01", "UC01", "AIN1         AIN"}));
        QCOMPARE(s.find(), (Path{"WP01", "UC01", "PIDA1        PIDA"}));
        // The same block line under another compound is reached too, in order.
        QCOMPARE(s.find(), (Path{"WP01", "FEED", "AIN1         AIN"}));
        QCOMPARE(s.find(), (Path{"WP01", "FEED", "CALC1        PIDA"}));
        QCOMPARE(s.find(), (Path{"AW02", "UC03", "AIN1         AIN"}));
        QCOMPARE(s.find(), (Path{"AW02", "UC03", "DOUT1        DOUT"}));
        QCOMPARE(s.find(), kMessage);
        QCOMPARE(s.find(), (Path{"WP01", "UC01", "AIN1         AIN"}));

        const tk::MessageBoxRecord& box = s.messages().front();
        QCOMPARE(box.text, QString("Search pattern not found!"));
        QCOMPARE(box.caption, QApplication::applicationName());
        QCOMPARE(box.owner, static_cast<QWidget*>(s.window()));
        QVERIFY(box.icon == tk::MessageBox::Icon::Stop);
    }

    void stationFragmentStepsThroughStationsOnly()
    {
        auto w = openMainWindow(kPlant);
        FindSession s(*w);
        s.type(res::IDC_STATION, "W");
        QCOMPARE(s.find(), (Path{"WP01"}));
        QCOMPARE(s.find(), (Path{"AW01"}));
        QCOMPARE(s.find(), (Path{"AW02"}));
        QCOMPARE(s.find(), kMessage);
    }

    void blockFragmentWinsAndTheOthersFilterByAncestors()
    {
        auto w = openMainWindow(kPlant);
        FindSession s(*w);
        s.type(res::IDC_STATION, "AW");
        s.type(res::IDC_COMPOUND, "UC");
        s.type(res::IDC_BLOCK, "AIN");
        QCOMPARE(s.find(), (Path{"AW02", "UC03", "AIN1         AIN"}));
        QCOMPARE(s.find(), kMessage);
    }

    void compoundFragmentFindsCompounds()
    {
        auto w = openMainWindow(kPlant);
        FindSession s(*w);
        s.type(res::IDC_COMPOUND, "UC0");
        QCOMPARE(s.find(), (Path{"WP01", "UC01"}));
        QCOMPARE(s.find(), (Path{"WP01", "UC02"}));
        QCOMPARE(s.find(), (Path{"AW02", "UC03"}));
        QCOMPARE(s.find(), kMessage);
    }

    void infoColumnMatchesToo()
    {
        auto w = openMainWindow(kPlant);
        FindSession s(*w);
        s.type(res::IDC_BLOCK, "PIDA");
        QCOMPARE(s.find(), (Path{"WP01", "UC01", "PIDA1        PIDA"}));
        QCOMPARE(s.find(), (Path{"WP01", "FEED", "CALC1        PIDA"}));
    }

    void compoundAndBlockFieldsTakeCapitalsAndTheStationKeepsCase()
    {
        auto w = openMainWindow(kPlant);
        FindSession s(*w);
        s.type(res::IDC_STATION, "wp");
        s.type(res::IDC_COMPOUND, "uc");
        s.type(res::IDC_BLOCK, "ain");
        QCOMPARE(s.field(res::IDC_STATION)->text(), QString("wp"));
        QCOMPARE(s.field(res::IDC_COMPOUND)->text(), QString("UC"));
        QCOMPARE(s.field(res::IDC_BLOCK)->text(), QString("AIN"));
        // Matching is case-sensitive: no station contains "wp".
        QCOMPARE(s.find(), kMessage);
    }

    void fieldsAreLimitedWhenTheWindowOpens()
    {
        auto w = openMainWindow(kPlant);
        FindSession s(*w);
        s.type(res::IDC_STATION, "ABCDEFGHIJ");
        s.type(res::IDC_COMPOUND, "ABCDEFGHIJKLMNOP");
        QCOMPARE(s.field(res::IDC_STATION)->text(), QString("ABCDEF"));
        QCOMPARE(s.field(res::IDC_COMPOUND)->text(), QString("ABCDEFGHIJKL"));
    }

    void levelsKeepTheirOwnPlace()
    {
        auto w = openMainWindow(kPlant);
        FindSession s(*w);
        s.type(res::IDC_BLOCK, "AIN");
        QCOMPARE(s.find(), (Path{"WP01", "UC01", "AIN1         AIN"}));
        s.type(res::IDC_BLOCK, "");
        s.type(res::IDC_STATION, "A");
        QCOMPARE(s.find(), (Path{"AW01"}));
        s.type(res::IDC_STATION, "");
        s.type(res::IDC_BLOCK, "AIN");
        QCOMPARE(s.find(), (Path{"WP01", "FEED", "AIN1         AIN"}));
    }

    void changedFragmentThatStillPassesResumesAfterTheLastMatch()
    {
        auto w = openMainWindow(kPlant);
        FindSession s(*w);
        s.type(res::IDC_BLOCK, "1");
        QCOMPARE(s.find(), (Path{"WP01", "UC01", "AIN1         AIN"}));
        QCOMPARE(s.find(), (Path{"WP01", "UC01", "PIDA1        PIDA"}));
        s.type(res::IDC_BLOCK, "A");
        QCOMPARE(s.find(), (Path{"WP01", "FEED", "AIN1         AIN"}));
    }

    void changedFragmentThatExcludesTheLastMatchStartsAtTheTop()
    {
        auto w = openMainWindow(kPlant);
        FindSession s(*w);
        s.type(res::IDC_BLOCK, "PIDA");
        QCOMPARE(s.find(), (Path{"WP01", "UC01", "PIDA1        PIDA"}));
        s.type(res::IDC_BLOCK, "DOUT");
        QCOMPARE(s.find(), (Path{"AW02", "UC03", "DOUT1        DOUT"}));
        QCOMPARE(s.find(), kMessage);
    }

    void closeThenFindStartsAfreshWithEmptyFields()
    {
        auto w = openMainWindow(kPlant);
        {
            FindSession s(*w);
            s.type(res::IDC_STATION, "W");
            QCOMPARE(s.find(), (Path{"WP01"}));
            QTest::mouseClick(s.window()->m_btnClose, Qt::LeftButton);
            QVERIFY(!w->dlg->m_pFindDlg);
            QVERIFY(w->dlg->m_strLastStation.empty());
            QTRY_VERIFY(!s.window());
        }
        FindSession again(*w);
        QVERIFY(again.field(res::IDC_STATION)->text().isEmpty());
        again.type(res::IDC_STATION, "W");
        QCOMPARE(again.find(), (Path{"WP01"}));
    }

    void escapeActsAsClose()
    {
        auto w = openMainWindow(kPlant);
        FindSession s(*w);
        s.type(res::IDC_STATION, "W");
        QCOMPARE(s.find(), (Path{"WP01"}));
        QTest::keyClick(s.window(), Qt::Key_Escape);
        QVERIFY(!w->dlg->m_pFindDlg);
        QVERIFY(w->dlg->m_strLastStation.empty());
        QTRY_VERIFY(!s.window());
        s.openWindow();
        QVERIFY(s.window() && s.window()->isVisible());
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
