// The items of the interface update queue: one small element per change that a worker
// thread wants to make visible. Created on the producer's thread, applied and freed on
// the interface thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/FormModel.h"

namespace nvx {

struct TOutElement {
    explicit TOutElement(std::uint8_t kind) : kind(kind) {}
    virtual ~TOutElement() = default;
    std::uint8_t kind;
};

// Kind 1: a message log line.
struct TMemoOut : TOutElement {
    TMemoOut(std::string text, bool visible) : TOutElement(1), text(std::move(text)), visible(visible) {}
    std::string text;
    bool visible;
};

// Kind 2: a control command; kind 12: a colour command.
struct TControlOut : TOutElement {
    TControlOut(std::uint8_t kind, ControlRef control, std::string text)
        : TOutElement(kind), control(std::move(control)), text(std::move(text)) {}
    ControlRef control;
    std::string text;
};

// Kind 3: a command for a non-visual component or menu item.
struct TCompOut : TOutElement {
    TCompOut(ControlRef component, std::string text)
        : TOutElement(3), component(std::move(component)), text(std::move(text)) {}
    ControlRef component;
    std::string text;
};

// Kind 4: set or append a list view item; kind 7: append a full item.
struct TListOut : TOutElement {
    TListOut(std::uint8_t kind, ControlRef list, std::string caption, std::vector<std::string> subItems,
             int imageIndex)
        : TOutElement(kind), list(std::move(list)), caption(std::move(caption)),
          subItems(std::move(subItems)), imageIndex(imageIndex) {}
    ControlRef list;
    std::string caption;
    std::vector<std::string> subItems;
    int imageIndex;
};

// Kind 5: the image index of a list item (row number counted from 1).
struct TChangeItemIndOut : TOutElement {
    TChangeItemIndOut(ControlRef list, int item, int imageIndex)
        : TOutElement(5), list(std::move(list)), item(item), imageIndex(imageIndex) {}
    ControlRef list;
    int item;
    int imageIndex;
};

// Kind 6: a three-thumb slider command.
struct TTriSliderOut : TOutElement {
    TTriSliderOut(ControlRef slider, int number, std::string text)
        : TOutElement(6), slider(std::move(slider)), number(number), text(std::move(text)) {}
    ControlRef slider;
    int number;
    std::string text;
};

// Kind 8: clear a list.
struct TClearListOut : TOutElement {
    explicit TClearListOut(ControlRef list) : TOutElement(8), list(std::move(list)) {}
    ControlRef list;
};

// Kind 9: a modal message box.
struct TMsgOut : TOutElement {
    explicit TMsgOut(std::string text) : TOutElement(9), text(std::move(text)) {}
    std::string text;
};

// Kind 10: the text of a status bar panel.
struct TStatusOut : TOutElement {
    TStatusOut(std::string text, int panel) : TOutElement(10), text(std::move(text)), panel(panel) {}
    std::string text;
    int panel;
};

// Kind 11: a grid cell; kind 13: a grid row appended.
struct TOutStringGrid : TOutElement {
    TOutStringGrid(std::uint8_t kind, ControlRef grid, std::string text, int row = 0, int column = 0)
        : TOutElement(kind), grid(std::move(grid)), text(std::move(text)), row(row), column(column) {}
    ControlRef grid;
    std::string text;
    int row;
    int column;
};

}  // namespace nvx
