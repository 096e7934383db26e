// The history page on offscreen widgets at the window's size: the grid as the queue fills it, with
// readable columns and the event colours, the position field's filter, the progress of a read, and
// the waiting window that the queue shows and hides. NVX_GRAB_DIR=folder keeps a picture of the page.
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <gtest/gtest.h>

#include "app/HistoryPageView.h"
#include "app/WaitingWindow.h"
#include "device/PageDirectory.h"
#include "events/EventMessageTable.h"
#include "events/HistoryFormats.h"
#include "shell/Session.h"

namespace nvx {
namespace {

class HistoryPageViewTest : public ::testing::Test {
protected:
    HistoryPageViewTest()
    {
        view.resize(1280, 800);
        view.show();
        QApplication::processEvents();
    }

    // What the link posts for a page: each record's cells, through the update queue.
    void PostRecord(int row, std::uint16_t number, const std::string& record)
    {
        HistoryRow decoded = DecodeHistoryRecord(number, record, [](int) { return std::string("SMS"); });
        FillEventText(decoded, events);
        for (std::size_t column = 0; column < kHistoryColumnCount; ++column)
            session.Queue().PostCell({&page.Form(), "StringGrid1"}, decoded.cells[column], row,
                                     static_cast<int>(column));
    }
    void Drain()
    {
        session.Tick();
        QApplication::processEvents();
    }
    template <class Widget> Widget* Find(const char* name)
    {
        auto* widget = view.findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    Session session;
    TformHistory& page = static_cast<TformHistory&>(*session.Page(page_id::kHistory));
    const TMsgFile events = LoadEventMessageTable();
    HistoryPageView view{page};
};

TEST_F(HistoryPageViewTest, ShowsThePageTheQueueFillsReadablyAndInTheEventColours)
{
    PostRecord(32, 98, "00:01:38 15/04/10 7FFE 1234183130030983"); // restore, code 130
    PostRecord(2, 99, "00:39:33 16/04/10 7FFE 123418113001099E");  // alarm, code 130
    session.Queue().PostCell({&page.Form(), "StringGrid1"}, "Ошибка", 1, kColAccount);
    const char* messages[] = {"1234184011000029", "1234181130010019", "1234183130010017"};
    for (int row = 3; row < 32; ++row)
        PostRecord(row, static_cast<std::uint16_t>(100 - row),
                   std::string("12:34:56 01/02/10 ") + (row % 4 ? "7FFE " : "FEFC ") + messages[row % 3]);
    Drain();

    auto* grid = Find<QTableWidget>("StringGrid1");
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->rowCount(), TformHistory::kPageRecords);
    ASSERT_EQ(grid->columnCount(), static_cast<int>(kHistoryColumnCount));
    EXPECT_EQ(grid->horizontalHeaderItem(kColAlarmRestore)->text(), QStringLiteral("Т\\В"));
    EXPECT_EQ(grid->item(31, kColNumber)->text(), QStringLiteral("98"));
    EXPECT_EQ(grid->item(1, kColEventText)->text(), QString::fromStdString(events.TextOf("1301")));
    EXPECT_EQ(grid->item(0, kColAccount)->text(), QStringLiteral("Ошибка"));
    EXPECT_EQ(grid->item(1, kColNumber)->background().color(),
              HistoryPageView::colourOf(events.BackColorOf("1301")));
    EXPECT_EQ(grid->item(31, kColNumber)->background().color(),
              HistoryPageView::colourOf(events.BackColorOf("1303")));
    EXPECT_EQ(grid->item(0, kColNumber)->background().color(), QColor(Qt::white));

    // Every column at least as wide as its stored width, its header and its texts.
    const QFontMetrics metrics = grid->fontMetrics();
    for (int column = 0; column + 1 < grid->columnCount(); ++column) {
        const int width = grid->columnWidth(column);
        EXPECT_GE(width, page.ColumnWidth(static_cast<std::size_t>(column))) << column;
        EXPECT_GE(width, grid->horizontalHeader()->sectionSizeHint(column)) << column;
        for (int row = 1; row < 32; ++row)
            EXPECT_GT(width, metrics.horizontalAdvance(grid->item(row, column)->text())) << column;
    }
    EXPECT_LE(grid->horizontalHeader()->length(), grid->viewport()->width() + 1); // no sideways scrolling

    if (const QByteArray dir = qgetenv("NVX_GRAB_DIR"); !dir.isEmpty())
        view.grab().save(QString::fromLocal8Bit(dir) + "/history_page_1280x800.png");

    // A width the user drags is the page's to keep.
    grid->horizontalHeader()->resizeSection(kColMessage, 260);
    EXPECT_EQ(page.ColumnWidth(kColMessage), 260);
}

TEST_F(HistoryPageViewTest, PositionFieldTakesFourHexadecimalDigitsInUpperCase)
{
    page.Form().setVisible("Edit1", true);
    Drain();
    auto* edit = Find<QLineEdit>("Edit1");
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    for (QChar key : QStringLiteral("1gЖ2f:a9")) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(key));
        QApplication::sendEvent(edit, &press);
    }
    Drain();
    EXPECT_EQ(edit->text(), QStringLiteral("12FA"));
    EXPECT_EQ(page.Form().text("Edit1"), "12FA");
}

TEST_F(HistoryPageViewTest, QueueShowsProgressAndTheWaitingWindow)
{
    TOutArray& queue = session.Queue();
    auto* progress = Find<QProgressBar>(TformHistory::kProgress);
    auto* stop = Find<QPushButton>(TformHistory::kStop);
    auto* waiting = view.findChild<TFormWaiting*>();
    ASSERT_TRUE(progress && stop && waiting);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_FALSE(stop->isEnabled());

    queue.PostText({&page.Form(), TformHistory::kProgress}, "show");
    queue.PostInt({&page.Form(), TformHistory::kProgress}, 40);
    queue.PostBool({&page.Form(), TformHistory::kStop}, true);
    queue.PostText({&page.Form(), TformHistory::kWaitingWindow}, "show");
    Drain();
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->value(), 40);
    EXPECT_TRUE(stop->isEnabled());
    ASSERT_TRUE(waiting->isVisible());
    EXPECT_EQ(waiting->text(), QString::fromUtf8(TformHistory::kWaitingText));
    EXPECT_TRUE(waiting->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_LT(waiting->windowOpacity(), 1.0);
    EXPECT_LE((waiting->frameGeometry().center() - view.window()->frameGeometry().center()).manhattanLength(),
              2);

    stop->click();
    EXPECT_TRUE(session.Device().abortState); // the stop command

    queue.PostText({&page.Form(), TformHistory::kWaitingWindow}, "hide");
    queue.PostText({&page.Form(), TformHistory::kProgress}, "hide");
    Drain();
    EXPECT_FALSE(waiting->isVisible());
    EXPECT_FALSE(progress->isVisible());
}

} // namespace
} // namespace nvx
