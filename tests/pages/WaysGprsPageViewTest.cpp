// The channels and GPRS pages on offscreen widgets: the key filters of their edits, the update
// queue's commands reaching the widgets, and the user's choices running the pages' rules.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "app/GprsPageView.h"
#include "app/WaysPageView.h"
#include "core/OutArray.h"
#include "device/PageDirectory.h"
#include "pages/f_GPRS.h"
#include "pages/f_Ways.h"

namespace nvx {
namespace {

// Both pages with their views, as the window shows them.
class WaysGprsViews : public ::testing::Test {
protected:
    WaysGprsViews()
    {
        directory.Register(ways);
        directory.Register(gprs);
        waysView.show();
        gprsView.show();
    }

    template <class Widget> Widget* Ways(const char* name) { return Find<Widget>(waysView, name); }
    template <class Widget> Widget* Gprs(const char* name) { return Find<Widget>(gprsView, name); }

    template <class Widget> static Widget* Find(QWidget& view, const char* name)
    {
        auto* widget = view.findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    // Types each character as a key press with that text, Cyrillic ones too.
    static QString Typed(QLineEdit* edit, const QString& keys)
    {
        edit->clear();
        for (QChar key : keys) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(key));
            QApplication::sendEvent(edit, &press);
        }
        return edit->text();
    }

    PageDirectory directory;
    TformWays ways{directory};
    TformGPRS gprs;
    WaysPageView waysView{ways};
    GprsPageView gprsView{gprs};
};

TEST_F(WaysGprsViews, EditsTakeOnlyTheKeysTheirFieldsAllow)
{
    struct Case {
        QLineEdit* edit;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {Ways<QLineEdit>("etP1"), "+7 (900) w12-W#*", "+7900w12W"},
        {Ways<QLineEdit>("etP8"), "1234567890123456789012345678901234567890",
         "1234567890123456789012345678901"},
        {Gprs<QLineEdit>("etSIM1Phone"), "*99#x+1ab", "*99#+1"},
        {Gprs<QLineEdit>("etSIM1Port"), "30a58123", "30581"},
        {Gprs<QLineEdit>("etServerPort2"), "1-2 3456789", "12345678"},
        {Gprs<QLineEdit>("etSIM1SPSWD"), "Ab1-Ж2cdefgh", "Ab12cdef"},
        {Gprs<QLineEdit>("etServerPswd2"), "пароль99", "99"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Typed(c.edit, QString::fromUtf8(c.typed)).toStdString(), c.shown) << c.typed;

    // Pasted text is held to the same rule, and the model has what the edit shows.
    QLineEdit* phone = Ways<QLineEdit>("etP2");
    Typed(phone, "112");
    phone->insert(QStringLiteral("abc"));
    EXPECT_EQ(phone->text().toStdString(), "112");
    EXPECT_EQ(ways.Form().text("etP2"), "112");
}

TEST_F(WaysGprsViews, QueuedValuesAndMarksReachTheWidgets)
{
    TOutArray queue;
    queue.PostText({&ways.Form(), "etP3"}, "112");
    queue.PostInt({&ways.Form(), "cb3"}, 2);
    queue.PostColor({&ways.Form(), "lb3"}, "clRed");
    queue.PostBool({&ways.Form(), TformWays::AndName(3)}, true);
    queue.PostBool({&ways.Form(), "rdo1"}, true);
    queue.PostText({&gprs.Form(), "etSIM1ADDR"}, "точка.доступа");
    queue.PostInt({&gprs.Form(), "cbTime"}, 3);
    queue.PostColor({&gprs.Form(), "etServerPswd2"}, "clRed");
    queue.Drain({});

    EXPECT_EQ(Ways<QLineEdit>("etP3")->text().toStdString(), "112");
    EXPECT_EQ(Ways<QComboBox>("cb3")->currentText().toStdString(), "SMS - SIM");
    EXPECT_TRUE(Ways<QLabel>("lb3")->styleSheet().contains("color"));
    EXPECT_TRUE(Ways<QRadioButton>("rb5")->isChecked());
    EXPECT_FALSE(Ways<QRadioButton>("rb6")->isChecked());
    EXPECT_TRUE(Ways<QRadioButton>("rdo1")->isChecked());
    // Channel 4 starts a new direction: its phone field takes the next colour.
    const QColor third = Ways<QLineEdit>("etP3")->palette().color(QPalette::Base);
    EXPECT_EQ(third, WaysPageView::directionColour(0));
    EXPECT_EQ(Ways<QLineEdit>("etP4")->palette().color(QPalette::Base), WaysPageView::directionColour(1));
    EXPECT_NE(WaysPageView::directionColour(0), WaysPageView::directionColour(1));

    EXPECT_EQ(Gprs<QLineEdit>("etSIM1ADDR")->text().toStdString(), "точка.доступа");
    EXPECT_EQ(Gprs<QComboBox>("cbTime")->currentText().toStdString(), "8 минут");
    EXPECT_TRUE(Gprs<QLineEdit>("etServerPswd2")->styleSheet().contains("background"));
}

TEST_F(WaysGprsViews, TheUsersChoicesRunThePageRules)
{
    // A type chosen for channel 5 while channels 1 to 4 are free moves it to channel 1.
    QComboBox* fifth = Ways<QComboBox>("cb5");
    Typed(Ways<QLineEdit>("etP5"), "555");
    fifth->setCurrentIndex(4);
    emit fifth->activated(4);
    EXPECT_EQ(Ways<QComboBox>("cb1")->currentIndex(), 4);
    EXPECT_EQ(Ways<QLineEdit>("etP1")->text().toStdString(), "555");
    EXPECT_EQ(fifth->currentIndex(), 0);
    EXPECT_EQ(Ways<QComboBox>("cb1")->itemIcon(4).isNull(), false);

    // GPRS online offers three types and drops the offline one chosen; the GPRS page follows.
    QTest::mouseClick(Ways<QCheckBox>("CheckBox1"), Qt::LeftButton);
    EXPECT_EQ(Ways<QComboBox>("cb1")->count(), 3);
    EXPECT_EQ(Ways<QComboBox>("cb1")->currentIndex(), 0);
    EXPECT_TRUE(gprs.Form().checked("cb11"));

    // A caption beside a button clicks it.
    QTest::mouseClick(Ways<QLabel>("ldo1"), Qt::LeftButton);
    EXPECT_TRUE(ways.Form().checked("rdo1"));
    EXPECT_FALSE(ways.Form().checked("rdo2"));
    QTest::mouseClick(Gprs<QLabel>("lbP"), Qt::LeftButton);
    EXPECT_TRUE(gprs.Form().checked("cbP"));
}

} // namespace
} // namespace nvx
