// A slider with several thumbs on one track, each holding an integer threshold: the thumbs stay
// ascending and a thumb width apart, a dragged thumb pushes its neighbours, and a marker shows a
// live reading. A Qt widget: interface thread only.
#pragma once

#include <QPixmap>
#include <QTimer>
#include <QVector>
#include <QWidget>

#include "controls/TrisliderValues.h"

namespace nvx {

class TTrislider : public QWidget {
    Q_OBJECT

public:
    explicit TTrislider(QWidget* parent = nullptr);

    void setCount(int count);  // below 1 ignored
    int count() const { return values_.Count(); }
    void setValue(int index, int value);
    int value(int index) const { return values_.Value(index); }
    QVector<int> values() const;

    void setMinimum(int minimum);
    int minimum() const { return values_.minimum; }
    void setMaximum(int maximum);
    int maximum() const { return values_.maximum; }
    void setStep(int step);
    int step() const { return values_.step; }
    void setDivisions(int divisions);
    int divisions() const { return divisions_; }
    // Accepted only when smaller than both the height and the width, each less half the
    // present margin; returns whether it was.
    bool setMargin(int margin);
    int margin() const { return margin_; }
    void setThumbWidth(int width);
    int thumbWidth() const { return thumbWidth_; }
    void setTrackThickness(int thickness);
    int trackThickness() const { return trackThickness_; }
    // The vertical slider runs from bottom to top.
    void setOrientation(Qt::Orientation orientation);
    Qt::Orientation orientation() const { return orientation_; }
    void setMarker(int value);
    int marker() const { return marker_; }

    int activeThumb() const { return active_; }
    bool dragging() const { return dragging_; }

    // The mouse handlers, in widget coordinates; an owner may forward its own mouse moves.
    void pressAt(QPoint point);
    void moveTo(QPoint point);
    void release();

    // Pixel position along the track of a value, and the value of a position (drawing area).
    double positionOf(int value) const;
    int valueAt(double position) const;
    // The minimum distance between neighbours, in value units.
    int gap() const;

    QSize sizeHint() const override;

signals:
    // The thumbs were dragged to new values.
    void valuesDragged(const QVector<int>& values);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    double scale() const;
    int length() const;   // of the drawing area along the track
    int across() const;   // of the drawing area across the track
    double along(QPoint point) const;
    double acrossOf(QPoint point) const;
    void changed();
    void redraw();
    void render();

    TrisliderValues values_;
    int divisions_ = 5;
    int margin_ = 20;
    int thumbWidth_ = 10;
    int trackThickness_ = 20;
    Qt::Orientation orientation_ = Qt::Horizontal;
    int marker_ = -1;
    int active_ = 0;
    bool dragging_ = false;
    double lastPosition_ = 0;
    bool dirty_ = true;
    QPixmap picture_;
    QTimer redrawTimer_;
};

}  // namespace nvx
