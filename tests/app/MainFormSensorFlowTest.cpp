// A whole session through the real window against the emulated motion sensor on a pseudo-terminal:
// connect through the dialog, the progress window closes on "СОЕДИНЕНИЕ УСТАНОВЛЕНО", the state read
// shows, the picture button writes the four parameters and the state read back shows.
#include "app/MainForm.h"

#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "MainFormTestSupport.h"
#include "app/ConnectDlg.h"
#include "app/NvxPageView.h"
#include "app/SplashDlg.h"
#include "core/IniFile.h"
#include "shell/Session.h"
#include "tests/support/DevSimProcess.h"

namespace nvx {
namespace {

using test::ConfigFolder;
using test::ModalAnswer;

constexpr int kLinkTimeoutMs = 15000;

int NoteShown(Session& session)
{
    return session.SensorPage().Form().get("RzRichEdit1").value;
}

TEST(MainFormSensorFlow, ConnectsShowsTheStateAndSwitchesPetImmunity)
{
    test::DevSimProcess sensor({"--device", "sensor"});
    ConfigFolder config;
    Session session;
    TForm1 window(session);
    const ModalAnswer<TdlgConnect> dialog([&](TdlgConnect& shown) {
        session.ConnectDialog().setText("ComPorts", sensor.portPath());
        shown.findChild<QPushButton*>("OKBtn")->click();
    });
    window.show();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return session.MainForm().enabled("mnuDisconnect") && !QApplication::activeModalWidget(); },
        kLinkTimeoutMs))
        << sensor.trace();

    EXPECT_EQ(session.Splash().text("Panel2"), "СОЕДИНЕНИЕ УСТАНОВЛЕНО");
    EXPECT_FALSE(window.findChild<TdlgSplash*>()->isVisible());
    auto* view = qobject_cast<NvxPageView*>(window.findChild<QStackedWidget*>("PageArea")->currentWidget());
    ASSERT_TRUE(view);
    EXPECT_EQ(NoteShown(session), TFormNVX::kNoteOff);
    // The choices are on disk as soon as the connection stands.
    IniFile ini(config.file("current.ini").toStdString());
    ASSERT_TRUE(ini.Load());
    EXPECT_EQ(ini.ReadString("Connect", "ComPort", ""), sensor.portPath());

    const std::size_t before = sensor.wireLog().size();
    view->findChild<QToolButton*>("CatButton")->click();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return session.SensorPage().Form().enabled("CatButton") && NoteShown(session) == TFormNVX::kNoteOn;
        },
        kLinkTimeoutMs))
        << sensor.trace();

    const std::string sent = sensor.wireLog().substr(before);
    std::size_t at = 0;
    for (const char* command : {"+pA=11\r", "+pV=14\r", "+pC=061E\r", "+pP=03\r", "+pAVCP\r"}) {
        const std::size_t found = sent.find(command, at);
        ASSERT_NE(found, std::string::npos) << command << " not sent after " << at << " in:\n" << sent;
        at = found + 1;
    }
    EXPECT_EQ(sensor.state()["A"], "11");

    window.close();
    EXPECT_FALSE(session.LinkExists());
}

}  // namespace
}  // namespace nvx
