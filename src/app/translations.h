#pragma once

#include <QLocale>

// Installs the interface translation for the locale (the system's by default) and Qt's own
// where the system has it. Without a translation the English texts show.
void installTranslations(const QLocale& locale = QLocale::system());
