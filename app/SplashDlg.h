// The connection progress window "Подключение", mirroring the "dlgSplash" model: it closes with Accepted
// when the queue clicks its hidden button, with Rejected on "Отмена". Interface thread only.
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
