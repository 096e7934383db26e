// The GPRS page on screen: the connection settings, the monitoring server and its reserve, the
// pause between attempts and compression, bound to the page's model, with the page's key filters
// on its edits. Interface thread only.
#pragma once

#include <QWidget>
#include <initializer_list>
#include <map>
#include <utility>

class QAbstractButton;
class QEvent;

namespace nvx {

class ModelBinder;
class TformGPRS;

class GprsPageView : public QWidget {
    Q_OBJECT
public:
    explicit GprsPageView(TformGPRS& page, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A group box of edits, each row a label name and an edit name.
    QWidget* buildGroup(const char* groupName,
                        std::initializer_list<std::pair<const char*, const char*>> rows);
    QWidget* buildOptions();

    ModelBinder* binder_ = nullptr;
    std::map<QObject*, QAbstractButton*> clickThrough_; // a caption label and the check box it names
};

} // namespace nvx
