#include "settingstest.h"
#include "ui/settings/generalsettingsview.h"
#include "ui/settings/settingsview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QTabWidget>
#include <QtTest>

using settingstest::SettingsWatch;

class TestGeneralSettings : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::TempHome> m_home;
    std::unique_ptr<Config> m_config;
    std::unique_ptr<SettingsView> m_view;

    GeneralSettingsView* general() const { return m_view->generalView(); }

    void choose(QComboBox* picker, const QString& text)
    {
        const int index = picker->findText(text);
        QVERIFY2(index >= 0, qPrintable(text));
        picker->setCurrentIndex(index);
        emit picker->activated(index);
    }

    // a copy of the current theme under another name, with a different player width
    void addTheme(const QString& name, double playerWidth)
    {
        const QString source = m_config->themeDirectory(m_config->currentTheme());
        const QString target = m_config->themeDirectory(name);
        QVERIFY(QDir().mkpath(target));
        QJsonObject theme =
            QJsonDocument::fromJson(testsupport::readFile(source + "/theme.json")).object();
        QVERIFY(theme.contains("playerWidth"));
        theme["playerWidth"] = playerWidth;
        QVERIFY(testsupport::writeFile(target + "/theme.json", QJsonDocument(theme).toJson()));
        m_config->setAvailableThemes(m_config->availableThemes() << name);
    }

private slots:
    void init()
    {
        m_home = std::make_unique<testsupport::TempHome>();
        m_config = std::make_unique<Config>();
        m_config->setPlaysSounds(false); // the sound cases are in tst_settingssounds
        m_view = std::make_unique<SettingsView>(m_config.get());
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }
    void cleanup()
    {
        m_view.reset();
        m_config.reset();
        m_home.reset();
    }

    void windowHasTwoTabsAndMinimumWidth()
    {
        QCOMPARE(m_view->windowTitle(), "Settings");
        QTabWidget* tabs = m_view->tabs();
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->tabText(0), "General");
        QCOMPARE(tabs->tabText(1), "Playlists");
        QVERIFY(!tabs->tabIcon(0).isNull());
        QVERIFY(!tabs->tabIcon(1).isNull());
        m_view->resize(300, 200);
        QCOMPARE(m_view->width(), 640);
    }

    void togglesFollowAndWriteEachChange_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("key");
        QTest::newRow("play sounds") << 0 << "Play sounds"
                                     << "playsSounds";
        QTest::newRow("large-sized") << 1 << "Large-sized"
                                     << "superSized";
        QTest::newRow("floating window") << 2 << "Floating window"
                                         << "isFloating";
        QTest::newRow("loop tracks") << 3 << "Loop tracks"
                                     << "loopTracks";
        QTest::newRow("shuffle tracks") << 4 << "Shuffle tracks"
                                        << "shuffleTracks";
    }
    void togglesFollowAndWriteEachChange()
    {
        QFETCH(int, position);
        QFETCH(QString, label);
        QFETCH(QString, key);
        QCOMPARE(general()->toggles().size(), 5);
        QCheckBox* toggle = general()->toggles().at(position);
        QCOMPARE(toggle->text(), label);
        const QByteArray property = key.toLatin1();
        const bool before = m_config->property(property).toBool();
        QCOMPARE(toggle->isChecked(), before);

        SettingsWatch settings(m_home->settingsFile());
        QTest::mouseClick(toggle, Qt::LeftButton);
        QCOMPARE(m_config->property(property).toBool(), !before);
        QVERIFY(settings.written());
        QCOMPARE(settings.json()[key].toBool(), !before);

        // a change made elsewhere (the Player menu) shows here and is written too
        settings.reset();
        m_config->setProperty(property, before);
        QCOMPARE(toggle->isChecked(), before);
        QVERIFY(settings.written());
        QCOMPARE(settings.json()[key].toBool(), before);

        // assigning the same value is no change: nothing written
        settings.reset();
        m_config->setProperty(property, before);
        QVERIFY(!settings.written());
    }

    void themePickerListsAvailableThemes()
    {
        QComboBox* picker = general()->themePicker();
        QStringList shown;
        for (int i = 0; i < picker->count(); ++i)
            shown << picker->itemText(i);
        QCOMPARE(shown, m_config->availableThemes());
        QCOMPARE(picker->currentText(), m_config->currentTheme());
        m_config->setAvailableThemes(QStringList{"neo-lime", m_config->currentTheme()});
        QCOMPARE(picker->count(), 2);
        QCOMPARE(picker->currentIndex(), 1);
        m_config->setCurrentTheme("neo-lime"); // chosen elsewhere
        QCOMPARE(picker->currentIndex(), 0);
    }

    void choosingAThemeWritesThenLoadsIt()
    {
        addTheme("wide", 301);
        SettingsWatch settings(m_home->settingsFile());
        choose(general()->themePicker(), "wide");
        QCOMPARE(m_config->currentTheme(), "wide");
        QCOMPARE(settings.json()["currentTheme"].toString(), "wide");
        QCOMPARE(m_config->playerWidth(), 301.0);
    }

    void choosingTheCurrentThemeDoesNothing()
    {
        const double width = m_config->playerWidth();
        // a reload would now pick up a different width
        const QString file = m_config->themeFileURL();
        QJsonObject theme = QJsonDocument::fromJson(testsupport::readFile(file)).object();
        theme["playerWidth"] = width + 50;
        QVERIFY(testsupport::writeFile(file, QJsonDocument(theme).toJson()));

        SettingsWatch settings(m_home->settingsFile());
        choose(general()->themePicker(), m_config->currentTheme());
        QVERIFY(!settings.written());
        QCOMPARE(m_config->playerWidth(), width);
    }

    void aThemeWithoutDirectoryIsSavedAndKeepsTheGeometry()
    {
        m_config->setAvailableThemes(m_config->availableThemes() << "gone");
        addTheme("wide", 301);
        choose(general()->themePicker(), "wide");
        SettingsWatch settings(m_home->settingsFile());
        choose(general()->themePicker(), "gone");
        QCOMPARE(settings.json()["currentTheme"].toString(), "gone");
        QCOMPARE(m_config->playerWidth(), 301.0);
    }
};

QTEST_MAIN(TestGeneralSettings)
#include "tst_generalsettings.moc"
