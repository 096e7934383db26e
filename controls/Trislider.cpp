#include "controls/Trislider.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QtWidgets/qdrawutil.h>

#include <algorithm>
#include <cmath>

namespace nvx {

namespace {

constexpr int kRedrawMs = 100;
constexpr int kGrabSlack = 2;  // pixels beyond half a thumb that still take hold of it
constexpr int kPointHeight = 6;

}  // namespace

TTrislider::TTrislider(QWidget* parent) : QWidget(parent), redrawTimer_(this)
{
    redrawTimer_.setInterval(kRedrawMs);
    connect(&redrawTimer_, &QTimer::timeout, this, [this] {
        if (dirty_)
            redraw();
    });
    redrawTimer_.start();
}

void TTrislider::setCount(int count)
{
    values_.SetCount(count);
    active_ = std::min(active_, values_.Count() - 1);
    changed();
}

void TTrislider::setValue(int index, int value)
{
    values_.SetValue(index, value);
    changed();
}

QVector<int> TTrislider::values() const
{
    return QVector<int>(values_.Values().begin(), values_.Values().end());
}

void TTrislider::setMinimum(int minimum)
{
    values_.minimum = minimum;
    changed();
}

void TTrislider::setMaximum(int maximum)
{
    values_.maximum = maximum;
    changed();
}

void TTrislider::setStep(int step)
{
    values_.step = std::max(step, 1);
    changed();
}

void TTrislider::setDivisions(int divisions)
{
    divisions_ = std::max(divisions, 1);
    changed();
}

bool TTrislider::setMargin(int margin)
{
    if (margin >= height() - margin_ / 2 || margin >= width() - margin_ / 2)
        return false;
    margin_ = margin;
    changed();
    return true;
}

void TTrislider::setThumbWidth(int width)
{
    thumbWidth_ = std::max(width, 1);
    changed();
}

void TTrislider::setTrackThickness(int thickness)
{
    trackThickness_ = std::max(thickness, 1);
    changed();
}

void TTrislider::setOrientation(Qt::Orientation orientation)
{
    orientation_ = orientation;
    updateGeometry();
    changed();
}

void TTrislider::setMarker(int value)
{
    marker_ = value;
    changed();
}

// ---- Geometry: the drawing area is the widget less one pixel on each side ----------------------

int TTrislider::length() const
{
    return (orientation_ == Qt::Horizontal ? width() : height()) - 2;
}

int TTrislider::across() const
{
    return (orientation_ == Qt::Horizontal ? height() : width()) - 2;
}

double TTrislider::along(QPoint point) const
{
    return orientation_ == Qt::Horizontal ? point.x() - 1 : length() - (point.y() - 1);
}

double TTrislider::acrossOf(QPoint point) const
{
    return orientation_ == Qt::Horizontal ? point.y() - 1 : point.x() - 1;
}

double TTrislider::scale() const
{
    const int range = std::max(values_.maximum - values_.minimum, 1);
    return static_cast<double>(length() - 2 * margin_) / range;
}

double TTrislider::positionOf(int value) const
{
    return margin_ + (value - values_.minimum) * scale();
}

int TTrislider::valueAt(double position) const
{
    const double s = scale();
    if (s <= 0)
        return values_.minimum;
    return static_cast<int>(std::lround((position - margin_) / s)) + values_.minimum;
}

int TTrislider::gap() const
{
    const double s = scale();
    return s <= 0 ? 0 : static_cast<int>(std::lround(thumbWidth_ / s));
}

QSize TTrislider::sizeHint() const
{
    const int thickness = trackThickness_ + 2 * kPointHeight + 16;
    return orientation_ == Qt::Horizontal ? QSize(300, thickness) : QSize(thickness, 300);
}

// ---- Mouse ---------------------------------------------------------------------------------

void TTrislider::pressAt(QPoint point)
{
    const double position = along(point);
    const double cross = acrossOf(point);
    const double half = thumbWidth_ / 2.0;
    if (position < margin_ - half || position > length() - margin_ + half || cross < 0 || cross > across())
        return;
    int nearest = 0;
    double best = std::abs(positionOf(values_.Value(0)) - position);
    for (int i = 1; i < values_.Count(); ++i) {
        const double distance = std::abs(positionOf(values_.Value(i)) - position);
        if (distance < best) {
            best = distance;
            nearest = i;
        }
    }
    active_ = nearest;
    dragging_ = best <= half + kGrabSlack;
    lastPosition_ = position;
    changed();
}

void TTrislider::moveTo(QPoint point)
{
    if (!dragging_)
        return;
    const double position = along(point);
    const std::vector<int> before = values_.Values();
    values_.Drag(active_, valueAt(position), position > lastPosition_, gap());
    lastPosition_ = position;
    if (values_.Values() != before) {
        changed();
        emit valuesDragged(values());
    }
}

void TTrislider::release()
{
    dragging_ = false;
}

void TTrislider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        pressAt(event->position().toPoint());
}

void TTrislider::mouseMoveEvent(QMouseEvent* event)
{
    moveTo(event->position().toPoint());
}

void TTrislider::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        release();
}

// ---- Drawing ---------------------------------------------------------------------------------

void TTrislider::changed()
{
    dirty_ = true;
}

void TTrislider::redraw()
{
    render();
    update();
}

void TTrislider::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    changed();
}

void TTrislider::paintEvent(QPaintEvent*)
{
    if (dirty_ || picture_.size() != size() * devicePixelRatioF())
        render();
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

// Draws into the off-screen picture in track coordinates: along runs left to right, across top
// to bottom; the vertical slider is the same picture turned a quarter to the left.
void TTrislider::render()
{
    dirty_ = false;
    values_.Normalise(gap());
    picture_ = QPixmap(size() * devicePixelRatioF());
    picture_.setDevicePixelRatio(devicePixelRatioF());
    picture_.fill(palette().color(QPalette::Window));

    QPainter painter(&picture_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(1, 1);
    if (orientation_ == Qt::Vertical) {
        painter.translate(0, length());
        painter.rotate(-90);
    }
    const double top = (across() - trackThickness_) / 2.0 - kPointHeight / 2.0;
    const QRectF track(margin_, top, std::max(length() - 2 * margin_, 0), trackThickness_);
    qDrawShadePanel(&painter, track.toRect(), palette(), true, 2, &palette().brush(QPalette::Base));

    painter.setPen(palette().color(QPalette::WindowText));
    const double tickUnits = static_cast<double>(values_.maximum - values_.minimum) / divisions_;
    for (int i = 0; i <= divisions_; ++i) {
        const double x = positionOf(values_.minimum) + i * tickUnits * scale();
        painter.drawLine(QPointF(x, track.bottom() + kPointHeight + 2), QPointF(x, track.bottom() + kPointHeight + 6));
    }

    if (marker_ >= values_.minimum && marker_ <= values_.maximum) {
        const double x = positionOf(marker_);
        painter.setPen(QPen(QColor(Qt::red), 2));
        painter.drawLine(QPointF(x, track.top() - 2), QPointF(x, track.bottom() + 2));
    }

    const double half = thumbWidth_ / 2.0;
    for (int i = 0; i < values_.Count(); ++i) {
        const double x = positionOf(values_.Value(i));
        QPolygonF thumb;
        thumb << QPointF(x - half, track.top() - 2) << QPointF(x + half, track.top() - 2)
              << QPointF(x + half, track.bottom()) << QPointF(x, track.bottom() + kPointHeight)
              << QPointF(x - half, track.bottom());
        const bool active = i == active_;
        painter.setPen(palette().color(QPalette::Shadow));
        painter.setBrush(active ? palette().color(QPalette::Highlight) : palette().color(QPalette::Button));
        painter.drawPolygon(thumb);
    }
}

}  // namespace nvx
