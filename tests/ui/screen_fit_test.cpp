// SPDX-License-Identifier: MIT
// The window on a screen smaller than itself: it fits, scrolls to every control, shows every
// list item whole, and under a dark palette keeps dark text on its light areas.
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QStyleOptionComboBox>
#include <cmath>
#include <map>

#include "tests/ui/editor_fixture.h"

namespace kestrova::test {
namespace {

TEST_F(EditorTest, TheWindowFitsScrollsToEveryControlAndShowsEveryListItemWhole) {
    const QSize room = dlg->screen()->availableGeometry().size();
    auto* scroll = dlg->findChild<QScrollArea*>();
    ASSERT_TRUE(scroll != nullptr && room.expandedTo(dlg->frameGeometry().size()) == room);
    for (QWidget* control : dlg->findChildren<QWidget*>()) {  // the sliders too
        scroll->ensureWidgetVisible(control);
        const QWidget* hit = dlg->childAt(control->mapTo(dlg.get(), control->rect().center()));
        EXPECT_TRUE(!control->isVisible() || control->focusPolicy() == Qt::NoFocus ||
                    hit == control || control->isAncestorOf(hit))
            << control->objectName().toStdString();
        auto* list = qobject_cast<QComboBox*>(control);
        QStyleOptionComboBox option;
        option.initFrom(control);
        for (int i = 0; list != nullptr && i < list->count(); ++i) {
            EXPECT_LE(list->fontMetrics().horizontalAdvance(list->itemText(i)),
                      list->style()
                          ->subControlRect(QStyle::CC_ComboBox, &option,
                                           QStyle::SC_ComboBoxEditField, list)
                          .width());
        }
    }
}

double luminance(QColor c) {
    const auto linear = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

TEST(DarkPaletteTest, MotorLabelsAndTableValuesStayDarkOnLight) {
    const QPalette before = QApplication::palette();
    const QBrush light(QColor(235, 235, 235)), dark(QColor(40, 40, 40));
    QApplication::setPalette(QPalette(light, dark, dark, dark, dark, light, light, dark, dark));
    const CEditorDlg window;
    for (QWidget* area : {static_cast<QWidget*>(window.motorPanel(0)->labelControl()),
                          static_cast<QWidget*>(window.stepTableView())}) {
        const QImage image = area->grab(area->rect() & QRect(0, 0, 60, 20)).toImage();
        std::map<QRgb, int> counts;  // the most common colour is the background
        for (int n = 0; n < image.width() * image.height(); ++n) {
            ++counts[image.pixel(n % image.width(), n / image.width())];
        }
        const QRgb back =
            std::ranges::max_element(counts, {}, &decltype(counts)::value_type::second)->first;
        const QRgb text = std::ranges::min_element(counts, {}, [](const auto& c) {
                              return luminance(c.first);
                          })->first;
        EXPECT_GE((luminance(back) + 0.05) / (luminance(text) + 0.05), 4.5);
        EXPECT_GT(QColor(back).lightness(), 200);
    }
    QApplication::setPalette(before);
}

}  // namespace
}  // namespace kestrova::test
