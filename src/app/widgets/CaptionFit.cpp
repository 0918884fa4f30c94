#include "app/widgets/CaptionFit.h"

#include <algorithm>

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVariant>

namespace zavuv::app::widgets {

namespace {

constexpr double kSmallestScale = 0.7;
// The font a control had before evening out lowered it (a default font when it
// only inherited one), so that the next pass, after a language switch, starts
// from it and not from the size another language needed.
constexpr char kOwnFontProperty[] = "zavuvOwnFont";
constexpr double kStepPoints = 0.5;
// What styles draw around a check box's or radio button's text beyond the
// indicator and its spacing (the focus frame).
constexpr int kIndicatorTextMargin = 4;

// The text as drawn: "&&" is one ampersand, a single one marks the mnemonic.
QString shownText(const QString& caption) {
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        shown += caption[i];
    }
    return shown;
}

// The width the control has for its text, and that text; nothing to fit when
// the text is empty or may wrap.
struct TextRoom {
    QString text;
    int width = 0;
};

TextRoom roomOf(const QWidget* control) {
    const QStyle* style = control->style();
    const auto metric = [&](QStyle::PixelMetric m) {
        return style->pixelMetric(m, nullptr, control);
    };
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        if (label->wordWrap() || label->textFormat() == Qt::RichText)
            return {};
        return {label->text(), label->contentsRect().width() - 2 * label->margin()};
    }
    if (const auto* radio = qobject_cast<const QRadioButton*>(control))
        return {shownText(radio->text()),
                radio->width() - metric(QStyle::PM_ExclusiveIndicatorWidth) -
                    metric(QStyle::PM_RadioButtonLabelSpacing) - kIndicatorTextMargin};
    if (const auto* box = qobject_cast<const QCheckBox*>(control))
        return {shownText(box->text()), box->width() - metric(QStyle::PM_IndicatorWidth) -
                                            metric(QStyle::PM_CheckBoxLabelSpacing) -
                                            kIndicatorTextMargin};
    if (const auto* button = qobject_cast<const QPushButton*>(control))
        return {shownText(button->text()), button->width() - metric(QStyle::PM_ButtonMargin) -
                                               2 * metric(QStyle::PM_DefaultFrameWidth)};
    return {};
}

// A caption may hold line breaks: each line has the whole width.
int widestLine(const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString& line : text.split('\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

}  // namespace

void fitCaption(QWidget* control) {
    // Back to the font the window gives it, so that a shorter caption (after a
    // language switch) is shown at full size again.
    control->setFont(QFont());
    control->setProperty(kOwnFontProperty, QVariant());
    const TextRoom room = roomOf(control);
    QFont font = control->font();
    const double full = font.pointSizeF();
    if (room.text.isEmpty() || full <= 0)
        return;
    double size = full;
    while (widestLine(font, room.text) > room.width &&
           size - kStepPoints >= full * kSmallestScale) {
        size -= kStepPoints;
        font.setPointSizeF(size);
    }
    if (size != full)
        control->setFont(font);
}

void evenOutGroupFonts(QWidget* window) {
    const auto captions = [window](const QGroupBox* group) {
        QList<QWidget*> inside;
        for (QWidget* control : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (control != group && group->geometry().contains(control->geometry()) &&
                (qobject_cast<QAbstractButton*>(control) || qobject_cast<QLabel*>(control)))
                inside << control;
        return inside;
    };
    const QList<QGroupBox*> groups = window->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly);
    // Every control back to its own font first: a control may lie in two groups.
    for (const QGroupBox* group : groups) {
        for (QWidget* control : captions(group)) {
            const QVariant own = control->property(kOwnFontProperty);
            if (own.isValid()) {
                control->setFont(own.value<QFont>());
                control->setProperty(kOwnFontProperty, QVariant());
            }
        }
    }
    for (const QGroupBox* group : groups) {
        const QList<QWidget*> inside = captions(group);
        double smallest = 0;
        for (const QWidget* control : inside) {
            const double size = control->font().pointSizeF();
            if (size > 0 && (smallest == 0 || size < smallest))
                smallest = size;
        }
        for (QWidget* control : inside) {
            if (control->font().pointSizeF() > smallest) {
                if (!control->property(kOwnFontProperty).isValid())
                    control->setProperty(kOwnFontProperty, control->testAttribute(Qt::WA_SetFont)
                                                               ? control->font()
                                                               : QFont());
                QFont font = control->font();
                font.setPointSizeF(smallest);
                control->setFont(font);
            }
        }
    }
}

}  // namespace zavuv::app::widgets
