// The string table.
#ifndef ARBOLIX_RES_STRINGS_H
#define ARBOLIX_RES_STRINGS_H

#include <QString>

namespace res {

// The string with this id; empty when the table has none.
QString loadString(int id);

} // namespace res

#endif
