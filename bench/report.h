// The figures as a table for people and as JSON for comparing runs over time.
#ifndef ARBOLIX_BENCH_REPORT_H
#define ARBOLIX_BENCH_REPORT_H

#include "bench/figures.h"

#include <QString>
#include <vector>

namespace bench {

// CPU model, cores, memory, Qt version and load, in one line.
QString describeMachine();

QString formatTable(const std::vector<SizeFigures>& sizes);
// How the largest size compares with the numbers to reach, one line each.
QString formatTargets(const std::vector<SizeFigures>& sizes);
QByteArray formatJson(const QString& machine, const std::vector<SizeFigures>& sizes);

} // namespace bench

#endif
