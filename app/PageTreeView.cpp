#include "app/PageTreeView.h"

#include <QMetaObject>
#include <QThread>
#include <algorithm>

namespace nvx {

PageTreeView::PageTreeView(FormModel& form, std::string controlName, QWidget* parent)
    : QTreeWidget(parent), form_(form), name_(std::move(controlName))
{
    setObjectName(QString::fromStdString(name_));
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { onCurrentItemChanged(current); });
    subscription_ = form_.subscribe([this](const std::string& name) {
        if (name != name_)
            return;
        if (QThread::currentThread() == thread())
            refresh();
        else
            QMetaObject::invokeMethod(this, [this] { refresh(); }, Qt::QueuedConnection);
    });
    refresh();
}

PageTreeView::~PageTreeView()
{
    form_.unsubscribe(subscription_);
}

void PageTreeView::refresh()
{
    const Control tree = form_.get(name_);
    const bool outerApplying = applying_;
    applying_ = true;
    rebuild(tree);
    selectNode(tree.index);
    setEnabled(tree.enabled);
    setVisible(tree.visible);
    applying_ = outerApplying;
}

void PageTreeView::rebuild(const Control& tree)
{
    bool same = nodes_.size() == tree.items.size();
    for (std::size_t i = 0; same && i < nodes_.size(); ++i)
        same = nodes_[i]->text(0).toStdString() == tree.items[i] &&
               nodes_[i]->data(0, Qt::UserRole).toInt() == tree.itemIds[i];
    if (same)
        return;
    clear();
    nodes_.clear();
    // A node hangs under the nearest earlier node that is one level up.
    std::vector<QTreeWidgetItem*> parents;
    for (std::size_t i = 0; i < tree.items.size(); ++i) {
        const std::size_t level = i < tree.itemLevels.size() ? std::max(tree.itemLevels[i], 0) : 0;
        parents.resize(std::min(parents.size(), level));
        auto* item = parents.empty() ? new QTreeWidgetItem(this) : new QTreeWidgetItem(parents.back());
        item->setText(0, QString::fromStdString(tree.items[i]));
        item->setData(0, Qt::UserRole, i < tree.itemIds.size() ? tree.itemIds[i] : -1);
        nodes_.push_back(item);
        parents.push_back(item);
    }
    expandAll();
}

void PageTreeView::selectNode(int index)
{
    QTreeWidgetItem* wanted =
        index >= 0 && static_cast<std::size_t>(index) < nodes_.size() ? nodes_[index] : nullptr;
    if (currentItem() != wanted)
        setCurrentItem(wanted);
}

void PageTreeView::onCurrentItemChanged(QTreeWidgetItem* current)
{
    if (applying_ || !current)
        return;
    const auto found = std::find(nodes_.begin(), nodes_.end(), current);
    if (found == nodes_.end())
        return;
    form_.setIndex(name_, static_cast<int>(found - nodes_.begin()));
    form_.trigger(name_);
}

}  // namespace nvx
