#include "app/DemoSwitches.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

#include "app/MainForm.h"
#include "shell/Session.h"

namespace nvx {

namespace {

constexpr int kPollMs = 100;
constexpr int kSettleMs = 500;  // lets the page lay out and paint the new state
constexpr qint64 kGiveUpMs = 30000;

// Connected, the progress window gone and the sensor's note chosen by a read.
bool SensorStateShown(Session& session)
{
    return session.LinkExists() && session.MainForm().enabled("mnuDisconnect") &&
           !QApplication::activeModalWidget() && session.SensorPage().Form().get("RzRichEdit1").value != 0;
}

void ScreenshotWhenShown(TForm1& window, Session& session, const QString& path)
{
    auto* poll = new QTimer(&window);
    QElapsedTimer waited;
    waited.start();
    QObject::connect(poll, &QTimer::timeout, &window, [&window, &session, path, poll, waited] {
        if (!SensorStateShown(session)) {
            if (waited.elapsed() < kGiveUpMs)
                return;
            std::fprintf(stderr, "nvx-config: the sensor state did not show within %lld s\n",
                         static_cast<long long>(kGiveUpMs / 1000));
            QCoreApplication::exit(2);
            return;
        }
        poll->stop();
        QTimer::singleShot(kSettleMs, &window, [&window, path] {
            const bool saved = window.grab().save(path, "PNG");
            if (!saved)
                std::fprintf(stderr, "nvx-config: cannot write %s\n", qPrintable(path));
            QCoreApplication::exit(saved ? 0 : 1);
        });
    });
    poll->start(kPollMs);
}

}  // namespace

void ApplyDemoSwitches(TForm1& window, Session& session)
{
    if (qEnvironmentVariable("NVX_AUTOCONNECT") == QLatin1String("1"))
        window.setConnectDialogSkipped(true);
    if (const QString path = qEnvironmentVariable("NVX_SCREENSHOT"); !path.isEmpty())
        ScreenshotWhenShown(window, session, path);
}

}  // namespace nvx
