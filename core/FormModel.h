// Toolkit-free model of a window's named controls: the seam between page logic and widgets.
// Any thread may read; changes are made on the interface thread (the update queue's drain,
// the widget mirror, the page logic run there). Observers and actions run outside the lock.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace nvx {

enum class ControlKind {
    Label,
    StyledLabel,
    Edit,
    MaskEdit,
    SpinEdit,
    CheckBox,
    RadioButton,
    StyledRadioButton,
    Button,
    StyledButton,
    SpeedButton,
    ToolButton,
    RadioGroup,
    ComboBox,
    ExtComboBox,
    CheckedComboBox,
    Panel,
    GroupBox,
    ProgressBar,
    StringGrid,
    ListView,
    Form,
    PageTree,
    Memo,
    Shape,
    Slider,
    StatusBar,
    MenuItem,
    Timer,
    RichText,
    Other,
};

struct Control {
    std::string name;
    ControlKind kind = ControlKind::Other;
    std::string text;   // caption of labels, buttons, panels, group boxes; text of edits and combos
    std::string hint;   // the control's default value (page defaults) or tool tip
    bool checked = false;
    bool enabled = true;
    bool visible = true;
    int index = -1;                          // selected item: combo, radio group, tree node, list
    std::vector<std::string> items;          // combo items, tree captions, status panels, memo lines
    std::vector<int> itemIds;                // tree: page identifier of each node
    std::vector<int> itemLevels;             // tree: depth of each node (0 = top level)
    std::vector<bool> itemChecked;           // checked combo box
    int value = 0;                           // spin edit value, progress position
    int minimum = 0;
    int maximum = 100;
    int tag = 0;
    int maxLength = 0;                       // edits: 0 = unlimited
    std::string color = "clWindow";          // background of edits, fill of shapes
    std::string fontColor = "clWindowText";  // text colour of labels, check boxes, radio buttons
    bool bold = false;
    std::string group;                       // radio buttons: checking one unchecks its group
    std::vector<std::vector<std::string>> cells;  // grids and list views: cells[row][column]
    std::map<std::pair<int, int>, std::string> cellColors;  // grids: fill of painted cells by (row, column)
    std::vector<int> itemImages;             // list views: image index of each row of cells, -1 = none
    int topRow = 0;
    int fixedRows = 1;
    int visibleRows = 10;
    std::array<int, 5> thumbs{};             // slider thumb positions, index 0 leftmost
    int marker = 0;                          // slider: live reading marker
};

class FormModel {
public:
    using Observer = std::function<void(const std::string& controlName)>;
    using Action = std::function<void()>;

    explicit FormModel(std::string name);
    FormModel(const FormModel&) = delete;
    FormModel& operator=(const FormModel&) = delete;

    // The window's name: the settings section of a page ("formCommon"), "Form1" for the main window.
    const std::string& name() const { return name_; }

    // Declares a control; done while the form is built, before other threads see it.
    Control& add(const std::string& controlName, ControlKind kind, const std::string& text = {},
                 const std::string& hint = {});

    bool has(const std::string& controlName) const;
    std::vector<std::string> names() const;  // in creation order
    Control get(const std::string& controlName) const;  // a copy; throws std::out_of_range

    std::string text(const std::string& controlName) const;
    bool checked(const std::string& controlName) const;
    bool enabled(const std::string& controlName) const;
    bool visible(const std::string& controlName) const;
    int index(const std::string& controlName) const;

    // Changes a control under the lock, then tells the observers.
    void update(const std::string& controlName, const std::function<void(Control&)>& change);
    void setText(const std::string& controlName, const std::string& text);
    void setChecked(const std::string& controlName, bool checked);
    void setEnabled(const std::string& controlName, bool enabled);
    void setVisible(const std::string& controlName, bool visible);
    void setIndex(const std::string& controlName, int index);
    void setColor(const std::string& controlName, const std::string& colour);
    void setFontColor(const std::string& controlName, const std::string& colour);

    // Checks a radio button and unchecks the others of its group.
    void checkRadio(const std::string& controlName);

    // The control's event handler: click of a button, selection change of a tree or list,
    // "Show" of a form. trigger() runs it on the calling thread (the interface thread).
    void setAction(const std::string& controlName, Action action);
    void trigger(const std::string& controlName);

    int subscribe(Observer observer);
    void unsubscribe(int id);

private:
    Control& at(const std::string& controlName);
    const Control& at(const std::string& controlName) const;
    void notify(const std::string& controlName);

    std::string name_;
    mutable std::recursive_mutex mutex_;
    std::map<std::string, Control> controls_;
    std::vector<std::string> order_;
    std::map<std::string, Action> actions_;
    std::map<int, Observer> observers_;
    int nextObserver_ = 1;
};

// A control addressed by its form and name, as the update queue carries it.
struct ControlRef {
    FormModel* form = nullptr;
    std::string name;
};

}  // namespace nvx
