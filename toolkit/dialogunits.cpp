#include "toolkit/dialogunits.h"

#include <QFontMetrics>
#include <cstdint>
#include <limits>

namespace tk {

namespace {

// The font's own average character width: the letter average of a wide sans-serif such as
// DejaVu Sans comes out a pixel wider than the face the layouts were drawn for, which pushed
// the tree against the buttons.
int averageCharWidth(const QFontMetrics& metrics)
{
    return metrics.averageCharWidth();
}

} // namespace

int mulDiv(int a, int b, int c)
{
    if (c == 0)
        return 0;
    const int64_t product = int64_t(a) * int64_t(b);
    const int64_t divisor = c < 0 ? -int64_t(c) : int64_t(c);
    const bool negative = (product < 0) != (c < 0);
    const int64_t magnitude = ((product < 0 ? -product : product) + divisor / 2) / divisor;
    const int64_t result = negative ? -magnitude : magnitude;
    if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min())
        return 0;
    return int(result);
}

DialogUnits::DialogUnits(int baseX, int baseY) : m_baseX(baseX), m_baseY(baseY) {}

DialogUnits::DialogUnits(const QFontMetrics& metrics)
    : m_baseX(averageCharWidth(metrics)), m_baseY(metrics.height())
{
}

int DialogUnits::toPixelsX(int dluX) const
{
    return mulDiv(dluX, m_baseX, 4);
}

int DialogUnits::toPixelsY(int dluY) const
{
    return mulDiv(dluY, m_baseY, 8);
}

QRect DialogUnits::toPixels(int x, int y, int cx, int cy) const
{
    return QRect(toPixelsX(x), toPixelsY(y), toPixelsX(cx), toPixelsY(cy));
}

} // namespace tk
