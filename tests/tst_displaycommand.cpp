// The display command's line, its splitting and the argument vector that is started.
#include "directory/listing/blockline.h"
#include "display/displaycommand.h"

#include <QTest>
#include <random>
#include <string>
#include <vector>

using directory::blockNameOf;
using display::displayArguments;
using display::displayCommandLine;
using display::splitCommandLine;
using Arguments = std::vector<std::string>;

namespace {

const char* const kUtility = "/usr/local/pref";

QString shown(const Arguments& arguments)
{
    QStringList parts;
    for (const std::string& argument : arguments)
        parts << QStringLiteral("[%1]").arg(QString::fromStdString(argument));
    return parts.join(QLatin1Char(' '));
}

} // namespace

class DisplayCommandTest : public QObject
{
    Q_OBJECT
private slots:
    void blockCommandNamesCompoundAndBlock();
    void compoundCommandEndsWithCmp();
    void missingOptionLeavesLoneHyphen();
    void blockNameIsTextBeforeFirstBlank();
    void twoWordOptionGivesTwoArguments();
    void splittingFollowsBlanksTabsAndQuotes_data();
    void splittingFollowsBlanksTabsAndQuotes();
    void argumentsEqualSplitLineForPlainNames();
    void blanksAndQuotesInNamesStayInsideTheirArgument();
};

void DisplayCommandTest::blockCommandNamesCompoundAndBlock()
{
    const std::string line = std::string("AIN1") + std::string(8, ' ') + " AIN";
    QCOMPARE(line.size(), std::size_t(16));
    const std::string_view block = blockNameOf(line);

    QCOMPARE(displayCommandLine(kUtility, "WP01", "UC01", block),
             std::string(R"(/usr/local/pref -WP01 DMCMD "stddisp UC01:AIN1")"));
    QCOMPARE(displayArguments(kUtility, "WP01", "UC01", block),
             (Arguments{"/usr/local/pref", "-WP01", "DMCMD", "stddisp UC01:AIN1"}));
}

void DisplayCommandTest::compoundCommandEndsWithCmp()
{
    QCOMPARE(displayCommandLine(kUtility, "WP01", "UC01"),
             std::string(R"(/usr/local/pref -WP01 DMCMD "stddisp UC01 CMP")"));
    QCOMPARE(displayArguments(kUtility, "WP01", "UC01"),
             (Arguments{"/usr/local/pref", "-WP01", "DMCMD", "stddisp UC01 CMP"}));
}

void DisplayCommandTest::missingOptionLeavesLoneHyphen()
{
    QCOMPARE(displayCommandLine(kUtility, "", "UC01", "AIN1"),
             std::string(R"(/usr/local/pref - DMCMD "stddisp UC01:AIN1")"));
    QCOMPARE(displayArguments(kUtility, "", "UC01", "AIN1"),
             (Arguments{"/usr/local/pref", "-", "DMCMD", "stddisp UC01:AIN1"}));
}

void DisplayCommandTest::blockNameIsTextBeforeFirstBlank()
{
    QCOMPARE(blockNameOf("ABCDEFGHIJKL PIDA"), std::string_view("ABCDEFGHIJKL"));
    QCOMPARE(displayArguments(kUtility, "WP01", "UC01", blockNameOf("ABCDEFGHIJKL PIDA")).back(),
             std::string("stddisp UC01:ABCDEFGHIJKL"));
    QCOMPARE(blockNameOf("AIN1         AIN  X"), std::string_view("AIN1"));
    QCOMPARE(blockNameOf("NOBLANK"), std::string_view("NOBLANK"));
    QCOMPARE(blockNameOf(" LEADING"), std::string_view(""));
    QCOMPARE(blockNameOf(""), std::string_view(""));
}

void DisplayCommandTest::twoWordOptionGivesTwoArguments()
{
    QCOMPARE(displayArguments(kUtility, "AB01 extra", "UC01", "AIN1"),
             (Arguments{"/usr/local/pref", "-AB01", "extra", "DMCMD", "stddisp UC01:AIN1"}));
    QCOMPARE(splitCommandLine(displayCommandLine(kUtility, "AB01 extra", "UC01", "AIN1")),
             displayArguments(kUtility, "AB01 extra", "UC01", "AIN1"));
}

void DisplayCommandTest::splittingFollowsBlanksTabsAndQuotes_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("empty line") << QByteArray("") << QStringList{};
    QTest::newRow("only separators") << QByteArray(" \t  ") << QStringList{};
    QTest::newRow("blanks and tabs") << QByteArray("  a\tb  \t c ") << QStringList{"a", "b", "c"};
    QTest::newRow("quoted part is one argument")
        << QByteArray(R"(x "a b	c" y)") << QStringList{"x", "a b\tc", "y"};
    QTest::newRow("adjacent parts join")
        << QByteArray(R"(ab"c d"ef g)") << QStringList{"abc def", "g"};
    QTest::newRow("empty quotes give empty argument")
        << QByteArray(R"(a "" b)") << QStringList{"a", "", "b"};
    QTest::newRow("empty quotes at end") << QByteArray(R"(a "")") << QStringList{"a", ""};
    QTest::newRow("unclosed quote runs to end")
        << QByteArray(R"(a "b c  )") << QStringList{"a", "b c  "};
    QTest::newRow("lone quote") << QByteArray("\"") << QStringList{""};
    QTest::newRow("backslash not before a quote is ordinary")
        << QByteArray(R"(a\ b\\c "d\e")") << QStringList{"a\\", "b\\\\c", "d\\e"};
    QTest::newRow("backslash escapes a quote")
        << QByteArray(R"(a\"b "c\" d")") << QStringList{"a\"b", "c\" d"};
    QTest::newRow("doubled backslashes before a quote halve, the quote toggles")
        << QByteArray(R"("a\\" b\\\\"c d")") << QStringList{"a\\", "b\\\\c d"};
    QTest::newRow("three backslashes before a quote: one and the quote")
        << QByteArray(R"(a\\\"b)") << QStringList{"a\\\"b"};
}

void DisplayCommandTest::splittingFollowsBlanksTabsAndQuotes()
{
    QFETCH(QByteArray, line);
    QFETCH(QStringList, expected);
    Arguments expectedArguments;
    for (const QString& argument : expected)
        expectedArguments.push_back(argument.toStdString());
    const Arguments actual = splitCommandLine(line.toStdString());
    QVERIFY2(actual == expectedArguments, qPrintable(shown(actual)));
}

void DisplayCommandTest::argumentsEqualSplitLineForPlainNames()
{
    // Everything a name may hold except the separators and the quote, shell syntax included.
    std::string alphabet = "ABCXYZabc019_-.:/$;|&`*><()'\\!#~%^{}[]?=+,@";
    alphabet += "\xc3\xa9\xe4\xb8\xad\xff\x80\x01";
    std::mt19937 random(20240601);
    const auto name = [&](std::size_t maxLength, std::size_t minLength) {
        std::uniform_int_distribution<std::size_t> length(minLength, maxLength);
        std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
        std::string text;
        for (std::size_t n = length(random); n > 0; --n)
            text.push_back(alphabet[pick(random)]);
        return text;
    };

    for (int round = 0; round < 2000; ++round) {
        const std::string option = name(8, 0);
        const std::string compound = name(12, 1);
        const std::string block = name(12, 1);
        const bool isBlock = round % 2 == 0;
        const auto blockArgument = isBlock ? std::optional<std::string_view>(block) : std::nullopt;

        const Arguments built = displayArguments(kUtility, option, compound, blockArgument);
        const Arguments split =
            splitCommandLine(displayCommandLine(kUtility, option, compound, blockArgument));
        QVERIFY2(built == split, qPrintable(shown(built) + " vs " + shown(split)));
        QCOMPARE(built.size(), std::size_t(4));
        QCOMPARE(built[1], "-" + option);
        QCOMPARE(built[3],
                 isBlock ? "stddisp " + compound + ":" + block : "stddisp " + compound + " CMP");
    }
}

void DisplayCommandTest::blanksAndQuotesInNamesStayInsideTheirArgument()
{
    QCOMPARE(displayArguments(kUtility, "WP01", "UC 01", "A\"IN 1"),
             (Arguments{"/usr/local/pref", "-WP01", "DMCMD", "stddisp UC 01:A\"IN 1"}));
    QCOMPARE(displayArguments(kUtility, "WP01", "U\"C\t1"),
             (Arguments{"/usr/local/pref", "-WP01", "DMCMD", "stddisp U\"C\t1 CMP"}));
    // In the line the request is quoted with its quotes escaped, so it comes back whole too.
    QCOMPARE(displayCommandLine(kUtility, "WP01", "UC 01", "A\"IN 1\\"),
             std::string(R"(/usr/local/pref -WP01 DMCMD "stddisp UC 01:A\"IN 1\\")"));
    QCOMPARE(splitCommandLine(displayCommandLine(kUtility, "WP01", "UC 01", "A\"IN 1\\")),
             displayArguments(kUtility, "WP01", "UC 01", "A\"IN 1\\"));
    // The option is split by the rule on its own, so its quotes cannot swallow what follows.
    QCOMPARE(displayArguments(kUtility, "\"W P", "UC01", "AIN1"),
             (Arguments{"/usr/local/pref", "-W P", "DMCMD", "stddisp UC01:AIN1"}));
}

QTEST_GUILESS_MAIN(DisplayCommandTest)
#include "tst_displaycommand.moc"
