// The waiting window TFormWaiting: a borderless, slightly transparent window centred on the main
// window with one line of text, shown while the panel erases its history. Interface thread only.
#pragma once

#include <QWidget>

class QLabel;

namespace nvx {

class TFormWaiting : public QWidget {
    Q_OBJECT
public:
    // `owner` is a widget of the window the waiting window is centred on.
    TFormWaiting(const QString& text, QWidget* owner);

    QString text() const;
    // Shows the window centred on its owner's window, above it.
    void showCentred();

private:
    QLabel* label_ = nullptr;
};

} // namespace nvx
