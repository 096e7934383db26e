// The radio sensors page and the enrolment dialog on offscreen widgets: two tabs of sixteen rows under
// the model's names, lime numbers for enrolled slots, the copy menu, and a dialog its model shows.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

#include "PagePane.h"
#include "app/MessageDlgView.h"
#include "app/RadioPageView.h"
#include "core/IniFile.h"
#include "core/OutArray.h"
#include "device/DevVeltra.h"
#include "pages/f_MessageDlg.h"
#include "pages/f_Radio.h"

namespace nvx {
namespace {

using namespace nvx::test;

class RadioPageViewTest : public ::testing::Test {
protected:
    template <class W = QWidget> W* widget(const std::string& name)
    {
        return view.findChild<W*>(QString::fromStdString(name));
    }

    TOutArray queue;
    TDevVeltra device{queue};
    TformMessageDlg dialog{device};
    TformRadio page{device, dialog};
    RadioPageView view{page};
};

TEST_F(RadioPageViewTest, TwoTabsOfSixteenRowsUnderTheModelsNames)
{
    auto* tabs = widget<QTabWidget>("PageControl1");
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Радиодатчики с 1 по 16"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Радиодатчики с 17 по 32"));
    for (int row = 1; row <= TformRadio::kSlots; ++row) {
        QWidget* tab = tabs->widget(row <= 16 ? 0 : 1);
        for (const std::string& name : {TformRadio::NumberLabelName(row), TformRadio::TypeFieldName(row),
                                        TformRadio::PartitionListName(row), TformRadio::DelayListName(row),
                                        TformRadio::ZoneListName(row), TformRadio::ButtonName(row)})
            EXPECT_NE(tab->findChild<QWidget*>(QString::fromStdString(name)), nullptr) << name;
    }
    EXPECT_EQ(widget<QComboBox>("cbZ01")->count(), 61);
    EXPECT_TRUE(widget<QLineEdit>("etT1")->isReadOnly());
    EXPECT_EQ(widget<QLabel>("lbNote2")->text(), QStringLiteral("* В одном разделе может быть только одна входная зона"));

    page.Form().setIndex("PageControl1", 1);
    EXPECT_EQ(tabs->currentIndex(), 1);
    tabs->setCurrentIndex(0);
    EXPECT_EQ(page.Form().index("PageControl1"), 0);
}

TEST_F(RadioPageViewTest, EnrolledNumbersAreLimeAndTypesExplainThemselves)
{
    // What a read queues for an enrolled slot.
    queue.PostText({&page.Form(), "etT20"}, "СМК \"Геркон\"");
    queue.PostText({&page.Form(), "btnAdd20"}, "captionУдалить");
    queue.Drain({});
    EXPECT_EQ(widget<QLabel>("lbN20")->palette().color(QPalette::Window), QColor(0, 255, 0));
    EXPECT_NE(widget<QLabel>("lbN21")->palette().color(QPalette::Window), QColor(0, 255, 0));
    EXPECT_EQ(widget<QPushButton>("btnAdd20")->text(), QStringLiteral("Удалить"));
    EXPECT_EQ(widget<QLineEdit>("etT20")->toolTip(), QStringLiteral("СМК (система магнито-контактная) \"Геркон\""));
}

TEST_F(RadioPageViewTest, UserChoiceRunsTheRulesAndTheMenuActsOnThePressedRow)
{
    page.Form().setText("etT3", "ИК \"Объемник\"");
    page.ApplyZoneRule(3);
    auto* zone = widget<QComboBox>("cbZn03");
    zone->setCurrentIndex(1);
    emit zone->activated(1);
    EXPECT_EQ(page.Form().index("cbZ03"), 1);  // an entry zone got its 4 s
    EXPECT_TRUE(widget<QComboBox>("cbZ03")->isEnabled());

    QTest::mousePress(widget("etT3"), Qt::RightButton);
    EXPECT_EQ(page.PopupRow(), 3);
    QMenu* menu = view.popupMenu();
    ASSERT_EQ(menu->actions().size(), 4);
    EXPECT_FALSE(menu->actions()[1]->isEnabled());
    menu->actions()[0]->trigger();  // copy
    EXPECT_TRUE(menu->actions()[1]->isEnabled());
}

TEST_F(RadioPageViewTest, FitsThePagePaneAndLooksRight)
{
    for (int row = 1; row <= 5; ++row) {
        page.Form().setText(TformRadio::TypeFieldName(row), row == 2 ? "Дымовой" : "ИК \"Объемник\"");
        page.Form().setText(TformRadio::ButtonName(row), "Удалить");
        page.Form().setEnabled(TformRadio::ButtonName(row), true);
    }
    ASSERT_TRUE(ShowInPane(view));
    EXPECT_LE(widget("PageControl1")->width(), kPaneWidth);
    const QWidget* lastButton = widget("btnAdd16");
    EXPECT_LE(lastButton->mapTo(&view, QPoint(lastButton->width(), 0)).x(), kPaneWidth);
    if (const char* path = std::getenv("NVX_GRAB"))
        view.grab().save(QString::fromLocal8Bit(path));
}

TEST(MessageDlgViewTest, ShownAndHiddenByItsModel)
{
    QWidget owner;
    owner.resize(800, 600);
    owner.show();
    TOutArray queue;
    TDevVeltra device{queue};
    TformMessageDlg dialog{device};
    MessageDlgView view(dialog, &owner);
    EXPECT_FALSE(view.isVisible());
    EXPECT_EQ(view.windowTitle(), QStringLiteral("Сообщение"));

    dialog.ShowSearch("Идет поиск радиодатчика...", false);
    EXPECT_TRUE(view.isVisible());
    EXPECT_TRUE(view.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(view.findChild<QLabel*>("lbMessage")->text(), QStringLiteral("Идет поиск радиодатчика..."));
    EXPECT_FALSE(view.findChild<QWidget*>("RzPanel1")->isVisible());
    EXPECT_EQ(view.findChild<QPushButton*>("btnOKCancel")->text(), QStringLiteral("Отмена"));
    if (const char* path = std::getenv("NVX_GRAB_DIALOG"))
        view.grab().save(QString::fromLocal8Bit(path));

    view.close();  // the close box is the model's close
    EXPECT_FALSE(dialog.Visible());
    EXPECT_FALSE(view.isVisible());

    IniFile settings(std::filesystem::temp_directory_path() / "radio-view-no-such-settings.ini");
    settings.WriteBool("formMessage", "advanceAdd", true);
    dialog.ApplyProgramSwitches(settings);
    dialog.ShowSearch("Идет поиск радиодатчика...", true);
    EXPECT_TRUE(view.findChild<QWidget*>("RzPanel1")->isVisible());
    dialog.Form().trigger("Button2");
    EXPECT_TRUE(view.findChild<QWidget*>("RzPanel2")->isVisible());
    EXPECT_FALSE(view.findChild<QWidget*>("RzPanel1")->isVisible());
    if (const char* path = std::getenv("NVX_GRAB_PERIOD"))
        view.grab().save(QString::fromLocal8Bit(path));
}

}  // namespace
}  // namespace nvx
