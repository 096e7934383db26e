// The communication channels page on screen: a row per channel (name, phone, type) with the
// "И"/"Или" link to the next channel between the rows, the direction transition and the GPRS
// online switch, all bound to the page's model; the phone fields of one direction share a colour.
// Interface thread only.
#pragma once

#include <QColor>
#include <QWidget>
#include <array>
#include <map>
#include <string>

#include "pages/f_Ways.h"

class QAbstractButton;
class QComboBox;
class QEvent;
class QLineEdit;
class QShowEvent;

namespace nvx {

class ModelBinder;

class WaysPageView : public QWidget {
    Q_OBJECT
public:
    explicit WaysPageView(TformWays& page, QWidget* parent = nullptr);
    ~WaysPageView() override;

    // The background of the phone fields of direction 0, 1, ...
    static QColor directionColour(int direction);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildChannels();
    QWidget* buildTransition();
    void refresh(const std::string& name);
    void paintDirections();
    void showTypePictures(int channel);
    // A label beside a radio button or check box that has no caption of its own: clicking the
    // label clicks the button.
    void clickThrough(QWidget* label, QAbstractButton* button);

    TformWays& page_;
    ModelBinder* binder_ = nullptr;
    int subscription_ = 0;
    std::array<QLineEdit*, TformWays::kChannels> phones_{};
    std::array<QComboBox*, TformWays::kChannels> types_{};
    std::map<QObject*, QAbstractButton*> clickThrough_;
};

} // namespace nvx
