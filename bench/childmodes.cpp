#include "bench/childmodes.h"

#include "app/arbolixdlg.h"
#include "bench/clock.h"
#include "bench/plaintree.h"
#include "bench/populationwatch.h"
#include "bench/residentmemory.h"

#include <QApplication>
#include <QCoreApplication>
#include <QProcess>
#include <QWidget>
#include <cstdio>

namespace bench {

namespace {

constexpr int kChildPatienceMs = 600'000;
const QString kMemoryArbolix = QStringLiteral("--child-memory-arbolix");
const QString kMemoryPlain = QStringLiteral("--child-memory-plain");
const QString kStart = QStringLiteral("--child-start");

// Runs this program with the mode and returns what it printed; nullopt when it failed.
std::optional<QByteArray> runChild(const QString& mode, const PlantShape& shape)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(
        QStringLiteral("DIRAPI_DEMO"),
        QStringLiteral("%1x%2x%3").arg(shape.stations).arg(shape.compounds).arg(shape.blocks));
    environment.insert(QStringLiteral("DIRAPI_MAXOBJ"), QString::number(kBatchSize));
    environment.remove(QStringLiteral("DIRAPI_FILE"));
    environment.remove(QStringLiteral("DIRAPI_DELAY_MS"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {mode});
    if (!child.waitForFinished(kChildPatienceMs) || child.exitStatus() != QProcess::NormalExit ||
        child.exitCode() != 0) {
        child.kill();
        child.waitForFinished();
        return std::nullopt;
    }
    return child.readAllStandardOutput();
}

std::optional<double> firstNumber(const QByteArray& output)
{
    bool ok = false;
    const double value = output.trimmed().split(' ').value(0).toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

PlantShape shapeFromEnvironment()
{
    PlantShape shape;
    const QList<QByteArray> parts = qgetenv("DIRAPI_DEMO").split('x');
    if (parts.size() == 3)
        shape = {parts[0].toInt(), parts[1].toInt(), parts[2].toInt()};
    return shape;
}

int reportBytesPerItem(int64_t before, int64_t after, const PlantShape& shape)
{
    if (before < 0 || after < 0 || shape.items() <= 0)
        return 1;
    std::printf("%.2f\n", double(after - before) / double(shape.items()));
    return 0;
}

int arbolixMemory()
{
    CArbolixDlg dlg;
    int64_t before = -1;
    PopulationWatch watch(dlg, [&] { before = residentBytes(); });
    dlg.create();
    const bool populated = watch.waitUntilDone();
    QCoreApplication::processEvents();
    const int64_t after = residentBytes();
    dlg.ReleaseDirectory();
    return populated ? reportBytesPerItem(before, after, shapeFromEnvironment()) : 1;
}

int plainMemory()
{
    PlainTree tree;
    const int64_t before = residentBytes();
    tree.populate();
    const int64_t after = residentBytes();
    return reportBytesPerItem(before, after, shapeFromEnvironment());
}

// Watches every widget of the main window for its first paint.
class FirstPaintWatch : public QObject
{
public:
    explicit FirstPaintWatch(QWidget& window) : m_window(window)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~FirstPaintWatch() override { QCoreApplication::instance()->removeEventFilter(this); }
    int64_t paintedNs() const { return m_paintedNs; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (m_paintedNs == 0 && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == &m_window)
            m_paintedNs = monotonicNanoseconds();
        return false;
    }

private:
    QWidget& m_window;
    int64_t m_paintedNs = 0;
};

// As the application object runs the main window: modally, released after the run. The run
// ends as soon as the population has.
int startToPopulated()
{
    CArbolixDlg dlg;
    FirstPaintWatch paint(dlg);
    PopulationWatch population(dlg, {}, [&] { dlg.done(0); });
    dlg.doModal();
    dlg.ReleaseDirectory();
    if (!population.isDone() || paint.paintedNs() == 0)
        return 1;
    std::printf("%lld %lld\n", static_cast<long long>(paint.paintedNs()),
                static_cast<long long>(population.endNs()));
    return 0;
}

} // namespace

std::optional<double> measureBytesPerItem(TreeVariant variant, const PlantShape& shape)
{
    const auto output =
        runChild(variant == TreeVariant::Arbolix ? kMemoryArbolix : kMemoryPlain, shape);
    return output ? firstNumber(*output) : std::nullopt;
}

std::optional<StartTimes> measureStart(const PlantShape& shape)
{
    const int64_t startNs = monotonicNanoseconds();
    const auto output = runChild(kStart, shape);
    if (!output)
        return std::nullopt;
    const QList<QByteArray> times = output->trimmed().split(' ');
    bool paintOk = false;
    bool populatedOk = false;
    const qint64 paintedNs = times.value(0).toLongLong(&paintOk);
    const qint64 populatedNs = times.value(1).toLongLong(&populatedOk);
    if (!paintOk || !populatedOk)
        return std::nullopt;
    return StartTimes{double(paintedNs - startNs) / 1e6, double(populatedNs - startNs) / 1e6};
}

std::optional<int> runChildMode(const QStringList& arguments)
{
    const QString mode = arguments.value(1);
    if (mode == kMemoryArbolix)
        return arbolixMemory();
    if (mode == kMemoryPlain)
        return plainMemory();
    if (mode == kStart)
        return startToPopulated();
    return std::nullopt;
}

} // namespace bench
