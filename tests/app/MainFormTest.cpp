// The main window without a device: start-up on an empty settings folder, the first activation's
// connection dialog, the settings files written at exit, the window geometry, the message log's file.
#include "app/MainForm.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "MainFormTestSupport.h"
#include "app/ConnectDlg.h"
#include "app/NvxPageView.h"
#include "core/Codec.h"
#include "core/IniFile.h"
#include "device/FactoryDefaults.h"
#include "shell/Session.h"

namespace nvx {
namespace {

using test::ConfigFolder;
using test::ModalAnswer;

IniFile Loaded(const QString& path)
{
    IniFile ini(path.toStdString());
    EXPECT_TRUE(ini.Load());
    return ini;
}

TEST(MainForm, StartsOnTheSensorPageAsksOnceForTheConnectionAndWritesItsSettingsAtExit)
{
    ConfigFolder config;
    {
        Session session;
        TForm1 window(session);
        const ModalAnswer<TdlgConnect> asked([](TdlgConnect& dialog) { dialog.reject(); });
        window.show();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return asked.done() && !QApplication::activeModalWidget(); }, 5000));

        EXPECT_EQ(window.windowTitle(),
                  QStringLiteral("Настройка \"Датчик движения с защитой от животных\" v " NVX_VERSION));
        EXPECT_TRUE(qobject_cast<NvxPageView*>(window.findChild<QStackedWidget*>("PageArea")->currentWidget()));
        EXPECT_FALSE(window.findChild<QTreeWidget*>("tv1")->isVisible());
        // Cancelled: nothing changed.
        EXPECT_FALSE(session.LinkExists());
        EXPECT_TRUE(window.findChild<QAction*>("tbtnConnect")->isEnabled());
        EXPECT_FALSE(window.findChild<QAction*>("tbtnDisconnect")->isEnabled());

        // Only the first activation asks.
        window.hide();
        const ModalAnswer<TdlgConnect> again([](TdlgConnect& dialog) { dialog.reject(); });
        window.show();
        QTest::qWait(200);
        EXPECT_FALSE(again.done());
    }
    const IniFile ini = Loaded(config.file("current.ini"));
    EXPECT_TRUE(ini.ReadBool("Connect", "rb1", false));
    EXPECT_FALSE(ini.ReadBool("Connect", "rb2", true));
    EXPECT_EQ(ini.ReadString("Connect", "MasterKey", ""), kFactoryMasterKey);
    EXPECT_TRUE(ini.ReadBool("Connect", "RTS", false));
    EXPECT_TRUE(ini.ValueExists("Debug", "Memo"));
    EXPECT_TRUE(ini.ValueExists("Debug", "Log"));
    EXPECT_TRUE(Loaded(config.file("windows.ini")).ValueExists("Form1", "xForm.Left"));
}

TEST(MainForm, KeyboardCommandsReachTheShellBeforeTheControls)
{
    ConfigFolder config;
    Session session;
    TForm1 window(session);
    const ModalAnswer<TdlgConnect> asked([](TdlgConnect& dialog) { dialog.reject(); });
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return asked.done() && !QApplication::activeModalWidget(); }, 5000));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QWidget* focused = window.findChild<QWidget*>("pnlLog")->findChild<QPlainTextEdit*>("Memo1");
    focused->setFocus();

    auto* tree = window.findChild<QTreeWidget*>("tv1");
    const int nodes = tree->topLevelItemCount();
    QTest::keyClick(focused, Qt::Key_R, Qt::ControlModifier | Qt::AltModifier);
    const auto relays = tree->findItems(QStringLiteral("Радиореле"), Qt::MatchExactly);
    ASSERT_EQ(relays.size(), 1);
    EXPECT_EQ(relays[0]->childCount(), 5);
    QTest::keyClick(focused, Qt::Key_R, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(tree->topLevelItemCount(), nodes);
    EXPECT_TRUE(tree->findItems(QStringLiteral("Радиореле"), Qt::MatchExactly).isEmpty());

    QTest::keyClick(focused, Qt::Key_D, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return focused->property("plainText").toString().endsWith("Режим фильтрации включен"); },
        2000));
}

TEST(MainForm, FirmwareFromFileIsUnlockedOnlyByItsKey)
{
    const std::pair<const char*, bool> cases[] = {{"zobqex", true}, {"Zobqex", false}, {"", false}};
    for (const auto& [key, unlocked] : cases) {
        SCOPED_TRACE(key);
        ConfigFolder config;
        config.write("current.ini", std::string("[Update]\r\nUpdatePanelVersion=") + key + "\r\n");
        Session session;
        TForm1 window(session);
        EXPECT_EQ(window.findChild<QAction*>("mnuUpdate")->isVisible(), unlocked);
        QStatusBar* bar = window.statusBar();
        EXPECT_EQ(bar->findChild<QProgressBar*>("ProgressBar1")->isVisibleTo(bar), unlocked);
    }
}

TEST(MainForm, ReportsSettingsThatCannotBeSaved)
{
    ConfigFolder config;
    ASSERT_TRUE(QDir().mkdir(config.file("current.ini")));  // a folder where the file belongs
    QString reported;
    const ModalAnswer<QMessageBox> answer([&](QMessageBox& box) {
        reported = box.text();
        box.accept();
    });
    {
        Session session;
        TForm1 window(session);
    }
    EXPECT_TRUE(reported.contains("current.ini")) << reported.toStdString();
}

TEST(MainForm, KeepsItsGeometryInWindowsIni)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    struct Case {
        const char* name;
        std::string windowsIni;
        QRect expected;  // null: centred on the screen, size only
        QSize size;
    };
    const Case cases[] = {
        {"placed", "[Form1]\r\nxForm.Left=30\r\nxForm.Top=40\r\nxForm.Width=500\r\nxForm.Height=400\r\n",
         QRect(30, 40, 500, 400), {}},
        {"no left edge", "[Form1]\r\nxForm.Top=40\r\nxForm.Width=500\r\nxForm.Height=400\r\n", {},
         {500, 400}},
        {"off every screen",
         "[Form1]\r\nxForm.Left=9000\r\nxForm.Top=40\r\nxForm.Width=500\r\nxForm.Height=400\r\n", {},
         {500, 400}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ConfigFolder config;
        config.write("windows.ini", c.windowsIni);
        Session session;
        TForm1 window(session);
        EXPECT_FALSE(window.isMaximized());
        if (c.expected.isValid()) {
            EXPECT_EQ(window.geometry(), c.expected);
        } else {
            EXPECT_EQ(window.geometry().size(), c.size);
            EXPECT_LE((window.geometry().center() - screen.center()).manhattanLength(), 2);
        }
    }

    ConfigFolder config;
    {
        Session session;
        TForm1 window(session);
        window.setGeometry(30, 40, 500, 400);
        window.setWindowState(Qt::WindowMaximized);
    }
    EXPECT_TRUE(Loaded(config.file("windows.ini")).ReadBool("Form1", "xForm.WindowState", false));
    Session session;
    TForm1 window(session);
    EXPECT_TRUE(window.isMaximized());
    EXPECT_EQ(window.normalGeometry(), QRect(30, 40, 500, 400));
}

TEST(MainForm, SavesTheMessageLogInCp1251AndReportsAFailedSave)
{
    ConfigFolder config;
    Session session;
    TForm1 window(session);
    session.Queue().PostLog("Режим фильтрации включен", true, false);
    session.Queue().PostLog("<- com:  OK", true, false);
    session.Tick();
    // Pages have controls of the same names; the log's own button sits on the log panel.
    auto* save = window.findChild<QWidget*>("pnlLog")->findChild<QPushButton*>("RzBitBtn2");
    ASSERT_TRUE(save);
    EXPECT_EQ(save->text(), QStringLiteral("Сохранить"));

    // `beforeWrite` runs once the file is chosen, before the log is written to it.
    auto saveAs = [&](const QString& path, const std::function<void()>& beforeWrite) {
        const QString chosen = path.endsWith(".txt") ? path : path + ".txt";  // the extension is added
        const ModalAnswer<QFileDialog> answer([&](QFileDialog& dialog) {
            // The dialog leaves its file name alone while that field has the focus, which it gets
            // some time after opening.
            EXPECT_TRUE(QTest::qWaitFor(
                [&] {
                    if (QWidget* focused = dialog.focusWidget())
                        focused->clearFocus();
                    dialog.selectFile(path);
                    return dialog.selectedFiles() == QStringList{chosen};
                },
                5000));
            static_cast<QDialog&>(dialog).accept();  // through the public slot
            beforeWrite();
        });
        save->click();
        EXPECT_TRUE(answer.done());
    };
    saveAs(config.file("журнал"), [] {});
    EXPECT_EQ(config.read("журнал.txt"), ToCp1251("Режим фильтрации включен\r\n<- com:  OK\r\n"));

    QString reported;
    const ModalAnswer<QMessageBox> answer([&](QMessageBox& box) {
        reported = box.text();
        box.accept();
    });
    // The file dialog refuses a folder that does not exist; this one goes after the choice.
    const QString folder = config.file("папка");
    ASSERT_TRUE(QDir().mkdir(folder));
    saveAs(folder + "/журнал.txt", [&] { QDir(folder).removeRecursively(); });
    EXPECT_TRUE(answer.done());
    EXPECT_TRUE(reported.contains(QStringLiteral("журнал.txt"))) << reported.toStdString();
}

}  // namespace
}  // namespace nvx
