// The main window "Form1": shows the program shell (Session) and runs its commands, drains the update
// queue every 100 ms, and keeps current.ini and windows.ini. Interface thread only.
#pragma once

#include <QMainWindow>
#include <QString>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/WindowGeometry.h"
#include "core/IniFile.h"

class QCloseEvent;
class QLabel;
class QPlainTextEdit;
class QShowEvent;
class QSplitter;
class QStackedWidget;
class QToolBar;

namespace nvx {

class FormModel;
class ModelBinder;
class Session;
class TdlgConnect;
class TdlgSplash;
class TFormAbout;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // Runs the start-up: current.ini from the settings folder (held for the run), geometry from
    // windows.ini, the page tree with the motion-sensor page shown and the tree hidden. The session
    // must outlive the window: its models are what the widgets show.
    explicit TForm1(Session& session, QWidget* parent = nullptr);
    // Stops the link, then writes windows.ini and current.ini; a failed write is reported.
    ~TForm1() override;

    // "Настройка "Датчик движения с защитой от животных" v <version>".
    static QString Caption();

    const std::filesystem::path& settingsFolder() const { return settingsFolder_; }

    // The connect command: connection dialog, link, progress window; current.ini is written as soon
    // as the connection is established.
    void connectCommand();
    // Demonstrations: connect with the values loaded from current.ini instead of asking.
    void setConnectDialogSkipped(bool skipped) { connectDialogSkipped_ = skipped; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildCommands();
    void buildCentralArea();
    void buildStatusBar();
    void buildPageViews();
    void setCommand(const std::string& controlName, std::function<void()> command);
    std::vector<KeptSize> keptSizes();

    void drainQueue();
    void appendLog(const std::string& line);
    void showMessage(const std::string& text);
    void showStatusPanels();
    void saveLogCommand();
    void saveProfileCommand();
    void loadProfileCommand();
    void saveSettings();
    void reportFailure(const IniFile::Result& result);

    Session& session_;
    FormModel& form_;
    std::filesystem::path settingsFolder_;
    IniFile settings_;
    bool connectDialogSkipped_ = false;
    bool activated_ = false;
    bool connecting_ = false;

    QTimer queueTimer_;
    ModelBinder* binder_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QSplitter* upperSplitter_ = nullptr;
    QSplitter* logSplitter_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QWidget* noPage_ = nullptr;
    QPlainTextEdit* log_ = nullptr;
    std::vector<QLabel*> statusPanels_;
    TdlgSplash* splash_ = nullptr;
    TdlgConnect* connectDialog_ = nullptr;
    TFormAbout* about_ = nullptr;

    // What this window hooked into the session's models, undone when it goes.
    std::vector<std::string> commandNames_;
    std::vector<std::pair<FormModel*, int>> subscriptions_;
};

}  // namespace nvx
