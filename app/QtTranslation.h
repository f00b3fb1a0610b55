#pragma once

#include <QLibraryInfo>
#include <QString>

class QTranslator;

/// Qt's own texts (the buttons of every question, the file dialogs) in Polish like the program's,
/// whatever the system's language. False, and English left, when the translation is not installed.
bool installPolishQtTexts(QTranslator &translator,
                          const QString &folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath));
