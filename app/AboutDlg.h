// The about window "О программе": the program's name, version and purpose. Interface thread.
#pragma once

#include <QDialog>

namespace nvx {

class TFormAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget* parent = nullptr);
};

}  // namespace nvx
