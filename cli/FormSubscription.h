// An observer of a form model for as long as this object lives, so no callback outlives what
// it captures. Interface thread.
#pragma once

#include <utility>

#include "core/FormModel.h"

namespace nvx::cli {

class FormSubscription {
public:
    FormSubscription(FormModel& form, FormModel::Observer observer)
        : form_(&form), id_(form.subscribe(std::move(observer)))
    {
    }
    ~FormSubscription()
    {
        if (form_)
            form_->unsubscribe(id_);
    }
    FormSubscription(FormSubscription&& other) noexcept
        : form_(std::exchange(other.form_, nullptr)), id_(other.id_)
    {
    }
    FormSubscription(const FormSubscription&) = delete;
    FormSubscription& operator=(const FormSubscription&) = delete;
    FormSubscription& operator=(FormSubscription&&) = delete;

private:
    FormModel* form_;
    int id_;
};

} // namespace nvx::cli
