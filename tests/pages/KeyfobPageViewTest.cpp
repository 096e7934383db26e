// The keyfobs page's view on offscreen widgets: every control is on screen under its name and
// follows the model, the enrolment colour reaches the number labels, and all sixteen rows fit the
// window's page pane at 1280 x 800.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "PagePane.h"
#include "app/BibelotPageView.h"
#include "core/OutArray.h"
#include "device/DevVeltra.h"
#include "pages/f_Bibelot.h"
#include "pages/f_MessageDlg.h"

namespace nvx {
namespace {

using namespace nvx::test;

class KeyfobPageViewTest : public ::testing::Test {
protected:
    template <class W = QWidget> W* widget(const std::string& name)
    {
        return view.findChild<W*>(QString::fromStdString(name));
    }
    QColor numberColour(int slot)
    {
        return widget<QLabel>(TformBibelot::NumberLabelName(slot))->palette().color(QPalette::Window);
    }

    TOutArray queue;
    TDevVeltra device{queue};
    TformMessageDlg dialog{device};
    TformBibelot page{device, dialog};
    BibelotPageView view{page};
};

TEST_F(KeyfobPageViewTest, EveryControlIsOnScreenUnderItsNameAndFollowsTheModel)
{
    for (const std::string& name : page.Form().names()) {
        if (name != page.Form().name()) {
            EXPECT_NE(widget(name), nullptr) << name;
        }
    }

    FormModel& f = page.Form();
    f.setText("btnAdd9", "Удалить");
    f.setEnabled("btnAdd9", true);
    f.setChecked("cb094", true);
    f.setEnabled("cb093", false);  // partition 3 made a 24-hour partition
    EXPECT_EQ(widget<QPushButton>("btnAdd9")->text(), QStringLiteral("Удалить"));
    EXPECT_TRUE(widget("btnAdd9")->isEnabled());
    EXPECT_FALSE(widget("btnAdd8")->isEnabled());
    EXPECT_TRUE(widget<QCheckBox>("cb094")->isChecked());
    EXPECT_FALSE(widget("cb093")->isEnabled());
    EXPECT_EQ(widget<QLabel>("lbN09")->text(), QStringLiteral("9"));
    EXPECT_EQ(numberColour(9), QColor(0x00, 0xFF, 0x00));
    EXPECT_NE(numberColour(8), QColor(0x00, 0xFF, 0x00));

    widget<QCheckBox>("cb161")->click();
    EXPECT_TRUE(f.checked("cb161"));
    f.setText("btnAdd9", "Добавить");
    EXPECT_NE(numberColour(9), QColor(0x00, 0xFF, 0x00));
}

TEST_F(KeyfobPageViewTest, AllRowsFitThePagePaneAt1280x800)
{
    FormModel& f = page.Form();
    for (int slot : {2, 5, 12}) {
        f.setText(TformBibelot::ButtonName(slot), "Удалить");
        f.setChecked(TformBibelot::PartitionBoxName(slot, 1), true);
    }
    for (int slot = 1; slot <= TformBibelot::kSlots; ++slot) {
        f.setEnabled(TformBibelot::ButtonName(slot), true);
        f.setEnabled(TformBibelot::PartitionBoxName(slot, 3), false);
    }
    ASSERT_TRUE(ShowInPane(view));
    EXPECT_TRUE(ContentFitsPane(view));
    SaveScreenshotIfAsked(view);
}

}  // namespace
}  // namespace nvx
