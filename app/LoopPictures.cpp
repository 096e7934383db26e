#include "app/LoopPictures.h"

#include <algorithm>

#include <QPainter>

namespace nvx {

namespace {

void DrawResistor(QPainter& p, QPointF from, QPointF to, const QString& name)
{
    // A box in the middle of a horizontal lead, as wiring diagrams draw resistors.
    const QPointF middle = (from + to) / 2;
    const QRectF body(middle.x() - 16, middle.y() - 6, 32, 12);
    p.drawLine(from, QPointF(body.left(), from.y()));
    p.drawLine(QPointF(body.right(), to.y()), to);
    p.drawRect(body);
    p.drawText(QRectF(body.left(), body.bottom() + 1, body.width(), 14), Qt::AlignCenter, name);
}

// A contact between two points on one line, closed or open.
void DrawContact(QPainter& p, QPointF from, QPointF to, bool closed)
{
    const QPointF third = (to - from) / 3;
    const QPointF start = from + third;
    const QPointF stop = to - third;
    p.drawLine(from, start);
    p.drawLine(stop, to);
    // The open blade is lifted off the line, to the side of the lead's direction.
    const QPointF lifted = stop + QPointF(third.y(), -third.x()) * 0.6;
    p.drawLine(start, closed ? stop : lifted);
}

// A sensor's contact with its resistor beside it, between two points of the top wire.
void DrawSensor(QPainter& p, double from, double to, double y, const QString& resistor, const QString& sensor)
{
    const double up = y - 16, down = y + 16;
    p.drawLine(QPointF(from, up), QPointF(from, down));
    p.drawLine(QPointF(to, up), QPointF(to, down));
    DrawContact(p, QPointF(from, up), QPointF(to, up), false);
    DrawResistor(p, QPointF(from, down), QPointF(to, down), resistor);
    p.drawText(QRectF(from, up - 20, to - from, 14), Qt::AlignCenter, sensor);
}

}  // namespace

int LoopRange(const Control& slider)
{
    int range = 0;
    for (int threshold : {0, 1, 2, 3, 4})
        if (slider.marker >= slider.thumbs[threshold])
            range = threshold + 1;
    return range;
}

LoopWiringPicture::LoopWiringPicture(FormModel& page, QWidget* parent) : QWidget(parent), page_(page)
{
    subscription_ = page_.subscribe([this](const std::string& name) {
        if (name == "rzt0" || name == "rzt1")
            update();
    });
}

LoopWiringPicture::~LoopWiringPicture()
{
    page_.unsubscribe(subscription_);
}

void LoopWiringPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(palette().color(QPalette::WindowText), 1.5));
    // Narrower than its design, the picture is drawn smaller rather than with parts over each other.
    const double scale = std::min(1.0, width() / static_cast<double>(sizeHint().width()));
    p.scale(scale, scale);
    const double drawnWidth = width() / scale, drawnHeight = height() / scale;
    const double left = 30, right = drawnWidth - 40.0, top = 30, bottom = drawnHeight - 20.0;
    // Terminals of the loop input.
    p.drawText(QRectF(0, top - 8, left - 4, 16), Qt::AlignRight | Qt::AlignVCenter, "+");
    p.drawText(QRectF(0, bottom - 8, left - 4, 16), Qt::AlignRight | Qt::AlignVCenter, "−");
    p.drawEllipse(QPointF(left, top), 3, 3);
    p.drawEllipse(QPointF(left, bottom), 3, 3);
    if (!page_.checked("rzt0")) {
        // A potential-free loop: one sensor contact across the pair of wires.
        p.drawLine(QPointF(left, top), QPointF(right, top));
        p.drawLine(QPointF(left, bottom), QPointF(right, bottom));
        DrawContact(p, QPointF(right, top), QPointF(right, bottom), false);
        p.drawText(QRectF(right - 90, (top + bottom) / 2 - 8, 80, 16), Qt::AlignRight | Qt::AlignVCenter,
                   "Датчик 1");
        return;
    }
    // Resistive: R1 in series, then the two sensors in series, each bridged by its resistor.
    const double y = (top + bottom) / 2 - 10;
    p.drawLine(QPointF(left, top), QPointF(left + 10, top));
    p.drawLine(QPointF(left + 10, top), QPointF(left + 10, y));
    const double span = (right - left - 10) / 3;
    const double r1 = left + 10, s1 = r1 + span, s2 = s1 + span, end = right;
    DrawResistor(p, QPointF(r1, y), QPointF(s1 - 8, y), "R1");
    p.drawLine(QPointF(s1 - 8, y), QPointF(s1, y));
    DrawSensor(p, s1, s2 - 8, y, "R2", "Датчик 1");
    p.drawLine(QPointF(s2 - 8, y), QPointF(s2, y));
    DrawSensor(p, s2, end, y, "R3", "Датчик 2");
    p.drawLine(QPointF(end, y), QPointF(end + 10, y));
    p.drawLine(QPointF(end + 10, y), QPointF(end + 10, bottom));
    p.drawLine(QPointF(left, bottom), QPointF(end + 10, bottom));
}

SensorPicture::SensorPicture(FormModel& page, int sensor, QWidget* parent)
    : QWidget(parent), page_(page), sensor_(sensor)
{
    subscription_ = page_.subscribe([this](const std::string& name) {
        if (name == "tsn1")
            update();
    });
}

SensorPicture::~SensorPicture()
{
    page_.unsubscribe(subscription_);
}

void SensorPicture::paintEvent(QPaintEvent*)
{
    const int range = LoopRange(page_.get("tsn1"));
    const bool fault = range == 0 || range == 5;
    // Ranges 1 (both closed), 2 (second closed) and 3 (first closed).
    const bool closed = range == 1 || (sensor_ == 1 ? range == 3 : range == 2);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body = QRectF(rect()).adjusted(6, 2, -6, -16);
    p.setPen(QPen(palette().color(QPalette::WindowText), 1.2));
    p.setBrush(fault ? QColor(0xF4, 0xC0, 0xC0) : closed ? QColor(0xD8, 0xEE, 0xD8) : QColor(0xF8, 0xE8, 0xC0));
    p.drawRoundedRect(body, 6, 6);
    p.setBrush(Qt::NoBrush);
    const QPointF from(body.center().x(), body.top() + 8);
    const QPointF to(body.center().x(), body.bottom() - 8);
    p.setPen(QPen(fault ? QColor(Qt::red) : palette().color(QPalette::WindowText), 2));
    DrawContact(p, from, to, closed);
    p.setPen(palette().color(QPalette::WindowText));
    const QString state = fault ? (range == 0 ? "КЗ" : "Обрыв") : closed ? "замкнут" : "разомкнут";
    p.drawText(QRectF(0, height() - 16, width(), 16), Qt::AlignCenter,
               QString("Датчик %1: %2").arg(sensor_).arg(state));
}

}  // namespace nvx
