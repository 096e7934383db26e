#include "shell/PageTree.h"

#include <algorithm>
#include <vector>

#include "shell/WindowModels.h"

namespace nvx {

void BuildInitialPageTree(FormModel& mainForm)
{
    static const std::vector<PageTreeNode> nodes{
        {"Общие настройки", 16, 0},
        {"Системные события", 20, 0},
        {"Характеристики радиосистемы", 2, 0},
        {"Настройка разделов", 13, 0},
        {"Настройка радиодатчиков", 12, 0},
        {"Настройка шлейфов", 1, 0},
        {"Настройка радиобрелоков", 8, 0},
        {"Коды", 14, 0},
        {"Каналы связи", 10, 0},
        {"Настройка GPRS", 17, 0},
        {"Настройки SMS", 21, 0},
        {"Настройки инженерных номеров", 22, 0},
        {"История", 15, 0},
        {"Журнал событий online", 29, 0},
    };
    mainForm.update(kPageTree, [&](Control& tree) {
        tree.items.clear();
        tree.itemIds.clear();
        tree.itemLevels.clear();
        for (const PageTreeNode& n : nodes) {
            tree.items.push_back(n.caption);
            tree.itemIds.push_back(n.pageId);
            tree.itemLevels.push_back(n.level);
        }
    });
}

int FindPageNode(const FormModel& mainForm, int pageId)
{
    Control tree = mainForm.get(kPageTree);
    for (int i = static_cast<int>(tree.itemIds.size()) - 1; i >= 0; --i)
        if (tree.itemIds[i] == pageId)
            return i;
    return -1;
}

int PageNodeCount(const FormModel& mainForm)
{
    return static_cast<int>(mainForm.get(kPageTree).itemIds.size());
}

int PageIdAt(const FormModel& mainForm, int index)
{
    Control tree = mainForm.get(kPageTree);
    return index >= 0 && index < static_cast<int>(tree.itemIds.size()) ? tree.itemIds[index] : -1;
}

void InsertPageNode(FormModel& mainForm, int beforeIndex, const PageTreeNode& node)
{
    mainForm.update(kPageTree, [&](Control& tree) {
        int at = std::clamp(beforeIndex, 0, static_cast<int>(tree.items.size()));
        tree.items.insert(tree.items.begin() + at, node.caption);
        tree.itemIds.insert(tree.itemIds.begin() + at, node.pageId);
        tree.itemLevels.insert(tree.itemLevels.begin() + at, node.level);
        if (tree.index >= at)
            ++tree.index;
    });
}

void DeletePageNode(FormModel& mainForm, int index)
{
    mainForm.update(kPageTree, [&](Control& tree) {
        int count = static_cast<int>(tree.items.size());
        if (index < 0 || index >= count)
            return;
        int end = index + 1;
        while (end < count && tree.itemLevels[end] > tree.itemLevels[index])
            ++end;
        tree.items.erase(tree.items.begin() + index, tree.items.begin() + end);
        tree.itemIds.erase(tree.itemIds.begin() + index, tree.itemIds.begin() + end);
        tree.itemLevels.erase(tree.itemLevels.begin() + index, tree.itemLevels.begin() + end);
        if (tree.index >= end)
            tree.index -= end - index;
        else if (tree.index >= index)
            tree.index = -1;
    });
}

}  // namespace nvx
