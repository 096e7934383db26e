// The page tree on screen: mirrors a tree control of a form model and hands the user's choice of node
// back to it, whose action shows the page. Interface thread only.
#pragma once

#include <QTreeWidget>
#include <string>

#include "core/FormModel.h"

namespace nvx {

class PageTreeView : public QTreeWidget {
    Q_OBJECT
public:
    PageTreeView(FormModel& form, std::string controlName, QWidget* parent = nullptr);
    ~PageTreeView() override;

private:
    void refresh();
    void rebuild(const Control& tree);
    void selectNode(int index);
    void onCurrentItemChanged(QTreeWidgetItem* current);

    FormModel& form_;
    std::string name_;
    int subscription_ = 0;
    std::vector<QTreeWidgetItem*> nodes_;  // in the model's node order
    bool applying_ = false;                // true while the model is pushed into the widget
};

}  // namespace nvx
