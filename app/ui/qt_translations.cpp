#include "app/ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace tarvosen::ui {

void UseQtTranslations(int languageIndex) {
    static int installed = 1;
    static QTranslator* translator = nullptr;
    if (languageIndex == installed) return;
    installed = languageIndex;
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        translator = nullptr;
    }
    if (languageIndex != 2 && languageIndex != 3) return;
    auto next = new QTranslator;
    const QString name = languageIndex == 2 ? "qtbase_zh_CN" : "qtbase_zh_TW";
    if (next->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(next);
        translator = next;
    } else {
        delete next;
    }
}

}  // namespace tarvosen::ui
