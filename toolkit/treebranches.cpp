#include "toolkit/treebranches.h"

#include <QPainter>
#include <QPalette>
#include <QVarLengthArray>

namespace tk {

namespace {

QColor mixed(const QColor& a, const QColor& b)
{
    return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
}

using Dots = QVarLengthArray<QRect, 64>;

// One-pixel dots at every other pixel; filled as whole pixels rather than stroked, so they stay
// sharp squares at any integer scale.
void addVerticalDots(Dots& dots, int x, int top, int bottom, QPoint offset)
{
    for (int y = top; y <= bottom; ++y) {
        if (((x + offset.x() + y + offset.y()) & 1) == 0)
            dots.append(QRect(x, y, 1, 1));
    }
}

void addHorizontalDots(Dots& dots, int y, int left, int right, QPoint offset)
{
    for (int x = left; x <= right; ++x) {
        if (((x + offset.x() + y + offset.y()) & 1) == 0)
            dots.append(QRect(x, y, 1, 1));
    }
}

void drawExpandBox(QPainter& painter, const QRect& box, bool expanded, const BranchColours& colours)
{
    painter.fillRect(box, colours.boxFrame);
    painter.fillRect(box.adjusted(1, 1, -1, -1), colours.boxFill);
    const QPoint middle = box.center();
    const int arm = (box.width() - 5) / 2; // two pixels of fill between the glyph and the frame
    painter.fillRect(QRect(middle.x() - arm, middle.y(), 2 * arm + 1, 1), colours.glyph);
    if (!expanded)
        painter.fillRect(QRect(middle.x(), middle.y() - arm, 1, 2 * arm + 1), colours.glyph);
}

} // namespace

BranchColours BranchColours::from(const QPalette& palette)
{
    // Halfway between the text and its background reads as the classic grey on a light theme
    // and stays visible, but quiet, on a dark one.
    const QColor text = palette.color(QPalette::Text);
    const QColor base = palette.color(QPalette::Base);
    return {mixed(text, base), mixed(text, base), base, text};
}

QRect expandBoxRect(const QRect& cell)
{
    const int half = kExpandBoxSize / 2;
    const QPoint middle(cell.left() + cell.width() / 2, cell.top() + cell.height() / 2);
    return QRect(middle.x() - half, middle.y() - half, kExpandBoxSize, kExpandBoxSize);
}

void drawBranchCell(QPainter& painter, const QRect& cell, QPoint contentOffset,
                    const BranchCell& what, const BranchColours& colours)
{
    const QPoint middle(cell.left() + cell.width() / 2, cell.top() + cell.height() / 2);
    Dots dots;
    if (what.lineUp)
        addVerticalDots(dots, middle.x(), cell.top(), middle.y(), contentOffset);
    if (what.lineDown)
        addVerticalDots(dots, middle.x(), middle.y() + 1, cell.bottom(), contentOffset);
    if (what.lineRight)
        addHorizontalDots(dots, middle.y(), middle.x() + 1, cell.right(), contentOffset);
    if (!dots.isEmpty()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colours.line);
        painter.drawRects(dots.constData(), int(dots.size()));
    }
    if (what.button != BranchCell::Button::None)
        drawExpandBox(painter, expandBoxRect(cell), what.button == BranchCell::Button::Expanded,
                      colours);
}

} // namespace tk
