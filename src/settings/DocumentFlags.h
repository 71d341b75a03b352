#pragma once
// Document flags that the settings operations read or raise; the document
// owns them, the view reads and clears the requests when it next paints.

namespace velmaris {

struct DocumentFlags {
    bool rangeChanged = false; // range or mode changed: the next apply clears the image
    bool playback = false; // a playback file is open; head settings then stay as the records set them
    bool viewRecentreRequest = false; // view resets zoom and pan at its next paint
    bool statusResetRequest = false; // view resets the status blink at its next paint
};

} // namespace velmaris
