#include "bench/report.h"

#include <QFile>
#include <QSysInfo>
#include <QTextStream>
#include <QThread>
#include <QtGlobal>

namespace bench {

namespace {

QString firstLineWith(const QString& path, const QString& key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&file);
    for (QString line = in.readLine(); !line.isNull(); line = in.readLine()) {
        if (line.startsWith(key))
            return line.section(':', 1).trimmed();
    }
    return {};
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QStringLiteral("?");
    return QString::fromLatin1(file.readLine()).section(' ', 0, 2);
}

double perItem(double ms, const PlantShape& shape)
{
    return shape.items() > 0 ? ms / double(shape.items()) : 0;
}

double ratio(double a, double b)
{
    return b > 0 ? a / b : 0;
}

QString number(double value, int decimals = 1)
{
    return QString::number(value, 'f', decimals);
}

QString verdict(bool holds)
{
    return holds ? QStringLiteral("holds") : QStringLiteral("MISSED");
}

} // namespace

QString describeMachine()
{
    const QString cpu =
        firstLineWith(QStringLiteral("/proc/cpuinfo"), QStringLiteral("model name"));
    const QString memory =
        firstLineWith(QStringLiteral("/proc/meminfo"), QStringLiteral("MemTotal"));
    const double gib = memory.section(' ', 0, 0).toDouble() / (1024.0 * 1024.0);
    return QStringLiteral("%1, %2 cores, %3 GiB RAM, %4, Qt %5, load %6")
        .arg(cpu.isEmpty() ? QSysInfo::currentCpuArchitecture() : cpu)
        .arg(QThread::idealThreadCount())
        .arg(number(gib))
        .arg(QSysInfo::prettyProductName(), QString::fromLatin1(qVersion()), loadAverage());
}

QString formatTable(const std::vector<SizeFigures>& sizes)
{
    QString out;
    QTextStream table(&out);
    table << qSetFieldWidth(0) << Qt::left;
    const auto row = [&](const QStringList& cells) {
        table << cells.value(0).leftJustified(14);
        for (qsizetype i = 1; i < cells.size(); ++i)
            table << cells[i].rightJustified(10);
        table << '\n';
    };
    row({"size", "items", "L ms", "A ms", "P ms", "A/L", "A/P", "A B/it", "P B/it", "find A",
         "find P", "refresh", "bare", "paint ms", "filled ms", "view A", "view P"});
    for (const SizeFigures& f : sizes) {
        row({QStringLiteral("%1x%2x%3")
                 .arg(f.shape.stations)
                 .arg(f.shape.compounds)
                 .arg(f.shape.blocks),
             QString::number(f.shape.items()), number(f.limitMs), number(f.arbolixMs),
             number(f.plainMs), number(ratio(f.arbolixMs, f.limitMs), 2),
             number(ratio(f.arbolixMs, f.plainMs), 2), number(f.arbolixBytesPerItem),
             number(f.plainBytesPerItem), number(f.findArbolixMs, 2), number(f.findPlainMs, 2),
             number(f.refreshMs, 2), number(f.refreshBareMs, 2), number(f.firstPaintMs),
             number(f.populatedMs), number(f.paintArbolixMs, 2), number(f.paintPlainMs, 2)});
    }
    table.flush();
    return out;
}

QString formatTargets(const std::vector<SizeFigures>& sizes)
{
    if (sizes.empty())
        return {};
    const SizeFigures& big = sizes.back();
    QString out;
    QTextStream lines(&out);
    const double al = ratio(big.arbolixMs, big.limitMs);
    const double ap = ratio(big.arbolixMs, big.plainMs);
    const double memoryRatio = ratio(big.arbolixBytesPerItem, big.plainBytesPerItem);
    const double findRatio = ratio(big.findArbolixMs, big.findPlainMs);
    const double refreshRatio = ratio(big.refreshMs, big.refreshBareMs);
    lines << "At " << big.shape.items() << " items:\n";
    lines << "  population A/L " << number(al, 2) << " (at most 1.5): " << verdict(al <= 1.5)
          << "; A/P " << number(ap, 2) << " (at most 0.25): " << verdict(ap <= 0.25) << '\n';
    lines << "  memory " << number(big.arbolixBytesPerItem)
          << " B/item (at most 64): " << verdict(big.arbolixBytesPerItem <= 64) << "; A/P "
          << number(memoryRatio, 2) << " (at most 0.2): " << verdict(memoryRatio <= 0.2) << '\n';
    lines << "  find walk A/P " << number(findRatio, 3)
          << " (at most 0.1): " << verdict(findRatio <= 0.1) << '\n';
    lines << "  viewport paint A " << number(big.paintArbolixMs, 2) << " ms, P "
          << number(big.paintPlainMs, 2) << " ms\n";
    lines << "  refresh/bare " << number(refreshRatio, 2)
          << " (at most 1.5): " << verdict(refreshRatio <= 1.5) << '\n';
    if (sizes.size() >= 2) {
        const SizeFigures& mid = sizes[sizes.size() - 2];
        const double populationGrowth =
            ratio(perItem(big.arbolixMs, big.shape), perItem(mid.arbolixMs, mid.shape));
        const double findGrowth =
            ratio(perItem(big.findArbolixMs, big.shape), perItem(mid.findArbolixMs, mid.shape));
        lines << "  growth per item from " << mid.shape.items() << ": population "
              << number(populationGrowth, 2) << ", find " << number(findGrowth, 2)
              << " (at most 1.3): " << verdict(populationGrowth <= 1.3 && findGrowth <= 1.3)
              << '\n';
    }
    lines.flush();
    return out;
}

QByteArray formatJson(const QString& machine, const std::vector<SizeFigures>& sizes)
{
    // Written by hand rather than through QJsonObject, which would sort the keys.
    QString out;
    QTextStream json(&out);
    const auto quoted = [](const QString& text) {
        QString escaped = text;
        escaped.replace('\\', QStringLiteral("\\\\")).replace('"', QStringLiteral("\\\""));
        return '"' + escaped + '"';
    };
    json << "{\"machine\": " << quoted(machine) << ", \"sizes\": [";
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const SizeFigures& f = sizes[i];
        json << (i ? ", " : "") << "{\"stations\": " << f.shape.stations
             << ", \"compounds\": " << f.shape.compounds << ", \"blocks\": " << f.shape.blocks
             << ", \"items\": " << f.shape.items() << ", \"L_ms\": " << number(f.limitMs, 3)
             << ", \"A_ms\": " << number(f.arbolixMs, 3) << ", \"P_ms\": " << number(f.plainMs, 3)
             << ", \"A_bytes_per_item\": " << number(f.arbolixBytesPerItem, 2)
             << ", \"P_bytes_per_item\": " << number(f.plainBytesPerItem, 2)
             << ", \"find_A_ms\": " << number(f.findArbolixMs, 3)
             << ", \"find_P_ms\": " << number(f.findPlainMs, 3)
             << ", \"refresh_ms\": " << number(f.refreshMs, 3)
             << ", \"refresh_bare_ms\": " << number(f.refreshBareMs, 3)
             << ", \"first_paint_ms\": " << number(f.firstPaintMs, 3)
             << ", \"populated_ms\": " << number(f.populatedMs, 3)
             << ", \"viewport_paint_A_ms\": " << number(f.paintArbolixMs, 3)
             << ", \"viewport_paint_P_ms\": " << number(f.paintPlainMs, 3) << "}";
    }
    json << "]}\n";
    json.flush();
    return out.toUtf8();
}

} // namespace bench
