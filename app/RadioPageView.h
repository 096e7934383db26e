// The radio sensors page on screen: two tabs of 16 rows (number, lime while a sensor is enrolled;
// type; partition, delay and zone lists; add/delete button), the page's two notes and the copy menu
// of the number labels and type fields, bound by name to the page's model. Interface thread only.
#pragma once

#include <QWidget>
#include <array>
#include <string>

#include "pages/f_Radio.h"

class QLabel;
class QLineEdit;
class QMenu;
class QTabWidget;

namespace nvx {

class ModelBinder;

class RadioPageView : public QWidget {
    Q_OBJECT
public:
    explicit RadioPageView(TformRadio& page, QWidget* parent = nullptr);
    ~RadioPageView() override;

    // The copy menu the number labels and type fields open.
    QMenu* popupMenu() const { return menu_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildTab(int firstRow);
    void refresh(const std::string& name);
    void paintNumber(int row);
    void showTypeHint(int row);
    void offerPopup(QWidget* source);

    TformRadio& page_;
    ModelBinder* binder_ = nullptr;
    int subscription_ = 0;
    QTabWidget* tabs_ = nullptr;
    QMenu* menu_ = nullptr;
    std::array<QLabel*, TformRadio::kSlots> numbers_{};
    std::array<QLineEdit*, TformRadio::kSlots> types_{};
};

}  // namespace nvx
