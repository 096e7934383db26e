// The page tree of the main window as a control of its model: nodes with captions, page
// identifiers and depths in display order. Interface thread.
#pragma once

#include <string>

#include "core/FormModel.h"

namespace nvx {

struct PageTreeNode {
    std::string caption;
    int pageId;
    int level;
};

// The tree as built at start-up, before the motion-sensor node is added.
void BuildInitialPageTree(FormModel& mainForm);

// Index of the last node with this identifier, or -1.
int FindPageNode(const FormModel& mainForm, int pageId);
int PageNodeCount(const FormModel& mainForm);
int PageIdAt(const FormModel& mainForm, int index);
void InsertPageNode(FormModel& mainForm, int beforeIndex, const PageTreeNode& node);
// Deletes the node and its children (the deeper nodes right after it).
void DeletePageNode(FormModel& mainForm, int index);

}  // namespace nvx
