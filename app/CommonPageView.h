// The general settings page on screen: its groups, captions and controls, bound by name to the
// page's model so that the update queue's values and marks reach them. Interface thread only.
#pragma once

#include <QWidget>

class QLabel;

namespace nvx {

class ModelBinder;
class TformCommon;

class CommonPageView : public QWidget {
    Q_OBJECT
public:
    explicit CommonPageView(TformCommon& page, QWidget* parent = nullptr);

private:
    // Each builds a group of the page in `parent`, where the model can hide it.
    QWidget* buildObjectGroup(QWidget* parent);
    QWidget* buildSignalGroup(QWidget* parent);
    QWidget* buildOutputsGroup(QWidget* parent);
    QWidget* buildAlarmButtonsGroup(QWidget* parent);
    QWidget* buildSirenGroup(QWidget* parent);
    QWidget* buildKeypadLockGroup(QWidget* parent);
    QWidget* buildBuzzerGroup(QWidget* parent);
    QWidget* buildButtonRow(QWidget* parent);
    // A radio button with its caption label beside it, in a row of its parent's layout. The caption
    // is a label of its own (it carries the marks): clicking it chooses.
    QWidget* labelledRadio(const char* radioName, const char* labelName, QWidget* parent);
    template <class W> W* bound(const char* name, QWidget* parent);

    TformCommon& page_;
    ModelBinder* binder_ = nullptr;
};

}  // namespace nvx
