// Captions too wide for their control get a smaller font, never below 70 %;
// captions that fit, and wrapping labels, keep the window's font.

#include <gtest/gtest.h>

#include <vector>

#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
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

TEST_F(CaptionFit, AGroupEvenedDownForOneLanguageIsAtFullSizeAgainWhenItsCaptionsFit) {
    new QGroupBox("Group", &window);
    window.findChild<QGroupBox*>()->setGeometry(0, 0, 400, 100);
    auto* button = make<QPushButton>(kLong, textWidth(&window, kLong) * 9 / 10);
    button->move(10, 20);
    // A label no caption fits: only the evening out sets its size.
    auto* label = make<QLabel>("Size", 100);
    label->move(10, 50);
    const auto translate = [&] {
        widgets::fitCaption(button);
        widgets::evenOutGroupFonts(&window);
    };
    translate();
    const double shrunk = button->font().pointSizeF();
    ASSERT_LT(shrunk, 10);
    EXPECT_EQ(label->font().pointSizeF(), shrunk);
    translate();
    EXPECT_EQ(button->font().pointSizeF(), shrunk);
    EXPECT_EQ(label->font().pointSizeF(), shrunk);

    button->setText("Auto-program");
    translate();
    EXPECT_EQ(button->font().pointSizeF(), 10);
    EXPECT_EQ(label->font().pointSizeF(), 10);
    // Given back, not fixed: the label follows the window's font again.
    QFont larger = window.font();
    larger.setPointSizeF(12);
    window.setFont(larger);
    EXPECT_EQ(label->font().pointSizeF(), 12);
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

TEST_F(CaptionFitInMainWindow, AfterRussianEveryCaptionHasItsEnglishFontAgain) {
    start();
    const auto sizes = [&] {
        std::vector<double> all;
        for (const QWidget* c : window->findChildren<QWidget*>())
            if (qobject_cast<const QAbstractButton*>(c) || qobject_cast<const QLabel*>(c))
                all.push_back(c->font().pointSizeF());
        return all;
    };
    const std::vector<double> english = sizes();
    window->applyLanguage(text::Language::Russian);
    ASSERT_NE(sizes(), english);
    window->applyLanguage(text::Language::English);
    EXPECT_EQ(sizes(), english);
}
