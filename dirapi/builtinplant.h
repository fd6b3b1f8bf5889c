// The plant shown when no listing file or generated size is chosen: a small power unit.
#ifndef ARBOLIX_DIRAPI_BUILTINPLANT_H
#define ARBOLIX_DIRAPI_BUILTINPLANT_H

#include "dirapi/storedplant.h"

#include <memory>

namespace dirapi {

// Always the same plant: seven stations (AW02 without compounds), a few dozen compounds (some
// without blocks, some with 12-character names) and a few hundred blocks of the types AIN,
// AOUT, PIDA, CALC, DIN and DOUT, named by type and number (AIN1, AIN2 ...), info the type.
std::unique_ptr<StoredPlant> makeBuiltinPlant();

} // namespace dirapi

#endif
