#include "app/ConnectDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "device/FactoryDefaults.h"
#include "serial/PortList.h"
#include "shell/ConnectDialogRules.h"
#include "shell/Session.h"

namespace nvx {
namespace {

class ConnectDialog : public ::testing::Test {
protected:
    template <typename Widget> Widget* child(const char* name)
    {
        auto* widget = dialog_.findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    static QStringList Texts(const QComboBox* combo)
    {
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        return texts;
    }

    Session session_;
    TdlgConnect dialog_{session_};
};

TEST_F(ConnectDialog, ShowsTheSystemPortsAndOkLeavesTheChosenOneInTheModel)
{
    QStringList expected;
    for (const std::string& item : PortItems(ListSerialPorts()))
        expected << QString::fromStdString(item);
    dialog_.show();
    auto* ports = child<QComboBox>("ComPorts");
    ASSERT_TRUE(ports);
    EXPECT_TRUE(ports->isEditable());
    EXPECT_EQ(Texts(ports), expected);
    EXPECT_EQ(dialog_.windowTitle(), "Подключение к датчику");

    ports->setCurrentIndex(ports->count() - 1);
    child<QPushButton>("OKBtn")->click();
    EXPECT_EQ(dialog_.result(), QDialog::Accepted);
    EXPECT_EQ(session_.ChoiceFromDialog().portText, expected.last().toStdString());

    // A typed path is a port of its own and survives the next showing's refresh.
    dialog_.show();
    ports->clearEditText();
    QTest::keyClicks(ports->lineEdit(), "/dev/pts/5");
    child<QPushButton>("OKBtn")->click();
    dialog_.hide();
    dialog_.show();
    EXPECT_EQ(ports->currentText(), "/dev/pts/5");
    EXPECT_EQ(PortNameOf(session_.ChoiceFromDialog().portText), "/dev/pts/5");
}

TEST_F(ConnectDialog, HiddenControlsKeepTheirRules)
{
    dialog_.show();
    EXPECT_FALSE(child<QRadioButton>("rb2")->isVisible());
    EXPECT_FALSE(child<QComboBox>("Phones")->isEnabled());
    child<QRadioButton>("rb2")->click();
    EXPECT_TRUE(session_.ConnectDialog().checked("rb2"));
    EXPECT_TRUE(child<QComboBox>("Phones")->isEnabled());

    auto* key = child<QLineEdit>("meMasterKey");
    key->clear();
    QTest::keyClicks(key, "1g-A z9");
    EXPECT_EQ(key->text(), "1A9");
    EXPECT_EQ(session_.ConnectDialog().text("meMasterKey"), "1A9");

    key->clear();
    session_.ConnectDialog().setText("meMasterKey", "");
    QFocusEvent leave(QEvent::FocusOut);
    QApplication::sendEvent(key, &leave);
    EXPECT_EQ(key->text(), kFactoryMasterKey);
}

} // namespace
} // namespace nvx
