// The multi-thumb slider under real mouse events: pushing neighbours, the range, one thumb,
// normalisation at drawing time, the margin rule and the vertical variant.
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "controls/Trislider.h"

namespace nvx {
namespace {

// 936 units over 972 - 2 - 2 × 17 pixels: one pixel a unit, so a thumb of 8 px keeps 8 units.
constexpr int kLength = 972;
constexpr int kAcross = 50;
constexpr int kMargin = 17;

class TrisliderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        slider.resize(kLength, kAcross);
        slider.setMinimum(0);
        slider.setMaximum(936);
        slider.setDivisions(20);
        ASSERT_TRUE(slider.setMargin(kMargin));
        slider.setThumbWidth(8);
        slider.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&slider));
    }

    void setValues(const std::vector<int>& values)
    {
        slider.setCount(static_cast<int>(values.size()));
        for (std::size_t i = 0; i < values.size(); ++i)
            slider.setValue(static_cast<int>(i), values[i]);
    }

    // Widget x of a value: the one-pixel frame, the margin, one pixel a unit.
    static int x(int value) { return 1 + kMargin + value; }

    void drag(int fromX, int toX, int y = kAcross / 2)
    {
        QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(fromX, y));
        const int step = toX > fromX ? 25 : -25;
        for (int at = fromX + step; (step > 0 ? at < toX : at > toX); at += step)
            QTest::mouseMove(&slider, QPoint(at, y));
        QTest::mouseMove(&slider, QPoint(toX, y));
        QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(toX, y));
    }

    TTrislider slider;
};

TEST_F(TrisliderTest, FirstThumbDraggedRightPushesTheOthersUpToTheMaximum)
{
    setValues({100, 200, 300, 400, 500});
    ASSERT_EQ(slider.gap(), 8);
    QSignalSpy dragged(&slider, &TTrislider::valuesDragged);

    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(x(100), kAcross / 2));
    EXPECT_TRUE(slider.dragging());
    EXPECT_EQ(slider.activeThumb(), 0);
    for (int at = x(100) + 25; at < x(700); at += 25)
        QTest::mouseMove(&slider, QPoint(at, kAcross / 2));
    QTest::mouseMove(&slider, QPoint(x(700), kAcross / 2));
    EXPECT_EQ(slider.values(), (QVector<int>{700, 708, 716, 724, 732}));
    QTest::mouseMove(&slider, QPoint(kLength + 200, kAcross / 2));
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(kLength + 200, kAcross / 2));

    EXPECT_EQ(slider.values(), (QVector<int>{904, 912, 920, 928, 936}));
    EXPECT_FALSE(slider.dragging());
    ASSERT_FALSE(dragged.isEmpty());
    EXPECT_EQ(dragged.last().at(0).value<QVector<int>>(), slider.values());
}

TEST_F(TrisliderTest, LastThumbDraggedLeftPushesTheOthersDownToTheMinimum)
{
    setValues({100, 200, 300, 400});
    drag(x(400), -100);
    EXPECT_EQ(slider.values(), (QVector<int>{0, 8, 16, 24}));
}

TEST_F(TrisliderTest, PressPicksTheNearestThumbAndGrabsOnlyCloseToIt)
{
    setValues({100, 200, 300});
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(x(260), kAcross / 2));
    EXPECT_EQ(slider.activeThumb(), 2);
    EXPECT_FALSE(slider.dragging());  // 40 units from it
    QTest::mouseMove(&slider, QPoint(x(400), kAcross / 2));
    EXPECT_EQ(slider.values(), (QVector<int>{100, 200, 300}));
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(x(400), kAcross / 2));

    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(x(204), kAcross / 2));
    EXPECT_EQ(slider.activeThumb(), 1);
    EXPECT_TRUE(slider.dragging());  // within half a thumb and two pixels
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(x(204), kAcross / 2));
}

TEST_F(TrisliderTest, OneThumbIsOnlyClampedToTheRange)
{
    setValues({-5});
    QTest::qWait(250);  // the redraw timer normalises
    EXPECT_EQ(slider.value(0), 0);

    setValues({500});
    drag(x(500), kLength + 300);
    EXPECT_EQ(slider.value(0), 936);
}

TEST_F(TrisliderTest, OutOfOrderValuesAreOrderedAtTheNextDrawing)
{
    setValues({500, 100, 300, 302});
    QTest::qWait(250);
    // Backward: 302 pulls 300 down to 294; 100 pulls 500 down to 92. Forward keeps the rest.
    EXPECT_EQ(slider.values(), (QVector<int>{92, 100, 294, 302}));
}

TEST_F(TrisliderTest, ValuesSnapToTheStep)
{
    slider.setStep(10);
    setValues({104, 200});
    drag(x(200), x(236));
    EXPECT_EQ(slider.values(), (QVector<int>{100, 240}));
}

TEST_F(TrisliderTest, MarginAcceptedOnlyBelowHeightAndWidthLessHalfTheMargin)
{
    // Height 50 and margin 17: a new margin must stay below 50 - 8 = 42.
    EXPECT_FALSE(slider.setMargin(42));
    EXPECT_EQ(slider.margin(), kMargin);
    EXPECT_TRUE(slider.setMargin(41));
    EXPECT_EQ(slider.margin(), 41);
}

TEST_F(TrisliderTest, VerticalSliderRunsFromBottomToTop)
{
    slider.setOrientation(Qt::Vertical);
    slider.resize(kAcross, kLength);
    setValues({100, 200});
    const int y100 = kLength - 1 - (kMargin + 100);
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(kAcross / 2, y100));
    ASSERT_TRUE(slider.dragging());
    QTest::mouseMove(&slider, QPoint(kAcross / 2, y100 - 150));
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(kAcross / 2, y100 - 150));
    EXPECT_EQ(slider.values(), (QVector<int>{250, 258}));
}

}  // namespace
}  // namespace nvx
