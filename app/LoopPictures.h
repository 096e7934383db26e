// The drawings of the wired loops page: the loop wiring (a plain loop, or R1 with the two sensors
// and their resistors R2 and R3) and a sensor in the state the live reading implies between the
// thresholds. They carry no data and redraw from the page's model. Interface thread only.
#pragma once

#include <QWidget>

#include "core/FormModel.h"

namespace nvx {

// Which of the six threshold ranges a reading lies in: 0 short circuit, 1 both closed, 2 second
// closed and first open, 3 first closed and second open, 4 both open, 5 break.
int LoopRange(const Control& slider);

class LoopWiringPicture : public QWidget {
    Q_OBJECT
public:
    explicit LoopWiringPicture(FormModel& page, QWidget* parent = nullptr);
    ~LoopWiringPicture() override;
    QSize sizeHint() const override { return {340, 110}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    FormModel& page_;
    int subscription_ = 0;
};

class SensorPicture : public QWidget {
    Q_OBJECT
public:
    // `sensor` 1 or 2: the first or second sensor of the loop.
    SensorPicture(FormModel& page, int sensor, QWidget* parent = nullptr);
    ~SensorPicture() override;
    QSize sizeHint() const override { return {140, 54}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    FormModel& page_;
    int sensor_;
    int subscription_ = 0;
};

}  // namespace nvx
