// The connection progress window "Подключение": the status line the link fills through the update
// queue, a hidden button the queue clicks when the connection is established (the window closes
// with Accepted) and "Отмена" (Rejected). Mirrors the "dlgSplash" model. Interface thread only.
#pragma once

#include <QDialog>

#include "core/FormModel.h"

namespace nvx {

class ModelBinder;

class TdlgSplash : public QDialog {
    Q_OBJECT
public:
    explicit TdlgSplash(FormModel& model, QWidget* parent = nullptr);
    ~TdlgSplash() override;

private:
    FormModel& model_;
    ModelBinder* binder_ = nullptr;
};

}  // namespace nvx
