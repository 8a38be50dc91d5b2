#pragma once

class QAccessibleInterface;
class QObject;
class QString;

// Accessible names and roles for the skin's elements, so a screen reader can use the
// player: the skin is one painted widget, its buttons, menus and scrubber are children.
QAccessibleInterface* skinAccessibleFactory(const QString& className, QObject* object);
void installSkinAccessibility();
