// The online event log page's view at the window's size: rows shown as the queue appends them, the
// buttons and labels mirroring the page, the column widths, and the export through its save dialog.
#include "app/HonlinePageView.h"

#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <chrono>
#include <filesystem>
#include <thread>

#include "core/OutArray.h"
#include "device/DevVeltra.h"
#include "events/f_honline.h"

namespace nvx {
namespace {

namespace fs = std::filesystem;

class HonlineView : public ::testing::Test {
protected:
    void SetUp() override
    {
        view.resize(1280, 800);
        view.show();
        Settle();
    }
    void Settle()
    {
        queue.Drain({});
        device.Calls().RunPending();
        QApplication::processEvents();
    }
    void Feed(const std::string& input)
    {
        page.DecodeOnlineEvent(input);
        Settle();
    }
    QTableView* Table() { return view.findChild<QTableView*>(TformHonline::kGrid); }
    QString Cell(int row, int column) { return Table()->model()->index(row, column).data().toString(); }
    template <typename W>
    W* Find(const char* name)
    {
        return view.findChild<W*>(QString::fromLatin1(name));
    }

    TOutArray queue;
    TDevVeltra device{queue};
    TformHonline page{device};
    HonlinePageView view{page};
};

TEST_F(HonlineView, RowsAppearInOrderWithTheNewestSelectedAndGoOnClear)
{
    EXPECT_EQ(Table()->model()->rowCount(), 0);  // the unused first row is not an event
    EXPECT_EQ(Table()->model()->headerData(6, Qt::Horizontal).toString(), QStringLiteral("Ослабление сигнала, dBm"));

    Feed("01Z0533\r\n-85");
    Feed("01K01#1\r\n-120");
    ASSERT_EQ(Table()->model()->rowCount(), 3);
    EXPECT_EQ(Cell(0, 0), QStringLiteral("1"));
    EXPECT_EQ(Cell(0, 4), QStringLiteral("Тревога"));
    EXPECT_EQ(Cell(1, 4), QStringLiteral("Восстановление"));
    EXPECT_EQ(Cell(2, 2), QStringLiteral("Клавиатура"));
    EXPECT_EQ(Cell(2, 6), QStringLiteral("-20"));
    EXPECT_EQ(Table()->selectionModel()->selectedRows().value(0).row(), 2);

    Find<QPushButton>("btnClear")->click();
    Settle();
    EXPECT_EQ(Table()->model()->rowCount(), 0);
    Feed("01B0A02\r\n-60");
    ASSERT_EQ(Table()->model()->rowCount(), 1);
    EXPECT_EQ(Cell(0, 0), QStringLiteral("1"));
    EXPECT_EQ(Cell(0, 5), QStringLiteral("Снятие с охраны"));
}

TEST_F(HonlineView, ButtonsAndLabelsMirrorThePage)
{
    auto* listen = Find<QPushButton>("btnCon");
    EXPECT_EQ(listen->text(), QString::fromUtf8(TformHonline::kListenCaption));
    EXPECT_FALSE(listen->isEnabled());
    EXPECT_EQ(Find<QPushButton>("Button1")->text(), QStringLiteral("Экспорт истории в Excel"));
    EXPECT_EQ(Find<QPushButton>("btnClear")->text(), QStringLiteral("Очистить таблицу истории"));
    EXPECT_EQ(Find<QLabel>("lbFilter")->text(), QStringLiteral("Режим фильтрации отключен"));

    device.filterMode = true;
    QTest::qWait(400);  // the view looks at the filter mode periodically
    EXPECT_EQ(Find<QLabel>("lbFilter")->text(), QStringLiteral("Режим фильтрации включен"));
}

TEST_F(HonlineView, ColumnsAreReadableAndKeepTheirWidths)
{
    QHeaderView* header = Table()->horizontalHeader();
    Feed("01Z0501\r\n-85");
    int total = 0;
    for (int column = 0; column < 7; ++column) {
        const int width = header->sectionSize(column);
        total += width;
        EXPECT_GE(width, TformHonline::kDefaultWidths[column]) << column;
        for (const QString& word : Table()->model()->headerData(column, Qt::Horizontal).toString().split(' '))
            EXPECT_GT(width, header->fontMetrics().horizontalAdvance(word)) << column;
    }
    for (int column : {2, 3, 4, 5})
        EXPECT_EQ(header->sectionSize(column), TformHonline::kDefaultWidths[column]) << column;
    EXPECT_GT(header->sectionSize(1), Table()->fontMetrics().horizontalAdvance(Cell(0, 1)));
    EXPECT_LE(total, Table()->viewport()->width()) << "every column fits the page at 1280 x 800";

    header->resizeSection(5, 300);
    EXPECT_EQ(page.ColumnWidth(5), 300);
}

TEST_F(HonlineView, ExportAsksForAnXlsFileAndSaysWhereItWent)
{
    const fs::path dir = fs::path(testing::TempDir()) / "honline-view-export";
    fs::remove_all(dir);
    fs::create_directories(dir);
    Feed("01Z0501\r\n-85");

    QString filter;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        filter = dialog->nameFilters().value(0);
        dialog->selectFile(QString::fromStdString((dir / "журнал").string()));
        static_cast<QDialog*>(dialog)->accept();  // as the dialog's own Save button does
    });
    Find<QPushButton>("Button1")->click();
    EXPECT_EQ(filter, QStringLiteral("Microsoft Excel(*.xls)"));

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (page.Exporting() && std::chrono::steady_clock::now() < deadline) {
        EXPECT_NE(QApplication::overrideCursor(), nullptr);
        Settle();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    Settle();
    EXPECT_TRUE(fs::exists(dir / "журнал.xls"));
    EXPECT_TRUE(Find<QLabel>("lbExport")->text().startsWith(QStringLiteral("Журнал сохранён в файл")))
        << Find<QLabel>("lbExport")->text().toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(Find<QPushButton>("Button1")->isEnabled());
    fs::remove_all(dir);
}

}  // namespace
}  // namespace nvx
