#include "app/DemoSwitches.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <memory>

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

// Connected, the progress window gone and the shown page's read finished.
bool PageReadShown(Session& session, bool& readStarted)
{
    if (!session.LinkExists() || !session.MainForm().enabled("mnuDisconnect") || QApplication::activeModalWidget())
        return false;
    if (!readStarted) {
        session.ReadPageCommand();
        readStarted = true;
        return false;
    }
    return session.Link()->Job() == 0;
}

void ScreenshotWhenShown(TForm1& window, Session& session, const QString& path, int pageId)
{
    auto* poll = new QTimer(&window);
    QElapsedTimer waited;
    waited.start();
    auto readStarted = std::make_shared<bool>(false);
    QObject::connect(poll, &QTimer::timeout, &window, [&window, &session, path, poll, waited, pageId, readStarted] {
        const bool shown = pageId == 0 ? SensorStateShown(session) : PageReadShown(session, *readStarted);
        if (!shown) {
            if (waited.elapsed() < kGiveUpMs)
                return;
            std::fprintf(stderr, "nvx-config: the page did not show within %lld s\n",
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
    bool numbered = false;
    const int pageId = qEnvironmentVariableIntValue("NVX_PAGE", &numbered);
    if (numbered)
        session.SelectPage(pageId);
    if (const QString path = qEnvironmentVariable("NVX_SCREENSHOT"); !path.isEmpty())
        ScreenshotWhenShown(window, session, path, numbered ? pageId : 0);
}

}  // namespace nvx
