// The partitions page's view on offscreen widgets: every control is on screen under its name, the
// start-up switches and the firmware show and hide their columns, and the page fits the window's
// page pane at 1280 x 800 without scrolling sideways.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include "PagePane.h"
#include "app/RazdPageView.h"
#include "core/IniFile.h"
#include "core/OutArray.h"
#include "device/DevVeltra.h"
#include "pages/f_Razd.h"

namespace nvx {
namespace {

using namespace nvx::test;

class RazdPageViewTest : public ::testing::Test {
protected:
    RazdPageViewTest()
    {
        view.resize(kPaneWidth, kPaneHeight);
        view.show();
    }
    template <class W = QWidget> W* widget(const std::string& name)
    {
        return view.findChild<W*>(QString::fromStdString(name));
    }

    TOutArray queue;
    TDevVeltra device{queue};
    TformRazd page{device};
    RazdPageView view{page};
};

TEST_F(RazdPageViewTest, EveryControlOfThePageIsOnScreenUnderItsName)
{
    for (const std::string& name : page.Form().names()) {
        if (name == page.Form().name())
            continue;
        EXPECT_NE(widget(name), nullptr) << name;
    }
}

TEST_F(RazdPageViewTest, SwitchesShowTheirColumnsAndAllColumnsFitThePane)
{
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    for (const char* hidden : {"cbQuick11", "cbQuick21", "cbEmpty1", "cbFire1", "cbR1", "pp1", "lbColFire"})
        EXPECT_FALSE(widget(hidden)->isVisible()) << hidden;
    EXPECT_TRUE(widget("cb24h1")->isVisible());
    EXPECT_FALSE(widget("pnlWarning")->isVisible());

    IniFile settings("/nonexistent/current.ini");
    for (const char* key : {"showQuickEmpty", "showPF", "showFire", "showRazd"})
        settings.WriteString("formRazd", key, "1");
    page.ApplyProgramSwitches(settings);
    page.Form().setText("meIN1", "030");
    QApplication::processEvents();
    for (const char* shown : {"cbQuick16", "cbQuick26", "cbEmpty6", "cbFire6", "cbR6", "pp6", "lbColFire", "pnlWarning"})
        EXPECT_TRUE(widget(shown)->isVisible()) << shown;

    auto* scroll = view.findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible()) << "every column fits the pane";
}

TEST_F(RazdPageViewTest, TypingAndClickingReachTheRules)
{
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    page.LoadState(IniFile("/nonexistent/razd-view.ini"));
    QTest::mouseClick(widget<QCheckBox>("cb24h2"), Qt::LeftButton);
    EXPECT_TRUE(page.IsTwentyFourHour(2));
    EXPECT_FALSE(widget("meIN2")->isEnabled());
    EXPECT_EQ(widget<QLineEdit>("etState2")->text(), QStringLiteral("Под охраной"));

    QTest::mouseClick(widget<QLabel>("lbWithoutLimit"), Qt::LeftButton);
    EXPECT_TRUE(page.Form().checked("cbWithoutLimit"));
    EXPECT_FALSE(widget("eca")->isEnabled());

    auto* exitDelay = widget<QLineEdit>("meIN3");
    exitDelay->setFocus();
    exitDelay->home(false);
    QTest::keyClicks(exitDelay, "3");  // overwrites the first digit: 300 settles at 254
    EXPECT_EQ(page.ExitDelayText(3), "254");
    EXPECT_EQ(exitDelay->text(), QStringLiteral("254"));
}

}  // namespace
}  // namespace nvx
