// The partitions page on screen: the partition table with its optional columns, the event count,
// the EXIT-button partitions, the siren settings with its three mode columns, the fire-partition
// group, the exit-delay warning and the notes, bound by name to the page's model. Interface thread only.
#pragma once

#include <QWidget>
#include <string>

class QHBoxLayout;

namespace nvx {

class ModelBinder;
class TformRazd;

class RazdPageView : public QWidget {
    Q_OBJECT
public:
    explicit RazdPageView(TformRazd& page, QWidget* parent = nullptr);

private:
    QWidget* buildPartitionTable(QWidget* parent);
    QWidget* buildEventCountGroup(QWidget* parent);
    QWidget* buildExitButtonGroup(QWidget* parent);
    QWidget* buildSirenGroup(QWidget* parent);
    QWidget* buildFireGroup(QWidget* parent);
    // A check box whose caption is a label of its own (it carries the marks): clicking the label toggles it.
    QWidget* labelledCheckBox(const char* boxName, const char* labelName, QWidget* parent);
    // The caption, its number field and the rest of the row empty.
    QHBoxLayout* numberRow(const char* labelName, const char* editName, const char* mask, QWidget* parent);
    template <class W> W* bound(const std::string& name, QWidget* parent);

    ModelBinder* binder_ = nullptr;
};

}  // namespace nvx
