// The wired loops page's view on offscreen widgets: every control under its name, the thresholds
// panel's sliders driven by the mouse rewriting both views, and the page at the window's size.
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>

#include "PagePane.h"
#include "app/ShleifPageView.h"
#include "controls/Trislider.h"
#include "core/OutArray.h"
#include "device/DevVeltra.h"
#include "pages/LoopThresholds.h"
#include "pages/f_Shleif.h"

namespace nvx {
namespace {

using namespace nvx::test;

class ShleifPageViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ShowInPane(view));
    }
    template <class W = QWidget> W* widget(const char* name) { return view.findChild<W*>(name); }
    QString shown(const char* edit) { return widget<QLineEdit>(edit)->text(); }
    void Click(const char* radio)
    {
        page.Form().checkRadio(radio);
        page.Form().trigger(radio);
    }

    TOutArray queue;
    TDevVeltra device{queue};
    TformShleif page{device};
    ShleifPageView view{page};
};

TEST_F(ShleifPageViewTest, EveryControlOfThePageIsOnScreenUnderItsName)
{
    for (const std::string& name : page.Form().names()) {
        if (name == page.Form().name())
            continue;
        EXPECT_NE(view.findChild<QWidget*>(QString::fromStdString(name)), nullptr) << name;
    }
}

TEST_F(ShleifPageViewTest, DraggingAThumbRewritesTheTextsOfBothViews)
{
    Click("RadioButton1");
    page.Form().trigger(TformShleif::kThresholdsButton);
    QTest::qWait(50);
    auto* slider = widget<TTrislider>("tsn1");
    ASSERT_NE(slider, nullptr);
    ASSERT_TRUE(slider->isVisible());
    EXPECT_EQ(slider->margin(), 17);
    EXPECT_EQ(slider->values(), (QVector<int>{0, 257, 450, 642, 936}));

    // Thumb 2 ("7") dragged towards the higher values until it passes thumb 3 and pushes it.
    const int y = slider->height() / 2;
    const QPoint from(static_cast<int>(slider->positionOf(450)) + 1, y);
    QTest::mousePress(slider, Qt::LeftButton, {}, from);
    ASSERT_TRUE(slider->dragging());
    const int to = static_cast<int>(slider->positionOf(700)) + 1;
    for (int x = from.x() + 10; x < to; x += 10)
        QTest::mouseMove(slider, QPoint(x, y));
    QTest::mouseMove(slider, QPoint(to, y));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(to, y));

    const int value2 = slider->value(2);
    EXPECT_GT(value2, 642);
    EXPECT_GE(slider->value(3) - value2, slider->gap());
    const QString text2 = QString::fromStdString(LoopThresholdText(value2 + 64));
    EXPECT_EQ(shown("etZAM2n1"), text2);
    EXPECT_EQ(shown("etWarnn1"), text2);
    EXPECT_NE(shown("etZAM1n1"), "10");
    EXPECT_EQ(widget<TTrislider>("ts2n1")->value(2), page.Form().get("ts2n1").thumbs[2]);
    EXPECT_EQ(widget<TTrislider>("ts2n1")->value(2), slider->value(2));
}

TEST_F(ShleifPageViewTest, PageFitsThePaneWidth)
{
    Click("RadioButton1");
    page.Form().trigger(TformShleif::kThresholdsButton);
    QTest::qWait(250);
    EXPECT_FALSE(view.findChild<QScrollArea*>()->horizontalScrollBar()->isVisible());
    const QPixmap picture = view.grab();
    if (const char* path = std::getenv("NVX_GRAB_SHLEIF"))
        picture.save(path);
}

}  // namespace
}  // namespace nvx
