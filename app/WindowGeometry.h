// A window's position, size and pane sizes in windows.ini, one section per window ("Form1").
// Interface thread; each call opens and closes the file.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/IniFile.h"

class QWidget;

namespace nvx {

// A size of a part of the window kept beside its geometry, under "<control>.Width" or
// "<control>.Height". A size without `apply` is only written, for readers of the file.
struct KeptSize {
    std::string key;
    std::function<int()> read;
    std::function<void(int)> apply;
};

class WindowGeometry {
public:
    WindowGeometry(std::filesystem::path file, std::string section);

    // Writes xForm.Left, Top, Height, Width (the normal placement, also when maximised),
    // xForm.WindowState (1 when maximised) and the kept sizes.
    [[nodiscard]] IniFile::Result Save(const QWidget& window, const std::vector<KeptSize>& sizes) const;

    // Before the window is shown: maximised when WindowState is 1; the stored placement where
    // present; centred on the screen when there is no left edge or the placement lies off every
    // screen. A kept size that is not a number reads as 100. A missing file changes nothing but
    // the centring.
    void Load(QWidget& window, const std::vector<KeptSize>& sizes) const;

private:
    std::filesystem::path file_;
    std::string section_;
};

}  // namespace nvx
