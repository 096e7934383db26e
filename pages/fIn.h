// The page base: a settings page's form model with the operations every page shares (clear
// for read, clear marks, state in the settings file, defaults) and its place in the device's
// page dispatch. Page logic runs on the interface thread; ReadFromDevice and WriteToDevice on
// the link thread.
#pragma once

#include <string>

#include "core/FormModel.h"
#include "core/FormStore.h"
#include "core/IniFile.h"
#include "device/device.h"

namespace nvx {

class TformIncl : public IDevicePage {
public:
    // `formName` is the page window's name: its settings section and the form control's name.
    TformIncl(std::string formName, int pageId, std::string caption);

    int PageId() const override { return pageId_; }
    FormModel& Form() override { return form_; }
    const FormModel& Form() const { return form_; }
    const std::string& Caption() const { return caption_; }

    virtual void ClearForRead();
    virtual void ClearMarks();
    virtual void LoadState(const IniFile& ini);
    virtual void SaveState(IniFile& ini);
    virtual void SetDefaults();
    // Whether the read page command empties the page before the read.
    virtual bool EmptiedBeforeRead() const { return true; }
    // What the page prepares before a read (paging positions, lists); nothing by default.
    virtual void PrepareRead() {}
    // Whether "defaults of the current page" applies to this page.
    virtual bool HasDefaults() const { return false; }

    void ReadFromDevice(TDevVeltra&) override {}
    void WriteToDevice(TDevVeltra&) override {}

protected:
    FormModel form_;
    PageStateOptions stateOptions_;

private:
    int pageId_;
    std::string caption_;
};

}  // namespace nvx
