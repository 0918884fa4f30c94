#pragma once
// Language (dialog 148): English or Russian for every text of the program.

#include <optional>

#include <QDialog>

#include "text/UiText.h"

class QRadioButton;

namespace zavuv::app::dialogs {

class LanguageDialog final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kDialogId = 148;
    static constexpr int kEnglishButtonId = 1125;
    static constexpr int kRussianButtonId = 1126;

    explicit LanguageDialog(text::Language language, QWidget* parent = nullptr);

    // The language the buttons show.
    text::Language language() const;

private:
    QRadioButton* english_;
    QRadioButton* russian_;
};

// The language chosen, or nothing on Cancel. The caller switches to it and
// saves it.
std::optional<text::Language> runLanguageDialog(QWidget* parent, text::Language language);

}  // namespace zavuv::app::dialogs
