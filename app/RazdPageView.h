// The partitions page on screen: the partition table with its optional columns, the event count,
// the EXIT-button partitions, the siren settings with its three mode columns, the fire-partition
// group, the exit-delay warning and the notes, bound by name to the page's model. Interface thread only.
#pragma once

#include <QWidget>
#include <map>

class QAbstractButton;

namespace nvx {

class ModelBinder;
class TformRazd;

class RazdPageView : public QWidget {
    Q_OBJECT
public:
    explicit RazdPageView(TformRazd& page, QWidget* parent = nullptr);

protected:
    // A check box whose caption is a label of its own (it carries the marks): clicking the label toggles it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildPartitionTable(QWidget* parent);
    QWidget* buildEventCountGroup(QWidget* parent);
    QWidget* buildExitButtonGroup(QWidget* parent);
    QWidget* buildSirenGroup(QWidget* parent);
    QWidget* buildFireGroup(QWidget* parent);
    QWidget* labelledCheckBox(const char* boxName, const char* labelName, QWidget* parent);
    template <class W> W* bound(const std::string& name, QWidget* parent);

    ModelBinder* binder_ = nullptr;
    std::map<QObject*, QAbstractButton*> captionOf_;
};

}  // namespace nvx
