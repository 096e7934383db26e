#include "pages/fIn.h"

#include "core/PageBaseOps.h"

namespace nvx {

TformIncl::TformIncl(std::string formName, int pageId, std::string caption)
    : form_(formName), pageId_(pageId), caption_(std::move(caption))
{
    Control& self = form_.add(formName, ControlKind::Form, caption_);
    self.visible = false;
}

void TformIncl::ClearForRead()
{
    nvx::ClearForRead(form_);
}

void TformIncl::ClearMarks()
{
    nvx::ClearMarks(form_);
}

void TformIncl::LoadState(const IniFile& ini)
{
    LoadPageState(ini, form_, stateOptions_);
}

void TformIncl::SaveState(IniFile& ini)
{
    SavePageState(ini, form_, stateOptions_);
}

void TformIncl::SetDefaults()
{
    nvx::SetDefaults(form_);
}

}  // namespace nvx
