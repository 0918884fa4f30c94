// Captions too wide for their control get a smaller font, never below 70 %;
// captions that fit, and wrapping labels, keep the window's font.

#include <gtest/gtest.h>

#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "MainWindowFixture.h"
#include "app/widgets/CaptionFit.h"

using namespace zavuv;
using namespace zavuv::app;

namespace {

const QString kLong = QString::fromUtf8("Автопрограммирование");

int textWidth(const QWidget* c, const QString& text) {
    return QFontMetrics(c->font()).horizontalAdvance(text);
}

class CaptionFit : public ::testing::Test {
protected:
    CaptionFit() {
        QFont font = window.font();
        font.setPointSizeF(10);
        window.setFont(font);
    }
    template <typename T> T* make(const QString& text, int width) {
        auto* c = new T(text, &window);
        c->setGeometry(0, 0, width, 24);
        return c;
    }
    QDialog window;
};

}  // namespace

TEST_F(CaptionFit, AWideCaptionShrinksUntilItFitsAndGrowsBackWhenTheTextIsShortAgain) {
    auto* button = make<QPushButton>(kLong, textWidth(&window, kLong) * 9 / 10);
    widgets::fitCaption(button);
    EXPECT_LT(button->font().pointSizeF(), 10);
    EXPECT_GE(button->font().pointSizeF(), 7);
    EXPECT_LT(textWidth(button, kLong), button->width());

    button->setText("Auto-program");
    widgets::fitCaption(button);
    EXPECT_EQ(button->font().pointSizeF(), 10);
}

TEST_F(CaptionFit, FittingCaptionsAndWrappingLabelsKeepTheFontAndNothingGoesBelowSeventyPercent) {
    auto* fits = make<QRadioButton>("No", 200);
    widgets::fitCaption(fits);
    EXPECT_EQ(fits->font().pointSizeF(), 10);

    auto* wrapping = make<QLabel>(kLong + " " + kLong, 60);
    wrapping->setWordWrap(true);
    widgets::fitCaption(wrapping);
    EXPECT_EQ(wrapping->font().pointSizeF(), 10);

    // Two lines, each of which fits.
    auto* twoLines = make<QLabel>(kLong + "\n" + kLong, textWidth(&window, kLong) + 10);
    widgets::fitCaption(twoLines);
    EXPECT_EQ(twoLines->font().pointSizeF(), 10);

    auto* hopeless = make<QLabel>(kLong, 20);
    widgets::fitCaption(hopeless);
    EXPECT_GE(hopeless->font().pointSizeF(), 7);
    EXPECT_LT(hopeless->font().pointSizeF(), 7.5);
}

class CaptionFitInMainWindow : public zavuv::testing::MainWindowFixture {};

TEST_F(CaptionFitInMainWindow, RussianButtonCaptionsAreShownWholeAndEnglishAtFullSize) {
    start();
    const double full = window->font().pointSizeF();
    window->applyLanguage(text::Language::Russian);
    for (const int id : {1015, 1008, 1011}) {
        auto* button = byId<QPushButton>(id);
        EXPECT_LT(textWidth(button, button->text()), button->width() - 8) << id;
    }
    EXPECT_LT(byId(1015)->font().pointSizeF(), full);
    window->applyLanguage(text::Language::English);
    EXPECT_EQ(byId(1015)->font().pointSizeF(), full);
}
