// Converts dialog units to pixels with the base units of a font.
#ifndef ARBOLIX_TOOLKIT_DIALOGUNITS_H
#define ARBOLIX_TOOLKIT_DIALOGUNITS_H

#include <QRect>

class QFontMetrics;

namespace tk {

class DialogUnits
{
public:
    // Base units in pixels: a horizontal dialog unit is baseX / 4, a vertical one baseY / 8.
    DialogUnits(int baseX, int baseY);
    explicit DialogUnits(const QFontMetrics& metrics);

    int baseX() const { return m_baseX; }
    int baseY() const { return m_baseY; }

    int toPixelsX(int dluX) const;
    int toPixelsY(int dluY) const;
    // Each of the four values is converted on its own, rounded half away from zero.
    QRect toPixels(int x, int y, int cx, int cy) const;

private:
    int m_baseX;
    int m_baseY;
};

// a * b / c rounded half away from zero; 0 when c is 0 or the result does not fit an int.
int mulDiv(int a, int b, int c);

} // namespace tk

#endif
