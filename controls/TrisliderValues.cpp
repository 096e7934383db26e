#include "controls/TrisliderValues.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace nvx {

void TrisliderValues::SetCount(int count)
{
    if (count >= 1)
        values_.resize(static_cast<std::size_t>(count), 0);
}

void TrisliderValues::SetValue(int index, int value)
{
    values_.at(static_cast<std::size_t>(index)) = value;
}

int TrisliderValues::Value(int index) const
{
    return values_.at(static_cast<std::size_t>(index));
}

int TrisliderValues::Snapped(int value) const
{
    if (step <= 1)
        return value;
    return static_cast<int>(std::lround(static_cast<double>(value) / step)) * step;
}

void TrisliderValues::BackwardPass(int gap)
{
    for (std::size_t i = values_.size() - 1; i >= 1; --i) {
        values_[i] = Snapped(values_[i]);
        if (values_[i] - values_[i - 1] < gap)
            values_[i - 1] = values_[i] - gap;
    }
}

void TrisliderValues::ForwardPass(int gap)
{
    for (std::size_t i = 0; i + 1 < values_.size(); ++i) {
        values_[i] = Snapped(values_[i]);
        if (values_[i + 1] - values_[i] < gap)
            values_[i + 1] = values_[i] + gap;
    }
}

void TrisliderValues::ClampFirst()
{
    values_.front() = std::max(values_.front(), minimum);
}

void TrisliderValues::ClampLast()
{
    values_.back() = std::min(values_.back(), maximum);
}

void TrisliderValues::Normalise(int gap)
{
    BackwardPass(gap);
    ClampFirst();
    ForwardPass(gap);
}

void TrisliderValues::Drag(int index, int value, bool towardsHigher, int gap)
{
    SetValue(index, value);
    if (towardsHigher) {
        ClampFirst();
        ForwardPass(gap);
        ClampLast();
        BackwardPass(gap);
    } else {
        ClampLast();
        BackwardPass(gap);
        ClampFirst();
        ForwardPass(gap);
    }
}

}  // namespace nvx
