// Reads back what a tree drew in the branch area left of an item's text.
#ifndef ARBOLIX_TESTS_BRANCHPIXELS_H
#define ARBOLIX_TESTS_BRANCHPIXELS_H

#include "toolkit/treebranches.h"
#include "toolkit/treectrl.h"

#include <QCoreApplication>
#include <QImage>
#include <QPalette>
#include <QStringList>

namespace testsupport {

enum class ExpandBox
{
    None,
    Plus,
    Minus
};

// The indentation-wide cell just left of the item's text, in viewport pixels.
inline QRect ownBranchCell(const tk::TreeCtrl& tree, tk::TreeItem item)
{
    const QRect row = tree.visualRect(tree.indexOf(item));
    return QRect(row.left() - tree.indentation(), row.top(), tree.indentation(), row.height());
}

class BranchPixels
{
public:
    explicit BranchPixels(tk::TreeCtrl& tree) : m_tree(tree)
    {
        QCoreApplication::processEvents(); // a pending layout first
        m_image = tree.viewport()->grab().toImage();
        m_scale = m_image.devicePixelRatio();
        m_base = tree.palette().color(QPalette::Base);
    }

    QColor at(QPoint p) const { return m_image.pixelColor((QPointF(p) * m_scale).toPoint()); }
    bool isBackground(QPoint p) const { return at(p) == m_base; }

    // A box has a frame: its corner is not the background. A plus has an upright bar above
    // the middle; a minus has only the crossbar.
    ExpandBox expandBoxOf(tk::TreeItem item) const
    {
        const QRect box = tk::expandBoxRect(ownBranchCell(m_tree, item));
        if (isBackground(box.topLeft()))
            return ExpandBox::None;
        return isBackground(box.center() - QPoint(0, 2)) ? ExpandBox::Minus : ExpandBox::Plus;
    }

    // Pixels of the item's own cell, outside its box, that are not the background: its lines.
    int linePixelsOf(tk::TreeItem item) const
    {
        const QRect cell = ownBranchCell(m_tree, item);
        const QRect box = tk::expandBoxRect(cell);
        int count = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            for (int x = cell.left(); x <= cell.right(); ++x)
                count += !box.contains(x, y) && !isBackground(QPoint(x, y));
        }
        return count;
    }

    // Which lines of the item's own cell are drawn, outside its box: "up" (to the parent or the
    // sibling above), "down" (to the sibling below) and "right" (to the text), in that order.
    QString linesOf(tk::TreeItem item) const
    {
        const QRect cell = ownBranchCell(m_tree, item);
        const QRect box = tk::expandBoxRect(cell);
        const auto anyDrawn = [&](QRect part) {
            for (int y = part.top(); y <= part.bottom(); ++y) {
                for (int x = part.left(); x <= part.right(); ++x) {
                    if (!isBackground(QPoint(x, y)))
                        return true;
                }
            }
            return false;
        };
        const int middle = box.center().x();
        QStringList pieces;
        if (anyDrawn(QRect(QPoint(middle, cell.top()), QPoint(middle, box.top() - 1))))
            pieces << QStringLiteral("up");
        if (anyDrawn(QRect(QPoint(middle, box.bottom() + 1), QPoint(middle, cell.bottom()))))
            pieces << QStringLiteral("down");
        if (anyDrawn(QRect(QPoint(box.right() + 1, box.center().y()),
                           QPoint(cell.right(), box.center().y()))))
            pieces << QStringLiteral("right");
        return pieces.join(QLatin1Char(' '));
    }

private:
    tk::TreeCtrl& m_tree;
    QImage m_image;
    qreal m_scale = 1;
    QColor m_base;
};

} // namespace testsupport

#endif
