#pragma once

namespace preview {

// The timer interval for a track bar position: 10000 / position in milliseconds,
// to the nearest whole number, an exact half going to the even neighbour.
int autoViewInterval(int position);

// One step of the slide show through a list of `count` items with `selected`
// selected (-1 for none): the item to select and preview, then the selection to
// leave. Stepping past the end wraps to the first item and previews it.
struct AutoViewStep {
    int preview = -1;   // -1: nothing to preview
    int selectAfter = -1;
};
AutoViewStep autoViewStep(int count, int selected);

} // namespace preview
