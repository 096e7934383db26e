// The value arithmetic of the multi-thumb slider: thumbs kept ascending, snapped to the step,
// inside the range and at least a gap apart, and the way a dragged thumb pushes its
// neighbours. Toolkit-free; used on the interface thread.
#pragma once

#include <vector>

namespace nvx {

class TrisliderValues {
public:
    // A count below 1 is ignored; new thumbs start at 0.
    void SetCount(int count);
    int Count() const { return static_cast<int>(values_.size()); }
    void SetValue(int index, int value);
    int Value(int index) const;
    const std::vector<int>& Values() const { return values_; }

    int minimum = 0;
    int maximum = 255;
    int step = 1;

    // Backward pass, value 0 clamped to the minimum, forward pass; the gap in value units.
    void Normalise(int gap);
    // Thumb `index` moved to `value`; the others give way towards the end it moves to.
    void Drag(int index, int value, bool towardsHigher, int gap);

private:
    int Snapped(int value) const;
    void BackwardPass(int gap);
    void ForwardPass(int gap);
    void ClampFirst();
    void ClampLast();

    std::vector<int> values_{0};
};

}  // namespace nvx
