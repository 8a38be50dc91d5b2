#pragma once

#include <QIcon>
#include <QStringList>

#include <functional>

class QAction;
class QMenu;

// Pieces shared by the skin's menus and the "Player" menu. Icons come from the desktop's
// icon theme, drawn here when it has none.
namespace menuentries {

QIcon checkmark();
QIcon gear();

// One entry per label, identified by its position; the checked one carries the checkmark.
// A long list (a big playlist) is split into submenus of consecutive ranges, at most
// kMaxEntries to a menu, each filled when it first opens.
constexpr qsizetype kMaxEntries = 50;
void addChoices(QMenu* menu, const QStringList& labels, qint64 checked,
                const std::function<void(qint64)>& choose);
// "Edit playlists", in italics with the gear.
QAction* addEditPlaylists(QMenu* menu, const std::function<void()>& edit);

} // namespace menuentries
