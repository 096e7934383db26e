// The history page on screen: the grid in the event colours, its buttons, the progress of a long read
// and the erase's waiting window; it asks the page's questions in message boxes. Interface thread only.
#pragma once

#include <QWidget>
#include <filesystem>
#include <optional>
#include <string>

#include "events/f_history.h"

class QTableWidget;

namespace nvx {

class ModelBinder;
class TFormWaiting;

class HistoryPageView : public QWidget {
    Q_OBJECT
public:
    explicit HistoryPageView(TformHistory& page, QWidget* parent = nullptr);
    ~HistoryPageView() override;

    // Colour of the event table's notation (0x00BBGGRR).
    static QColor colourOf(std::int32_t colour);

private:
    QWidget* buildButtons();
    void refresh(const std::string& name);
    void scheduleGridRefresh();
    void showGrid();
    void applyWidths();
    void showWaiting();
    bool ask(TformHistory::Question kind, const std::string& text);
    std::optional<std::filesystem::path> exportFileName();

    TformHistory& page_;
    int subscription_ = 0;
    ModelBinder* binder_ = nullptr;
    QTableWidget* grid_ = nullptr;
    TFormWaiting* waiting_ = nullptr;
    bool gridRefreshPending_ = false;
    bool applyingWidths_ = false;
};

} // namespace nvx
