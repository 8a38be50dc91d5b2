#include "ui/player/menuentries.h"

#include "theme/drawnicons.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <functional>

using drawnicons::ink;

QIcon menuentries::checkmark()
{
    static const auto drawCheck = [](QPainter& p) {
        p.setPen(QPen(ink(), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(3, 8.5), QPointF(6.5, 12), QPointF(13, 4)}));
    };
    static const QIcon icon =
        drawnicons::themed({"checkmark", "object-select-symbolic", "object-select"}, drawCheck);
    return icon;
}

QIcon menuentries::gear()
{
    static const auto drawGear = [](QPainter& p) {
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        // eight teeth around a ring with a hole
        for (int i = 0; i < 8; ++i) {
            const double a = i * M_PI / 4;
            QPainterPath tooth;
            tooth.addRect(QRectF(-1.4, -7.2, 2.8, 3.0));
            path.addPath(QTransform().translate(8, 8).rotateRadians(a).map(tooth));
        }
        path.addEllipse(QPointF(8, 8), 5.0, 5.0);
        QPainterPath gear = path.simplified();
        QPainterPath hole;
        hole.addEllipse(QPointF(8, 8), 2.0, 2.0);
        p.fillPath(gear.subtracted(hole), ink());
    };
    static const QIcon icon = drawnicons::themed({"emblem-system", "preferences-system"}, drawGear);
    return icon;
}

namespace {

void addRange(QMenu* menu, const QStringList& labels, qsizetype first, qsizetype end,
              qint64 checked, const std::function<void(qint64)>& choose)
{
    const qsizetype count = end - first;
    if (count <= menuentries::kMaxEntries) {
        for (qsizetype i = first; i < end; ++i) {
            QString label = labels.at(i);
            // a name is shown verbatim: an ampersand is no mnemonic
            label.replace(QLatin1Char('&'), QStringLiteral("&&"));
            QAction* action = menu->addAction(label);
            if (i == checked)
                action->setIcon(menuentries::checkmark());
            QObject::connect(action, &QAction::triggered, menu, [choose, i] { choose(i); });
        }
        return;
    }
    // as few levels as keep every menu within kMaxEntries
    qsizetype step = menuentries::kMaxEntries;
    while (step * menuentries::kMaxEntries < count)
        step *= menuentries::kMaxEntries;
    for (qsizetype from = first; from < end; from += step) {
        const qsizetype to = std::min(end, from + step);
        QMenu* sub = menu->addMenu(QStringLiteral("%1\u2013%2").arg(from + 1).arg(to));
        if (checked >= from && checked < to)
            sub->setIcon(menuentries::checkmark());
        QObject::connect(sub, &QMenu::aboutToShow, sub, [=] {
            if (sub->isEmpty())
                addRange(sub, labels, from, to, checked, choose);
        });
    }
}

} // namespace

void menuentries::addChoices(QMenu* menu, const QStringList& labels, qint64 checked,
                             const std::function<void(qint64)>& choose)
{
    addRange(menu, labels, 0, labels.size(), checked, choose);
}

QAction* menuentries::addEditPlaylists(QMenu* menu, const std::function<void()>& edit)
{
    QAction* action =
        menu->addAction(gear(), QCoreApplication::translate("ContentView", "Edit playlists"));
    QFont font = action->font();
    font.setItalic(true);
    action->setFont(font);
    QObject::connect(action, &QAction::triggered, menu, [edit] { edit(); });
    return action;
}
