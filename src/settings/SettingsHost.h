#pragma once
// What the settings operations need of the document's surroundings: the
// bars and panel that show the settings, the image and the views, and the
// link state. The document implements it; tests use a recording fake.
// Every call is made on the user-interface thread. The refresh calls only
// redraw: the rules that go with a refresh (step normalisation, automatic
// values) have already run in SettingsOperations.

namespace velmaris {

class SettingsHost {
public:
    virtual ~SettingsHost() = default;

    // Rewrites the mini settings bar's fields from the document.
    virtual void RefreshMiniSettingsBar() = 0;
    // True once the floating settings panel has been created (shown or not).
    virtual bool SettingsPanelExists() const = 0;
    virtual void RefreshSettingsPanel() = 0;
    // Zeroes the image raster only.
    virtual void ClearImageRaster() = 0;
    // Zeroes the image raster and the stored scan-line history.
    virtual void ClearImageAndHistory() = 0;
    // True while the head link is up (TCP connected or COM port opened).
    virtual bool IsLinkConnected() const = 0;
    // Marks the view for a full redraw and repaints every view now.
    virtual void RepaintAllViews() = 0;
};

} // namespace velmaris
