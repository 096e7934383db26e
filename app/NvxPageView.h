// The motion-sensor page on screen: the note and the picture button, mirroring the page's model.
// Interface thread only.
#pragma once

#include <QIcon>
#include <QString>
#include <QWidget>
#include <string>

class QEvent;
class QGroupBox;
class QLabel;
class QTextBrowser;
class QToolButton;

namespace nvx {

class ModelBinder;
class TFormNVX;

class NvxPageView : public QWidget {
    Q_OBJECT
public:
    explicit NvxPageView(TFormNVX& page, QWidget* parent = nullptr);
    ~NvxPageView() override;

    // Shown on the picture button while a write to the sensor runs and the button is disabled.
    static QString writingText();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh(const std::string& name);
    void showNote(int noteId);
    void showButton(int picture, bool enabled);
    void fitNoteHeight();

    TFormNVX& page_;
    int subscription_ = 0;
    ModelBinder* binder_ = nullptr;
    QGroupBox* group_ = nullptr;
    QTextBrowser* note_ = nullptr;
    QToolButton* button_ = nullptr;
    QLabel* writing_ = nullptr;
    QIcon iconOff_;
    QIcon iconOn_;
    QString noteOff_;
    QString noteOn_;
    int noteShown_ = -1;  // the note identifier on screen; -1 until the first refresh
};

}  // namespace nvx
