#pragma once
// Document flags that the settings operations read or raise; the document
// owns them, the view reads and clears the requests when it next paints.
// Flags are 0/1 integers like the rest of the document state.

namespace velmaris {

struct DocumentFlags {
    int rangeChanged = 0; // range or mode changed: the next apply clears the image
    int playback = 0; // a playback file is open; head settings then stay as the records set them
    int viewRecentreRequest = 0; // view resets zoom and pan at its next paint
    int statusResetRequest = 0; // view resets the status blink at its next paint
};

} // namespace velmaris
