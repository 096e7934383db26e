// Mirrors a form model into real widgets of the same names and writes the user's edits back:
// the model is the truth, the widgets show it. Interface thread only.
#pragma once

#include <QObject>
#include <QPointer>
#include <map>
#include <string>

#include "core/FormModel.h"

class QAction;
class QWidget;

namespace nvx {

class ModelBinder : public QObject {
    Q_OBJECT
public:
    explicit ModelBinder(FormModel& model, QObject* parent = nullptr);
    ~ModelBinder() override;

    FormModel& model() { return model_; }

    // Binds a widget to the control of that name: labels, group boxes, edits, spin boxes, check
    // boxes, radio buttons, push and tool buttons, combo boxes, progress bars. Clicking a button
    // or radio button runs the control's action; other edits are written back into the model.
    void bind(const std::string& name, QWidget* widget);
    // Menu items and tool-bar commands: enabled and visible follow the model, triggering runs the
    // control's action.
    void bindAction(const std::string& name, QAction* action);
    // Pushes the present model state into every bound widget.
    void refreshAll();

    // Qt colour of a colour name the device layer uses ("clRed", "clBlue", "clWindowText", ...).
    static QColor colourOf(const std::string& name, bool background);

private:
    void refresh(const std::string& name);
    void connectEdits(const std::string& name, QWidget* widget);

    FormModel& model_;
    int subscription_ = 0;
    std::map<std::string, QPointer<QWidget>> widgets_;
    std::map<std::string, QPointer<QAction>> actions_;
    bool applying_ = false;  // true while the model is pushed into the widgets
};

}  // namespace nvx
