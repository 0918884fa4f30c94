#pragma once
// Qt's own texts (the standard buttons Yes/No/Cancel, the file dialogs) in the
// program's language: Qt's translation for it, loaded and installed while that
// language is in use and taken out again when English comes back.

#include <QTranslator>

#include "text/UiText.h"

namespace zavuv::app::widgets {

class QtTranslation {
public:
    QtTranslation() = default;
    ~QtTranslation();
    QtTranslation(const QtTranslation&) = delete;
    QtTranslation& operator=(const QtTranslation&) = delete;

    // Qt's texts in `language` from now on; English where no translation is installed.
    void use(text::Language language);

private:
    QTranslator translator_;
    bool installed_ = false;
};

}  // namespace zavuv::app::widgets
