// The classic tree's branch area: dotted lines joining parents, children and siblings, and
// square expand boxes.
#ifndef ARBOLIX_TOOLKIT_TREEBRANCHES_H
#define ARBOLIX_TOOLKIT_TREEBRANCHES_H

#include <QColor>
#include <QPoint>
#include <QRect>

class QPainter;
class QPalette;

namespace tk {

// What a tree's template asks to be drawn left of the item texts.
struct BranchStyle
{
    bool lines = true;       // lines between parents, children and siblings
    bool buttons = true;     // expand boxes on items that have or may have children
    bool linesAtRoot = true; // the root items get a branch column, lines and boxes too
};

// One indentation-wide cell of a row's branch area.
struct BranchCell
{
    enum class Button
    {
        None,
        Collapsed, // a plus
        Expanded   // a minus
    };
    bool lineUp = false;    // from the top edge to the middle
    bool lineDown = false;  // from the middle to the bottom edge
    bool lineRight = false; // from the middle to the right edge
    Button button = Button::None;
};

// Taken from the palette the tree is drawn with, so a dark theme gets dark branches.
struct BranchColours
{
    QColor line;
    QColor boxFrame;
    QColor boxFill;
    QColor glyph;

    static BranchColours from(const QPalette& palette);
};

// The side of the square expand box in pixels; odd, so the box has a middle pixel the lines
// meet.
inline constexpr int kExpandBoxSize = 9;

// Draws one cell. Dots sit where x + y is even in content coordinates (cell coordinates plus
// contentOffset), so a line stays one even dotted line across rows, whatever the row height
// and however far the tree is scrolled.
void drawBranchCell(QPainter& painter, const QRect& cell, QPoint contentOffset,
                    const BranchCell& what, const BranchColours& colours);

// Where the expand box of a cell is drawn.
QRect expandBoxRect(const QRect& cell);

} // namespace tk

#endif
