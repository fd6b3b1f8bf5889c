#include "toolkit/fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QString>
#include <cstring>

namespace tk {

namespace {

constexpr int defaultPointSize = 8;

bool isFace(const char* face, const char* name)
{
    return face && std::strcmp(face, name) == 0;
}

void setSize(QFont& font, double points)
{
    font.setPointSizeF(points > 0 ? points : double(defaultPointSize));
}

QFont desktopSansSerif(double points)
{
    QString family = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    if (family.isEmpty())
        family = QStringLiteral("DejaVu Sans");
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    setSize(font, points);
    return font;
}

QFont fixedPitch(double points)
{
    // Fonts that fontconfig marks as monospaced; some "Mono" families are not marked, and
    // QFontInfo trusts the mark.
    static const char* const families[] = {"DejaVu Sans Mono", "Liberation Mono", "Noto Mono",
                                           "Courier New",      "FreeMono",        "Monospace"};
    for (const char* family : families) {
        QFont font(QString::fromLatin1(family));
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
        setSize(font, points);
        if (QFontInfo(font).fixedPitch())
            return font;
    }
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    setSize(font, points);
    return font;
}

QFont faceFont(const char* face, double points)
{
    if (!face || !*face || isFace(face, "MS Sans Serif") || isFace(face, "MS Shell Dlg"))
        return desktopSansSerif(points);
    if (isFace(face, "Fixedsys"))
        return fixedPitch(points);
    QFont font(QString::fromLocal8Bit(face));
    font.setStyleHint(QFont::SansSerif);
    setSize(font, points);
    return font;
}

} // namespace

QFont templateFont(const char* face, int pointSize)
{
    return faceFont(face, pointSize);
}

QFont fixedPitchFont(int pointSize)
{
    return fixedPitch(pointSize);
}

QFont pointFont(int tenthsOfPoint, const char* face)
{
    return faceFont(face, tenthsOfPoint / 10.0);
}

} // namespace tk
