// The general page's view on offscreen widgets: every control of the page is on screen under its
// name, follows the model, and the page fits the window's page pane at 1280 x 800.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "PagePane.h"
#include "app/CommonPageView.h"
#include "core/OutArray.h"
#include "device/DevVeltra.h"
#include "pages/f_common.h"

namespace nvx {
namespace {

using namespace nvx::test;

class CommonPageViewTest : public ::testing::Test {
protected:
    template <class W = QWidget> W* widget(const char* name) { return view.findChild<W*>(name); }

    TOutArray queue;
    TDevVeltra device{queue};
    TformCommon page{device};
    CommonPageView view{page};
};

TEST_F(CommonPageViewTest, EveryControlOfThePageIsOnScreenUnderItsName)
{
    for (const std::string& name : page.Form().names()) {
        if (name == page.Form().name())
            continue;
        EXPECT_NE(view.findChild<QWidget*>(QString::fromStdString(name)), nullptr) << name;
    }
}

TEST_F(CommonPageViewTest, WidgetsFollowTheModelAndCaptionsChoose)
{
    ASSERT_TRUE(ShowInPane(view));
    FormModel& f = page.Form();

    EXPECT_FALSE(widget("RzGroupBox2")->isVisible());
    EXPECT_FALSE(widget("RzGroupBox8")->isVisible());
    EXPECT_FALSE(widget("btnReboot")->isVisible());
    EXPECT_FALSE(widget("btLamptest")->isEnabled());
    f.setVisible("RzGroupBox2", true);
    f.setVisible("btnReboot", true);
    EXPECT_TRUE(widget("RzGroupBox2")->isVisible());
    EXPECT_TRUE(widget("btnReboot")->isVisible());

    f.setText("etO", "1a2b");
    EXPECT_EQ(widget<QLineEdit>("etO")->text(), "1A2B");
    f.setFontColor("lbO", "clRed");
    EXPECT_TRUE(widget<QLabel>("lbO")->styleSheet().contains("color"));

    // The values can be chosen only under AT-command control; a click on a caption chooses.
    EXPECT_FALSE(widget("rbFOn")->isEnabled());
    QTest::mouseClick(widget("lbAT"), Qt::LeftButton);
    EXPECT_TRUE(f.checked("rbAT"));
    EXPECT_FALSE(widget<QRadioButton>("rbAuto")->isChecked());
    EXPECT_TRUE(widget("rbFOn")->isEnabled());
    QTest::mouseClick(widget("lbFOn"), Qt::LeftButton);
    EXPECT_TRUE(f.checked("rbFOn"));
    EXPECT_FALSE(widget<QRadioButton>("rbBothOff")->isChecked());

    EXPECT_FALSE(widget("RzComboBox1")->isEnabled());
    QTest::mouseClick(widget("CheckBox1"), Qt::LeftButton, {}, QPoint(8, widget("CheckBox1")->height() / 2));
    EXPECT_TRUE(f.checked("CheckBox1"));
    EXPECT_TRUE(widget("RzComboBox1")->isEnabled());

    // Only hexadecimal digits, four at most; an emptied key takes the default key.
    auto* key = widget<QLineEdit>("etKey");
    key->setFocus();
    key->selectAll();
    QTest::keyClicks(key, "zx9fA12");
    EXPECT_EQ(f.text("etKey"), "9fA1");
    key->clear();
    f.setText("etKey", "");
    QTest::keyClick(key, Qt::Key_Tab);
    EXPECT_EQ(f.text("etKey"), "1234");
}

TEST_F(CommonPageViewTest, EverythingFitsThePagePaneAt1280x800)
{
    FormModel& f = page.Form();
    for (const char* name : {"RzGroupBox2", "btnStart", "btnStop", "btnReboot"})
        f.setVisible(name, true);
    ASSERT_TRUE(ShowInPane(view));
    EXPECT_TRUE(ContentFitsPane(view));
    SaveScreenshotIfAsked(view);
}

}  // namespace
}  // namespace nvx
