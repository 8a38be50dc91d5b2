#pragma once

#include "model/records.h"

#include <functional>
#include <optional>

class Config;
class TrackTableModel;

// The drop handler of one row of the track table. Entering the row moves the dragged track
// to it (nothing is saved); a drop on the row plays "drag", ends the drag and commits.
class TrackDropDelegate final {
public:
    TrackDropDelegate(Track item, TrackTableModel* tracks, std::optional<Track>* draggedTrack,
                      Config* config, std::function<void()> onCommit);

    void dropEntered();
    // Always accepts the drop.
    bool performDrop();

private:
    Track m_item;
    TrackTableModel* m_tracks;
    std::optional<Track>* m_draggedTrack;
    Config* m_config;
    std::function<void()> m_onCommit;
};
