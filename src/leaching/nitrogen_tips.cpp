#include "leaching/nitrogen_tips.h"

#include "refdata/units.h"

namespace tw {

std::string nitrogen_column_tip(int column)
{
    switch (column) {
    case 0: return "The day. Double-click a day to enter its nitrogen, irrigation or rain.";
    case 1:
        return "The nitrate-nitrogen in the soil that the crop can take up that day, in lbs/acre.";
    case 2: return "The nitrogen applied that day (fertilizer entered for the day), in lbs/acre.";
    case 3:
        return "The nitrogen the crop has taken up since planting, in lbs/acre; blank after "
               "harvest.";
    case 4:
        return "The water that drained below the deepest roots that day, in " +
               sed_SetUnits(Depth) + ": it can carry nitrate out of reach of the crop.";
    case 5:
        return "The nitrate-nitrogen the drainage carried below the roots that day, in lbs/acre.";
    default: return {};
    }
}

} // namespace tw
