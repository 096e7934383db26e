// The toolkit-free models of the program's own windows: the main window "Form1" (toolbar,
// menus, page tree, status bar, log buttons), the connection progress window and the
// connection dialog. Built once on the interface thread at start-up.
#pragma once

#include <memory>

#include "core/FormModel.h"

namespace nvx {

std::unique_ptr<FormModel> BuildMainFormModel();
std::unique_ptr<FormModel> BuildSplashModel();
std::unique_ptr<FormModel> BuildConnectDialogModel();

// The main window's commands that a link enables and disables.
inline constexpr const char* kStatusBar = "StatusBar1";
inline constexpr const char* kPageTree = "tv1";

}  // namespace nvx
