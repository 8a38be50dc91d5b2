// The look of the settings window and of the skin's texts: each language's menu and first
// playlist, the General tab with nothing clipped and its pictures made (run at 100 % and at
// 200 %), the picker as screen readers read it, the palette following the portal, and titles
// in Arabic and Japanese drawn in their direction with real glyphs.
#include "app/colorscheme.h"
#include "app/translations.h"
#include "control/playercontroller.h"
#include "model/config.h"
#include "support/faketrackplayer.h"
#include "support/testsupport.h"
#include "ui/player/playermenu.h"
#include "ui/player/skinlayout.h"
#include "ui/player/skintext.h"
#include "ui/settings/generalsettingsview.h"
#include "ui/settings/settingsview.h"

#include <QtDBus>
#include <QtTest>
#include <QtWidgets>

namespace {

// A skin line, or the painter's own centred line in a forced direction; a box lower than the
// line cuts it.
QImage drawn(const QString& text, double width, std::optional<Qt::LayoutDirection> forced = {},
             double height = 30)
{
    QImage image(int(width) + 20, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font;
    font.setPointSize(12);
    const QRectF box(10, 5, width, height);
    if (forced) {
        QTextOption option(Qt::AlignCenter);
        option.setWrapMode(QTextOption::NoWrap);
        option.setTextDirection(*forced);
        painter.setFont(font);
        painter.drawText(box, SkinLayout::elided(text, font, width), option);
    } else {
        skintext::Line(box, SkinLayout::elided(text, font, width), font).draw(painter, Qt::black);
    }
    return image;
}

int inkIn(const QImage& image, const QRect& area)
{
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ink += qGray(image.pixel(x, y)) < 128;
    return ink;
}

// The portal's settings interface, answering as a desktop with a dark preference would.
class Portal final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    uint scheme = 1;

public slots:
    QDBusVariant Read(const QString&, const QString&)
    {
        return QDBusVariant(QVariant::fromValue(QDBusVariant(scheme)));
    }
};

} // namespace

class TestLook final : public QObject {
    Q_OBJECT

private slots:
    void languageStart_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("untitled");
        QTest::addColumn<QString>("space"); // Qt's own name of the key
        QTest::newRow("French") << "fr_FR"
                                << "Paramètres…"
                                << "Sans titre"
                                << "Espace";
        QTest::newRow("Spanish") << "es_ES"
                                 << "Ajustes…"
                                 << "Sin título"
                                 << "Espacio";
        QTest::newRow("Italian") << "it_IT"
                                 << "Impostazioni…"
                                 << "Senza titolo"
                                 << "Spazio";
        QTest::newRow("Brazilian") << "pt_BR"
                                   << "Configurações…"
                                   << "Sem título"
                                   << "Espaço";
        QTest::newRow("Polish") << "pl_PL"
                                << "Ustawienia…"
                                << "Bez tytułu"
                                << "Spacja";
        QTest::newRow("Russian") << "ru_RU"
                                 << "Настройки…"
                                 << "Без названия"
                                 << "Пробел";
        QTest::newRow("Dutch") << "nl_NL"
                               << "Instellingen…"
                               << "Naamloos"
                               << "Spatiebalk";
        QTest::newRow("Czech") << "cs_CZ"
                               << "Nastavení…"
                               << "Bez názvu"
                               << "Mezerník";
        QTest::newRow("Japanese") << "ja_JP"
                                  << "設定…"
                                  << "無題"
                                  << "Space";
        QTest::newRow("Chinese") << "zh_CN"
                                 << "设置…"
                                 << "未命名"
                                 << "空格";
    }

    // A start in the language: the Player menu and the first playlist speak it, and Qt's own
    // key names follow.
    void languageStart()
    {
        QFETCH(QString, locale);
        QFETCH(QString, settings);
        QFETCH(QString, untitled);
        QFETCH(QString, space);
        installTranslations(QLocale(locale));
        testsupport::TempHome home;
        Config config;
        FakeTrackPlayer player;
        PlayerController controller(&config, &player);
        PlayerMenu menu(&controller, &player, true);
        QCOMPARE(menu.actions().at(menu.actions().size() - 2)->text(), settings);
        QCOMPARE(config.playlists().first().name, untitled);
        QCOMPARE(menu.playPauseAction()->shortcut().toString(QKeySequence::NativeText), space);
        installTranslations(QLocale(QLocale::English));
    }

    // The General tab at the window's smallest width: every control inside the window, each
    // theme's picture made, the preview showing the skin, the picker read in catalogue order.
    void generalTab()
    {
        testsupport::TempHome home;
        Config config;
        config.setPlaysSounds(false);
        SettingsView window(&config);
        window.resize(640, 640);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        GeneralSettingsView* general = window.generalView();
        QTRY_VERIFY(general->hasAllPictures());
        for (const QWidget* child : general->findChildren<QWidget*>()) {
            const QRect rect(child->mapTo(&window, QPoint(0, 0)), child->size());
            if (child->isVisible())
                QVERIFY2(window.rect().contains(rect),
                         qPrintable(child->metaObject()->className()));
        }
        QComboBox* picker = general->themePicker();
        const qreal ratio = window.devicePixelRatioF();
        const QImage icon =
            picker->itemIcon(picker->count() - 1).pixmap(picker->iconSize(), ratio).toImage();
        QVERIFY(inkIn(icon.convertToFormat(QImage::Format_ARGB32), icon.rect()) > 0);
        const QImage shot = window.grab().toImage();
        const QRect preview(general->preview()->mapTo(&window, QPoint(0, 0)),
                            general->preview()->size());
        const QColor background = shot.pixelColor(QPoint(4, shot.height() / ratio - 4) * ratio);
        int skin = 0;
        for (int y = preview.top(); y < preview.bottom(); y += 4)
            for (int x = preview.left(); x < preview.right(); x += 4)
                skin += shot.pixelColor(QPoint(x, y) * ratio) != background;
        QVERIFY(skin > preview.width() * preview.height() / 64);

        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(picker)->child(0);
        QStringList names;
        for (int i = 0; list && i < list->childCount(); ++i)
            names << list->child(i)->text(QAccessible::Name);
        QCOMPARE(names, config.availableThemes());
    }

    // The application's palette is dark while the portal prefers dark, light when it changes.
    void followsThePortal()
    {
        // the portal on a connection of its own, as another process would be
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "portal");
        Portal portal;
        QVERIFY(bus.registerObject("/org/freedesktop/portal/desktop", &portal,
                                   QDBusConnection::ExportAllSlots));
        QVERIFY(bus.registerService("org.freedesktop.portal.Desktop"));
        const bool platformDark = ColorScheme::isDark(QApplication::palette());
        ColorScheme scheme;
        QTRY_VERIFY(scheme.scheme() == ColorScheme::Scheme::Dark);
        QVERIFY(ColorScheme::isDark(QApplication::palette()));
        QDBusMessage changed = QDBusMessage::createSignal(
            "/org/freedesktop/portal/desktop", "org.freedesktop.portal.Settings", "SettingChanged");
        changed << "org.freedesktop.appearance"
                << "color-scheme" << QVariant::fromValue(QDBusVariant(uint(2)));
        bus.send(changed);
        QTRY_VERIFY(scheme.scheme() == ColorScheme::Scheme::Light);
        QVERIFY(!ColorScheme::isDark(QApplication::palette()) || platformDark);
        bus.unregisterService("org.freedesktop.portal.Desktop");
        QDBusConnection::disconnectFromBus("portal");
    }

    void titles_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("other"); // as long, other letters
        QTest::addColumn<double>("height");
        QTest::newRow("Arabic") << "أغنية الليل (Live)"
                                << "سلام عليكم (Live)" << 30.0;
        QTest::newRow("Japanese") << "夜の歌 (Live)"
                                  << "朝の川 (Live)" << 30.0;
        QTest::newRow("Latin, too long, cut by a low box")
            << "The Longest Night of the Year (Live at the Hall)"
            << "A Quite Different Name Indeed (Live in the Park)" << 9.0;
    }

    // Drawn with glyphs, not boxes (two texts of other letters differ), in their direction,
    // pixel for pixel as the painter centres a line: an Arabic title puts "(Live)" at its left
    // end, as an LTR drawing would not.
    void titles()
    {
        QFETCH(QString, title);
        QFETCH(QString, other);
        QFETCH(double, height);
        const QImage image = drawn(title, 200, {}, height);
        QVERIFY(inkIn(image, image.rect()) > 50);
        QVERIFY(image != drawn(other, 200, {}, height));
        const bool rtl = title.isRightToLeft();
        QCOMPARE(image, drawn(title, 200, rtl ? Qt::RightToLeft : Qt::LeftToRight, height));
        QCOMPARE(image == drawn(title, 200, Qt::LeftToRight, height), !rtl);
    }
};

QTEST_MAIN(TestLook)
#include "tst_look.moc"
