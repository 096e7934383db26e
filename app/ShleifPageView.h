// The wired loops page on screen: loop type and events, the loop table, the wiring picture with
// the resistor fields, the sensor pictures and the thresholds panel with its two sliders, bound
// by name to the page's model. Interface thread only.
#pragma once

#include <QWidget>
#include <array>

class QLabel;

namespace nvx {

class ModelBinder;
class TTrislider;
class TformShleif;

class ShleifPageView : public QWidget {
    Q_OBJECT
public:
    explicit ShleifPageView(TformShleif& page, QWidget* parent = nullptr);
    ~ShleifPageView() override;

private:
    QWidget* buildSwitches(QWidget* parent);
    QWidget* buildLoopTable(QWidget* parent);
    QWidget* buildWiring(QWidget* parent);
    QWidget* buildThresholds(QWidget* parent);
    // One view of the thresholds: range captions between the boundary edits, the slider, and
    // the live reading beside it.
    QWidget* buildThresholdView(const char* sliderName, const QStringList& ranges, const QStringList& edits,
                                QWidget* parent);
    void showSlider(const std::string& name);
    void showResistorCaptions();
    template <class W> W* bound(const std::string& name, QWidget* parent);

    TformShleif& page_;
    ModelBinder* binder_ = nullptr;
    int subscription_ = 0;
    TTrislider* full_ = nullptr;
    TTrislider* short_ = nullptr;
    std::array<QLabel*, 3> resistorCaptions_{};
};

}  // namespace nvx
