// The connection dialog "Подключение к датчику" on screen, mirroring the session's "dlgConnect" model.
// Interface thread only.
#pragma once

#include <QDialog>

class QEvent;
class QPushButton;
class QShowEvent;

namespace nvx {

class ModelBinder;
class Session;

class TdlgConnect : public QDialog {
    Q_OBJECT
public:
    TdlgConnect(Session& session, QWidget* parent = nullptr);

protected:
    // Each showing lists the ports anew, keeping the chosen one when it is still there.
    void showEvent(QShowEvent* event) override;
    // The master key field: its key filter, and the factory default when it is left empty.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refreshPorts();
    void searchPorts();
    void acceptChoice();

    Session& session_;
    ModelBinder* binder_ = nullptr;
    QWidget* masterKey_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

} // namespace nvx
