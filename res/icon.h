// The program's icons.
#ifndef ARBOLIX_RES_ICON_H
#define ARBOLIX_RES_ICON_H

#include <QIcon>

namespace res {

// IDR_MAINFRAME: 32 x 32 and 16 x 16 images; an unknown id gives a null icon.
QIcon loadIcon(int id);

} // namespace res

#endif
