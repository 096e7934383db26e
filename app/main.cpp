// The window program: the shell session and its main window, until the window closes. The main
// thread is the interface thread. No command line beyond Qt's own.
#include <QApplication>
#include <QLocale>

#include "app/DemoSwitches.h"
#include "app/MainForm.h"
#include "shell/Session.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));

    // The session outlives the window, whose widgets show the session's models.
    nvx::Session session;
    nvx::TForm1 window(session);
    nvx::ApplyDemoSwitches(window, session);
    window.show();
    return app.exec();
}
