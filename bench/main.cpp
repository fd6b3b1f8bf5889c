// arbolix_bench [--quick] [--runs N] [--size SxCxB] [--json PATH]
// Measures Arbolix against the bare listing and a plain QTreeWidget for three plant sizes,
// prints the medians and writes them as JSON. --quick runs the two small sizes once; --size
// measures one size alone.
#include "bench/childmodes.h"
#include "bench/measuresize.h"
#include "bench/report.h"

#include <QApplication>
#include <QFile>
#include <cstdio>
#include <vector>

namespace {

struct Options
{
    bool quick = false;
    int runs = 0; // 0: the default for each size
    QString jsonPath;
    QString only; // SxCxB: measure this size alone
};

bool parseOptions(const QStringList& arguments, Options& options)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--quick")) {
            options.quick = true;
        } else if (argument == QLatin1String("--runs") && i + 1 < arguments.size()) {
            bool ok = false;
            options.runs = arguments[++i].toInt(&ok);
            if (!ok || options.runs < 1 || options.runs > 100)
                return false;
        } else if (argument == QLatin1String("--size") && i + 1 < arguments.size()) {
            options.only = arguments[++i];
        } else if (argument == QLatin1String("--json") && i + 1 < arguments.size()) {
            options.jsonPath = arguments[++i];
        } else {
            return false;
        }
    }
    return true;
}

int runsFor(const bench::PlantShape& shape, const Options& options)
{
    if (options.runs > 0)
        return options.runs;
    if (options.quick)
        return 1;
    // The million-block plant takes seconds a run for the QTreeWidget alone.
    return shape.items() > 500'000 ? 3 : 5;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (const auto code = bench::runChildMode(arguments))
        return *code;

    Options options;
    if (!parseOptions(arguments, options)) {
        std::fprintf(stderr,
                     "usage: arbolix_bench [--quick] [--runs N] [--size SxCxB] [--json PATH]\n");
        return 2;
    }

    std::vector<bench::PlantShape> shapes{{10, 10, 100}, {100, 10, 100}, {100, 100, 100}};
    if (options.quick)
        shapes.pop_back();
    if (!options.only.isEmpty()) {
        const QStringList parts = options.only.split('x');
        const auto part = [&](int i) { return parts.value(i).toInt(); };
        if (parts.size() != 3 || part(0) < 1 || part(1) < 1 || part(2) < 1 || part(0) > 9999 ||
            part(1) > 9999 || part(2) > 999999) {
            std::fprintf(stderr, "arbolix_bench: --size takes SxCxB\n");
            return 2;
        }
        shapes = {{part(0), part(1), part(2)}};
    }

    const QString machine = bench::describeMachine();
    std::printf("%s\n\n", qPrintable(machine));
    std::vector<bench::SizeFigures> figures;
    for (const bench::PlantShape& shape : shapes) {
        std::fprintf(stderr, "measuring %dx%dx%d ...\n", shape.stations, shape.compounds,
                     shape.blocks);
        figures.push_back(bench::measureSize(shape, runsFor(shape, options)));
    }

    std::printf("%s\n%s", qPrintable(bench::formatTable(figures)),
                qPrintable(bench::formatTargets(figures)));

    if (!options.jsonPath.isEmpty()) {
        QFile json(options.jsonPath);
        if (!json.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            json.write(bench::formatJson(machine, figures)) < 0) {
            std::fprintf(stderr, "arbolix_bench: cannot write %s\n", qPrintable(options.jsonPath));
            return 1;
        }
        std::printf("\nwritten: %s\n", qPrintable(options.jsonPath));
    }
    return 0;
}
