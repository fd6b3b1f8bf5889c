#include "res/icon.h"

#include "res/resource.h"

namespace res {

QIcon loadIcon(int id)
{
    QIcon icon;
    if (id == IDR_MAINFRAME) {
        // Drawn at each size from arbolix.svg (make icons), so the small one stays crisp.
        icon.addFile(QStringLiteral(":/res/arbolix-32.png"), QSize(32, 32));
        icon.addFile(QStringLiteral(":/res/arbolix-16.png"), QSize(16, 16));
    }
    return icon;
}

} // namespace res
