// The online event log page on screen: the grid of events with its seven columns, the listening,
// clear and export buttons, the filter mode, and the export's progress or outcome, all mirrored
// from the page's model. Interface thread only.
#pragma once

#include <QWidget>
#include <filesystem>
#include <optional>
#include <string>

class QLabel;
class QPushButton;
class QTableView;
class QTimer;

namespace nvx {

class OnlineLogTableModel;
class TformHonline;

class HonlinePageView : public QWidget {
    Q_OBJECT
public:
    explicit HonlinePageView(TformHonline& page, QWidget* parent = nullptr);
    ~HonlinePageView() override;

    // The save dialog of the export: the chosen file, nothing when cancelled.
    std::optional<std::filesystem::path> askExportFile();

private:
    void refresh(const std::string& name);
    void refreshGrid();
    void applyColumnWidths();
    void showBusy(bool busy);

    TformHonline& page_;
    int subscription_ = 0;
    OnlineLogTableModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    QLabel* filter_ = nullptr;
    QLabel* exportMessage_ = nullptr;
    QTimer* syncTimer_ = nullptr;
    bool gridRefreshPending_ = false;
    bool busyCursor_ = false;
};

}  // namespace nvx
