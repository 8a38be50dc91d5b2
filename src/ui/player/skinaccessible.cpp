#include "ui/player/skinaccessible.h"

#include "playback/trackplayer.h"
#include "ui/player/contentview.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QPointer>
#include <QWindow>

#include <array>

namespace {

using Element = SkinLayout::Element;

QString nameOf(Element element, const ContentView* view, const TrackPlayer* player)
{
    switch (element) {
    case Element::Close:
        return QCoreApplication::translate("ContentView", "Close");
    case Element::Minimize:
        return QCoreApplication::translate("ContentView", "Minimise");
    case Element::Rewind:
        return QCoreApplication::translate("ContentView", "Previous track");
    case Element::PlayPause:
        return player->isPlaying() ? QCoreApplication::translate("ContentView", "Pause")
                                   : QCoreApplication::translate("ContentView", "Play");
    case Element::FastForward:
        return QCoreApplication::translate("ContentView", "Next track");
    case Element::PlaylistMenu:
        return QCoreApplication::translate("ContentView", "Playlists");
    case Element::TrackMenu:
        return QCoreApplication::translate("ContentView", "Tracks");
    case Element::Scrubber:
        return QCoreApplication::translate("ContentView", "Position");
    case Element::AlbumArt:
        return QCoreApplication::translate("ContentView", "Album art");
    case Element::TrackName:
    case Element::Artist:
        return view->textFor(element);
    }
    return {};
}

QAccessible::Role roleOf(Element element)
{
    switch (element) {
    case Element::PlaylistMenu:
    case Element::TrackMenu:
        return QAccessible::ButtonMenu;
    case Element::Scrubber:
        return QAccessible::Slider;
    case Element::AlbumArt:
        return QAccessible::Graphic;
    case Element::TrackName:
    case Element::Artist:
        return QAccessible::StaticText;
    default:
        return QAccessible::Button;
    }
}

class SkinElementAccessible final : public QAccessibleInterface,
                                    public QAccessibleActionInterface,
                                    public QAccessibleValueInterface {
public:
    SkinElementAccessible(ContentView* view, TrackPlayer* player, Element element)
        : m_view(view), m_player(player), m_element(element)
    {
    }

    bool isValid() const override { return m_view && m_player; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_view ? m_view->windowHandle() : nullptr; }
    QList<std::pair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation) const override
    {
        return {};
    }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override
    {
        return m_view ? QAccessible::queryAccessibleInterface(m_view.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid() || t != QAccessible::Name)
            return {};
        return nameOf(m_element, m_view, m_player);
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!m_view)
            return {};
        const QRect r = m_view->elementRect(m_element);
        return QRect(m_view->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return roleOf(m_element); }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!m_view || !m_view->isVisible())
            s.invisible = true;
        if (roleOf(m_element) == QAccessible::ButtonMenu)
            s.hasPopup = true;
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ActionInterface && hasAction())
            return static_cast<QAccessibleActionInterface*>(this);
        if (type == QAccessible::ValueInterface && m_element == Element::Scrubber)
            return static_cast<QAccessibleValueInterface*>(this);
        return nullptr;
    }

    QStringList actionNames() const override
    {
        if (!hasAction())
            return {};
        return {roleOf(m_element) == QAccessible::ButtonMenu ? showMenuAction() : pressAction()};
    }
    void doAction(const QString& name) override
    {
        if (m_view && actionNames().contains(name))
            m_view->activate(m_element);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    // the scrubber's value is the played fraction in per cent
    QVariant currentValue() const override { return m_player ? m_player->progress() * 100.0 : 0.0; }
    void setCurrentValue(const QVariant& value) override
    {
        if (m_player)
            m_player->seek(value.toDouble() / 100.0);
    }
    QVariant maximumValue() const override { return 100.0; }
    QVariant minimumValue() const override { return 0.0; }
    QVariant minimumStepSize() const override { return 1.0; }

private:
    bool hasAction() const
    {
        const QAccessible::Role r = roleOf(m_element);
        return r == QAccessible::Button || r == QAccessible::ButtonMenu;
    }

    QPointer<ContentView> m_view;
    QPointer<TrackPlayer> m_player;
    Element m_element;
};

class ContentViewAccessible final : public QAccessibleWidget {
public:
    explicit ContentViewAccessible(ContentView* view)
        : QAccessibleWidget(view, QAccessible::Client, QStringLiteral("Lindenfold"))
    {
    }

    ~ContentViewAccessible() override
    {
        for (QAccessible::Id id : m_ids)
            if (id)
                QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return int(present().size()); }
    QAccessibleInterface* child(int index) const override
    {
        const QList<Element> elements = present();
        if (index < 0 || index >= elements.size())
            return nullptr;
        return childFor(elements[index]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const QList<Element> elements = present();
        for (int i = 0; i < elements.size(); ++i)
            if (childFor(elements[i]) == child)
                return i;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        for (int i = childCount() - 1; i >= 0; --i) {
            QAccessibleInterface* c = child(i);
            if (c && c->rect().contains(x, y))
                return c;
        }
        return nullptr;
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return QStringLiteral("Lindenfold");
        return QAccessibleWidget::text(t);
    }

private:
    ContentView* view() const { return static_cast<ContentView*>(widget()); }

    QList<Element> present() const
    {
        QList<Element> list;
        const SkinLayout::State s = view()->state();
        for (int i = 0; i < SkinLayout::kElementCount; ++i) {
            const auto e = Element(i);
            if (view()->layout().isPresent(e, s))
                list << e;
        }
        return list;
    }

    QAccessibleInterface* childFor(Element element) const
    {
        QAccessible::Id& id = m_ids[size_t(element)];
        if (!id) {
            id = QAccessible::registerAccessibleInterface(
                new SkinElementAccessible(view(), view()->player(), element));
        }
        return QAccessible::accessibleInterface(id);
    }

    mutable std::array<QAccessible::Id, SkinLayout::kElementCount> m_ids{};
};

} // namespace

QAccessibleInterface* skinAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("ContentView") && object && object->isWidgetType())
        return new ContentViewAccessible(static_cast<ContentView*>(object));
    return nullptr;
}

void installSkinAccessibility()
{
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(skinAccessibleFactory);
        installed = true;
    }
}
