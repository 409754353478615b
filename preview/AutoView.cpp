#include "preview/AutoView.h"

#include <cmath>

namespace preview {

int autoViewInterval(int position)
{
    if (position <= 0)
        return 10000;
    return int(std::nearbyint(10000.0 / position)); // default rounding: half to even
}

AutoViewStep autoViewStep(int count, int selected)
{
    AutoViewStep step;
    if (count <= 0)
        return step;
    step.preview = selected + 1;
    if (step.preview < 0 || step.preview >= count)
        step.preview = 0;
    // After the last item, the selection goes back to the first without a preview.
    step.selectAfter = step.preview == count - 1 ? 0 : step.preview;
    return step;
}

} // namespace preview
