#include "app/WindowGeometry.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace nvx {

namespace {

constexpr const char* kLeft = "xForm.Left";
constexpr const char* kTop = "xForm.Top";
constexpr const char* kHeight = "xForm.Height";
constexpr const char* kWidth = "xForm.Width";
constexpr const char* kWindowState = "xForm.WindowState";
constexpr int kUnreadableSize = 100;

// Whether a person could reach the window's title: a placement from another monitor layout may not.
bool OnSomeScreen(const QRect& rect)
{
    return QGuiApplication::screenAt(QPoint(rect.center().x(), rect.top() + 10)) != nullptr;
}

QRect CentredOnScreen(const QWidget& window, const QSize& size)
{
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return QRect(QPoint(0, 0), size);
    return QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, screen->availableGeometry());
}

}  // namespace

WindowGeometry::WindowGeometry(std::filesystem::path file, std::string section)
    : file_(std::move(file)), section_(std::move(section))
{
}

IniFile::Result WindowGeometry::Save(const QWidget& window, const std::vector<KeptSize>& sizes) const
{
    IniFile ini(file_);
    if (IniFile::Result loaded = ini.Load(); !loaded)
        return loaded;
    const bool maximised = window.isMaximized();
    const QRect placement = maximised ? window.normalGeometry() : window.geometry();
    ini.WriteInteger(section_, kLeft, placement.x());
    ini.WriteInteger(section_, kTop, placement.y());
    ini.WriteInteger(section_, kHeight, placement.height());
    ini.WriteInteger(section_, kWidth, placement.width());
    ini.WriteBool(section_, kWindowState, maximised);
    for (const KeptSize& size : sizes)
        ini.WriteInteger(section_, size.key, size.read());
    return ini.Save();
}

void WindowGeometry::Load(QWidget& window, const std::vector<KeptSize>& sizes) const
{
    IniFile ini(file_);
    (void)ini.Load();  // an unreadable file gives the defaults, like a missing one

    QRect placement = window.geometry();
    const bool hasLeft = ini.ValueExists(section_, kLeft);
    if (hasLeft)
        placement.moveLeft(ini.ReadInteger(section_, kLeft, placement.x()));
    if (ini.ValueExists(section_, kTop))
        placement.moveTop(ini.ReadInteger(section_, kTop, placement.y()));
    if (ini.ValueExists(section_, kHeight))
        placement.setHeight(ini.ReadInteger(section_, kHeight, placement.height()));
    if (ini.ValueExists(section_, kWidth))
        placement.setWidth(ini.ReadInteger(section_, kWidth, placement.width()));
    if (!hasLeft || !OnSomeScreen(placement))
        placement = CentredOnScreen(window, placement.size());
    window.setGeometry(placement);

    for (const KeptSize& size : sizes)
        if (size.apply && ini.ValueExists(section_, size.key))
            size.apply(ini.ReadInteger(section_, size.key, kUnreadableSize));

    if (ini.ReadBool(section_, kWindowState, false))
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

}  // namespace nvx
