#include "app/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

void installTranslations(const QLocale& locale)
{
    static QTranslator* ours = nullptr;
    static QTranslator* qt = nullptr;
    for (QTranslator** translator : {&ours, &qt}) {
        if (*translator) {
            QCoreApplication::removeTranslator(*translator);
            delete *translator;
            *translator = nullptr;
        }
    }
    auto* own = new QTranslator(QCoreApplication::instance());
    if (own->load(locale, QStringLiteral("lindenfold"), QStringLiteral("_"),
                  QStringLiteral(":/i18n"))) {
        QCoreApplication::installTranslator(own);
        ours = own;
    } else {
        delete own;
    }
    // the file dialog's own buttons, where the system ships Qt's translations
    auto* base = new QTranslator(QCoreApplication::instance());
    if (base->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(base);
        qt = base;
    } else {
        delete base;
    }
}
