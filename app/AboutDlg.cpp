#include "app/AboutDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace nvx {

TFormAbout::TFormAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormAbout"));
    setWindowTitle(QStringLiteral("О программе"));

    auto* name = new QLabel(QStringLiteral("Настройка датчика движения с защитой от животных NVX"), this);
    QFont large = name->font();
    large.setBold(true);
    large.setPointSizeF(large.pointSizeF() * 1.2);
    name->setFont(large);

    auto* version = new QLabel(QStringLiteral("Версия %1").arg(QStringLiteral(NVX_VERSION)), this);

    auto* description = new QLabel(
        QStringLiteral("Программа подключается к радиодатчику движения NVX через кабель программирования, "
                       "показывает, включена ли в датчике защита от животных весом до 10 кг, и включает "
                       "или отключает её одним нажатием на картинку.\n\n"
                       "Все обмены с датчиком видны в журнале сообщений; журнал можно сохранить "
                       "в текстовый файл."),
        this);
    description->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addSpacing(8);
    layout->addWidget(description);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    setMinimumWidth(440);
}

}  // namespace nvx
