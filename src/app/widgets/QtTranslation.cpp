#include "app/widgets/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace zavuv::app::widgets {

namespace {

// Qt's own folder first; then a folder beside the program, where an installer
// that brings its own Qt puts the translations.
bool loadRussian(QTranslator& translator) {
    for (const QString& folder :
         {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
          QCoreApplication::applicationDirPath() + QStringLiteral("/translations")})
        if (translator.load(QStringLiteral("qtbase_ru"), folder))
            return true;
    return false;
}

}  // namespace

QtTranslation::~QtTranslation() {
    if (installed_)
        QCoreApplication::removeTranslator(&translator_);
}

void QtTranslation::use(text::Language language) {
    const bool wanted = language == text::Language::Russian;
    if (wanted == installed_)
        return;
    if (installed_) {
        QCoreApplication::removeTranslator(&translator_);
        installed_ = false;
        return;
    }
    if (translator_.isEmpty() && !loadRussian(translator_))
        return;
    installed_ = QCoreApplication::installTranslator(&translator_);
}

}  // namespace zavuv::app::widgets
