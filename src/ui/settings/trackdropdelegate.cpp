#include "ui/settings/trackdropdelegate.h"

#include "model/config.h"
#include "playback/soundplayer.h"
#include "ui/settings/tracktablemodel.h"

#include <utility>

TrackDropDelegate::TrackDropDelegate(Track item, TrackTableModel* tracks,
                                     std::optional<Track>* draggedTrack, Config* config,
                                     std::function<void()> onCommit)
    : m_item(std::move(item)), m_tracks(tracks), m_draggedTrack(draggedTrack), m_config(config),
      m_onCommit(std::move(onCommit))
{
}

void TrackDropDelegate::dropEntered()
{
    if (!m_draggedTrack->has_value())
        return;
    // a row that left the list (reloaded meanwhile) makes the step do nothing
    const qsizetype from = m_tracks->tracks().indexOf(**m_draggedTrack);
    const qsizetype to = m_tracks->tracks().indexOf(m_item);
    if (from < 0 || to < 0 || from == to)
        return;
    m_tracks->moveTrack(from, to);
}

bool TrackDropDelegate::performDrop()
{
    if (m_config->playsSounds())
        m_config->soundPlayer()->playSound(QStringLiteral("drag"));
    m_draggedTrack->reset();
    if (m_onCommit)
        m_onCommit();
    return true;
}
