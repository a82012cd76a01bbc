#include "configure/form4_ui.h"

Form4::Form4(const AppContext& context, QWidget* parent) : QWidget(parent), ctx_(context)
{
    setObjectName(QStringLiteral("Form4"));
    setAttribute(Qt::WA_DeleteOnClose);
}

void Form4::showcontrol()
{
}
