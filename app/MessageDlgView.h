// The enrolment dialog "Сообщение" on screen: the search message, the advanced choices and the
// alarm period field, bound to the dialog's model; it stays on top, centred on the main window,
// and is shown and hidden by its model. Interface thread only.
#pragma once

#include <QDialog>

#include "pages/f_MessageDlg.h"

class QLineEdit;

namespace nvx {

class ModelBinder;

class MessageDlgView : public QDialog {
    Q_OBJECT
public:
    MessageDlgView(TformMessageDlg& dialog, QWidget* parent);
    ~MessageDlgView() override;

    // Closing by the user (close box, Escape) is the model's close: it may cancel the search.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow();

    TformMessageDlg& dialog_;
    ModelBinder* binder_ = nullptr;
    QLineEdit* period_ = nullptr;
    int subscription_ = 0;
};

}  // namespace nvx
