#include "bench/benchplant.h"

#include "dirapi/dirapi_control.h"

namespace bench {

void loadPlant(const PlantShape& shape)
{
    dirapi_control::reset();
    dirapi_control::loadGeneratedPlant(shape.stations, shape.compounds, shape.blocks);
    dirapi_control::setMaxObj(kBatchSize);
}

} // namespace bench
