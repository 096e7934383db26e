// The keyfobs page on screen: a row per keyfob slot with its number (lime while a keyfob is
// enrolled), one check box per partition and the add/delete button, bound by name to the page's
// model. Interface thread only.
#pragma once

#include <QWidget>
#include <array>
#include <string>

#include "pages/f_Bibelot.h"

class QGridLayout;
class QLabel;

namespace nvx {

class ModelBinder;

class BibelotPageView : public QWidget {
    Q_OBJECT
public:
    explicit BibelotPageView(TformBibelot& page, QWidget* parent = nullptr);
    ~BibelotPageView() override;

private:
    QWidget* buildSlots();
    QGridLayout* buildRows(QWidget* group, int firstSlot, int lastSlot);
    void refresh(const std::string& name);
    void paintNumber(int slot);
    void paintBoxCell(int slot, int partition);

    TformBibelot& page_;
    ModelBinder* binder_ = nullptr;
    int subscription_ = 0;
    std::array<QLabel*, TformBibelot::kSlots> numbers_{};
};

}  // namespace nvx
