// The main window's page pane at 1280 x 800, for the page view tests: its size, showing a view at it
// and whether the view's content fits. Interface thread.
#pragma once

#include <QByteArray>
#include <QScrollArea>
#include <QString>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace nvx::test {

// The tree collapsed, below the menu and the tool bar, above the message log.
constexpr int kPaneWidth = 1270;
constexpr int kPaneHeight = 520;

// False when the window system did not expose the view.
inline bool ShowInPane(QWidget& view)
{
    view.resize(kPaneWidth, kPaneHeight);
    view.show();
    return QTest::qWaitForWindowExposed(&view);
}

// Whether the content of the view's scroll area needs no scrolling either way.
inline ::testing::AssertionResult ContentFitsPane(const QWidget& view)
{
    const QSize needed = view.findChild<QScrollArea*>()->widget()->minimumSizeHint();
    if (needed.width() <= kPaneWidth && needed.height() <= kPaneHeight)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the content needs " << needed.width() << " x " << needed.height();
}

// Saves the view to the file NVX_SCREENSHOT names, for looking at a page by eye.
inline void SaveScreenshotIfAsked(QWidget& view)
{
    if (const QByteArray shot = qgetenv("NVX_SCREENSHOT"); !shot.isEmpty())
        view.grab().save(QString::fromLocal8Bit(shot));
}

}  // namespace nvx::test
