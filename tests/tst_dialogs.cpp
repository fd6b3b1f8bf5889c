// Dialogs built from templates: geometry, the program's templates, focus and keys, data
// exchange, and the seams that stand in for modal boxes.
#include "res/icon.h"
#include "res/resource.h"
#include "res/strings.h"
#include "res/templates.h"
#include "res/translations.h"
#include "tests/accessibleevents.h"
#include "toolkit/accessibility.h"
#include "toolkit/controlfactory.h"
#include "toolkit/dataexchange.h"
#include "toolkit/dialog.h"
#include "toolkit/fonts.h"
#include "toolkit/messagebox.h"
#include "toolkit/modalseam.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QStyle>
#include <QTranslator>
#include <QtTest>
#include <string>
#include <vector>

namespace {

using tk::ControlKind;
namespace style = tk::style;

// Counts what the toolkit routes to OK and Cancel; the Find window's own handling is tested
// with the real window in tst_find.
class CountingDialog : public tk::Dialog
{
public:
    explicit CountingDialog(bool cancelCloses = true)
        : tk::Dialog(res::findTemplate()), m_cancelCloses(cancelCloses)
    {
    }

    int okCount = 0;
    int cancelCount = 0;

    void onOK() override { ++okCount; }
    void onCancel() override
    {
        ++cancelCount;
        if (m_cancelCloses)
            tk::Dialog::onCancel();
    }

private:
    bool m_cancelCloses;
};

QLineEdit* edit(const tk::Dialog& dialog, int id)
{
    return qobject_cast<QLineEdit*>(dialog.control(id));
}

QStringList controlTexts(const tk::DialogTemplate& tmpl)
{
    QStringList texts;
    for (const tk::ControlTemplate& c : tmpl.controls)
        texts << QStringLiteral("%1:%2@%3,%4,%5,%6")
                     .arg(c.id)
                     .arg(QString::fromUtf8(c.text))
                     .arg(c.x)
                     .arg(c.y)
                     .arg(c.cx)
                     .arg(c.cy);
    return texts;
}

// The first text its control cuts in the template's font at this scale: a button's in its frame,
// a wrapped one in its box, a one-line one (widened) at the next control on its rows or the edge.
QString cutText(const tk::DialogTemplate& tmpl, double scale)
{
    QFont font = tk::templateFont(tmpl.fontFace, tmpl.pointSize);
    font.setPointSizeF(tmpl.pointSize * scale);
    const QFontMetrics metrics(font);
    const tk::DialogUnits units(metrics);
    const QStyle* style = QApplication::style();
    const int frame = qRound(scale * (style->pixelMetric(QStyle::PM_ButtonMargin) +
                                      2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth)));
    for (const tk::ControlTemplate& c : tmpl.controls) {
        const bool button = c.kind == ControlKind::PushButton;
        const QString text = tk::staticText(tk::templateText(tmpl.context, c.text), c.style);
        const QRect box = units.toPixels(c.x, c.y, c.cx, c.cy);
        int room = button ? box.width() - frame : units.toPixelsX(tmpl.cx) - box.x();
        for (const tk::ControlTemplate& o : tmpl.controls) {
            const QRect other = units.toPixels(o.x, o.y, o.cx, o.cy);
            if (other.x() > box.x() && other.top() <= box.bottom() && other.bottom() >= box.top())
                room = std::min(room, other.x() - box.x());
        }
        const QRect wrapped = metrics.boundingRect(box, Qt::TextWordWrap, text);
        if ((button || (c.kind == ControlKind::Static && box.height() < 2 * metrics.height()))
                ? metrics.horizontalAdvance(text) > room
                : c.kind == ControlKind::Static &&
                      (wrapped.height() > box.height() || wrapped.width() > box.width()))
            return text;
    }
    return QString();
}

} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        tk::ModalSeam::setRunnerForTests({});
        tk::MessageBox::setRecorderForTests({});
    }

    void dialogUnitsRoundLikeThePlatformForGivenBaseUnits()
    {
        const tk::DialogUnits units(6, 13);
        // The main window's Exit button: 421.5 and 383.5 round up, 22.75 to 23.
        QCOMPARE(units.toPixels(281, 236, 50, 14), QRect(422, 384, 75, 23));
        QCOMPARE(units.toPixelsX(-3), -5); // half away from zero also below zero
        QCOMPARE(tk::mulDiv(7, 3, 0), 0);
        QCOMPARE(tk::mulDiv(2147483647, 4, 1), 0); // does not fit: a defined 0
    }

    void dejaVuSans8ptGivesKnownBaseUnitsAndPixels()
    {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSize(8);
        if (QFontInfo(font).family() != QLatin1String("DejaVu Sans"))
            QSKIP("DejaVu Sans is not installed");
        QWidget screenWidget;
        if (screenWidget.logicalDpiY() != 96)
            QSKIP("the known pixel values are for 96 dots per inch");
        const tk::DialogUnits units(QFontMetrics(font, &screenWidget));
        // An average character 6 pixels wide, a line 13 pixels high.
        QCOMPARE(units.baseX(), 6);
        QCOMPARE(units.baseY(), 13);
        QCOMPARE(units.toPixels(281, 236, 50, 14), QRect(422, 384, 75, 23));
    }

    void builtDialogPlacesControlsAndSizesItselfFromTheTemplate()
    {
        tk::Dialog find(res::findTemplate());
        QCOMPARE(find.control(res::IDOK), nullptr); // nothing is built before it opens
        QVERIFY(find.create());
        const tk::DialogUnits& units = find.units();
        QCOMPARE(find.control(res::IDC_BLOCK)->geometry(), units.toPixels(53, 64, 112, 12));
        QCOMPARE(find.control(res::IDC_CLOSE)->objectName(), QStringLiteral("ctl1006"));
        QCOMPARE(find.size(), QSize(units.toPixelsX(240), units.toPixelsY(95)));
        QCOMPARE(find.minimumSize(), find.maximumSize()); // modal frame: not resizable
        QCOMPARE(find.windowTitle(), QStringLiteral("Find station, compound or block"));
        QCOMPARE(find.control(res::IDC_STATIC), nullptr);
        QCOMPARE(find.control(4711), nullptr);
        QVERIFY(!find.create()); // a second create builds nothing new
    }

    void windowStylesBecomeWindowFlags()
    {
        tk::Dialog init(res::initTemplate());
        QVERIFY(init.windowFlags() & Qt::WindowTitleHint);
        QVERIFY(!(init.windowFlags() & Qt::WindowCloseButtonHint)); // no system menu
        tk::Dialog find(res::findTemplate());
        QVERIFY(find.windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(find.windowFlags() & Qt::WindowMaximizeButtonHint));
    }

    void mainWindowIsAResizableTaskBarWindowStartingOnExit()
    {
        tk::Dialog main(res::mainTemplate());
        QCOMPARE(main.windowFlags() & Qt::WindowType_Mask, Qt::Window);
        QVERIFY(main.windowFlags() & Qt::WindowMinMaxButtonsHint);
        QVERIFY(main.create());
        QVERIFY(main.minimumSize() != main.maximumSize());
        QVERIFY(main.control(res::IDC_TREE)->inherits("tk::TreeCtrl"));
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QCOMPARE(main.focusWidget(), main.control(res::IDOK));
        // A focused button takes Enter; away from buttons Enter goes to Find... again.
        auto* findButton = qobject_cast<QPushButton*>(main.control(res::IDC_FIND));
        QVERIFY(!findButton->isDefault());
        QTest::keyClick(main.focusWidget(), Qt::Key_Tab);
        QCOMPARE(main.focusWidget(), main.control(res::IDC_TREE));
        QVERIFY(findButton->isDefault());
    }

    void programTemplatesCarryTheirIdsCaptionsAndControls()
    {
        const tk::DialogTemplate& main = res::mainTemplate();
        QCOMPARE(main.id, 102);
        QCOMPARE(QString::fromUtf8(main.caption), QStringLiteral("Arbolix"));
        QCOMPARE(QSize(main.cx, main.cy), QSize(338, 257));
        QCOMPARE(controlTexts(main), QStringList({"1:Exit@281,236,50,14", "1000:Tree1@7,7,265,243",
                                                  "1004:Find...@281,7,50,14"}));

        const tk::DialogTemplate& find = res::findTemplate();
        QCOMPARE(find.id, 130);
        QCOMPARE(QSize(find.cx, find.cy), QSize(240, 95));
        QCOMPARE(controlTexts(find),
                 QStringList({"1:Find@183,7,50,14", "-1:Station:@7,14,41,8", "1003:@53,13,112,12",
                              "-1:Compound:@7,39,41,8", "1004:@53,38,112,12", "-1:Block:@7,65,41,8",
                              "1005:@53,64,112,12", "1006:Close@183,24,50,14"}));
        QCOMPARE(find.controls[4].style & style::Uppercase, style::Uppercase);
        QCOMPARE(find.controls[2].style & style::Uppercase, 0u);

        const tk::DialogTemplate& init = res::initTemplate();
        QCOMPARE(init.id, 136);
        QCOMPARE(QString::fromUtf8(init.caption), QStringLiteral("Initializing"));
        QCOMPARE(controlTexts(init),
                 QStringList({"-1:Initializing Arbolix...@61,27,63,8", "1010:@21,58,143,12"}));
        QCOMPARE(init.style & style::SysMenu, 0u);

        const tk::DialogTemplate& about = res::aboutBoxTemplate();
        QCOMPARE(about.id, 100);
        QCOMPARE(QString::fromUtf8(about.caption), QStringLiteral("About Arbolix"));
        QCOMPARE(QSize(about.cx, about.cy), QSize(244, 145));
        QCOMPARE(about.controls.size(), size_t(8));
        QCOMPARE(QString::fromUtf8(about.controls[1].text), QStringLiteral("Arbolix 1.0"));
        QCOMPARE(about.controls[2].id, res::IDOK);
        QCOMPARE(about.controls[2].style & style::DefaultButton, style::DefaultButton);

        const QIcon icon = res::loadIcon(res::IDR_MAINFRAME);
        QCOMPARE(icon.availableSizes(), QList<QSize>({QSize(32, 32), QSize(16, 16)}));
        QVERIFY(res::loadIcon(4711).isNull());

        QCOMPARE(res::loadString(res::IDS_ABOUTBOX), QStringLiteral("&About Arbolix..."));
        QVERIFY(res::loadString(4711).isEmpty());
    }

    void textsAreInTheOperatorsLanguageAndFit_data()
    {
        QTest::addColumn<QStringList>("languages"); // as the locale gives them, most wanted first
        QTest::addColumn<QString>("translation");
        QTest::newRow("C") << QStringList{"C"} << "";
        QTest::newRow("en_US") << QStringList{"en-US"} << "";
        QTest::newRow("LANGUAGE=en, LANG=de_DE") << QStringList{"en", "de-DE"} << "";
        QTest::newRow("no translation") << QStringList{"it-IT"} << "";
        QTest::newRow("de_AT") << QStringList{"de-AT"} << "de";
        QTest::newRow("fr_FR") << QStringList{"fr-FR"} << "fr";
        QTest::newRow("unknown, it, then es") << QStringList{"xx", "it", "es-ES"} << "es";
    }
    void textsAreInTheOperatorsLanguageAndFit()
    {
        QFETCH(QStringList, languages);
        QFETCH(QString, translation);
        QStringList english;
        for (int id = res::IDS_ABOUTBOX; id <= res::IDS_FOUNDITEM; ++id)
            english << res::loadString(id);
        QTranslator program, qt;
        QCOMPARE(res::installTranslations(program, qt, languages), !translation.isEmpty());
        QCOMPARE(res::translationLanguage(languages), translation);
        // The program's name and version and the texts never shown stay as written.
        const QStringList asWritten{"Arbolix", "Arbolix " + QString(res::shortVersion()), "Tree1",
                                    "128", ""};
        for (const tk::DialogTemplate* tmpl : {&res::mainTemplate(), &res::findTemplate(),
                                               &res::initTemplate(), &res::aboutBoxTemplate()}) {
            std::vector<const char*> texts{tmpl->caption};
            for (const tk::ControlTemplate& c : tmpl->controls)
                texts.push_back(c.text);
            for (const char* text : texts) {
                if (translation.isEmpty() || asWritten.contains(text))
                    QCOMPARE(tk::templateText(tmpl->context, text), QString::fromUtf8(text));
                else
                    QVERIFY2(!program.translate(tmpl->context, text).isEmpty(), text);
            }
            QCOMPARE(cutText(*tmpl, 1.0), QString());
            QCOMPARE(cutText(*tmpl, 2.0), QString());
        }
        for (qsizetype i = 0; i < english.size(); ++i) {
            if (translation.isEmpty())
                QCOMPARE(res::loadString(int(res::IDS_ABOUTBOX + i)), english[i]);
            else
                QVERIFY2(!program.translate("StringTable", qPrintable(english[i])).isEmpty(),
                         qPrintable(english[i]));
        }
    }

    void tabWalksTheControlsInTableOrderFromTheFirstOne()
    {
        tk::Dialog find(res::findTemplate());
        QVERIFY(find.create());
        QVERIFY(QTest::qWaitForWindowActive(&find));
        QStringList visited{find.focusWidget()->objectName()};
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(find.focusWidget(), Qt::Key_Tab);
            visited << find.focusWidget()->objectName();
        }
        QCOMPARE(visited,
                 QStringList({"ctl1", "ctl1003", "ctl1004", "ctl1005", "ctl1006", "ctl1"}));
    }

    void enterPressesTheDefaultButtonAndButtonOneRunsOnOk()
    {
        CountingDialog find;
        QVERIFY(find.create());
        QVERIFY(qobject_cast<QPushButton*>(find.control(res::IDOK))->isDefault());
        QVERIFY(!qobject_cast<QPushButton*>(find.control(res::IDC_CLOSE))->isDefault());
        QTest::keyClick(edit(find, res::IDC_STATION), Qt::Key_Return);
        QCOMPARE(find.okCount, 1);
        QTest::mouseClick(find.control(res::IDOK), Qt::LeftButton);
        QCOMPARE(find.okCount, 2);
        QVERIFY(find.isVisible());
    }

    void escapeAndTheCloseBoxGoThroughOnCancel()
    {
        CountingDialog staysOpen(false);
        QVERIFY(staysOpen.create());
        QTest::keyClick(edit(staysOpen, res::IDC_STATION), Qt::Key_Escape);
        QCOMPARE(staysOpen.cancelCount, 1);
        staysOpen.close();
        QCOMPARE(staysOpen.cancelCount, 2);
        QVERIFY(staysOpen.isVisible()); // its onCancel keeps it open

        CountingDialog closes;
        QVERIFY(closes.create());
        QTest::keyClick(edit(closes, res::IDC_BLOCK), Qt::Key_Escape);
        QCOMPARE(closes.cancelCount, 1);
        QVERIFY(!closes.isVisible());
        QCOMPARE(closes.result(), int(QDialog::Rejected));
    }

    void dataExchangeLoadsAndSavesMembersThroughTheControls()
    {
        tk::Dialog find(res::findTemplate());
        QVERIFY(find.create());
        std::string block = "AIN\xC3\x84"; // UTF-8 bytes of "AINÄ"
        QString station = QStringLiteral("ws01");
        QPushButton* close = nullptr;
        {
            tk::DataExchange load(find, false);
            load.control(res::IDC_CLOSE, close);
            load.text(res::IDC_BLOCK, block);
            load.text(res::IDC_STATION, station);
            QVERIFY(!load.failed());
        }
        QCOMPARE(close, find.control(res::IDC_CLOSE));
        QCOMPARE(edit(find, res::IDC_BLOCK)->text(), QStringLiteral("AIN\u00C4"));
        QCOMPARE(edit(find, res::IDC_STATION)->text(), QStringLiteral("ws01"));

        edit(find, res::IDC_COMPOUND)->setText(QStringLiteral("UC01"));
        edit(find, res::IDC_BLOCK)->clear();
        std::string compound;
        tk::DataExchange save(find, true);
        save.text(res::IDC_COMPOUND, compound);
        save.text(res::IDC_BLOCK, block);
        QCOMPARE(compound, std::string("UC01"));
        QCOMPARE(block, std::string());
    }

    void exchangeWithMissingOrWrongControlsFailsSoftly()
    {
        tk::Dialog find(res::findTemplate());
        QVERIFY(!find.updateData(false)); // not built yet
        QVERIFY(find.create());

        tk::DataExchange dx(find, false);
        QLineEdit stray;
        QLineEdit* wrongKind = &stray;
        dx.control(res::IDC_CLOSE, wrongKind);
        QCOMPARE(wrongKind, nullptr);
        QString nowhere = QStringLiteral("x");
        dx.text(4711, nowhere);
        QVERIFY(dx.failed());
    }

    void savingCutsTheLastExchangedTextToItsLimit()
    {
        tk::Dialog find(res::findTemplate());
        QVERIFY(find.create());
        auto* close = qobject_cast<QPushButton*>(find.control(res::IDC_CLOSE));
        close->setText(QStringLiteral("ABCDEFGHIJ"));
        tk::DataExchange dx(find, true);
        std::string bytes;
        dx.text(res::IDC_CLOSE, bytes);
        dx.maxChars(res::IDC_CLOSE, 6);
        QCOMPARE(bytes, std::string("ABCDEF"));
        QString text;
        dx.text(res::IDC_CLOSE, text);
        dx.maxChars(res::IDC_STATION, 2); // another id: leaves the text alone
        QCOMPARE(text, QStringLiteral("ABCDEFGHIJ"));
        QVERIFY(!dx.failed());
    }

    void uppercaseFieldsTurnTypedLettersToCapitals()
    {
        tk::Dialog find(res::findTemplate());
        QVERIFY(find.create());
        QTest::keyClicks(edit(find, res::IDC_STATION), QStringLiteral("ws01-ab"));
        QCOMPARE(edit(find, res::IDC_STATION)->text(), QStringLiteral("ws01-ab"));
        QTest::keyClicks(edit(find, res::IDC_COMPOUND), QStringLiteral("uc01-ab"));
        QCOMPARE(edit(find, res::IDC_COMPOUND)->text(), QStringLiteral("UC01-AB"));
        QTest::keyClicks(edit(find, res::IDC_BLOCK), QStringLiteral("ain1 with info"));
        QCOMPARE(edit(find, res::IDC_BLOCK)->text(), QStringLiteral("AIN1 WITH INFO"));

        // A screen reader hears each letter inserted once, already a capital; pasted text is
        // turned too.
        testsupport::AccessibleEvents events;
        QTest::keyClicks(edit(find, res::IDC_COMPOUND), QStringLiteral("x"));
        QTest::keyClick(edit(find, res::IDC_BLOCK), Qt::Key_A, Qt::ShiftModifier);
        QCOMPARE(events.take(), QStringList({"insert X", "insert A"}));
        edit(find, res::IDC_COMPOUND)->clear();
        edit(find, res::IDC_COMPOUND)->insert(QStringLiteral("pasted"));
        QCOMPARE(edit(find, res::IDC_COMPOUND)->text(), QStringLiteral("PASTED"));
    }

    void staticTextsShowMnemonicMarkersOnlyWithNoPrefix()
    {
        QCOMPARE(tk::staticText("&Station:", 0), QStringLiteral("Station:"));
        QCOMPARE(tk::staticText("A&&B&", 0), QStringLiteral("A&B"));
        QCOMPARE(tk::staticText("A&&B", style::NoPrefix), QStringLiteral("A&&B"));
        QCOMPARE(tk::staticText(nullptr, 0), QString());
    }

    void oneLineTextsAreWholeWhateverTheFont()
    {
        // "Initializing Arbolix..." is wider in the desktop's font than its template slot.
        tk::Dialog dialog(res::initTemplate());
        tk::ModalSeam::setRunnerForTests([](tk::Dialog&) { return 0; });
        dialog.doModal();
        const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
        QVERIFY(!labels.isEmpty());
        // The text above the progress bar is its label, so a screen reader names the bar.
        QCOMPARE(tk::accessibleName(dialog.control(res::IDC_PROGRESS)),
                 QStringLiteral("Initializing Arbolix..."));
        for (const QLabel* label : labels) {
            if (label->text().isEmpty())
                continue;
            QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()),
                     qPrintable(label->text()));
            QVERIFY(label->height() < 2 * label->fontMetrics().height() || label->wordWrap());
        }
    }

    void modalSeamRunsTheInitialisedDialogInsteadOfBlocking()
    {
        std::vector<int> runs;
        QPixmap iconImage(32, 32);
        iconImage.fill(Qt::red);
        QWidget owner;
        owner.setWindowIcon(QIcon(iconImage));
        tk::ModalSeam::setRunnerForTests([&](tk::Dialog& dialog) {
            runs.push_back(dialog.dialogTemplate().id);
            const auto labels = dialog.findChildren<QLabel*>();
            const bool iconShown = std::any_of(labels.begin(), labels.end(), [](QLabel* l) {
                return l->pixmap().size() == QSize(32, 32);
            });
            return iconShown && dialog.control(res::IDOK) ? 7 : -1;
        });
        tk::Dialog about(res::aboutBoxTemplate(), &owner);
        QCOMPARE(about.doModal(), 7);
        QCOMPARE(runs, std::vector<int>{res::IDD_ABOUTBOX});
    }

    void messageBoxSeamRecordsInsteadOfBlocking()
    {
        std::vector<tk::MessageBoxRecord> shown;
        tk::MessageBox::setRecorderForTests(
            [&](const tk::MessageBoxRecord& record) { shown.push_back(record); });
        QWidget owner;
        tk::MessageBox::show(&owner, QStringLiteral("Search pattern not found!"),
                             QStringLiteral("Arbolix"), tk::MessageBox::Icon::Stop);
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].owner, &owner);
        QCOMPARE(shown[0].text, QStringLiteral("Search pattern not found!"));
        QCOMPARE(shown[0].caption, QStringLiteral("Arbolix"));
        QCOMPARE(shown[0].icon, tk::MessageBox::Icon::Stop);
    }

    void fixedPitchFontLinesUpColumns()
    {
        for (const QFont& font : {tk::fixedPitchFont(9), tk::pointFont(90, "Fixedsys")}) {
            QVERIFY(QFontInfo(font).fixedPitch());
            QCOMPARE(QFontInfo(font).pointSize(), 9);
            const QFontMetrics metrics(font);
            QCOMPARE(metrics.horizontalAdvance(QStringLiteral("iiiiiiiiiiii")),
                     metrics.horizontalAdvance(QStringLiteral("MMMMMMMMMMMM")));
        }
        const QFont dialogFont = tk::templateFont("MS Sans Serif", 8);
        QCOMPARE(dialogFont.pointSize(), 8);
        QVERIFY(!QFontInfo(dialogFont).fixedPitch());
        QCOMPARE(tk::templateFont("MS Sans Serif", 0).pointSize(), 8); // nonsense size: default
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
